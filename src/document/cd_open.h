#pragma once
// CDopen: the one common-dialog state of the main window. Its settings accumulate
// over the window's life and are never reset.
#include <string>

namespace vx {

struct CommonDialogState {
    std::wstring Filter;      // "desc|pattern|desc|pattern"
    std::wstring DefaultExt;  // set by save
    unsigned long Flags = 0;  // set by save
    std::wstring DialogTitle; // set by save
    std::wstring FileName;    // the full path last chosen: the next dialog's initial name
};

}  // namespace vx
