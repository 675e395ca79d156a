// Integration tests run inside a real Wine (or Windows) session with real windows.
#include <gtest/gtest.h>

#include "platform/win32.h"
#include "platform/dpi.h"

int wmain(int argc, wchar_t** argv) {
    vx::DeclareDpiAwareness();
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
