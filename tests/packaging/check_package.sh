#!/bin/sh
# Builds the Debian package and checks it as Debian does: lintian with no error
# and no warning, and the desktop entries valid. A check whose tool is missing is
# skipped (the test then says so).
#   check_package.sh BUILD-DIR SOURCE-DIR
set -u
build=$1
source=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0

if command -v desktop-file-validate >/dev/null 2>&1; then
    for entry in "$source"/packaging/*.desktop; do
        desktop-file-validate "$entry" || status=1
    done
else
    echo "desktop-file-validate is not installed: desktop entries not checked"
fi

if ! command -v cpack >/dev/null 2>&1 || ! command -v dpkg-deb >/dev/null 2>&1; then
    echo "cpack or dpkg-deb is missing: the package is not built"
    exit "$status"
fi
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || {
    cat "$out/cpack.log"
    exit 1
}
package=$(ls "$out"/*.deb)
if command -v lintian >/dev/null 2>&1; then
    lintian --tag-display-limit 0 "$package" >"$out/lintian.log" 2>&1
    grep -E '^[EW]: ' "$out/lintian.log" && status=1
else
    echo "lintian is not installed: the package is not checked"
fi
# The library stays private to the package, found through the programs' RUNPATH.
dpkg-deb -c "$package" | grep -q 'usr/lib/.*tarvo/libdostup.so' || { echo "libdostup.so not private"; status=1; }
[ "$status" = 0 ] && echo "package: ok"
exit "$status"
