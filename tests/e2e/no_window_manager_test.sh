# The desktop cases of window_manager_test.sh on a display without a window manager.
VX_DESKTOP_WM='' . "$(dirname "$0")/window_manager_test.sh"
