// Integration tests run inside a real Wine (or Windows) session with real windows.
#include <gtest/gtest.h>

#include "platform/dpi.h"

int wmain(int argc, wchar_t** argv) {
    vx::DeclareDpiAwareness();
    ::OleInitialize(nullptr);
    ::InitCommonControls();  // the bar classes among them
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
