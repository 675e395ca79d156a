# Free-region capture driven with the mouse and keyboard like a person, on two monitors
# side by side (1280x1024, the primary, and 1024x768 to its right): the frozen screen
# covers both; the band across the boundary while the button is held (a right click
# meanwhile does not end it), the screen as it was after the release, the area in the
# view and on the X clipboard; on the second monitor, arrows and Enter choose an exact
# area.
. "$(dirname "$0")/lib.sh"
own_session region-run 1280x1024x24+1024x768x24
noise_screen
start_program
wait_for 'probe class VellumoxMain' || fail "the window never painted"
shot "$WORK/before.png"
L=1200 T=400 R=1360 B=445

xdotool mousemove 100 950
arm
# What lies beneath moves; the frozen screen does not (the minimised window, and the
# outline along the primary's edges and the loupe at the pointer, aside).
xdotool windowmove --sync "$NOISE" 40 30
shot "$WORK/frozen.png"
for area in 700x900+540+60 1024x768+1280+0; do
    check_eq "$(ae "$WORK/before.png" "$WORK/frozen.png" $area)" 0 "frozen screen pixels differing in $area"
done
xdotool windowmove "$NOISE" 0 0
xdotool mousemove $L $T mousedown 1 sleep 0.1 mousemove 1260 420 sleep 0.1 mousedown 3 sleep 0.1 \
    mousemove 1300 430 mouseup 3
xdotool mousemove $R $B
wait_for 'shot "$WORK/during.png"; band_ok $L $T $R $B' ||
    { cat "$WORK/band.err" >&2; fail "band while dragging (the window $(probe state "$TITLE"))"; }
# The band follows the move after the right release: that release has been handled.
[ "$(probe state "$TITLE")" = minimized ] || fail "the right release ended the selection"
xdotool mouseup 1
wait_state normal
# The windows the frozen screen covered repaint themselves: look until they have.
wait_for 'shot "$WORK/after.png"; [ "$(ae "$WORK/before.png" "$WORK/after.png" 400x300+1080+250)" = 0 ]' ||
    fail "pixels the band left behind: $(ae "$WORK/before.png" "$WORK/after.png" 400x300+1080+250)"
area="$((R - L))x$((B - T))+$L+$T"
expect_clip "$WORK/before.png" "$area"
expect_view "$WORK/before.png" "$area"

# Arrows place the first corner and move the free one a pixel (Shift: ten) at a time;
# Enter ends the selection while the button is still held.
arm
xdotool mousemove 1500 400 sleep 0.1 key Right Right
wait_for '[ "$(xdotool getmouselocation | cut -d " " -f 1-2)" = "x:1502 y:400" ]' ||
    fail "the arrows left the pointer at $(xdotool getmouselocation)"
xdotool mousedown 1 sleep 0.1 mousemove 1550 430 sleep 0.2 key Right shift+Down Return
wait_state normal
expect_clip "$WORK/before.png" 49x40+1502+400
xdotool mouseup 1

echo "region selection: all checks passed"
