# The unattended command line: one capture written to a file, then the program ends.
# (A region, on the second of two monitors: two_monitors_test.sh.)
. "$(dirname "$0")/lib.sh"
read -r sw sh < <(xdotool getdisplaygeometry)

wine "$EXE" /capture screen /save "$(winpath "$WORK/screen.bmp")"
check_eq "$(head -c 2 "$WORK/screen.bmp")" "BM" "BMP signature"
check_eq "$(identify -format '%w %h' "$WORK/screen.bmp")" "$sw $sh" "screen capture size"

import -window root -crop 120x45+10+20 +repage "$WORK/x.png"  # what the region below shows

# Each command line a script may give ends within seconds, never waiting on a box: its
# exit code, and for a failure one line on standard error in the program's language.
set -f  # "/?" is an argument, not a pattern
while IFS='|' read -r -u 3 args want line; do
    code=0
    out=$(timeout 10 wine "$EXE" $args 2>&1) || code=$?
    out=$(tr -d '\r' <<<"$out")
    check_eq "$code" "$want" "exit code of '$args'"
    grep -qF -- "$line" <<<"$out" || fail "'$args' wrote '$out', not '$line'"
    [ "$want" = 0 ] || check_eq "$(grep -c . <<<"$out")" 1 "lines written by '$args'"
done 3<<EOF
/CAPTURE REGION 130,65,10,20 /SAVE $(winpath "$WORK/turned.png")|0|
/capture screen /save|2|命令行不完整
/capture window /save x.bmp|2|这里不能用“window”
/capture region 10,20,130,65,9 /save x.bmp|2|这里不能用“10,20,130,65,9”
/capture region $sw,0,$((sw + 10)),10 /save $(winpath "$WORK/off.bmp")|3|不全在屏幕上
/capture screen /save Z:\\no\\such\\folder\\x.bmp|4|无法保存文件： Z:\\no\\such\\folder\\x.bmp 找不到路径。
/?|0|2 命令行有误，3 无法捕获，4 无法保存文件
EOF
check_eq "$(ae "$WORK/turned.png" "$WORK/x.png")" 0 "pixels of the region given corners in the other order"
ls "$WORK" | grep -Eq 'tmp|off' && fail "a file left behind for a failed capture"
echo "ok"
