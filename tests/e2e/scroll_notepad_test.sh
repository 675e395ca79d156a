# The scrolling capture on a program nobody here wrote: Wine's notepad showing a long
# file of numbered lines, on the second of two monitors, picked with a click through the
# menu like a person does. The saved picture holds every line exactly once: as many
# lines of ink as the file has, no two alike (each carries its own number), none
# squeezed or cut at a seam.
. "$(dirname "$0")/lib.sh"
own_session scroll-two-monitors 1280x1024x24+1024x768x24
LINES=150
for i in $(seq -w 1 $LINES); do echo "line $i of the numbered file: $i $i $i"; done | sed 's/$/\r/' >"$WORK/lines.txt"
wine notepad "$(winpath "$WORK/lines.txt")" >/dev/null 2>&1 </dev/null &
VX_PIDS+=($!)
pad=$(window 'lines')
probe move "$(title_of "$pad")" 1400 60 700 600
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$pad")"  # X, Y, WIDTH, HEIGHT
start_program
capture() {
    local file=$1  # where the stitched picture is saved
    # The capture menu's last item.
    keys "$MAIN" alt+c sleep 0.3 key Up Return
    wait_for '[ "$(probe state "$TITLE")" = minimized ]' || fail "not armed"
    wait_for 'probe class VellumoxFrozenScreen' || fail "no frozen screen"
    sleep 0.4
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
    wait_for '[ "$(probe state "$TITLE")" = normal ]' || fail "the capture never ended"
    keys "$MAIN" ctrl+s
    answer_file '^保存$' "$file"
    wait_for '[ -s "$file" ]' || fail "$file not written"
    sleep 0.3
}
check() { python3 - "$1" $LINES <<'PY'
import subprocess, sys
path, lines = sys.argv[1], int(sys.argv[2])
w, h = map(int, subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, check=True).stdout.split())
data = subprocess.run(["convert", path, "gray:-"], capture_output=True, check=True).stdout
rows = [data[y * w:(y + 1) * w] for y in range(h)]
paper = max(set(rows[h // 2]), key=rows[h // 2].count)
ink = [any(abs(v - paper) > 64 for v in r) for r in rows]
# Runs of rows with ink are lines of text; the blank rows between them are the spacing.
starts = [y for y in range(h) if ink[y] and (y == 0 or not ink[y - 1])]
ends = [y + 1 for y in range(h) if ink[y] and (y == h - 1 or not ink[y + 1])]
bands = [b"".join(rows[a:b]) for a, b in zip(starts, ends)]
heights = sorted({len(b) // w for b in bands})
print(f"{w}x{h}: {len(bands)} lines of ink, heights {heights}", file=sys.stderr)
assert len(bands) == len(set(bands)) == lines, f"{len(bands)} lines of ink, {len(set(bands))} different, the file has {lines}"
assert heights[-1] - heights[0] <= 2, "a line squeezed or cut at a seam"
PY
}
capture "$WORK/long.bmp"
check "$WORK/long.bmp" || fail "lines in the stitched picture"
