# The unattended command line: one capture written to a file, then the program ends.
# (A region, on the second of two monitors: two_monitors_test.sh.)
. "$(dirname "$0")/lib.sh"
read -r sw sh < <(xdotool getdisplaygeometry)

wine "$EXE" /capture screen /save "$(winpath "$WORK/screen.bmp")"
check_eq "$(head -c 2 "$WORK/screen.bmp")" "BM" "BMP signature"
check_eq "$(identify -format '%w %h' "$WORK/screen.bmp")" "$sw $sh" "screen capture size"

# A destination that cannot be written: no file, a failing exit code.
if wine "$EXE" /capture screen /save 'Z:\no\such\folder\x.bmp'; then fail "reported success"; fi
ls "$WORK" | grep -q tmp && fail "temporary file left behind"
echo "ok"
