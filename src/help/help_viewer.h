#pragma once
// Starting the text editor on the help file.
#include <string>

#include "../platform/unique_handle.h"

namespace vx {

// Starts the system folder's notepad.exe (never one found on the search path) on
// folder + "\readme.txt", quoted, shown normally. The process handle is kept so that
// exactly this editor can be ended later; empty when it could not be started.
UniqueProcess StartHelpViewer(const std::wstring& programFolder);

}  // namespace vx
