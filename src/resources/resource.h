#pragma once
// Resource identifiers (from 101) and command identifiers (from 40000), shared by the
// resource script and the code.

#define IDI_VELLUMOX 101
#define IDB_TOOLBAR 102
#define IDR_ACCELERATORS 103

// Strings: the window's own texts.
#define IDS_TITLE 200
#define IDS_WELCOME 201

// Menu captions, in the order of a language file's lines 3..25.
#define IDS_MNU_FILE 202
#define IDS_MNU_OPEN 203
#define IDS_MNU_SAVE 204
#define IDS_MNU_WALLPAPER 205
#define IDS_MNU_CLEARWALL 206
#define IDS_MNU_PRINT 207
#define IDS_MNU_CLEAR 208
#define IDS_MNU_EXIT 209
#define IDS_MNU_CAPTURE 210
#define IDS_MNU_SCREEN 211
#define IDS_MNU_ATIVEWINDOW 212
#define IDS_MNU_CLIENT 213
#define IDS_MNU_TITLEBAR 214
#define IDS_MNU_SCROLL 215
#define IDS_MNU_VIEW 216
#define IDS_MNU_MSPAINT 217
#define IDS_MNU_LANGUAGE 218
#define IDS_MNU_CHINESE 219
#define IDS_MNU_ENGLISH 220
#define IDS_MNU_DISTRICT 221
#define IDS_MNU_HELP 222
#define IDS_MNU_ABOUT 223
#define IDS_MNU_HOWTO 224
// The picture's context menu (not in the language files).
#define IDS_MNU_COPY 225
#define IDS_MNU_PASTE 226
#define IDS_MNU_MARKUP 227

// Toolbar tooltips, by button index (IDS_TIP_BASE + index).
#define IDS_TIP_BASE 300

// Message texts.
#define IDS_MSG_ACTIVEWINDOW 400
#define IDS_MSG_ACTIVEWINDOW_TITLE 401
#define IDS_MSG_UNSAVED 402
#define IDS_MSG_ABOUT_TITLE 403
#define IDS_SAVE_TITLE 404

// Language and help messages.
#define IDS_MSG_LANGUAGE_MISSING 420
#define IDS_MSG_HELP_FAILED 421
#define IDS_MSG_USAGE 422
#define IDS_MSG_HOTKEYS_TAKEN 423
// Document commands: open, save, print, wallpaper, Paint.
#define IDS_DOC_NO_IMAGE 600
#define IDS_DOC_CANNOT_READ 601
#define IDS_DOC_CANNOT_DECODE 602
#define IDS_DOC_TOO_LARGE 603
#define IDS_DOC_CANNOT_WRITE 604
#define IDS_DOC_NO_PRINTER 605
#define IDS_DOC_PRINT_FAILED 606
#define IDS_DOC_SHELL_FAILED 607
#define IDS_DOC_REASON_DISK_FULL 610
#define IDS_DOC_REASON_ACCESS_DENIED 611
#define IDS_DOC_REASON_NOT_FOUND 612
#define IDS_DOC_REASON_CODE 613
#define IDS_DOC_WALLPAPER_FAILED 614
#define IDS_DOC_NO_MEMORY 615
#define IDS_DOC_REASON_NO_PROGRAM 616
#define IDS_DOC_REASON_TOO_LONG 630
#define IDS_DOC_REASON_IS_FOLDER 631
#define IDS_DOC_REASON_DEVICE 632
// Free-region capture messages.
#define IDS_MSG_CLIPBOARD_BUSY 470
#define IDS_MSG_CAPTURE_NO_MEMORY 471
// Scrolling capture.
#define IDS_MSG_SCROLL_PROGRESS 472
// The unattended command line's one-line reports.
#define IDS_MSG_CMDLINE_BAD 473
#define IDS_MSG_CMDLINE_INCOMPLETE 474
#define IDS_MSG_REGION_OFF_SCREEN 475
#define IDS_MSG_CAPTURE_FAILED 476
// Paste: the name a clipboard picture goes by in a message.
#define IDS_CLIPBOARD_NAME 477

// Marking up: the question on Escape, and the strip's "label|tooltip" by button id.
#define IDS_MARKUP_DISCARD 690
#define IDS_MARKUP_STRIP_BASE 700
// Menu commands.
#define IDM_FILE 40000
#define IDM_OPEN 40001
#define IDM_SAVE 40002
#define IDM_CLEAR 40003
#define IDM_WALLPAPER 40004
#define IDM_CLEARWALL 40005
#define IDM_PRINT 40006
#define IDM_EXIT 40007
#define IDM_COPY 40008  // the picture's context menu and Ctrl+Insert
#define IDM_PASTE 40009  // the picture's context menu, Ctrl+V and Shift+Insert
#define IDM_CAPTURE 40010
#define IDM_SCREEN 40011
#define IDM_DISTRICT 40012
#define IDM_ATIVEWINDOW 40013
#define IDM_CLIENT 40014
#define IDM_TITLEBAR 40015
#define IDM_SCROLL 40016
#define IDM_WORKAREA 40017  // toolbar only: the client-area capture
#define IDM_ACTIVEWINDOW_NOW 40018  // Alt+Print Screen only: the active window at once
#define IDM_VIEW 40020
#define IDM_MSPAINT 40021
#define IDM_LANGUAGE 40022
#define IDM_CHINESE 40023
#define IDM_ENGLISH 40024
#define IDM_HELP 40030
#define IDM_HOWTO 40031
#define IDM_ABOUT 40032
#define IDM_MARKUP 40040  // Ctrl+E and the picture's context menu: marking up in place

// Toolbar gaps and the separator: IDM_TOOLBAR_BASE + 1-based index (they run nothing).
#define IDM_TOOLBAR_BASE 40100

// Child control identifiers.
#define IDC_TOOLBAR1 1001
#define IDC_STATUSBAR1 1002
#define IDC_PICSCROLL 1003
#define IDC_HSCROLL1 1004
#define IDC_VSCROLL1 1005
