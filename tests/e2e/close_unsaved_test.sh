# Closing with an unsaved whole-screen capture, the real question answered with keys:
# Cancel stays, Yes and then cancelling the real save dialog stays, Ctrl+Q asks the same
# and No closes; a second run answers Yes and saves, which writes the file and closes.
. "$(dirname "$0")/lib.sh"

start_with_capture() {
    reg_clear
    start_program
    menu c s
    # A whole-screen capture is larger than the window: both scroll bars show.
    wait_for '[ "$(probe scrollbars "$TITLE")" = "1 1" ]' || fail "no whole-screen capture"
}
answer() { keys "$(window '^Vellumox$')" "$1"; }

start_with_capture
keys "$MAIN" alt+F4
answer Escape
gone '^Vellumox$'
running || fail "Cancel closed the program"
keys "$MAIN" alt+F4
answer y
keys "$(window '^保存$')" Escape
gone '^保存$'
running || fail "cancelling the save dialog closed the program"
keys "$MAIN" ctrl+q
answer n
wait_exit

start_with_capture
keys "$MAIN" alt+F4
answer y
answer_file '^保存$' "$WORK/close unsaved.bmp"
wait_exit
check_eq "$(head -c 2 "$WORK/close unsaved.bmp")" BM "saved file"
echo "Cancel and a cancelled save stay; Ctrl+Q asks; No closes; Yes and save closes"
