#!/usr/bin/env bash
# Free-region capture driven with the mouse and keyboard like a person: the band on
# the screen while dragging, the captured area in the view and on the clipboard,
# Escape, a click without a drag, the right button, and a clipboard held by another
# program.   bash region_select_test.sh RUN_DIR EXE TESTBIN
set -euo pipefail
run=$1 exe=$2 bin=$3
# shellcheck disable=SC1091
. "$run/env"
title='Vellumoxv2.30'
# The window at its default place, away from the area selected below, whatever
# placement an earlier test left behind.
wine reg delete 'HKCU\Software\Vellumox' /f >/dev/null 2>&1 || true
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
probe() { wine "$bin/vxprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }
rprobe() { wine "$bin/region_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
winpath() { echo "Z:${1//\//\\}"; }
wait_state() {
    for _ in $(seq 100); do [ "$(probe state "$title")" = "$1" ] && return 0; sleep 0.1; done
    fail "window never became $1 (is $(probe state "$title"))"
}
find_window() {  # a visible window by exact title, waiting up to ten seconds
    local w
    for _ in $(seq 100); do
        w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.1
    done
    fail "no window titled $1"
}
shot() { import -window root "$1"; }
# Pixel difference count of two images, optionally inside a crop geometry.
ae() {
    local a=$1 b=$2 crop=${3:-}
    if [ -n "$crop" ]; then
        convert "$a" -crop "$crop" +repage "$work/ae_a.png"; a="$work/ae_a.png"
        convert "$b" -crop "$crop" +repage "$work/ae_b.png"; b="$work/ae_b.png"
    fi
    compare -metric AE "$a" "$b" null: 2>&1 || true
}
arm() {
    local w
    w=$(find_window "$title")
    xdotool windowfocus --sync "$w"
    xdotool key alt+c
    sleep 0.3
    xdotool key d
    wait_state minimized
    # The frozen copy of the screen is up once its window exists; give it a paint.
    for _ in $(seq 100); do probe title VellumoxFrozenScreen >/dev/null && break; sleep 0.1; done
    sleep 0.4
}
drag() {  # x1 y1 x2 y2: press, move past the end, come back, release
    xdotool mousemove "$1" "$2" mousedown 1
    sleep 0.1
    xdotool mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))
    sleep 0.1
    xdotool mousemove "$3" "$4"
    sleep 0.3
}
clipboard_seq() { rprobe sequence; }
expect_area() {  # name geometry: clipboard (both readers) and view hold the area of before.png
    local name=$1 geometry=$2
    convert "$work/before.png" -crop "$geometry" +repage "$work/expected.png"
    local size; size=$(rprobe clipboard "$(winpath "$work/clip_$name.bmp")")
    [ "$size" = "$(identify -format '%w %h' "$work/expected.png")" ] || fail "$name: clipboard bitmap is $size"
    [ "$(ae "$work/clip_$name.bmp" "$work/expected.png")" = 0 ] || fail "$name: clipboard bitmap differs"
    xclip -selection clipboard -t image/bmp -o >"$work/xclip_$name.bmp" || fail "$name: xclip read nothing"
    [ "$(ae "$work/xclip_$name.bmp" "$work/expected.png")" = 0 ] || fail "$name: X clipboard image differs"
    read -r vx vy < <(rprobe view "$title")
    shot "$work/view_$name.png"
    local w h; read -r w h <<<"$(identify -format '%w %h' "$work/expected.png")"
    convert "$work/view_$name.png" -crop "${w}x${h}+${vx}+${vy}" +repage "$work/view_$name.crop.png"
    [ "$(ae "$work/view_$name.crop.png" "$work/expected.png")" = 0 ] ||
        fail "$name: the view does not show the area"
}

# A pattern in which no two pixels of the screen are alike, under the program.
read -r sw sh < <(probe screen)
wine "$bin/region_probe.exe" pattern 0 0 "$sw" "$sh" >/dev/null 2>&1 &
pids+=($!)
find_window 'region pattern' >/dev/null
wine "$exe" >/dev/null 2>&1 &
pids+=($!)
find_window "$title" >/dev/null
sleep 0.5
shot "$work/before.png"
L=600 T=400 R=720 B=445
region="400x300+520+300"   # around the selection, away from the main window

# 1. Down-right drag: the band while the button is held, then the area everywhere.
arm
drag $L $T $R $B
# The band is drawn by the program's own loop: look until it is there (a loaded
# machine may take a moment), then judge that screenshot.
band_ok() { python3 - "$work/before.png" "$work/during.png" $L $T $R $B 2>"$work/band.err" <<'PY'
import subprocess, sys
def rgb(f):
    return subprocess.run(["convert", f, "rgb:-"], capture_output=True, check=True).stdout
w = int(subprocess.run(["identify", "-format", "%w", sys.argv[1]], capture_output=True).stdout)
a, b = rgb(sys.argv[1]), rgb(sys.argv[2])
L, T, R, B = map(int, sys.argv[3:7])
px = lambda d, x, y: d[(y * w + x) * 3:(y * w + x) * 3 + 3]
inverted = lambda x, y: px(b, x, y) == bytes(255 - v for v in px(a, x, y))
same = lambda x, y: px(b, x, y) == px(a, x, y)
assert all(inverted(x, T) for x in range(L, R - 1)), "top edge not in row top"
assert all(inverted(R - 1, y) for y in range(T + 1, B - 1)), "right edge not in column right - 1"
assert all(inverted(L, y) for y in range(T + 1, B - 1)), "left edge"
assert all(inverted(x, B - 1) for x in range(L + 1, R - 1)), "bottom edge"
assert all(same(x, T - 1) and same(x, B + 1) for x in range(L - 2, R + 2)), "outside the frame changed"
ink = [(x, y) for y in range(T + 2, B - 2) for x in range(L + 2, R - 2) if not same(x, y)]
assert ink and all(inverted(x, y) for x, y in ink), "no inverted label"
xs = [p[0] for p in ink]; ys = [p[1] for p in ink]
cx, cy = (min(xs) + max(xs) + 1) / 2, (min(ys) + max(ys) + 1) / 2
assert abs(cx - (L + R) / 2) <= 3 and abs(cy - (T + B) / 2) <= 4, f"label not centred: {cx},{cy}"
assert 25 <= max(xs) - min(xs) <= 80, "label is not about the width of '120x45'"
PY
}
for _ in $(seq 30); do
    shot "$work/during.png"
    band_ok && break
    sleep 0.15
done
band_ok || { cat "$work/band.err" >&2; fail "band while dragging"; }
xdotool mouseup 1
wait_state normal
shot "$work/after.png"
[ "$(ae "$work/before.png" "$work/after.png" "$region")" = 0 ] || fail "the band left a trace"
expect_area down_right "$((R - L))x$((B - T))+$L+$T"

# 2. The mirrored drag, up and to the left, gives the same area.
rprobe maximize "$title"
arm
drag $R $B $L $T
xdotool mouseup 1
wait_state normal   # normal even though it was maximised
expect_area up_left "$((R - L))x$((B - T))+$L+$T"

# 3. The right button moves the corner too; only the left release ends the selection.
arm
xdotool mousemove 560 500 mousedown 1
sleep 0.1
xdotool mousemove 600 520 mousedown 3
sleep 0.1
xdotool mousemove 610 540 mouseup 3
sleep 0.3
[ "$(probe state "$title")" = minimized ] || fail "the right release ended the selection"
xdotool mousemove 650 560
sleep 0.2
xdotool mouseup 1
wait_state normal
expect_area right_button "90x60+560+500"

# 4. Escape while armed, Escape while dragging, and a click without a drag change nothing.
seq=$(clipboard_seq)
arm
xdotool key Escape
wait_state normal
arm
xdotool mousemove 600 420 mousedown 1
sleep 0.1
xdotool mousemove 700 500
sleep 0.2
xdotool key Escape
wait_state normal
shot "$work/escaped.png"
xdotool mouseup 1
[ "$(ae "$work/before.png" "$work/escaped.png" "$region")" = 0 ] || fail "Escape left the band on the screen"
arm
xdotool mousemove 650 420 click 1
wait_state normal
[ "$(clipboard_seq)" = "$seq" ] || fail "a cancelled selection changed the clipboard"
expect_area unchanged "90x60+560+500"

# 5. Another program holds the clipboard: the view still gets the area, the user is told.
ready="$work/held"
wine "$bin/region_probe.exe" hold-clipboard 4000 "$(winpath "$ready")" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -e "$ready" ] && break; sleep 0.1; done
[ -e "$ready" ] || fail "the clipboard holder did not start"
arm
drag 600 400 680 430
xdotool mouseup 1
box=$(find_window Vellumox)
xdotool windowfocus --sync "$box" key Return
wait_state normal
read -r vx vy < <(rprobe view "$title")
shot "$work/held.png"
convert "$work/before.png" -crop 80x30+600+400 +repage "$work/held_expected.png"
convert "$work/held.png" -crop "80x30+$vx+$vy" +repage "$work/held_view.png"
[ "$(ae "$work/held_view.png" "$work/held_expected.png")" = 0 ] || fail "the view lost the area"
wait "${pids[-1]}" || true
[ "$(rprobe clipboard "$(winpath "$work/old.bmp")")" = "90 60" ] || fail "the clipboard lost its old content"

echo "region selection: all checks passed"
