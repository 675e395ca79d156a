# The unattended command line: one capture written to a file, then the program ends.
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
trap 'stop_all; rm -rf "$work"' EXIT
winpath() { echo "Z:${1//\//\\}"; }
read -r sw sh < <(probe screen)

wine "$EXE" /capture screen /save "$(winpath "$work/screen.bmp")"
check_eq "$(head -c 2 "$work/screen.bmp")" "BM" "BMP signature"
check_eq "$(identify -format '%w %h' "$work/screen.bmp")" "$sw $sh" "screen capture size"

wine "$EXE" /capture region 10,20,130,65 /save "$(winpath "$work/region.png")"
check_eq "$(identify -format '%m %w %h' "$work/region.png")" "PNG 120 45" "region capture"
# The same pixels as the X screen shows there.
import -window root -crop 120x45+10+20 +repage "$work/x.png"
check_eq "$(compare -metric AE "$work/region.png" "$work/x.png" null: 2>&1)" "0" "differing pixels"

# A destination that cannot be written: no file, a failing exit code.
if wine "$EXE" /capture screen /save 'Z:\no\such\folder\x.bmp'; then fail "reported success"; fi
ls "$work" | grep -q tmp && fail "temporary file left behind"
echo "ok"
