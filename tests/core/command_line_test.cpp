#include "command_line.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, FormsAndTheirActions) {
    // The arguments, the action, whether it is a capture's command line (no window, no
    // box), and the argument blamed ("" when one is missing or nothing is wrong).
    const struct { std::vector<std::wstring> args; Action action; bool unattended = false; std::wstring blamed; } cases[] = {
        {{}, Action::Window},
        {{L"C:\\a b\\shot.png"}, Action::Open},
        {{L"shot.bmp"}, Action::Open},
        {{L"/home/me/shot.bmp"}, Action::Open},
        {{L"/?"}, Action::Usage},
        {{L"-?"}, Action::Usage},
        {{L"/bogus"}, Action::Invalid, false, L"/bogus"},
        {{L"a.bmp", L"b.bmp"}, Action::Invalid, false, L"a.bmp"},
        {{L"/capture"}, Action::Invalid, true},
        {{L"/capture", L"screen"}, Action::Invalid, true},
        {{L"/capture", L"screen", L"/save"}, Action::Invalid, true},
        {{L"/save", L"x.bmp"}, Action::Invalid},
        {{L"/capture", L"window", L"/save", L"x"}, Action::Invalid, true, L"window"},
        {{L"/capture", L"region", L"1,2,3", L"/save", L"x"}, Action::Invalid, true, L"1,2,3"},
        {{L"/capture", L"region", L"5,5,5,9", L"/save", L"x"}, Action::Invalid, true, L"5,5,5,9"},
        {{L"/capture", L"region", L"1,2,3,4,5", L"/save", L"x"}, Action::Invalid, true, L"1,2,3,4,5"},
        {{L"/capture", L"region", L"1,2,3,99999999999", L"/save", L"x"}, Action::Invalid, true, L"1,2,3,99999999999"},
        {{L"/capture", L"screen", L"/save", L"x", L"/?"}, Action::Invalid, true, L"/?"},
        // A switch is no value, and a switch counts once.
        {{L"/capture", L"screen", L"/save", L"/capture"}, Action::Invalid, true, L"/capture"},
        {{L"/capture", L"/save", L"x.bmp"}, Action::Invalid, true, L"/save"},
        {{L"/capture", L"screen", L"/save", L"-?"}, Action::Invalid, true, L"-?"},
        {{L"/capture", L"screen", L"/save", L"a.bmp", L"/SAVE", L"b.bmp"}, Action::Invalid, true, L"/SAVE"},
        {{L"/capture", L"screen", L"/save", L"a.bmp", L"-capture", L"screen"}, Action::Invalid, true, L"-capture"},
        {{L"/capture", L"screen", L"/save", L"/tmp/x.bmp"}, Action::Capture, true},
        {{L"/capture", L"screen", L"/save", L"C:\\a b\\x.bmp"}, Action::Capture, true},
        {{L"/CAPTURE", L"SCREEN", L"/Save", L"x.bmp"}, Action::Capture, true},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.args);
        std::string all;
        for (const auto& arg : c.args) all += std::string(arg.begin(), arg.end()) + " ";
        EXPECT_EQ(std::tuple(line.action, line.capture.has_value(), line.unattended, line.badArgument),
                  std::tuple(c.action, c.action == Action::Capture, c.unattended, c.blamed)) << all;
    }
    EXPECT_EQ(ParseCommandLine({L"C:\\a b\\shot.png"}).openPath, L"C:\\a b\\shot.png");
    const auto r = ParseCommandLine({L"-SAVE", L"out.png", L"-Capture", L"Region", L"130,-20,10,25"}).capture;
    ASSERT_TRUE(r);
    EXPECT_EQ(std::tuple(r->savePath, r->kind, r->region), std::tuple(L"out.png", CaptureRequest::Kind::Region, Rect{10, -20, 130, 25}));
}

}  // namespace
}  // namespace vx
