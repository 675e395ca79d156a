# The unattended command line: one capture written to a file, then the program ends.
. "$(dirname "$0")/lib.sh"
read -r sw sh < <(xdotool getdisplaygeometry)

wine "$EXE" /capture screen /save "$(winpath "$WORK/screen.bmp")"
check_eq "$(head -c 2 "$WORK/screen.bmp")" "BM" "BMP signature"
check_eq "$(identify -format '%w %h' "$WORK/screen.bmp")" "$sw $sh" "screen capture size"

wine "$EXE" /capture region 10,20,130,65 /save "$(winpath "$WORK/region.png")"
check_eq "$(identify -format '%m %w %h' "$WORK/region.png")" "PNG 120 45" "region capture"
# The same pixels as the X screen shows there.
import -window root -crop 120x45+10+20 +repage "$WORK/x.png"
check_eq "$(compare -metric AE "$WORK/region.png" "$WORK/x.png" null: 2>&1)" "0" "differing pixels"

# A destination that cannot be written: no file, a failing exit code.
if wine "$EXE" /capture screen /save 'Z:\no\such\folder\x.bmp'; then fail "reported success"; fi
ls "$WORK" | grep -q tmp && fail "temporary file left behind"
echo "ok"
