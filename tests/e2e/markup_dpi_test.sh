# Marking up at 144 DPI: every tool lands where the pointer put it and the redaction covers
# the whole dragged box (one picture pixel per screen pixel at any DPI).
. "$(dirname "$0")/lib.sh"
own_session markup-dpi-run 1152x864x24 144
check_eq "$(probe dpi)" "144" "session DPI"
wine "$TESTBIN/vx_win_tests.exe" --gtest_filter='MarkupTest.*'
