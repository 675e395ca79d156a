# Shared steps of the end-to-end tests: source it with RUN_DIR EXE TESTBIN as $1..$3.
# Every program a test starts is ended by its own id when the test ends, then the
# steps given to on_exit run (newest first) and the work folder goes.
set -euo pipefail
RUN_DIR=$1 EXE=$2 TESTBIN=$3
# shellcheck disable=SC1091
. "$RUN_DIR/env"
TITLE="Vellumoxv2.30"
WORK=$(mktemp -d /tmp/vx-e2e.XXXXXX)
VX_PIDS=() VX_ON_EXIT=()
on_exit() { VX_ON_EXIT=("$*" "${VX_ON_EXIT[@]}"); }
cleanup() {
    local p
    for p in "${VX_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${VX_PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
    for p in "${VX_ON_EXIT[@]}"; do eval "$p" >/dev/null 2>&1 || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
check_eq() { [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"; }
# Polls a shell condition for up to 15 seconds.
wait_for() { for _ in $(seq 150); do eval "$1" && return 0; sleep 0.1; done; return 1; }
probe() { wine "$TESTBIN/vxprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }
winpath() { echo "Z:${1//\//\\}"; }

# A Wine session of the test's own (another screen depth or DPI), stopped on exit; its
# environment replaces the shared session's.
own_session() {  # NAME SCREEN [DPI]
    local tools run
    tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd) run="$(dirname "$RUN_DIR")/$1"
    on_exit "'$tools/wine-session' stop '$run'"
    "$tools/wine-session" start "$run" "$TESTBIN/vx_keepalive.exe" "$2" ${3:-}
    # shellcheck disable=SC1091
    . "$run/env"
}

# ---- windows, keys, the program
# The newest visible window whose title matches REGEX, once COUNT (1) of them are up.
window() {
    local ids
    for _ in $(seq 200); do
        # A search can fail outright when a window vanishes under it: look again.
        ids=$(xdotool search --onlyvisible --name "$1" 2>/dev/null || true)
        [ "$(grep -c . <<<"$ids")" -ge "${2:-1}" ] && { tail -n 1 <<<"$ids"; return 0; }
        sleep 0.1
    done
    fail "no window titled '$1'"
}
keys() { local w=$1; shift; xdotool windowfocus --sync "$w" key "$@"; }
# A menu command by its access keys: menu f o is File > Open.
menu() { keys "$MAIN" "alt+$1"; sleep 0.3; xdotool key "$2"; }
# Types a Unix path into the file dialog titled REGEX and confirms it.
answer_file() { xdotool windowfocus --sync "$(window "$1")" type --delay 5 "$(winpath "$2")"; xdotool key Return; }
title_of() { xdotool getwindowname "$1"; }

# Starts the program with what the registry holds and waits for its window ($MAIN).
start_program() {
    wine "$EXE" "$@" >/dev/null 2>&1 </dev/null &
    VX_PID=$!
    VX_PIDS+=("$VX_PID")
    MAIN=$(window "^$TITLE\$")
}
running() { kill -0 "$VX_PID" 2>/dev/null; }
wait_exit() { wait_for '! running' || fail "the program did not end"; }

# ---- pixels
shot() { import -window root "$1"; }
# Count of differing pixels of two images, inside a crop geometry when given.
ae() {
    if [ -n "${3:-}" ]; then
        convert "$1" -crop "$3" +repage "$WORK/ae_a.png"
        convert "$2" -crop "$3" +repage "$WORK/ae_b.png"
        set -- "$WORK/ae_a.png" "$WORK/ae_b.png"
    fi
    compare -metric AE "$1" "$2" null: 2>&1 || true
}

# ---- settings
reg_get() {
    wine reg query 'HKCU\Software\Vellumox\Settings' /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v k="$1" '$1 == k { print $3 }'
}
reg_set() { wine reg add 'HKCU\Software\Vellumox\Settings' /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
reg_clear() { wine reg delete 'HKCU\Software\Vellumox' /f >/dev/null 2>&1 || true; }
