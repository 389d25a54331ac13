#!/bin/sh
# The programs' command-line modes with no display at all: --help, --version
# and unknown options, console messages, a --demo that fails half-way, and
# tarvo-run keeping a relative output file in the caller's folder.
#   information_options_test.sh BIN-FOLDER TARVO-RUN
set -u
bin=$1
run=$2
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "failed: $*" >&2; failures=$((failures + 1)); }

# expect CODE WHERE WORD... -- COMMAND...: the exit code, and words in standard
# output (WHERE=out) or standard error (WHERE=err).
expect() {
    code=$1; where=$2; shift 2
    words=""
    while [ "$1" != "--" ]; do words="$words $1"; shift; done
    shift
    "$@" >"$work/out" 2>"$work/err"
    got=$?
    [ "$got" = "$code" ] || fail "$* exited $got, not $code"
    for word in $words; do
        grep -q -- "$word" "$work/$where" || fail "$*: no \"$word\" in standard $where"
    done
}

expect 0 out --demo --print --pdf --employee --version -- "$bin/tarvo" --help
expect 0 out "tarvo 0" -- "$bin/tarvo" --version
expect 2 err "--bogus" "Использование" -- "$bin/tarvo" --bogus
expect 2 err "--demox" -- "$bin/tarvo" --demox
expect 0 out "/P=" --version -- "$bin/dostup" --help
expect 0 out "dostup 0" -- "$bin/dostup" --version
expect 2 err "Использование" -- "$bin/dostup" --nonsense
expect 0 out "tarvo-run" -- sh "$run" --help
expect 2 err "Использование" -- sh "$run" nosuchprogram

# A console message never asks to press OK, and a missing data folder says what to do.
mkdir -p "$work/nodata"
(cd "$work/nodata" && "$bin/tarvo" --print Staff --pdf x.pdf) >"$work/out" 2>"$work/err"
[ $? = 1 ] || fail "--print without a data folder does not fail"
grep -q "Press OK" "$work/err" && fail "a console message asks to press OK"
grep -q "data folder is missing" "$work/err" || fail "no advice for a missing data folder"

# Printing from a still empty data folder creates no file, so --demo still fills it.
mkdir -p "$work/empty/Dat"
(cd "$work/empty" && "$bin/tarvo" --print Store --pdf s.pdf) >/dev/null 2>&1
[ $? = 2 ] || fail "--print of an empty folder is not \"nothing to print\""
[ -z "$(ls -A "$work/empty/Dat")" ] || fail "--print created files: $(ls "$work/empty/Dat")"
(cd "$work/empty" && "$bin/tarvo" --demo) >/dev/null 2>&1 || fail "--demo after --print"

# --demo that fails half-way (files may grow no larger than 300 KB) leaves the
# folder as it found it, and the next --demo fills it.
mkdir -p "$work/full"
(cd "$work/full" && trap '' XFSZ && ulimit -f 600 && "$bin/tarvo" --demo) >"$work/out" 2>"$work/err"
[ $? = 1 ] || fail "--demo on a full disk does not fail"
grep -q "папка данных осталась пустой" "$work/err" || fail "--demo does not say it cleaned up"
[ -z "$(ls -A "$work/full")" ] || fail "--demo left files behind: $(ls -R "$work/full")"
(cd "$work/full" && "$bin/tarvo" --demo) >/dev/null 2>&1 || fail "--demo after a failed one"

# --copy-data: every file to another data directory, readable there once the INI
# files name it; a second copy onto it is refused.
(cd "$work/full" && "$bin/tarvo" --copy-data '.\New\') >"$work/out" 2>"$work/err" || fail "--copy-data"
grep -q "скопировано файлов 14" "$work/out" || fail "--copy-data did not copy 14 files: $(cat "$work/out")"
printf '[Path]\r\nBasePATH=.\\New\\\r\n' >"$work/full/COMP.INI"
printf '[Path]\r\nBasePath=.\\New\\\r\n' >"$work/full/Dostup.INI"
rm -rf "$work/full/Dat"
(cd "$work/full" && "$bin/tarvo" --print Staff --pdf staff.pdf) >/dev/null 2>&1 || fail "the copy does not print"
(cd "$work/full" && "$bin/tarvo" --print Store --pdf store.pdf) >/dev/null 2>&1 || fail "the copied stores do not print"
(cd "$work/full" && "$bin/tarvo" --copy-data '.\New\') >/dev/null 2>&1
[ $? = 2 ] || fail "a copy onto existing files is not refused"

# A read-only copy of the data prints (as a user who may not write there; root
# writes everywhere, so the check runs as nobody where it can).
if [ "$(id -u)" = 0 ] && command -v runuser >/dev/null 2>&1 && id nobody >/dev/null 2>&1; then
    mkdir -p "$work/ro/out"
    (cd "$work/ro" && "$bin/tarvo" --demo) >/dev/null 2>&1
    chmod -R a-w "$work/ro/Dat"
    chmod a+rx "$work" "$work/ro" "$work/ro/Dat"
    chmod 777 "$work/ro/out"
    (cd "$work/ro" && runuser -u nobody -- env HOME="$work/ro/out" "$bin/tarvo" --print Store \
        --pdf "$work/ro/out/s.pdf") >/dev/null 2>&1 || fail "a read-only copy of the data does not print"
    [ -s "$work/ro/out/s.pdf" ] || fail "no PDF from the read-only copy"
fi

# dostup in a new working folder makes the data folder its INI names.
mkdir -p "$work/console"
(cd "$work/console" && "$bin/dostup") >/dev/null 2>&1
[ -d "$work/console/Dat" ] || fail "dostup did not make its data folder"

# tarvo-run: the data in its folder, a relative --pdf in the caller's.
mkdir -p "$work/home" "$work/caller"
cp "$run" "$work/tarvo-run"
ln -s "$bin/tarvo" "$work/tarvo"
cd "$work/caller" || exit 1
TARVO_HOME="$work/home" sh "$work/tarvo-run" tarvo --demo >/dev/null 2>&1 || fail "tarvo-run tarvo --demo"
TARVO_HOME="$work/home" sh "$work/tarvo-run" tarvo --print TypeOp --pdf types.pdf >/dev/null 2>&1 ||
    fail "tarvo-run tarvo --print"
[ -s "$work/caller/types.pdf" ] || fail "the PDF is not in the caller's folder"
[ -e "$work/home/types.pdf" ] && fail "the PDF landed in the data folder"
TARVO_HOME="$work/home" sh "$work/tarvo-run" tarvo --print TypeOp --pdf=again.pdf >/dev/null 2>&1
[ -s "$work/caller/again.pdf" ] || fail "--pdf=FILE is not in the caller's folder"

[ "$failures" = 0 ] && echo "information options: ok"
exit "$failures"
