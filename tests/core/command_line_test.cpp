#include "command_line.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

using Args = std::vector<std::wstring>;

TEST(CommandLine, UnattendedCapturesAndArgumentsThatAreNone) {
    const CommandLine none = ParseCommandLine({});
    EXPECT_TRUE(none.interactive && !none.capture);  // the window
    // Switches in any case, with / or -, in any order; a path with blanks is one argument.
    const struct { Args args; CaptureRequest::Kind kind; std::vector<long> rect; const wchar_t* path; } good[] = {
        {{L"/capture", L"screen", L"/save", L"C:\\a b\\x.bmp"}, CaptureRequest::Kind::Screen, {0, 0, 0, 0}, L"C:\\a b\\x.bmp"},
        {{L"-SAVE", L"out.png", L"-Capture", L"region", L"10,-20,130,25"}, CaptureRequest::Kind::Region, {10, -20, 130, 25},
         L"out.png"},
    };
    for (const auto& g : good) {
        const CommandLine c = ParseCommandLine(g.args);
        ASSERT_TRUE(c.capture) << std::string(c.error.begin(), c.error.end());
        EXPECT_EQ(c.capture->kind, g.kind);
        EXPECT_EQ((std::vector{c.capture->left, c.capture->top, c.capture->right, c.capture->bottom}), g.rect);
        EXPECT_EQ(c.capture->savePath, g.path);
    }
    const Args bad[] = {
        {L"/capture"}, {L"/capture", L"screen"}, {L"/save", L"x.bmp"}, {L"/capture", L"window", L"/save", L"x"},
        {L"/capture", L"region", L"1,2,3", L"/save", L"x"}, {L"/capture", L"region", L"5,5,5,9", L"/save", L"x"},
        {L"/capture", L"region", L"1,2,3,4,5", L"/save", L"x"}, {L"/capture", L"region", L"1,2,3,99999999999", L"/save", L"x"},
        {L"/bogus"}, {L"file.bmp"}};
    for (const Args& args : bad) {
        const CommandLine c = ParseCommandLine(args);
        EXPECT_TRUE(!c.interactive && !c.capture && !c.error.empty()) << args.size() << " arguments";
    }
}

}  // namespace
}  // namespace vx
