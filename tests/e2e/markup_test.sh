# Marking up as a person: Ctrl+E, one object of each kind drawn with the pointer, undo
# twice and redo once, Enter, save; the saved picture holds each object where the pointer
# put it and nothing of what was undone (a small tolerance for anti-aliasing only).
. "$(dirname "$0")/lib.sh"
convert -size 400x300 xc:white "$WORK/in.png"
reg_clear
wine "$EXE" "$(winpath "$WORK/in.png")" >/dev/null 2>&1 </dev/null &
VX_PID=$!
VX_PIDS+=("$VX_PID")
TITLE="Vellumox─[in.png(400x300) ]"
MAIN=$(window '^Vellumox─\[in\.png')
read -r vx vy < <(probe view "$TITLE")
at() { echo $((vx + $1)) $((vy + $2)); }
drag() {
    xdotool mousemove $(at "$1" "$2") mousedown 1 mousemove $(at $((($1 + $3) / 2)) $((($2 + $4) / 2))) \
        mousemove $(at "$3" "$4") mouseup 1
    sleep 0.3
}
click() { xdotool mousemove $(at "$1" "$2") click 1; sleep 0.3; }
tool() { keys "$MAIN" "$1"; sleep 0.1; }

keys "$MAIN" ctrl+e
wait_for 'probe class VellumoxMarkupStrip' || fail "no tool strip after Ctrl+E"
tool r; drag 20 20 120 80
tool e; drag 140 20 240 80
tool l; drag 20 110 120 110
tool a; drag 140 110 240 110
tool p; drag 260 20 380 60
tool h; drag 260 110 380 110
tool x; drag 20 160 120 220
tool n; click 160 190
tool t; click 220 160
xdotool type --delay 20 "ok"; xdotool key Return; sleep 0.3
tool r; drag 300 200 380 280   # undone, then redone
tool l; drag 300 290 380 290   # undone for good
keys "$MAIN" ctrl+z ctrl+z ctrl+y
keys "$MAIN" Return
wait_for '! probe class VellumoxMarkupStrip' || fail "the strip stayed after Enter"
keys "$MAIN" ctrl+s
answer_file '^保存$' "$WORK/out.bmp"
wait_for '[ -s "$WORK/out.bmp" ]' || fail "nothing saved"

# Each point: the colour it must have, within a tolerance for anti-aliasing.
python3 - "$WORK/out.bmp" <<'PY' || fail "the saved picture is not what was drawn"
import subprocess, sys
txt = subprocess.run(["convert", sys.argv[1], "-depth", "8", "txt:-"], capture_output=True, text=True).stdout
px = {}
for line in txt.splitlines()[1:]:
    pos, _, rest = line.partition(":")
    x, y = map(int, pos.split(","))
    px[x, y] = tuple(int(float(v)) for v in rest.split("(")[1].split(")")[0].split(",")[:3])
red, white, black = (224, 32, 27), (255, 255, 255), (0, 0, 0)
expect = {
    "rectangle outline": ((20, 50), red), "rectangle inside": ((70, 50), white),
    "ellipse left": ((141, 50), red), "ellipse inside": ((190, 50), white),
    "line": ((70, 110), red), "arrow shaft": ((170, 110), red), "arrowhead": ((232, 114), red),
    "pen": ((320, 40), red), "redaction": ((70, 190), black), "redaction corner": ((120, 220), black),
    "beside the redaction": ((122, 190), white), "step badge": ((152, 190), red),
    "redone rectangle": ((300, 240), red), "undone line": ((340, 290), white),
}
bad = [f"{k} at {p}: {px[p]} not {c}" for k, (p, c) in expect.items() if max(abs(a - b) for a, b in zip(px[p], c)) > 40]
hl = px[320, 110]
if hl == white or max(abs(a - b) for a, b in zip(hl, (255, 216, 0))) < 20: bad.append(f"highlighter not translucent: {hl}")
text = [p for p in px if 220 <= p[0] < 260 and 160 <= p[1] < 190 and px[p] != white]
if len(text) < 20: bad.append(f"text: only {len(text)} pixels drawn")
print("\n".join(bad)); sys.exit(1 if bad else 0)
PY
echo "every tool drawn with the pointer, undo and redo, Enter and save give the expected picture"
