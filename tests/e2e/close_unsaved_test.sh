#!/usr/bin/env bash
# Closing with an unsaved whole-screen capture, the real message box answered with
# keys: Cancel stays (placement stored anyway), Yes then cancelling the save dialog
# stays, Ctrl+Q asks the same question and No closes; a second run answers Yes and
# saves, which writes the file and closes.
# Exits 77 (skipped) when this build has no whole-screen capture or no save command.
#   close_unsaved_test.sh RUN_DIR EXE TESTBIN
set -euo pipefail
run=$1 exe=$2 testbin=$3
# shellcheck disable=SC1091
. "$run/env"
title='Vellumoxv2.30'
probe=$testbin/vxprobe.exe
out="$run/close unsaved.bmp"
rm -f "$out"

pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null || true' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
running() { kill -0 "$pid" 2>/dev/null; }
stored() { wine reg query 'HKCU\Software\Vellumox\Settings' /v MainLeft 2>/dev/null | grep -q MainLeft; }
# The newest visible window with exactly this title, or nothing after a few seconds.
wait_window() {
    local w=""
    for _ in $(seq 50); do
        w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1) && [ -n "$w" ] && break
        sleep 0.1
    done
    echo "$w"
}
answer() {  # answer KEY: the question must be up, KEY answers it
    local box
    box=$(wait_window Vellumox)
    [ -n "$box" ] || fail "no question about the unsaved image"
    xdotool windowfocus --sync "$box" key "$1"
    sleep 0.5
}

start_with_capture() {
    wine "$exe" >/dev/null 2>&1 </dev/null &
    pid=$!
    win=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -1)
    xdotool windowfocus --sync "$win" key alt+c
    sleep 0.3
    xdotool key s
    # A whole-screen capture is larger than the window: both scroll bars show.
    for _ in $(seq 15); do
        [ "$(wine "$probe" scrollbars "$title" | tr -d '\r')" = "1 1" ] && return 0
        sleep 0.1
    done
    echo "SKIPPED: no whole-screen capture in this build"
    exit 77
}
close_box() { xdotool windowfocus --sync "$win" key alt+F4; }

wine reg delete 'HKCU\Software\Vellumox' /f >/dev/null 2>&1 || true
start_with_capture

close_box
answer Escape
running || fail "Cancel closed the program"
stored || fail "the placement was not stored before the question"

close_box
answer y
dialog=$(wait_window '保存')
[ -n "$dialog" ] || { echo "SKIPPED: no save command in this build"; exit 77; }
xdotool windowfocus --sync "$dialog" key Escape
sleep 0.5
running || fail "cancelling the save dialog closed the program"

xdotool windowfocus --sync "$win" key ctrl+q
answer n
for _ in $(seq 50); do running || break; sleep 0.1; done
running && fail "No did not close the program"

# Second run: Yes, then save to a file.
start_with_capture
close_box
answer y
dialog=$(wait_window '保存')
[ -n "$dialog" ] || fail "no save dialog after Yes"
winpath=$(winepath -w "$out")
xdotool windowfocus --sync "$dialog" type --delay 20 "$winpath"
xdotool key Return
for _ in $(seq 100); do running || break; sleep 0.1; done
running && fail "saving did not close the program"
[ "$(head -c 2 "$out" 2>/dev/null)" = "BM" ] || fail "no bitmap written to $out"
rm -f "$out"
echo "Cancel and a cancelled save stay; Ctrl+Q asks; No closes; Yes and save closes"
