#!/usr/bin/env bash
# A freshly started program closes from the close box without any question and
# stores its placement.
#   close_fresh_test.sh RUN_DIR EXE TESTBIN
set -euo pipefail
run=$1 exe=$2
# shellcheck disable=SC1091
. "$run/env"
title='Vellumoxv2.30'

wine reg delete 'HKCU\Software\Vellumox' /f >/dev/null 2>&1 || true
wine "$exe" >/dev/null 2>&1 </dev/null &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

win=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -1)
xdotool windowfocus --sync "$win"
xdotool key alt+F4

for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
    if xdotool search --onlyvisible --name '^Vellumox$' >/dev/null 2>&1; then
        echo "FAIL: a question was asked although nothing was captured" >&2
    else
        echo "FAIL: the program is still running after the close" >&2
    fi
    exit 1
fi
wine reg query 'HKCU\Software\Vellumox\Settings' /v MainLeft | grep -q MainLeft \
    || { echo "FAIL: the placement was not stored" >&2; exit 1; }
echo "closed without a question; placement stored"
