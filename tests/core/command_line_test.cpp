#include "command_line.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, FormsAndTheirActions) {
    const struct { std::vector<std::wstring> args; Action action; } cases[] = {
        {{}, Action::Window},
        {{L"C:\\a b\\shot.png"}, Action::Open},
        {{L"shot.bmp"}, Action::Open},
        {{L"/home/me/shot.bmp"}, Action::Open},
        {{L"/?"}, Action::Usage},
        {{L"-?"}, Action::Usage},
        {{L"/bogus"}, Action::Invalid},
        {{L"a.bmp", L"b.bmp"}, Action::Invalid},
        {{L"/capture"}, Action::Invalid},
        {{L"/capture", L"screen"}, Action::Invalid},
        {{L"/save", L"x.bmp"}, Action::Invalid},
        {{L"/capture", L"window", L"/save", L"x"}, Action::Invalid},
        {{L"/capture", L"region", L"1,2,3", L"/save", L"x"}, Action::Invalid},
        {{L"/capture", L"region", L"5,5,5,9", L"/save", L"x"}, Action::Invalid},
        {{L"/capture", L"region", L"1,2,3,4,5", L"/save", L"x"}, Action::Invalid},
        {{L"/capture", L"region", L"1,2,3,99999999999", L"/save", L"x"}, Action::Invalid},
        {{L"/capture", L"screen", L"/save", L"C:\\a b\\x.bmp"}, Action::Capture},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.action, c.action) << (c.args.empty() ? "" : std::string(c.args[0].begin(), c.args[0].end()));
        EXPECT_EQ(line.capture.has_value(), c.action == Action::Capture);
    }
    EXPECT_EQ(ParseCommandLine({L"C:\\a b\\shot.png"}).openPath, L"C:\\a b\\shot.png");
    const auto r = ParseCommandLine({L"-SAVE", L"out.png", L"-Capture", L"region", L"10,-20,130,25"}).capture;
    ASSERT_TRUE(r);
    EXPECT_EQ(std::tuple(r->savePath, r->kind, r->left, r->top, r->right, r->bottom),
              std::tuple(L"out.png", CaptureRequest::Kind::Region, 10, -20, 130, 25));
}

}  // namespace
}  // namespace vx
