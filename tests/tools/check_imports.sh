#!/usr/bin/env bash
# The program must import only DLLs that every Windows has.
set -eu
exe=$1
allowed=" user32.dll gdi32.dll kernel32.dll shell32.dll comctl32.dll comdlg32.dll ole32.dll oleaut32.dll windowscodecs.dll advapi32.dll msvcrt.dll "
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
[ -n "$dlls" ] || { echo "no import table found in $exe"; exit 1; }
bad=0
for d in $dlls; do
    case "$allowed" in
        *" $d "*) echo "ok   $d" ;;
        api-ms-win-crt-*|api-ms-win-core-*) echo "ok   $d (system API set)" ;;
        *) echo "BAD  $d"; bad=1 ;;
    esac
done
exit $bad
