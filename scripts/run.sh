#!/bin/sh
# Installs what is missing, builds, and starts tarvo on the embedded default:
# its working folder ./run holds the INI files and the data folder Dat/.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh" -DTARVO_BUILD_TESTS=OFF
WORK=${TARVO_WORK_DIR:-$ROOT/run}
mkdir -p "$WORK/Dat"
cd "$WORK"
exec "${BUILD_DIR:-$ROOT/build}/bin/tarvo" "$@"
