# Free-region capture driven with the mouse and keyboard like a person: the band on the
# screen while the button is held (a right click meanwhile does not end it), the screen
# as it was after the release, the area in the view and on the X clipboard; arrows and
# Enter choose an exact area; then a clipboard held by another
# program: the view still gets the area, the user is told, the clipboard keeps its own.
. "$(dirname "$0")/lib.sh"
reg_clear  # the window at its default place, away from the area selected below
wait_state() { want=$1; wait_for '[ "$(probe state "$TITLE")" = "$want" ]' || fail "the window never became $1"; }
arm() {
    menu c d
    wait_state minimized
    # The frozen copy of the screen is up once its window exists; give it a paint.
    wait_for 'probe class VellumoxFrozenScreen' || fail "no frozen screen"
    sleep 0.4
}
expect_view() {  # GEOMETRY of before.png that the view shows at its corner
    local x y
    read -r x y < <(probe view "$TITLE")
    shot "$WORK/view.png"
    convert "$WORK/view.png" -crop "${1%%+*}+$x+$y" +repage "$WORK/view.png"
    convert "$WORK/before.png" -crop "$1" +repage "$WORK/expected.png"
    check_eq "$(ae "$WORK/view.png" "$WORK/expected.png")" 0 "view pixels differing from $1"
}

# A screen of noise, in which no two nearby pixels are alike, under the program.
read -r sw sh < <(xdotool getdisplaygeometry)
convert -size "${sw}x${sh}" xc: +noise Random "$WORK/noise.xwd"
xwud -noclick -in "$WORK/noise.xwd" >/dev/null 2>&1 &
VX_PIDS+=($!)
sleep 1
start_program
sleep 0.5
shot "$WORK/before.png"
L=600 T=400 R=720 B=445

arm
xdotool mousemove $L $T mousedown 1 sleep 0.1 mousemove 660 420 sleep 0.1 mousedown 3 sleep 0.1 \
    mousemove 680 430 mouseup 3 sleep 0.3
[ "$(probe state "$TITLE")" = minimized ] || fail "the right release ended the selection"
xdotool mousemove $R $B
# The band is drawn by the program's own loop: look until it is there.
band_ok() { python3 - "$WORK/before.png" "$WORK/during.png" $L $T $R $B 2>"$WORK/band.err" <<'PY'
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
wait_for 'shot "$WORK/during.png"; band_ok' || { cat "$WORK/band.err" >&2; fail "band while dragging"; }
xdotool mouseup 1
wait_state normal
shot "$WORK/after.png"
check_eq "$(ae "$WORK/before.png" "$WORK/after.png" 400x300+520+300)" 0 "pixels the band left behind"
area="$((R - L))x$((B - T))+$L+$T"
convert "$WORK/before.png" -crop "$area" +repage "$WORK/area.png"
xclip -selection clipboard -t image/bmp -o >"$WORK/clip.bmp" || fail "xclip read nothing"
check_eq "$(ae "$WORK/clip.bmp" "$WORK/area.png")" 0 "clipboard pixels differing from $area"
expect_view "$area"

# Arrows place the first corner and move the free one a pixel (Shift: ten) at a time;
# Enter ends the selection while the button is still held.
arm
xdotool mousemove 600 400 sleep 0.1 key Right Right
xdotool mousedown 1 sleep 0.1 mousemove 650 430 sleep 0.2 key Right shift+Down Return
wait_state normal
xclip -selection clipboard -t image/bmp -o >"$WORK/keys.bmp" || fail "xclip read nothing"
check_eq "$(identify -format '%wx%h' "$WORK/keys.bmp")" "49x40" "area chosen with the keys"
xdotool mouseup 1

wine "$TESTBIN/vxprobe.exe" hold-clipboard 4000 "$(winpath "$WORK/held")" >/dev/null 2>&1 &
VX_PIDS+=($!)
wait_for '[ -e "$WORK/held" ]' || fail "the clipboard holder did not start"
arm
xdotool mousemove 600 400 mousedown 1 sleep 0.1 mousemove 640 415 sleep 0.1 mousemove 680 430 sleep 0.3 mouseup 1
keys "$(window '^Vellumox$')" Return
wait_state normal
expect_view 80x30+600+400
wait "${VX_PIDS[-1]}" || true
xclip -selection clipboard -t image/bmp -o >"$WORK/clip.bmp" || fail "xclip read nothing"
check_eq "$(ae "$WORK/clip.bmp" "$WORK/keys.bmp")" 0 "pixels of the held clipboard that changed"
echo "region selection: all checks passed"
