#!/bin/sh
# Start-up times of tarvo (until its main frame " Справочники" is shown) and of
# dostup (until its log-in window "Регистрация" is shown) on a data folder.
#
#   bench/startup_time.sh DATA_FOLDER [RUNS]
#
# DATA_FOLDER holds the access files, e.g. the 65,535-employee folder that
# employee_bench builds (TARVO_BENCH_DIR=DATA_FOLDER build/bin/employee_bench
# --benchmark_filter=none builds it and runs nothing). A working folder of its
# own gets COMP.INI and Dostup.INI naming DATA_FOLDER, as a workstation's do.
# The script starts an Xvfb of its own on a free display (local socket only, no
# TCP), starts each program RUNS times (default 5) through window_shown, which
# times the start to the window's map and ends the program, prints every figure
# and the median, and stops the Xvfb at the end. BUILD_DIR names the build
# (default ./build); the build needs the targets tarvo, dostup_launcher and
# window_shown (-DTARVO_BUILD_BENCH=ON).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BIN=$(cd "${BUILD_DIR:-$ROOT/build}/bin" && pwd)
DATA=$(cd "${1:?usage: startup_time.sh DATA_FOLDER [RUNS]}" && pwd)
RUNS=${2:-5}
for program in tarvo dostup window_shown; do
    [ -x "$BIN/$program" ] || { echo "startup_time: $BIN/$program is not built" >&2; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarvo-startup-XXXXXX")
XVFB_PID=""
finish() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap finish EXIT
trap 'exit 1' INT TERM

# The data folder as both INI files name it (at most 100 characters, with the
# closing separator the file names are appended to).
printf '[Path]\r\nBasePATH=%s/\r\n' "$DATA" >"$WORK/COMP.INI"
printf '[Path]\r\nBasePath=%s/\r\n' "$DATA" >"$WORK/Dostup.INI"

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -nolisten tcp -nolisten local -screen 0 1280x1024x24 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.1
done
[ -s "$WORK/display" ] || { echo "startup_time: Xvfb did not start" >&2; cat "$WORK/xvfb.log" >&2; exit 1; }
DISPLAY=:$(cat "$WORK/display")
export DISPLAY
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

cd "$WORK"
echo "display $DISPLAY, data $DATA, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for entry in "tarvo|Справочники" "dostup|Регистрация"; do
    program=${entry%%|*}
    caption=${entry#*|}
    : >"$WORK/times"
    for run in $(seq "$RUNS"); do
        ms=$("$BIN/window_shown" "$caption" "$BIN/$program")
        echo "$ms" >>"$WORK/times"
        echo "$program run $run: $ms ms"
    done
    echo "$program median of $RUNS: $(median <"$WORK/times") ms"
done
