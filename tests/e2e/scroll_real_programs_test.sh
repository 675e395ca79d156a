# The scrolling capture on programs nobody here wrote, each showing long numbered
# content on the second of two monitors under a window manager, taken the way a new user
# does: the menu or Shift+Print Screen, then a click on the window or a drag over part of
# it. The saved picture holds every numbered row exactly once: as many rows of ink as the
# window has, no two alike (each carries its own number), none squeezed or cut at a
# seam. After each capture the window is back where it was.
. "$(dirname "$0")/lib.sh"
VX_WINDOW_MANAGER=openbox own_session scroll-real-programs 1280x1024x24+1024x768x24
# Wordpad: 200 paragraphs, each in another font and size.
python3 - "$WORK" <<'PY'
import sys
fonts, sizes = ["Tahoma", "DejaVu Serif", "DejaVu Sans Mono", "Nimbus Roman"], [20, 24, 28, 18]
with open(sys.argv[1] + "/long.rtf", "w") as f:
    f.write(r"{\rtf1\ansi{\fonttbl" + "".join(r"{\f%d %s;}" % k for k in enumerate(fonts)) + "}")
    f.write("".join(r"\pard\f%d\fs%d paragraph %03d in its own font\par " % (i % 4, sizes[i % 4], i) for i in range(1, 201)) + "}")
# Notepad: 120 lines each wrapped over two rows, every word numbered.
with open(sys.argv[1] + "/wrapped.txt", "w", newline="\r\n") as f:
    f.write("".join(" ".join(f"{i:03d}.{j:02d}" for j in range(1, 25)) + "\n" for i in range(1, 121)))
PY
# Regedit: a key with 300 subkeys and 300 values, the one it opens at.
{ echo 'Windows Registry Editor Version 5.00'; echo '[HKEY_CURRENT_CONFIG\VxLong]'
  for i in $(seq -w 1 300); do echo "\"value $i\"=\"data $i\""; done
  for i in $(seq -w 1 300); do echo "[HKEY_CURRENT_CONFIG\\VxLong\\key $i]"; done; } >"$WORK/long.reg"
wine regedit /s "$(winpath "$WORK/long.reg")"
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Applets\Regedit' /v LastKey /d 'HKEY_CURRENT_CONFIG\VxLong' /f >/dev/null 2>&1
# The file-open dialog: 300 files alike but for their names.
mkdir "$WORK/files" && for i in $(seq -w 1 300); do echo "$i" >"$WORK/files/numbered file $i.txt"; done
touch -d '2026-01-02 03:04' "$WORK/files/"*

start_program
probe move "$TITLE" 100 100 600 500
WX=1380 WY=40  # where each program's window goes, on the second monitor
# The screen there looks as it did at the last look (a caret may blink).
settled() {  # GEOMETRY
    shot "$WORK/look.png"
    local same=1
    [ -f "$WORK/looked.png" ] && [ "$(ae "$WORK/looked.png" "$WORK/look.png" "$1")" -lt 60 ] && same=0
    mv "$WORK/look.png" "$WORK/looked.png"
    return $same
}
placed() {  # TITLE-REGEX [W H]: the newest such window, moved there and painted ($WIN)
    WIN=$(window "$1")
    xdotool windowactivate --sync "$WIN"
    probe move "$(title_of "$WIN")" $WX $WY "${2:-800}" "${3:-680}"
    rm -f "$WORK/looked.png"
    wait_for "settled ${2:-800}x${3:-680}+$WX+$WY" || fail "'$1' never came to rest where it was put"
}
# Each program as the row wants it ($WIN).
open_wordpad() { wine 'C:\Program Files\Windows NT\Accessories\wordpad.exe' "$(winpath "$WORK/long.rtf")" >/dev/null 2>&1 </dev/null &
                 VX_PIDS+=($!); placed '^long.rtf - Wine Wordpad$'; }
open_regedit() { wine regedit >/dev/null 2>&1 </dev/null & VX_PIDS+=($!); placed '^Registry Editor$'; }
open_console() {
    # Its screen buffer holds 1000 lines, not the 150 of Wine's default.
    wine reg add 'HKCU\Console' /v ScreenBufferSize /t REG_DWORD /d 0x03e80050 /f >/dev/null 2>&1
    wine wineconsole cmd /k 'for /l %i in (1001,1,1300) do @echo numbered console line %i' >/dev/null 2>&1 </dev/null &
    VX_PIDS+=($!); placed 'cmd.exe$' 800 600
    # It shows its end: the wheel takes it back to its first line.
    xdotool mousemove $((WX + 400)) $((WY + 300)) click --repeat 400 --delay 2 4
}
open_notepad() {
    wine reg add 'HKCU\Software\Microsoft\Notepad' /v fWrap /t REG_DWORD /d 1 /f >/dev/null 2>&1  # Word Wrap on
    wine notepad "$(winpath "$WORK/wrapped.txt")" >/dev/null 2>&1 </dev/null &
    VX_PIDS+=($!); placed 'wrapped.txt - Notepad$'
}
open_dialog() {
    xdotool windowactivate --sync "$(window 'wrapped.txt - Notepad$')" key ctrl+o
    xdotool windowfocus --sync "$(window '^Open$')" type "$(winpath "$WORK/files")\\"; xdotool key Return
    placed '^Open$' 700 600
    # The toolbar's last button: Details. The list is laid out anew once the dialog moves.
    shot "$WORK/list.png"
    xdotool mousemove $((WX + 460)) $((WY + 37)) click 1
    wait_for 'shot "$WORK/look.png"; [ "$(ae "$WORK/list.png" "$WORK/look.png" "700x600+$WX+$WY")" -gt 5000 ]' ||
        fail "the file list never showed its details"
    xdotool mousemove 1200 700
    placed '^Open$' 700 601
}

capture() {  # HOW (menu | keys) PICK (X Y: a click, X Y X2 Y2: a drag; in the window) FILE
    local how=$1 file=$3 x y x2 y2
    read -r x y x2 y2 <<<"$2"
    # The pointer away from the window, whose bars and rows light under it.
    xdotool windowactivate --sync "$MAIN" mousemove 1200 900
    shot "$WORK/before.png"
    if [ "$how" = menu ]; then menu c Up; xdotool key Return  # the capture menu's last item
    else xdotool key shift+Print; fi
    wait_state minimized
    wait_for 'probe class VellumoxFrozenScreen && probe active VellumoxFrozenScreen' || fail "not armed"
    xdotool mousemove $((WX + x)) $((WY + y))
    if [ -z "$x2" ]; then xdotool click 1
    else xdotool mousedown 1 sleep 0.1 mousemove $((WX + (x + x2) / 2)) $((WY + (y + y2) / 2)) sleep 0.1 \
                 mousemove $((WX + x2)) $((WY + y2)) sleep 0.1 mouseup 1; fi
    wait_for '[ "$(probe state "$TITLE")" = normal ]' 60 || { shot "$WORK/stuck.png"; fail "the capture never ended"; }
    keys "$MAIN" ctrl+s
    answer_file '^保存$' "$file"
    wait_for 'bmp_written "$file"' || fail "$file not written"
}
check() { python3 - "$@" <<'PY'
import subprocess, sys
path, lines, spread = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
w, h = map(int, subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, check=True).stdout.split())
data = subprocess.run(["convert", path, "gray:-"], capture_output=True, check=True).stdout
rows = [data[y * w:(y + 1) * w] for y in range(h)]
paper = max(range(256), key=data.count)
ink = [any(abs(v - paper) > 64 for v in r) for r in rows]
# Runs of rows with ink are rows of text; the blank rows between them are the spacing.
starts = [y for y in range(h) if ink[y] and (y == 0 or not ink[y - 1])]
ends = [y + 1 for y in range(h) if ink[y] and (y == h - 1 or not ink[y + 1])]
bands = [b"".join(rows[a:b]) for a, b in zip(starts, ends)]
heights = sorted({b - a for a, b in zip(starts[1:], ends[1:])})  # the first may be a header
print(f"{w}x{h}: {len(bands)} rows of ink, heights {heights}", file=sys.stderr)
assert len(bands) == len(set(bands)) == lines, f"{len(bands)} rows of ink, {len(set(bands))} different, the window has {lines}"
assert heights[-1] - heights[0] <= spread, "a row squeezed or cut at a seam"
PY
}

# Rows of ink: wordpad's 200 paragraphs (by the drag, whose top cuts the second, that cut
# one and 003 to 200); the tree's key, its 300 subkeys and the root key below; the list's
# header with "(Default)" under it and 300 values; 300 lines and the prompt; 120 lines of
# two rows; the header with the first file under it and 299 files.
# program | menu or Shift+Print Screen | click or drag, in the window | rows of ink | heights spread
rows=(
    "wordpad | menu | 400 400        | 200 | 12"
    "wordpad | keys | 30 150 450 653 | 199 | 12"
    "regedit | menu | 100 300        | 302 | 2"
    "regedit | keys | 500 300        | 301 | 2"
    "console | menu | 400 300        | 301 | 3"
    "notepad | keys | 400 300        | 240 | 2"
    "dialog  | menu | 300 300        | 300 | 2"
)
n=0
for r in "${rows[@]}"; do
    IFS='|' read -r program how pick count spread <<<"$r"
    program=${program// /} how=${how// /} n=$((n + 1)); echo "row $n: $program, $how,$pick"
    [ "$program" = "${last:-}" ] || "open_$program"
    last=$program
    capture "$how" "$pick" "$WORK/$n.bmp"
    check "$WORK/$n.bmp" "${count// /}" "${spread// /}" || fail "row $n ($program): rows in the stitched picture"
    # Back where it was (but for a caret that blinks).
    xdotool mousemove 1200 900
    wait_for 'shot "$WORK/after.png"; [ "$(ae "$WORK/before.png" "$WORK/after.png" "800x680+$WX+$WY")" -lt 60 ]' ||
        fail "row $n ($program): not back where it was: $(ae "$WORK/before.png" "$WORK/after.png" "800x680+$WX+$WY") pixels differ"
done
