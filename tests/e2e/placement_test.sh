# The window's place through the registry, on the shared screen and again on a 144-DPI
# screen of its own (a twip is a tenth of a pixel there). Each row's stored values give
# the window's place at start (E: against the screen's right or bottom edge; the fifth
# row is a place on a second monitor to the right that is gone), and closing
# stores that place back in twips. A window moved and resized by hand comes back where it
# was; closed while minimised, it keeps the earlier values. Status panel 2 shows the
# date and time of the start.
. "$(dirname "$0")/lib.sh"

placement() {
    local dpi sw sh left top width height x y w h
    dpi=$(probe dpi)
    read -r sw sh < <(xdotool getdisplaygeometry)
    px() { python3 -c "print(round($1 * $dpi / 1440))"; }  # twips to pixels, halves to even
    twips() { local v out=(); for v in "$@"; do out+=($((v * 1440 / dpi))); done; echo "${out[*]}"; }
    stored() { echo "$(reg_get MainLeft) $(reg_get MainTop) $(reg_get MainWidth) $(reg_get MainHeight)"; }
    # Stored MainLeft|MainTop|MainWidth|MainHeight (- none) | the window's place in twips.
    while IFS='|' read -r -u 3 left top width height want; do
        reg_clear
        for value in "MainLeft=$left" "MainTop=$top" "MainWidth=$width" "MainHeight=$height"; do
            [ "${value#*=}" = - ] || reg_set "${value%%=*}" "${value#*=}"
        done
        start_program
        read -r x y w h <<<"$want"
        w=$(px "$w") h=$(px "$h")
        if [ "$x" = E ]; then x=$((sw - w)); else x=$(px "$x"); fi
        if [ "$y" = E ]; then y=$((sh - h)); else y=$(px "$y"); fi
        check_eq "$(probe rect "$TITLE")" "$x $y $w $h" "$dpi DPI, window for $left|$top|$width|$height"
        probe close "$TITLE"
        wait_exit
        check_eq "$(stored)" "$(twips $x $y $w $h)" "$dpi DPI, stored for $left|$top|$width|$height"
    done 3<<EOF
-|-|-|-|1000 1000 6500 6500
not a number|-1e9|0|-4000|1000 1000 6500 6500
99999999|1000|3e38|9999999999|E 1000 6500 6500
$(twips $((sw * 3)))|$(twips $((sh * 2)))|7500|6000|E E 7500 6000
$(twips $((sw + 70)))|2250|7500|6300|E 2250 7500 6300
EOF

    # By hand: the title bar 120 px right and 80 px down, then the corner 100 px out, 50 down.
    reg_clear
    start_program
    probe status "$TITLE" 1 | grep -Eq '[0-9]{1,4}[/.-][0-9]{1,2}[/.-][0-9]{1,4} [0-9]{1,2}:[0-9]{2}:[0-9]{2}' ||
        fail "status panel 2 holds no start date and time: $(probe status "$TITLE" 1)"
    read -r x y w h < <(probe rect "$TITLE")
    xdotool mousemove $((x + 120)) $((y + 10)) mousedown 1 sleep 0.2 mousemove $((x + 180)) $((y + 50)) \
        sleep 0.1 mousemove $((x + 240)) $((y + 90)) sleep 0.2 mouseup 1
    x=$((x + 120)) y=$((y + 80))
    wait_for '[ "$(probe rect "$TITLE")" = "$x $y $w $h" ]' ||
        check_eq "$(probe rect "$TITLE")" "$x $y $w $h" "$dpi DPI, window after the title-bar drag"
    xdotool mousemove $((x + w - 2)) $((y + h - 2)) mousedown 1 sleep 0.2 mousemove $((x + w + 60)) \
        $((y + h + 40)) sleep 0.1 mousemove $((x + w + 98)) $((y + h + 48)) sleep 0.2 mouseup 1
    w=$((w + 100)) h=$((h + 50))
    wait_for '[ "$(probe rect "$TITLE")" = "$x $y $w $h" ]' ||
        check_eq "$(probe rect "$TITLE")" "$x $y $w $h" "$dpi DPI, window after the corner drag"
    keys "$MAIN" alt+F4
    wait_exit
    check_eq "$(stored)" "$(twips $x $y $w $h)" "$dpi DPI, stored after the drags"
    start_program
    check_eq "$(probe rect "$TITLE")" "$x $y $w $h" "$dpi DPI, window after the restart"
    probe show "$TITLE" 6
    wait_for '[ "$(probe state "$TITLE")" = minimized ]' || fail "$dpi DPI, the window did not minimise"
    probe close "$TITLE"
    wait_exit
    check_eq "$(stored)" "$(twips $x $y $w $h)" "$dpi DPI, stored after a minimised close"
}

placement
own_session placement-dpi144-run 1280x1024x24 144
check_eq "$(probe dpi)" 144 "session DPI"
placement
echo ok
