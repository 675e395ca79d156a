# Garbage, negative and off-screen values in the registry: the window still appears
# on the monitor at a sensible size.
. "$(dirname "$0")/lib.sh"
read -r sw sh < <(probe screen)

reg_clear
reg_set MainLeft "not a number"
reg_set MainTop "-1e9"
reg_set MainWidth "0"
reg_set MainHeight "-4000"
start_program
read -r left top width height < <(probe rect "$TITLE")
check_eq "$left $width $height" "$(twips_to_px 1000) $(twips_to_px 6500) $(twips_to_px 6500)" "fallbacks"
[ "$top" -ge 0 ] && [ "$top" -lt "$sh" ] || fail "top $top is off the screen"
probe close "$TITLE"
wait_exit

# Huge values: a width beyond any screen's twips, a place millions of pixels away.
reg_set MainLeft "99999999"
reg_set MainTop "1000"
reg_set MainWidth "3e38"
reg_set MainHeight "9999999999"
start_program
read -r left top width height < <(probe rect "$TITLE")
check_eq "$width $height" "$(twips_to_px 6500) $(twips_to_px 6500)" "huge sizes fall back"
[ "$left" -ge 0 ] && [ $((left + width)) -le "$sw" ] || fail "left $left is not on the screen"
probe close "$TITLE"
wait_exit

# A monitor that has since gone: far to the right and below.
reg_set MainLeft "$((sw * 15 * 3))"
reg_set MainTop "$((sh * 15 * 2))"
reg_set MainWidth "7500"
reg_set MainHeight "6000"
start_program
read -r left top width height < <(probe rect "$TITLE")
[ "$left" -ge 0 ] && [ $((left + width)) -le "$sw" ] || fail "left $left width $width not on a ${sw}-wide screen"
[ "$top" -ge 0 ] && [ $((top + height)) -le "$sh" ] || fail "top $top height $height not on a ${sh}-high screen"
check_eq "$width $height" "$(twips_to_px 7500) $(twips_to_px 6000)" "size kept"
echo "ok"
