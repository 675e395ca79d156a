#pragma once
// The commands on the picture and the desktop: open, save, print, clear, wallpaper
// and edit in Paint.
#include "../document/command_host.h"

namespace vx {

void mnuOpen_Click(CommandHost& host);
void mnusave_Click(CommandHost& host);
void mnuprint_Click(CommandHost& host);
void mnuClear_Click(CommandHost& host);
void mnuWallpaper_Click(CommandHost& host);
void mnuClearWall_Click(CommandHost& host);
void mnuMspaint_Click(CommandHost& host);

}  // namespace vx
