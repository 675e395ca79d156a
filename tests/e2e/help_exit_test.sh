#!/usr/bin/env bash
# Help from the menu twice in a folder with spaces (with a planted notepad.exe beside
# the program), then Exit with Ctrl+Q: the system's notepad showed readme.txt, and
# only the editor started last is ended.
#   help_exit_test.sh RUN_DIR EXE TESTBIN
set -euo pipefail
run=$1 exe=$2 testbin=$3
# shellcheck disable=SC1091
. "$run/env"
# The window at its default place, whatever an earlier test stored.
wine reg delete 'HKCU\Software\Vellumox' /f >/dev/null 2>&1 || true
title='Vellumoxv2.30'
probe=$testbin/vxprobe.exe

dir="$run/help e2e folder"
rm -rf "$dir"
mkdir -p "$dir"
cp "$exe" "$dir/Vellumox.exe"
printf 'Help text for the e2e test\r\n' >"$dir/readme.txt"
cp "$probe" "$dir/notepad.exe"  # must never be the one that runs

pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    # Editors this test started and left behind, found through their windows.
    for w in $(xdotool search --onlyvisible --name 'readme' 2>/dev/null); do
        p=$(xdotool getwindowpid "$w" 2>/dev/null) && kill "$p" 2>/dev/null || true
    done
    rm -rf "$dir"
}
trap cleanup EXIT

(cd "$dir" && exec wine ./Vellumox.exe >/dev/null 2>&1 </dev/null) &
pids+=($!)
pid=${pids[0]}
win=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -1)

# A click on the status bar makes the window active again after an editor took over
# (moving the X focus alone does not).
activate() {
    local h
    h=$(xdotool getwindowgeometry --shell "$win" | sed -n 's/^HEIGHT=//p')
    xdotool mousemove --window "$win" 60 $((h - 8)) click 1
    xdotool windowfocus --sync "$win"
    sleep 0.3
}
editors() { xdotool search --onlyvisible --name 'readme' 2>/dev/null | wc -l; }
open_help() {
    local want=$1
    activate
    xdotool key alt+h
    sleep 0.3
    xdotool key Return
    for _ in $(seq 100); do
        if [ "$(editors)" -ge "$want" ]; then
            # Out of the way: without a window manager the editor would cover the program.
            for w in $(xdotool search --onlyvisible --name 'readme'); do xdotool windowmove "$w" 640 560; done
            sleep 0.3
            return 0
        fi
        sleep 0.1
    done
    echo "FAIL: help editor number $want did not appear" >&2
    exit 1
}
open_help 1
ed1=$(xdotool search --onlyvisible --name 'readme' | head -1)
ed_title=$(xdotool getwindowname "$ed1")
text=$(wine "$probe" edittext "$ed_title" | tr -d '\r')
[ "$text" = "Help text for the e2e test" ] || { echo "FAIL: editor shows '$text'" >&2; exit 1; }
image=$(wine "$probe" image "$ed_title" | tr -d '\r')
case "${image,,}" in
    'c:\windows\system32\notepad.exe') ;;
    *) echo "FAIL: the editor is $image" >&2; exit 1 ;;
esac
open_help 2

activate
xdotool key ctrl+q
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && { echo "FAIL: Exit did not end the program" >&2; exit 1; }
for _ in $(seq 50); do [ "$(editors)" -le 1 ] && break; sleep 0.1; done
n=$(editors)
[ "$n" -eq 1 ] || { echo "FAIL: $n editors left after Exit, expected the first one only" >&2; exit 1; }
[ "$(xdotool search --onlyvisible --name 'readme' | head -1)" = "$ed1" ] \
    || { echo "FAIL: Exit ended the first editor, not the last" >&2; exit 1; }
echo "system notepad showed the readme; Exit ended only the editor started last"
