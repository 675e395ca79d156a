#!/usr/bin/env bash
# The capture tests on an 8-bit pseudo-colour screen of their own, where the display
# has a 256-entry system palette: the palette path runs, the soak counts palettes too.
#   capture_palette_test.sh RUN_DIR EXE TESTBIN
set -euo pipefail
run_dir=$1 testbin=$3
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
session="$(dirname "$run_dir")/capture-palette-run"
trap '"$tools/wine-session" stop "$session" >/dev/null 2>&1 || true' EXIT
"$tools/wine-session" start "$session" "$testbin/vx_keepalive.exe" 1024x768x8

# Not the pixel-exact comparisons of a window's own surface with the screen: on a
# palette display the two map the interface's non-static colours to different entries.
out=$("$tools/wine-exec" "$session" "$testbin/vx_win_tests.exe" \
    --gtest_filter='CaptureCommandsTest.*:CaptureArea.*:-*ClientAndWindowCaptures*:*ActiveWindowFromTheDesktop*' 2>&1) || { echo "$out"; exit 1; }
echo "$out"
# On this screen the palette test must have run, not skipped itself.
grep -q '^\[       OK \] CaptureCommandsTest.PaletteDisplayCaptureCarriesTheSystemPalette' <<<"$out" ||
    { echo "the palette test did not run on the 8-bit screen"; exit 1; }
