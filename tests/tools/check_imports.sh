#!/usr/bin/env bash
# The program imports only DLLs every Windows has (its KnownDLLs and the side-by-side
# common controls). With the process only what the unattended capture uses loads; the
# rest is delay-loaded, whose names GNU ld leaves in .idata without a table objdump shows.
set -eu
exe=$1
known=" kernel32.dll user32.dll gdi32.dll advapi32.dll msvcrt.dll shell32.dll ole32.dll oleaut32.dll comdlg32.dll comctl32.dll "
at_start=" kernel32.dll user32.dll gdi32.dll advapi32.dll msvcrt.dll "
static=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
[ -n "$static" ] || { echo "no import table found in $exe"; exit 1; }
idata=$(mktemp)
trap 'rm -f "$idata"' EXIT
x86_64-w64-mingw32-objcopy -O binary --only-section=.idata "$exe" "$idata"
bad=0
for d in $({ echo "$static"; strings -a "$idata" | grep -ioE '[a-z0-9_.-]+\.dll$'; } | tr 'A-Z' 'a-z' | sort -u); do
    if grep -qx "$d" <<<"$static"; then when=start allowed=$at_start; else when=delayed allowed=$known; fi
    case "$d" in api-ms-win-crt-* | api-ms-win-core-*) allowed=" $d " ;; esac
    case "$allowed" in
        *" $d "*) echo "ok   $d ($when)" ;;
        *) echo "BAD  $d ($when)"; bad=1 ;;
    esac
done
exit $bad
