# The capture tests on an 8-bit pseudo-colour screen of their own, where the display
# has a 256-entry system palette: the palette path runs and its palette is freed.
. "$(dirname "$0")/lib.sh"
own_session capture-palette-run 1024x768x8

# Not the pixel-exact comparisons of a window's own surface with the screen: on a
# palette display the two map the interface's non-static colours to different entries.
out=$(wine "$TESTBIN/vx_win_tests.exe" \
    --gtest_filter='CaptureCommandsTest.*:CaptureArea.*:-*ClientAndWindowCaptures*:*ActiveWindowFromTheDesktop*' 2>&1) ||
    fail "$out"
echo "$out"
# On this screen the palette test must have run to its end, not skipped itself.
grep -q 'SKIPPED \] CaptureCommandsTest.PaletteDisplay' <<<"$out" && fail "the palette test skipped the 8-bit screen"
grep -q '^\[       OK \] CaptureCommandsTest.PaletteDisplayCaptureCarriesTheSystemPalette' <<<"$out" ||
    fail "the palette test did not run on the 8-bit screen"
