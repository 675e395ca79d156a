# The real open and save dialogs, driven like a person: open a PNG through the File menu,
# save it as BMP with Ctrl+S, then save over a file on a full drive (a 64 KB tmpfs mapped
# as T:): the overwrite question, one message, and the old file survives untouched.
. "$(dirname "$0")/lib.sh"
reg_clear
convert -size 320x200 gradient:red-blue -fill yellow -draw 'rectangle 20,20 120,90' "PNG24:$WORK/in.png"
start_program

menu f o
answer_file '^(Open|打开)$' "$WORK/in.png"
wait_for '[[ "$(title_of "$MAIN")" == *"in.png(320x200) ]" ]]' || fail "title after open: $(title_of "$MAIN")"
keys "$MAIN" ctrl+s
answer_file '^保存$' "$WORK/out.bmp"
wait_for '[ -s "$WORK/out.bmp" ]' || fail "out.bmp not written"
sleep 0.3
check_eq "$(head -c 2 "$WORK/out.bmp")" BM "saved file type"
check_eq "$(ae "$WORK/in.png" "$WORK/out.bmp")" 0 "pixels differing from the opened ones"

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
