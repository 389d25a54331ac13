#!/bin/sh
# The library exports exactly the names its public header declares with
# DOSTUP_API: nothing missing, nothing of its insides (C++ or the standard
# library's symbols) visible to a program that binds it.
# Usage: exports_test.sh LIBRARY HEADER
set -eu
library=$1
header=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed -n 's/^DOSTUP_API .*[^A-Za-z0-9_]\([A-Za-z_][A-Za-z0-9_]*\) *[[(;].*/\1/p' "$header" | sort > "$work/declared"
# Bound names only: the linker may leave a local entry (a standard library
# template's unique object, demoted by the version script) in the dynamic table,
# where no program can bind it.
readelf --dyn-syms -W "$library" | awk '$5 != "LOCAL" && $7 != "UND" && $8 != "" && NR > 3 {print $8}' \
    | sed 's/@.*//' | sort > "$work/exported"
if ! cmp -s "$work/declared" "$work/exported"; then
    echo "declared but not exported:"
    comm -23 "$work/declared" "$work/exported"
    echo "exported but not declared:"
    comm -13 "$work/declared" "$work/exported"
    exit 1
fi
echo "$(wc -l < "$work/declared") exports, as declared"
