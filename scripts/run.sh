#!/bin/sh
# Installs what is missing, builds, and starts tarvo on the embedded default:
# its working folder ./run holds the INI files and the data folder Dat/.
# The first start fills an empty (or missing) Dat/ with sample data
# (`tarvo --demo`); TARVO_EMPTY=1 starts on an empty data folder instead.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh" -DTARVO_BUILD_TESTS=OFF
WORK=${TARVO_WORK_DIR:-$ROOT/run}
TARVO=${BUILD_DIR:-$ROOT/build}/bin/tarvo
mkdir -p "$WORK"
cd "$WORK"
if [ -z "${TARVO_EMPTY:-}" ] && [ -z "$(ls -A Dat 2>/dev/null)" ]; then
    # Exit code 2: the data folder that the INI files name holds data already.
    "$TARVO" --demo || [ $? -eq 2 ]
fi
mkdir -p Dat
exec "$TARVO" "$@"
