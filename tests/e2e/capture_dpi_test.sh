# The capture commands at 144 DPI on a screen of their own: sizes stay in physical pixels;
# the wheel and the keys move the view by lines of the larger text.
. "$(dirname "$0")/lib.sh"
own_session capture-dpi-run 1152x864x24 144
check_eq "$(probe dpi)" "144" "session DPI"
VX_EXPECT_SCREEN=1152x864 wine "$TESTBIN/vx_win_tests.exe" \
    --gtest_filter='CaptureCommandsTest.ClientAndWindowCapturesStartAtTheirTopLeftPixel:CaptureCommandsTest.WholeScreenShowsWhatTheMainWindowCovered:ImageViewTest.WheelAndKeys*'
