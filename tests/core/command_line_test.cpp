#include "command_line.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, FormsAndTheirActions) {
    // The arguments, the action, and for a capture's command line the argument blamed.
    const struct { std::vector<std::wstring> args; Action action; const wchar_t* blamed = nullptr; } cases[] = {
        {{}, Action::Window},
        {{L"C:\\a b\\shot.png"}, Action::Open},
        {{L"shot.bmp"}, Action::Open},
        {{L"/home/me/shot.bmp"}, Action::Open},
        {{L"/?"}, Action::Usage},
        {{L"-?"}, Action::Usage},
        {{L"/bogus"}, Action::Invalid},
        {{L"a.bmp", L"b.bmp"}, Action::Invalid},
        {{L"/capture"}, Action::Invalid, L""},
        {{L"/capture", L"screen"}, Action::Invalid, L""},
        {{L"/capture", L"screen", L"/save"}, Action::Invalid, L""},
        {{L"/save", L"x.bmp"}, Action::Invalid},
        {{L"/capture", L"window", L"/save", L"x"}, Action::Invalid, L"window"},
        {{L"/capture", L"region", L"1,2,3", L"/save", L"x"}, Action::Invalid, L"1,2,3"},
        {{L"/capture", L"region", L"5,5,5,9", L"/save", L"x"}, Action::Invalid, L"5,5,5,9"},
        {{L"/capture", L"region", L"1,2,3,4,5", L"/save", L"x"}, Action::Invalid, L"1,2,3,4,5"},
        {{L"/capture", L"region", L"1,2,3,99999999999", L"/save", L"x"}, Action::Invalid, L"1,2,3,99999999999"},
        {{L"/capture", L"screen", L"/save", L"x", L"/?"}, Action::Invalid, L"/?"},
        {{L"/capture", L"screen", L"/save", L"C:\\a b\\x.bmp"}, Action::Capture, L""},
        {{L"/CAPTURE", L"SCREEN", L"/Save", L"x.bmp"}, Action::Capture, L""},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.args);
        const std::string first = c.args.empty() ? "" : std::string(c.args[0].begin(), c.args[0].end());
        EXPECT_EQ(line.action, c.action) << first;
        EXPECT_EQ(line.capture.has_value(), c.action == Action::Capture) << first;
        EXPECT_EQ(line.unattended, c.blamed != nullptr) << first;
        EXPECT_EQ(line.badArgument, c.blamed ? c.blamed : line.badArgument) << first;
    }
    EXPECT_EQ(ParseCommandLine({L"C:\\a b\\shot.png"}).openPath, L"C:\\a b\\shot.png");
    const auto r = ParseCommandLine({L"-SAVE", L"out.png", L"-Capture", L"Region", L"130,-20,10,25"}).capture;
    ASSERT_TRUE(r);
    EXPECT_EQ(std::tuple(r->savePath, r->kind, r->region), std::tuple(L"out.png", CaptureRequest::Kind::Region, Rect{10, -20, 130, 25}));
}

}  // namespace
}  // namespace vx
