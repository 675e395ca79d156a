# Shared steps of the end-to-end tests: source it with RUN_DIR EXE TESTBIN as $1..$3.
# Every program a test starts is ended by its own id when the test ends.
set -euo pipefail
RUN_DIR=$1
EXE=$2
TESTBIN=$3
# shellcheck disable=SC1091
. "$RUN_DIR/env"
TITLE="Vellumoxv2.30"
VX_PIDS=()
stop_all() {
    local p
    for p in "${VX_PIDS[@]:-}"; do
        [ -n "$p" ] && { kill "$p" 2>/dev/null || true; }
    done
    return 0
}
trap stop_all EXIT

# A Wine session of the test's own (another screen depth or DPI), stopped on exit;
# its environment replaces the shared session's.
VX_TOOLS=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)
own_session() {  # NAME SCREEN [DPI]
    VX_OWN_SESSION="$(dirname "$RUN_DIR")/$1"
    trap 'stop_all; "$VX_TOOLS/wine-session" stop "$VX_OWN_SESSION" >/dev/null 2>&1 || true' EXIT
    "$VX_TOOLS/wine-session" start "$VX_OWN_SESSION" "$TESTBIN/vx_keepalive.exe" "$2" ${3:-}
    # shellcheck disable=SC1091
    . "$VX_OWN_SESSION/env"
}

fail() { echo "FAIL: $*" >&2; exit 1; }
check_eq() { [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"; }

probe() { wine "$TESTBIN/vxprobe.exe" "$@" | tr -d '\r'; }

# Starts the program with a clean or given registry and waits for its window.
start_program() {
    wine "$EXE" "$@" >/dev/null 2>&1 </dev/null &
    VX_PIDS+=($!)
    VX_PID=$!
    wait_window "$TITLE" >/dev/null
}

# The X id of the visible window with exactly this title.
wait_window() {
    local title=$1 id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    fail "no window titled '$title'"
}

# Waits until the program started last has ended.
wait_exit() {
    for _ in $(seq 100); do
        kill -0 "$VX_PID" 2>/dev/null || return 0
        sleep 0.1
    done
    fail "the program did not end"
}

reg_get() {
    wine reg query 'HKCU\Software\Vellumox\Settings' /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v k="$1" '$1 == k { print $3 }'
}
reg_set() { wine reg add 'HKCU\Software\Vellumox\Settings' /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
reg_clear() { wine reg delete 'HKCU\Software\Vellumox' /f >/dev/null 2>&1 || true; }

# Twips for a number of pixels at the session's DPI, and back (nearest, halves to even).
VX_DPI=""
dpi() { [ -n "$VX_DPI" ] || VX_DPI=$(probe dpi); echo "$VX_DPI"; }
px_to_twips() { echo $(( $1 * 1440 / $(dpi) )); }
twips_to_px() { python3 -c "print(round($1 * $(dpi) / 1440))"; }
