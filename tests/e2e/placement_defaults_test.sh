# A fresh start: the window at 1000/1000 twips with 6500 x 6500 twips outer size,
# the exact title, the toolbar's 17 buttons and the start time in status panel 2.
. "$(dirname "$0")/lib.sh"
reg_clear
start_program

read -r left top width height < <(probe rect "$TITLE")
check_eq "$left $top" "$(twips_to_px 1000) $(twips_to_px 1000)" "window place"
check_eq "$width $height" "$(twips_to_px 6500) $(twips_to_px 6500)" "outer size"
check_eq "$(probe title VellumoxMain)" "$TITLE" "title"
check_eq "$(probe status "$TITLE" 0)" "欢迎使用Vellumox v1.0 !" "status panel 1"
probe status "$TITLE" 1 | grep -Eq '[0-9]{1,4}[/.-][0-9]{1,2}[/.-][0-9]{1,4} [0-9]{1,2}:[0-9]{2}:[0-9]{2}' ||
    fail "status panel 2 holds no date and time: $(probe status "$TITLE" 1)"

# index style image: gaps have no image, 15 is a separator line.
toolbar=$(probe toolbar "$TITLE" | awk '{print $1, $2, $3}' | tr '\n' ';')
expected="1 0 -2;2 0 0;3 0 1;4 0 -2;5 0 5;6 0 2;7 0 6;8 0 7;9 0 8;10 0 9;11 0 -2;12 0 11;13 0 19;14 0 20;"
expected+="15 1 $(probe toolbar "$TITLE" | awk '$1 == 15 {print $3}');16 0 22;17 0 17;"
check_eq "$toolbar" "$expected" "toolbar buttons"

# Closing a fresh program asks nothing and stores the placement in twips.
probe close "$TITLE"
wait_exit
check_eq "$(reg_get MainLeft)" "$(px_to_twips "$left")" "stored MainLeft"
check_eq "$(reg_get MainWidth)" "$(px_to_twips "$width")" "stored MainWidth"
echo "ok"
