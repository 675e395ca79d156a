#pragma once
// The commands on the picture and the desktop: open, save, print, clear, wallpaper
// and edit in Paint.
#include "../document/command_host.h"
#include "../document/outcome.h"

namespace vx {

void mnuOpen_Click(CommandHost& host);
// Opens the picture at `path` as the Open command does once a file is chosen (by
// name on the command line, or dropped on the window); first asks about an unsaved
// picture.
void OpenPicturePath(CommandHost& host, const std::wstring& path);
// Ok once the file is written; Cancelled when the user turned back (failures are told
// here already).
Outcome mnusave_Click(CommandHost& host);
void mnuprint_Click(CommandHost& host);
void mnuClear_Click(CommandHost& host);
void mnuWallpaper_Click(CommandHost& host);
void mnuClearWall_Click(CommandHost& host);
void mnuMspaint_Click(CommandHost& host);

// Before an unsaved picture would be lost: "save first?" with Yes, No and Cancel. Yes
// saves and goes on only when the save succeeded. True to go on.
bool SaveFirstIfUnsaved(CommandHost& host);

}  // namespace vx
