# The real common dialogs, driven like a person. A picture opened through the open dialog
# is saved as BMP with Ctrl+S and the save dialog (the same pixels), then printed from
# the File menu with the print dialog to a PostScript printer that writes to a file: one
# page that, rasterised with Ghostscript at 72 dpi (one pixel a point), shows the
# picture as large as the printable area allows, its shape kept, centred, neither
# flipped nor mirrored; Cancel prints nothing. Last, a save over a file on a full drive
# (a 64 KB tmpfs mapped as T:): the overwrite question, one message, the old file intact.
. "$(dirname "$0")/lib.sh"
reg_clear
printer="Vellumox Test PS"
printer_tool="$(dirname "$0")/../tools/print_printer.sh"
near() { [ $(($1 - $2)) -le 3 ] && [ $(($2 - $1)) -le 3 ]; }
box_of() { convert "$WORK/page.png" "$@" -trim -format '%w %h %X %Y' info: | tr -d +; }

# Red, 400 x 200, with a green square of a quarter of its width in the upper left quarter.
convert -size 400x200 xc:red -fill lime -draw 'rectangle 50,25 149,124' "PNG24:$WORK/wide.png"
on_exit "'$printer_tool' remove '$printer'"
"$printer_tool" add "$printer" "$WORK/out.ps"
start_program
menu f o
answer_file '^(Open|打开)$' "$WORK/wide.png"
wait_for '[[ "$(title_of "$MAIN")" == *"wide.png(400x200) ]" ]]' || fail "not opened: $(title_of "$MAIN")"
keys "$MAIN" ctrl+s
answer_file '^保存$' "$WORK/out.bmp"
wait_for 'bmp_written "$WORK/out.bmp"' || fail "out.bmp not written"
check_eq "$(head -c 2 "$WORK/out.bmp")" BM "saved file type"
check_eq "$(ae "$WORK/wide.png" "$WORK/out.bmp")" 0 "pixels differing from the opened ones"

menu f p
keys "$(window '^(Print|打印)$')" Return
wait_for '[ -s "$WORK/out.ps" ] && grep -q "^%%EOF" "$WORK/out.ps"' || fail "nothing printed"
check_eq "$(grep -c '^%%Page:' "$WORK/out.ps")" 1 "pages in the job"
# The printable area is the job's bounding box, the paper its page size.
read -r llx lly urx ury < <(sed -n 's/^%%BoundingBox: //p' "$WORK/out.ps" | head -n 1)
paper_h=$(sed -n 's/.*PageSize\[\([0-9]*\) \([0-9]*\)\].*/\2/p' "$WORK/out.ps" | head -n 1)
[ -n "$ury" ] && [ -n "$paper_h" ] || fail "no bounding box or page size in the job"
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r72 -sOutputFile="$WORK/page.png" "$WORK/out.ps"
pw=$((urx - llx)) ph=$((ury - lly)) top=$((paper_h - ury))
# The largest 2:1 box inside the printable area, centred in it.
if [ "$pw" -le $((ph * 2)) ]; then w=$pw h=$((pw / 2)); else h=$ph w=$((ph * 2)); fi
x=$((llx + (pw - w) / 2)) y=$((top + (ph - h) / 2))
read -r bw bh bx by <<<"$(box_of -fuzz 10%)"
near "$bw" "$w" && near "$bh" "$h" && near "$bx" "$x" && near "$by" "$y" ||
    fail "picture printed at ${bw}x${bh}+${bx}+${by}, expected ${w}x${h}+${x}+${y} in ${pw}x${ph}+${llx}+${top}"
read -r gw gh gx gy <<<"$(box_of -fuzz 20% -fill white -opaque red)"
near "$gw" $((w / 4)) && near "$gh" $((w / 4)) && near $((gx + gw / 2)) $((x + w / 4)) &&
    near $((gy + gh / 2)) $((y + h * 3 / 8)) || fail "green square at ${gw}x${gh}+${gx}+${gy}"

rm -f "$WORK/out.ps"
menu f p
keys "$(window '^(Print|打印)$')" Escape
gone '^(Print|打印)$'
[ ! -e "$WORK/out.ps" ] || fail "cancel printed"
[ -z "$(xdotool search --onlyvisible --name '^Vellumox$' 2>/dev/null)" ] || fail "a message after cancel"

mkdir "$WORK/full"
mount -t tmpfs -o size=64k tmpfs "$WORK/full" || fail "cannot mount a tmpfs"
on_exit umount "$WORK/full"
head -c 1000 /dev/urandom >"$WORK/full/old.bmp"
cp "$WORK/full/old.bmp" "$WORK/old.copy"
head -c 200000 /dev/zero >"$WORK/full/filler" 2>/dev/null || true
ln -sfn "$WORK/full" "$WINEPREFIX/dosdevices/t:"
on_exit rm -f "$WINEPREFIX/dosdevices/t:"
keys "$MAIN" ctrl+s
xdotool windowfocus --sync "$(window '^保存$')" type --delay 5 'T:\old.bmp'
xdotool key Return
# The question comes as a second window with the dialog's title.
keys "$(window '^保存$' 2)" y
box=$(window '^Vellumox$')
cmp -s "$WORK/full/old.bmp" "$WORK/old.copy" || fail "the old file changed"
check_eq "$(ls "$WORK/full" | tr '\n' ' ')" "filler old.bmp " "files on the full drive"
keys "$box" Return
echo "PASS"
