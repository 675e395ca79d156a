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
    # A step that failed without a word (set -e) is named, so the failure can be read.
    [ "$VX_RC" -eq 0 ] || echo "ended with status $VX_RC after: $VX_LAST" >&2
    # VX_KEEP=folder keeps a failed test's work (saved pictures, screenshots) there.
    [ "$VX_RC" -eq 0 ] || [ -z "${VX_KEEP:-}" ] || cp -r "$WORK" "$VX_KEEP/"
    for p in "${VX_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${VX_PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
    for p in "${VX_ON_EXIT[@]}"; do eval "$p" >/dev/null 2>&1 || true; done
    rm -rf "$WORK"
}
trap 'VX_RC=$? VX_LAST=$BASH_COMMAND; cleanup' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
check_eq() { [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"; }
# Polls a shell condition for up to 15 seconds.
wait_for() { for _ in $(seq $((${2:-15} * 10))); do eval "$1" && return 0; sleep 0.1; done; return 1; }  # CONDITION [SECONDS]
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
# Makes a window the active one by a click on its title bar (without a window manager,
# Wine does not activate a window the keyboard focus is given to), then runs the
# xdotool commands given.
activate() {
    local w=$1 && xdotool mousemove --window "$w" 60 8 click 1
    wait_for '[ "$(xdotool getwindowfocus)" = "$w" ]' || fail "window $w never took the keyboard (it is with $(xdotool getwindowfocus) $(xdotool getwindowfocus getwindowname))"
    [ $# -lt 2 ] || xdotool "${@:2}"
}
# A menu command by its access keys, once its menu is open: menu f o is File > Open.
menu() { keys "$MAIN" "alt+$1"; wait_for 'probe class "#32768"' || fail "menu $1 did not open"; xdotool key "$2"; }
# Types a Unix path into the file dialog titled REGEX and confirms it.
answer_file() { xdotool windowfocus --sync "$(window "$1")" type --delay 5 "$(winpath "$2")"; xdotool key Return; }
title_of() { xdotool getwindowname "$1"; }
# Until the window titled REGEX has gone and the program answers again (what a command
# it ran would show is up by then).
gone() { wait_for "! xdotool search --onlyvisible --name '$1' >/dev/null 2>&1" || fail "'$1' stayed"; probe status VellumoxMain 0 >/dev/null; }

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

# ---- the free-region selection
# A screen of noise, in which no two nearby pixels are alike, under the program ($NOISE).
screen_size() { xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
noise_screen() {
    convert -size "$(screen_size)" xc: \
        +noise Random "$WORK/noise.xwd"
    xwud -noclick -in "$WORK/noise.xwd" >/dev/null 2>&1 &
    VX_PIDS+=($!)
    NOISE=$(window '^xwud')
}
wait_state() { want=$1; wait_for '[ "$(probe state "$TITLE")" = "$want" ]' || fail "the window never became $1"; }
# Arms the selection by the menu (or by the keys given) and waits for the frozen screen.
arm() {
    if [ $# -gt 0 ]; then keys "$@"; else menu c d; fi
    wait_state minimized
    # The frozen copy of the screen is up once its window is shown and painted.
    wait_for 'probe class VellumoxFrozenScreen' || fail "no frozen screen"
    wait_for screen_has_keys || fail "the frozen screen never took the keyboard"
}
# The frozen screen has the keyboard: the focus is on a window as large as the screen.
screen_has_keys() { [ "$(xdotool getwindowfocus getwindowgeometry | sed -n "s/ *Geometry: //p")" = "$(screen_size)" ]; }
# The band of L T R B in during.png over before.png: an inverted frame one pixel wide,
# nothing else changed around it, an inverted size label in its middle.
band_ok() { python3 - "$WORK/before.png" "$WORK/during.png" "$@" 2>"$WORK/band.err" <<'PY'
import subprocess, sys
def rgb(f):
    return subprocess.run(["convert", f, "rgb:-"], capture_output=True, check=True).stdout
w = int(subprocess.run(["identify", "-format", "%w", sys.argv[1]], capture_output=True).stdout)
a, b = rgb(sys.argv[1]), rgb(sys.argv[2])
L, T, R, B = map(int, sys.argv[3:7])
px = lambda d, x, y: d[(y * w + x) * 3:(y * w + x) * 3 + 3]
inverted = lambda x, y: px(b, x, y) == bytes(255 - v for v in px(a, x, y))
same = lambda x, y: px(b, x, y) == px(a, x, y)
frame = [(x, y) for x in range(L + 1, R - 1) for y in (T, B - 1)] + [(x, y) for x in (L, R - 1) for y in range(T + 1, B - 1)]
assert all(inverted(x, y) for x, y in frame), "frame not in rows top, bottom - 1 and columns left, right - 1"
assert all(same(x, T - 1) and same(x, B + 1) for x in range(L - 2, R + 2)), "outside the frame changed"
ink = [(x, y) for y in range(T + 2, B - 2) for x in range(L + 2, R - 2) if not same(x, y)]
assert ink and all(inverted(x, y) for x, y in ink), "no inverted label"
xs = [p[0] for p in ink]; ys = [p[1] for p in ink]
cx, cy = (min(xs) + max(xs) + 1) / 2, (min(ys) + max(ys) + 1) / 2
assert abs(cx - (L + R) / 2) <= 3 and abs(cy - (T + B) / 2) <= 4, f"label not centred: {cx},{cy}"
assert 25 <= max(xs) - min(xs) <= 80, "label is not about the width of its size text"
PY
}
# The view shows GEOMETRY of IMAGE at its corner (once it has painted it).
expect_view() {  # IMAGE GEOMETRY
    local x y size=${2%%+*}
    convert "$1" -crop "$2" +repage "$WORK/expected.png"
    wait_for 'read -r x y < <(probe view "$TITLE"); import -window root -crop "$size+$x+$y" +repage "$WORK/view.png"
              [ "$(ae "$WORK/view.png" "$WORK/expected.png")" = 0 ]' ||
        fail "view pixels differing from $2: $(ae "$WORK/view.png" "$WORK/expected.png")"
}
# A BMP written to its end: the size its header gives.
bmp_written() { [ -s "$1" ] && [ "$(od -An -tu4 -j2 -N4 "$1" | tr -d ' ')" = "$(stat -c %s "$1")" ]; }
# FILE holds exactly GEOMETRY of IMAGE (another size differs in every pixel).
expect_file() {  # FILE IMAGE GEOMETRY
    convert "$2" -crop "$3" +repage "$WORK/area.png"
    check_eq "$(ae "$1" "$WORK/area.png")" 0 "pixels of $1 differing from $3"
}
expect_clip() {  # IMAGE GEOMETRY
    xclip -selection clipboard -t image/bmp -o >"$WORK/clip.bmp" || fail "xclip read nothing"
    expect_file "$WORK/clip.bmp" "$@"
}
