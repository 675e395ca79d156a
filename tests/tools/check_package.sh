#!/usr/bin/env bash
# cpack makes a portable ZIP holding the program and its data files beside it.
set -eu
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G ZIP -B "$out" >/dev/null)
zip=$(ls "$out"/Vellumox-*.zip)
list=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
for f in Vellumox.exe language/chinese.lng language/English.lng readme.txt Temp/; do
    echo "$list" | grep -q "/$f\$" || { echo "FAIL: $f missing from $zip"; exit 1; }
done
echo "package ok: $(basename "$zip")"
