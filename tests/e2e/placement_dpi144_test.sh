# At 144 DPI a twip is a tenth of a pixel: the default window is 100/100 px with
# 650 x 650 px outer size, and the stored values are the same twips as at 96 DPI.
. "$(dirname "$0")/lib.sh"
own_session placement-dpi144-run 1280x1024x24 144
check_eq "$(probe dpi)" "144" "session DPI"
start_program
check_eq "$(probe rect "$TITLE")" "100 100 650 650" "window at 144 DPI"
probe close "$TITLE"
wait_exit
check_eq "$(reg_get MainLeft) $(reg_get MainWidth)" "1000 6500" "stored twips"
echo "ok"
