# The free region picks windows and shows a loupe, on two monitors (1280x1024, the
# primary, and 1024x768 to its right): a click takes the outlined window (a wheel notch
# towards the user steps into its control) exactly as the frozen screen shows it; the
# loupe beside the pointer flips at an edge, is never in the picture, and C puts the
# colour under the pointer on the clipboard.
. "$(dirname "$0")/lib.sh"
own_session pick-run 1280x1024x24+1024x768x24
noise_screen
pad() {  # TITLE-WORD X Y W H
    printf 'hello\r\n' >"$WORK/$1.txt"
    wine notepad "$(winpath "$WORK/$1.txt")" >/dev/null 2>&1 </dev/null &
    VX_PIDS+=($!)
    window "$1" >/dev/null
    probe move "$(title_of "$(window "$1")")" "${@:2}"
}
pad second 1500 100 500 400   # on the second monitor
pad leftoff -150 600 450 300  # partly off the screen's left edge
start_program
probe move "$TITLE" 100 100 300 200
wait_for 'probe class VellumoxMain && probe class Notepad' || fail "the windows never painted"
geometry() {  # TITLE-WORD [CHILD-CLASS]: WxH+X+Y of it, cut to the screen's left edge
    read -r x y w h < <(probe rect "$(title_of "$(window "$1")")" ${2:-})
    [ "$x" -ge 0 ] || { w=$((w + x)); x=0; }
    echo "${w}x${h}+$x+$y"
}
shot "$WORK/before.png"

# pointer, wheel notches towards the user, what the click takes
while read -r px py notches what; do
    expected=$(geometry $what)
    arm
    xdotool mousemove "$px" "$py" sleep 0.2  # a hand's pace, as the notches'
    for _ in $(seq "$notches"); do xdotool click 5 sleep 0.1; done
    xdotool click 1
    wait_state normal
    expect_clip "$WORK/before.png" "$expected" || fail "click at $px,$py"
done <<'CASES'
1600 110 0 second
1700 300 1 second Edit
100 610 0 leftoff
CASES

# The loupe beside the pointer, on the other side at the primary's right edge; it
# shows the pixels of both monitors there and is never in the picture.
loupe_at() {  # X Y: where the screen differs from the frozen copy
    xdotool mousemove "$1" "$2"
    wait_for 'shot "$WORK/armed.png"; [ "$(ae "$WORK/before.png" "$WORK/armed.png" 100x100+$(($1 + 25))+$(($2 + 25)))" != 0 ] ||
        [ "$(ae "$WORK/before.png" "$WORK/armed.png" 100x100+$(($1 - 125))+$(($2 + 25)))" != 0 ]'
    python3 - "$WORK/before.png" "$WORK/armed.png" "$1" "$2" <<'PY'
import subprocess, sys
def rgb(f):
    return subprocess.run(["convert", f, "-crop", "2304x1024+0+0", "rgb:-"], capture_output=True, check=True).stdout
a, b = rgb(sys.argv[1]), rgb(sys.argv[2])
x, y = int(sys.argv[3]), int(sys.argv[4])
changed = lambda l, t, r, bo: sum(a[(j * 2304 + i) * 3:(j * 2304 + i) * 3 + 3] != b[(j * 2304 + i) * 3:(j * 2304 + i) * 3 + 3]
                                  for j in range(t, bo) for i in range(l, r))
right, left = changed(x + 20, y + 20, x + 140, y + 120), changed(x - 140, y + 20, x - 20, y + 120)
print("right" if right > 5000 and left == 0 else "left" if left > 5000 and right == 0 else f"{left} {right}")
PY
}
arm
check_eq "$(loupe_at 700 300)" right "loupe in the middle of the primary"
check_eq "$(loupe_at 1275 300)" left "loupe at the primary's right edge"
# C: the colour of the frozen pixel under the pointer, and the selection goes on.
xdotool key c
wait_for '[ "$(xclip -selection clipboard -o 2>/dev/null)" = "$(convert "$WORK/before.png" -format "#%[hex:p{1275,300}]" info:)" ]' ||
    fail "colour text $(xclip -selection clipboard -o) after C"
[ "$(probe state "$TITLE")" = minimized ] || fail "C ended the selection"
# A drag over where the loupe was takes the frozen screen's pixels.
xdotool mousedown 1 sleep 0.1 mousemove 1100 350 sleep 0.1 mousemove 1000 450 sleep 0.2 mouseup 1
wait_state normal
expect_clip "$WORK/before.png" 275x150+1000+300
echo "window pick: all checks passed"
