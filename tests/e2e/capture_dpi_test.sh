#!/usr/bin/env bash
# The capture commands at 144 DPI on a screen of their own: sizes stay in physical pixels.
#   capture_dpi_test.sh RUN_DIR EXE TESTBIN
set -euo pipefail
run_dir=$1 testbin=$3
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
session="$(dirname "$run_dir")/capture-dpi-run"
trap '"$tools/wine-session" stop "$session" >/dev/null 2>&1 || true' EXIT
"$tools/wine-session" start "$session" "$testbin/vx_keepalive.exe" 1152x864x24
"$tools/wine-exec" "$session" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1

dpi=$("$tools/wine-exec" "$session" "$testbin/vxprobe.exe" dpi 2>/dev/null | tr -d '\r')
[ "$dpi" = 144 ] || { echo "the session runs at $dpi DPI, not 144"; exit 1; }
VX_EXPECT_SCREEN=1152x864 "$tools/wine-exec" "$session" "$testbin/vx_win_tests.exe" \
    --gtest_filter='CaptureCommandsTest.ClientAndWindowCapturesStartAtTheirTopLeftPixel:CaptureCommandsTest.WholeScreenShowsWhatTheMainWindowCovered'
