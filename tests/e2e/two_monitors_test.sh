# Two monitors side by side (1280x1024, the primary, and 1024x768 to its right), with
# Wine's Notepad as the other program: the Print Screen keys pressed there, and every
# window capture holds exactly the pixels the screen showed, wherever on the two monitors
# they are; the keys do nothing under a dialog or a selection, a key another program
# holds is named in the status bar, and the window starts on the monitor it was closed
# on. (The free region on two monitors: region_select_test.sh.)
. "$(dirname "$0")/lib.sh"
own_session two-monitors-run 1280x1024x24+1024x768x24
# A caret that does not blink, so that Notepad looks the same from one moment to the next.
wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /t REG_SZ /d -1 /f >/dev/null 2>&1
noise_screen
wine notepad >/dev/null 2>&1 </dev/null &
VX_PIDS+=($!)
NOTE=$(window 'Notepad$')
note() { probe move "$(title_of "$NOTE")" "$@"; activate "$NOTE"; wait_for 'probe class Notepad' || fail "Notepad never painted"; }
start_program

# The active window, delayed (menu) and at once (Alt+Print Screen), on the second monitor
# and across both.
for place in "1400 100" "1150 500"; do
    note $place 240 160
    shot "$WORK/before.png"
    area=240x160+${place/ /+}
    activate "$MAIN"
    menu c a
    keys "$(window '^Vellumox v1.0$')" Return
    wait_state minimized
    activate "$NOTE"
    wait_state normal
    expect_view "$WORK/before.png" "$area"
    activate "$MAIN"
    menu f c
    # Alt held until the picture is in, as a hand holds it (its release puts Notepad's menu bar in menu mode).
    activate "$NOTE" keydown alt key Print
    expect_view "$WORK/before.png" "$area"
    xdotool keyup alt
    activate "$NOTE"  # ends that menu mode
done
# Print Screen arms the selection; the keys pressed meanwhile do nothing, and Escape
# leaves the picture as it was.
arm "$NOTE" Print
# Their hot keys are handled before the Escape that follows them.
xdotool key ctrl+Print alt+Print Print Escape
wait_state normal
expect_view "$WORK/before.png" "$area"

# The program's own window and client area on the second monitor, and the whole screen
# from Ctrl+Print Screen there: the primary monitor, as on one; the window comes to the
# front. Under the save dialog the keys do nothing.
note 1400 580 240 160
probe move "$TITLE" 1350 150 500 420
activate "$MAIN"
wait_for 'probe class VellumoxMain' || fail "the window never painted"
shot "$WORK/before.png"
read -r x y < <(probe client "$TITLE")
for item in "f 200x100+1350+150" "c 200x100+$x+$y"; do
    menu c "${item%% *}"
    expect_view "$WORK/before.png" "${item#* }"
    shot "$WORK/before.png"
done
shot "$WORK/before.png"
activate "$NOTE" key ctrl+Print
wait_for '[ "$(xdotool getwindowfocus)" = "$MAIN" ]' || fail "the window did not come to the front"
menu f s
keys "$(window '^保存$')" Print ctrl+Print  # (an Alt release would open the system menu)
answer_file '^保存$' "$WORK/screen.bmp"
wait_for 'bmp_written "$WORK/screen.bmp"' || fail "the whole screen was not saved"
expect_file "$WORK/screen.bmp" "$WORK/before.png" 1280x1024+0+0
wine "$EXE" /capture region 1400,580,1640,740 /save "$(winpath "$WORK/region.png")"
expect_file "$WORK/region.png" "$WORK/before.png" 240x160+1400+580

# Closed on the second monitor, it starts there again; a second copy of the program
# finds the keys held by the first and says so. (Placed on a monitor that is gone:
# placement_test.sh.)
probe close "$TITLE"
wait_exit
start_program
check_eq "$(probe rect "$TITLE")" "1350 150 500 420" "window started after a close on the second monitor"
start_program
wait_for 'probe status "$TITLE" 0 | grep -q "Print Screen、Ctrl+Print Screen、Alt+Print Screen、Shift+Print Screen"' ||
    fail "status bar of the second copy: $(probe status "$TITLE" 0)"
echo "two monitors: all checks passed"
