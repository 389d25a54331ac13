#!/bin/sh
# Installs what is missing, builds everything and runs every test.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh" -DTARVO_BUILD_TESTS=ON
cd "${BUILD_DIR:-$ROOT/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j"${JOBS:-2}"
