#!/usr/bin/env bash
# The program imports only DLLs every Windows has (its KnownDLLs and the side-by-side
# common controls). With the process only what the unattended capture uses loads; the
# rest is delay-loaded, whose names GNU ld leaves in .idata without a table objdump shows.
set -eu
known="kernel32 user32 gdi32 advapi32 msvcrt shell32 ole32 oleaut32 comdlg32 comctl32 gdiplus"
static=$(x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
idata=$(mktemp)
trap 'rm -f "$idata"' EXIT
x86_64-w64-mingw32-objcopy -O binary --only-section=.idata "$1" "$idata"
all=$(strings -a "$idata" | grep -ioE '[a-z0-9_.-]+\.dll$' | tr 'A-Z' 'a-z' | sort -u)
bad=$(grep -vxE "($(tr ' ' '|' <<<"$known"))\.dll" <<<"$all" || true)
late=$(grep -vxE '(kernel32|user32|gdi32|advapi32|msvcrt)\.dll' <<<"$static" || true)
echo "imported: $(tr '\n' ' ' <<<"$all")"
[ -n "$static" ] && [ -z "$bad$late" ] || { echo "BAD: not a known DLL: ${bad:-none}; loaded at start: ${late:-none}"; exit 1; }
