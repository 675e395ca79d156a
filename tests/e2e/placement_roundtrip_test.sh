# Moved and resized by hand, closed, started again: the window comes back where it
# was. Closed while minimised: the earlier values are kept.
. "$(dirname "$0")/lib.sh"
reg_clear
start_program
id=$(wait_window "$TITLE")
read -r left top width height < <(probe rect "$TITLE")

# Drag the title bar 120 px right and 80 px down, then the bottom-right corner out.
xdotool mousemove $((left + 120)) $((top + 10)) mousedown 1 sleep 0.2 \
    mousemove $((left + 180)) $((top + 50)) sleep 0.1 mousemove $((left + 240)) $((top + 90)) sleep 0.2 mouseup 1
sleep 0.3
read -r left2 top2 w2 h2 < <(probe rect "$TITLE")
check_eq "$left2 $top2" "$((left + 120)) $((top + 80))" "window after the title-bar drag"
xdotool mousemove $((left2 + w2 - 2)) $((top2 + h2 - 2)) mousedown 1 sleep 0.2 \
    mousemove $((left2 + w2 + 60)) $((top2 + h2 + 40)) sleep 0.1 mousemove $((left2 + w2 + 98)) $((top2 + h2 + 48)) \
    sleep 0.2 mouseup 1
sleep 0.3
read -r left3 top3 w3 h3 < <(probe rect "$TITLE")
check_eq "$w3 $h3" "$((w2 + 100)) $((h2 + 50))" "window after the corner drag"

xdotool windowfocus --sync "$id" key alt+F4
wait_exit
check_eq "$(reg_get MainLeft) $(reg_get MainTop)" "$(px_to_twips "$left3") $(px_to_twips "$top3")" "stored place"
check_eq "$(reg_get MainWidth) $(reg_get MainHeight)" "$(px_to_twips "$w3") $(px_to_twips "$h3")" "stored size"

start_program
check_eq "$(probe rect "$TITLE")" "$left3 $top3 $w3 $h3" "window after the restart"

# Minimised, then closed: nothing is written.
probe show "$TITLE" 6
sleep 0.3
check_eq "$(probe state "$TITLE")" "minimized" "state"
probe close "$TITLE"
wait_exit
check_eq "$(reg_get MainLeft) $(reg_get MainWidth)" "$(px_to_twips "$left3") $(px_to_twips "$w3")" "values after a minimised close"
echo "ok"
