#!/usr/bin/env bash
# Printing for real: a PostScript printer that writes to a file is added to the prefix;
# pictures opened through the real open dialog are printed from the File menu with the
# keyboard and the real print dialog; each job is one page that, rasterised with
# Ghostscript at 72 dpi (one pixel a point), shows the picture as large as the printable
# area allows, its shape kept, centred. Cancel prints nothing; without a printer the
# program says so once and goes on.
#   documents_print_test.sh RUN_DIR EXE TESTBIN
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
reg_clear  # the window at its default place, whatever an earlier test stored
printer_tool="$here/../tools/print_printer.sh"
printer="Vellumox Test PS"
work=$(mktemp -d /tmp/vx-print.XXXXXX)
cleanup() {
    stop_all
    "$printer_tool" remove "$printer" || true
    rm -rf "$work"
}
trap cleanup EXIT
command -v gs >/dev/null || { echo "ghostscript is missing" >&2; exit 77; }

winpath() { echo "Z:${1//\//\\}"; }
window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | tail -n 1; }
wait_for() { for _ in $(seq 150); do eval "$1" && return 0; sleep 0.1; done; return 1; }
near() { [ $(( $1 - $2 )) -le "$3" ] && [ $(( $2 - $1 )) -le "$3" ]; }
menu_key() { xdotool windowfocus --sync "$main" key alt+f; sleep 0.3; xdotool key "$1"; }

open_picture() {
    menu_key o
    local dialog
    dialog=$(window '^(Open|打开)$') || fail "open dialog"
    xdotool windowfocus --sync "$dialog" type --delay 5 "$(winpath "$1")"
    xdotool key Return
    expected="$(basename "$1")($2) ]"
    wait_for '[[ "$(xdotool getwindowname "$main")" == *"$expected" ]]' ||
        fail "not opened: $(xdotool getwindowname "$main")"
}

# Prints through File > Print, confirming the print dialog with Return; waits for the job.
print_confirmed() {
    rm -f "$work/out.ps"
    menu_key p
    local dialog
    dialog=$(window '^(Print|打印)$') || fail "no print dialog"
    xdotool windowfocus --sync "$dialog" key Return
    wait_for '[ -s "$work/out.ps" ] && grep -q "^%%EOF" "$work/out.ps"' || fail "nothing printed"
}

# Checks the printed page: one page; the picture's box (WxH+X+Y on the page, in points)
# against what fits the printable area, the shape given as WIDE:TALL.
check_page() {
    local shape=$1 wide tall
    IFS=: read -r wide tall <<<"$shape"
    local pages
    pages=$(grep -c '^%%Page:' "$work/out.ps" || true)
    check_eq "$pages" 1 "pages in the job"
    # The printable area is the job's bounding box, the paper its page size.
    local llx lly urx ury paper_h
    read -r llx lly urx ury < <(sed -n 's/^%%BoundingBox: //p' "$work/out.ps" | head -n 1)
    paper_h=$(sed -n 's/.*PageSize\[\([0-9]*\) \([0-9]*\)\].*/\2/p' "$work/out.ps" | head -n 1)
    [ -n "$ury" ] && [ -n "$paper_h" ] || fail "no bounding box or page size in the job"
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r72 -sOutputFile="$work/page.png" "$work/out.ps"
    local pw=$((urx - llx)) ph=$((ury - lly)) top=$((paper_h - ury))
    # Largest box of that shape inside the printable area, centred in it.
    local w h
    if [ $((pw * tall)) -le $((ph * wide)) ]; then w=$pw h=$((pw * tall / wide)); else h=$ph w=$((ph * wide / tall)); fi
    local x=$((llx + (pw - w) / 2)) y=$((top + (ph - h) / 2))
    local box bw bh bx by
    box=$(convert "$work/page.png" -fuzz 10% -trim -format '%w %h %X %Y' info:)
    read -r bw bh bx by <<<"${box//+/}"
    echo "printable ${pw}x${ph}+${llx}+${top}; expected ${w}x${h}+${x}+${y}; printed ${bw}x${bh}+${bx}+${by}"
    near "$bw" "$w" 3 && near "$bh" "$h" 3 && near "$bx" "$x" 3 && near "$by" "$y" 3 ||
        fail "picture printed at ${bw}x${bh}+${bx}+${by}, expected ${w}x${h}+${x}+${y}"
    # The green square inside keeps its place and size: a quarter of the width, in the middle.
    local gw gh gx gy
    box=$(convert "$work/page.png" -fuzz 20% -fill white -opaque red -trim -format '%w %h %X %Y' info:)
    read -r gw gh gx gy <<<"${box//+/}"
    near "$gw" $((w / 4)) 3 && near "$gh" $((w / 4)) 3 && near $((gx + gw / 2)) $((x + w / 2)) 3 &&
        near $((gy + gh / 2)) $((y + h / 2)) 3 || fail "green square at ${gw}x${gh}+${gx}+${gy}"
    local centre
    centre=$(convert "$work/page.png" -format '%[fx:round(255*p{'$((x + w / 2))','$((y + h / 2))'}.g)]' info:)
    [ "$centre" -gt 200 ] || fail "the middle of the picture is not green"
}

# Pictures: red with a green square a quarter of the width in the middle.
convert -size 400x200 xc:red -fill lime -draw 'rectangle 150,50 249,149' "PNG24:$work/wide.png"
convert -size 160x320 xc:red -fill lime -draw 'rectangle 60,140 99,179' "PNG24:$work/tall.png"

"$printer_tool" add "$printer" "$work/out.ps"
start_program
main=$(wait_window "$TITLE")

# A wide picture fills the printable width; a tall one the printable height.
open_picture "$work/wide.png" 400x200
print_confirmed
check_page 2:1
open_picture "$work/tall.png" 160x320
print_confirmed
check_page 1:2

# Cancel prints nothing and says nothing.
rm -f "$work/out.ps"
menu_key p
dialog=$(window '^(Print|打印)$') || fail "no print dialog (cancel)"
xdotool windowfocus --sync "$dialog" key Escape
sleep 1.5
[ ! -e "$work/out.ps" ] || fail "cancel printed"
[ -z "$(xdotool search --onlyvisible --name '^Vellumox$' 2>/dev/null)" ] || fail "a message after cancel"

# No printer: one message box that says so, no print dialog, and the program goes on.
"$printer_tool" remove "$printer"
menu_key p
box=$(window '^Vellumox$') || fail "no message without a printer"
text=$(probe statics Vellumox)
[[ "$text" == *"没有安装打印机"* ]] || fail "message without a printer: $text"
[ -z "$(xdotool search --onlyvisible --name '^(Print|打印)$' 2>/dev/null)" ] || fail "a print dialog without a printer"
[ "$(xdotool search --onlyvisible --name '^Vellumox$' | wc -l)" = 1 ] || fail "more than one message"
xdotool windowfocus --sync "$box" key Return
wait_for '[ -z "$(xdotool search --onlyvisible --name "^Vellumox\$" 2>/dev/null)" ]' || fail "the message stayed"
kill -0 "$VX_PID" 2>/dev/null || fail "the program ended"
[[ "$(xdotool getwindowname "$main")" == *"tall.png(160x320) ]" ]] || fail "title changed: $(xdotool getwindowname "$main")"
# Still answering: the open dialog comes up as before.
open_picture "$work/wide.png" 400x200
echo "PASS"
