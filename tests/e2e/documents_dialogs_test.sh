#!/usr/bin/env bash
# The real open and save dialogs, driven like a person: open a PNG through the File
# menu, save it as BMP with Ctrl+S, cancel a save, overwrite after the question, and
# save onto a full drive (a 64 KB tmpfs mapped as T:), where the old file must survive.
#   documents_dialogs_test.sh RUN_DIR EXE TESTBIN
set -euo pipefail
run=$1 exe=$2
# shellcheck disable=SC1091
. "$run/env"
# The window at its default place, whatever an earlier test stored.
wine reg delete 'HKCU\Software\Vellumox' /f >/dev/null 2>&1 || true
work=$(mktemp -d /tmp/vx-dialogs.XXXXXX)
pid="" mounted="" drive="$WINEPREFIX/dosdevices/t:"
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
    rm -f "$drive"
    [ -n "$mounted" ] && umount "$work/full" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
winpath() { echo "Z:${1//\//\\}"; }
# Waits for a visible window whose title matches; prints the newest one's id.
# (A search can fail outright when a window vanishes under it: look again.)
window() {
    local id=""
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
title_of() { xdotool getwindowname "$1"; }
wait_for() { for _ in $(seq 100); do eval "$1" && return 0; sleep 0.1; done; return 1; }

convert -size 320x200 gradient:red-blue -fill yellow -draw 'rectangle 20,20 120,90' "PNG24:$work/in.png"

wine "$exe" >/dev/null 2>&1 &
pid=$!
main=$(window '^Vellumoxv2\.30$') || fail "main window"

# Open through the File menu: the dialog takes a typed path and Return.
xdotool windowfocus --sync "$main" key alt+f
sleep 0.3
xdotool key o
dialog=$(window '^(Open|打开)$') || fail "open dialog"
xdotool windowfocus --sync "$dialog" type --delay 5 "$(winpath "$work/in.png")"
xdotool key Return
wait_for '[[ "$(title_of "$main")" == *"in.png(320x200) ]" ]]' || fail "title after open: $(title_of "$main")"

# Save with Ctrl+S as BMP; the pixels are the opened ones.
xdotool windowfocus --sync "$main" key ctrl+s
dialog=$(window '^保存$') || fail "save dialog"
xdotool windowfocus --sync "$dialog" type --delay 5 "$(winpath "$work/out.bmp")"
xdotool key Return
wait_for '[ -s "$work/out.bmp" ]' || fail "out.bmp not written"
sleep 0.3
[ "$(head -c 2 "$work/out.bmp")" = BM ] || fail "out.bmp is not a BMP"
diff=$(compare -metric AE "$work/in.png" "$work/out.bmp" null: 2>&1 || true)
[ "$diff" = 0 ] || fail "saved pixels differ from the opened ones: $diff"

# Cancel writes nothing.
xdotool windowfocus --sync "$main" key ctrl+s
dialog=$(window '^保存$') || fail "save dialog (cancel)"
xdotool windowfocus --sync "$dialog" type --delay 5 "$(winpath "$work/cancelled.bmp")"
xdotool key Escape
sleep 0.5
[ ! -e "$work/cancelled.bmp" ] || fail "cancel wrote a file"

# Onto a full drive: the overwrite question, then one message; the old file survives.
mkdir -p "$work/full"
mount -t tmpfs -o size=64k tmpfs "$work/full" && mounted=1 || fail "cannot mount a tmpfs"
head -c 1000 /dev/urandom >"$work/full/old.bmp"
cp "$work/full/old.bmp" "$work/old.copy"
head -c 200000 /dev/zero >"$work/full/filler" 2>/dev/null || true
ln -sfn "$work/full" "$drive"
xdotool windowfocus --sync "$main" key ctrl+s
dialog=$(window '^保存$') || fail "save dialog (full)"
xdotool windowfocus --sync "$dialog" type --delay 5 'T:\old.bmp'
xdotool key Return
# The question comes as a second window with the dialog's title: wait for both.
ids=""
for _ in $(seq 100); do
    ids=$(xdotool search --onlyvisible --name '^保存$' 2>/dev/null || true)
    [ "$(echo "$ids" | grep -c .)" -ge 2 ] && break
    sleep 0.1
done
[ "$(echo "$ids" | grep -c .)" -ge 2 ] || fail "overwrite question"
question=$(echo "$ids" | tail -n 1)
xdotool windowfocus --sync "$question" key y
box=$(window '^Vellumox$') || fail "no message about the full drive"
cmp -s "$work/full/old.bmp" "$work/old.copy" || fail "the old file changed"
[ -z "$(ls "$work/full" | grep -v -e '^old.bmp$' -e '^filler$')" ] || fail "a temporary file was left: $(ls "$work/full")"
xdotool windowfocus --sync "$box" key Return
sleep 0.3
echo "PASS"
