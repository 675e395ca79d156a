# A person's desktop: other programs' windows up (wordpad maximised, notepad over it)
# under a window manager (openbox, its own Print bindings taken out as the README tells
# users) or, run from no_window_manager_test.sh, without one. Each way into the free
# region and the scrolling capture stays armed until the user acts, with the frozen
# screen above the other windows (notepad moved beneath it does not show; the band and
# the outline are seen over notepad); after every capture, and after Alt+Print Screen
# pressed in notepad, the window is in front and takes Ctrl+S at once.
. "$(dirname "$0")/lib.sh"
WM=${VX_DESKTOP_WM-openbox}
VX_WINDOW_MANAGER=$WM own_session "desktop-${WM:-none}" 1280x1024x24
for i in $(seq -w 1 60); do echo "line $i of the notes"; done | sed 's/$/\r/' >"$WORK/notes.txt"
wine 'C:\Program Files\Windows NT\Accessories\wordpad.exe' >/dev/null 2>&1 </dev/null &
VX_PIDS+=($!)
WORDPAD=$(window '^Document - Wine Wordpad$')
probe show "$(title_of "$WORDPAD")" 3
wine notepad "$(winpath "$WORK/notes.txt")" >/dev/null 2>&1 </dev/null &
VX_PIDS+=($!)
PAD_TITLE='notes.txt - Notepad' && PAD=$(window "^$PAD_TITLE$")  # once the file is in
start_program
probe move "$TITLE" 700 400 480 420
# Made the active window by the window manager, or by Wine where there is none: done
# once it is Wine's foreground window, with the keyboard where a window manager gives it
# out (Wine alone does not always move it), and the program has answered since (it has
# taken in what it gained or lost).
front() {
    local w=$1
    if [ -n "$WM" ]; then xdotool windowactivate --sync "$w"; else probe front "$(title_of "$w")"; fi
    wait_for 'probe active "$(title_of "$w")" && { [ -z "$WM" ] || [ "$(xdotool getwindowfocus)" = "$w" ]; }' ||
        fail "$(title_of "$w") never became active"
    probe status "$TITLE" 0 >/dev/null
}
front "$MAIN"; wait_for 'probe class VellumoxMain' || fail "the window never painted"
read -r cx cy < <(probe client "$TITLE")
TOOLBAR="300x20+$cx+$cy"; shot "$WORK/front.png"
in_front() { shot "$WORK/now.png"; [ "$(ae "$WORK/front.png" "$WORK/now.png" "$TOOLBAR")" = 0 ]; }
takes_keys() {  # Ctrl+S typed to whatever has the keyboard opens the program's Save dialog
    local dialog; xdotool key ctrl+s; dialog=$(window "^保存$")
    keys "$dialog" Escape
    wait_for '! xdotool search --onlyvisible --name "^保存$" >/dev/null'
}

# how it is armed | how it ends
cases=(
    "menu c d | drag"
    "toolbar | keys"
    "Print key | Escape"
    "menu c Up Return | a click on notepad"
    "toolbar | drag 830 700 1100 760"  # the minimised window's client x there passes 16 bits
)
for c in "${cases[@]}"; do
    how=${c%% |*} end=${c##*| }; echo "case: $how, $end"
    probe move "$PAD_TITLE" 40 160 480 460
    front "$WORDPAD"; front "$PAD"
    # The pointer over wordpad's bars, far from notepad: the scrolling pick outlines them.
    xdotool mousemove 1000 60
    case $how in
        menu*) front "$MAIN"; xdotool mousemove 1000 60; keys "$MAIN" "alt+${how:5:1}"
               wait_for 'probe class "#32768"' || fail "$how: the menu did not open"; xdotool key ${how:7} ;;
        toolbar) front "$MAIN"; xdotool mousemove $((cx + 126)) $((cy + 11)) click 1 mousemove 1000 60 ;;
        Print*) xdotool key Print ;;
    esac
    wait_state minimized; wait_for 'probe class VellumoxFrozenScreen' || fail "$how: no frozen screen"
    # Still armed once the window manager has handed the keyboard on (the frozen screen
    # is active with the keyboard, taken back) and the program has answered since.
    wait_for 'probe active VellumoxFrozenScreen && screen_has_keys' || fail "$how: the keyboard is not back"
    probe status "$TITLE" 0 >/dev/null; probe class VellumoxFrozenScreen || fail "$how: the pick ended by itself"
    # And above it all: notepad, moved beneath it (somewhere new each time), does not show.
    shot "$WORK/before.png"; at=$(xdotool getwindowgeometry "$PAD") to=$((${to:-80} + 10))
    xdotool windowmove "$PAD" "$to" 200
    wait_for '[ "$(xdotool getwindowgeometry "$PAD")" != "$at" ]' || fail "$how: notepad did not move"
    shot "$WORK/moved.png"
    check_eq "$(ae "$WORK/before.png" "$WORK/moved.png")" 0 "$how: pixels of the live screen over the frozen one"
    case $end in
        drag*)
            read -r L T R B _ <<<"${end#drag} 150 300 270 345"
            xdotool mousemove $L $T mousedown 1 sleep 0.1 mousemove $((L + 50)) $((T + 30)) sleep 0.1 mousemove $R $B
            wait_for 'shot "$WORK/during.png"; band_ok $L $T $R $B' || { cat "$WORK/band.err" >&2; fail "band over notepad"; }
            xdotool mouseup 1 ;;
        keys)
            xdotool mousemove 150 300 sleep 0.1 key Right Right mousedown 1 sleep 0.1 mousemove 200 330 sleep 0.2 key Right shift+Down Return
            wait_state normal; xdotool mouseup 1
            xclip -selection clipboard -t image/bmp -o >"$WORK/keys.bmp" || fail "xclip read nothing"
            check_eq "$(identify -format '%wx%h' "$WORK/keys.bmp")" "49x40" "area chosen with the keys" ;;
        Escape) xdotool key Escape ;;
        a*)
            read -r L T R B < <(probe area "$PAD_TITLE" Edit)
            xdotool mousemove $(((L + R) / 2)) $(((T + B) / 2))
            wait_for 'shot "$WORK/during.png"; band_ok $L $T $R $B' || { cat "$WORK/band.err" >&2; fail "outline over notepad"; }
            xdotool click 1 ;;
    esac
    wait_state normal; wait_for in_front || fail "$how, $end: the window is not in front"; takes_keys
done

# Alt+Print Screen pressed in notepad: notepad's picture, and the window in front and
# active, its menu not left open by the Alt released.
front "$WORDPAD"; front "$PAD"; xdotool key alt+Print
wait_for in_front || fail "Alt+Print Screen: the window is not in front"; takes_keys

# The picture in the view stays painted while the Save dialog is open over it and moved away.
read -r x y < <(probe view "$TITLE")
shot "$WORK/before.png"
menu f s
dialog=$(window '^保存$')
# The dialog opens over the view's corner and can still place itself after it shows,
# undoing a move made too early: moved until it stays away and the view is its old self
# again (a view that missed its repaint never is).
away() {
    xdotool windowmove "$dialog" 700 600
    shot "$WORK/under.png"
    changed=$(ae "$WORK/before.png" "$WORK/under.png" "49x40+$x+$y")
    [ "$changed" = 0 ]
}
wait_for away || true
check_eq "$changed" 0 \
    "view pixels changed under the Save dialog (at $(xdotool getwindowgeometry "$dialog" | tr -s ' \n' ' '))"
keys "$dialog" Escape
kill "$VX_PID" && wait_exit
[ -n "$WM" ] || { echo ok; exit 0; }
# Alone on the screen for the window-state tests under the window manager.
wine "$TESTBIN/vx_win_tests.exe" --gtest_filter='RegionSelectionTest.*:SequenceTest.EveryWay*:SequenceTest.AMaximised*:CaptureCommandsTest.Delayed*:CaptureCommandsTest.WholeScreen*'
echo ok
