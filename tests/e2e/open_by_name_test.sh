# The command line as a person or the shell uses it: a picture named (relative, quoted
# with spaces) opens in the window; a refused file is told and the window stays; /?
# and a wrong switch show the accepted forms, ending 0 and non-zero.
. "$(dirname "$0")/lib.sh"
mkdir -p "$WORK/my pictures"
convert -size 64x48 xc:red "BMP3:$WORK/my pictures/red one.bmp"
echo "not a picture" > "$WORK/broken.bmp"

launch() { wine "$EXE" "$@" >/dev/null 2>&1 </dev/null & VX_PID=$!; VX_PIDS+=("$VX_PID"); }

cd "$WORK/my pictures"
launch "red one.bmp"
MAIN=$(window '^Vellumox─\[red one\.bmp\(64x48\) \]$')
keys "$MAIN" alt+F4
wait_exit  # opened from a file: nothing unsaved, no question

launch "$(winpath "$WORK/broken.bmp")"
keys "$(window '^Vellumox$')" Return
MAIN=$(window "^$TITLE\$")
running || fail "a refused file ended the program"
keys "$MAIN" alt+F4
wait_exit

for form in "0 /?" "2 /bogus" "2 a.bmp b.bmp"; do
    read -r -a words <<<"$form"
    launch "${words[@]:1}"
    keys "$(window '^Vellumox$')" Return
    status=0 && wait "$VX_PID" || status=$?
    check_eq "$status" "${words[0]}" "exit code of '${words[*]:1}'"
done
