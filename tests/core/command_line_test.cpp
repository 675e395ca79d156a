#include "command_line.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(CommandLine, NoArgumentsStartsTheWindow) {
    const CommandLine c = ParseCommandLine({});
    EXPECT_TRUE(c.interactive);
    EXPECT_FALSE(c.capture);
}

TEST(CommandLine, ScreenAndRegionCaptures) {
    const CommandLine screen = ParseCommandLine({L"/capture", L"screen", L"/save", L"C:\\a b\\x.bmp"});
    ASSERT_TRUE(screen.capture) << std::string(screen.error.begin(), screen.error.end());
    EXPECT_EQ(screen.capture->kind, CaptureRequest::Kind::Screen);
    EXPECT_EQ(screen.capture->savePath, L"C:\\a b\\x.bmp");
    const CommandLine region = ParseCommandLine({L"-SAVE", L"out.png", L"-Capture", L"region", L"10,-20,130,25"});
    ASSERT_TRUE(region.capture);
    EXPECT_EQ(region.capture->kind, CaptureRequest::Kind::Region);
    EXPECT_EQ(region.capture->left, 10);
    EXPECT_EQ(region.capture->top, -20);
    EXPECT_EQ(region.capture->right, 130);
    EXPECT_EQ(region.capture->bottom, 25);
}

TEST(CommandLine, BadArgumentsAreErrorsNotCaptures) {
    for (const auto& args : std::vector<std::vector<std::wstring>>{
             {L"/capture"}, {L"/capture", L"screen"}, {L"/save", L"x.bmp"}, {L"/capture", L"window", L"/save", L"x"},
             {L"/capture", L"region", L"1,2,3", L"/save", L"x"}, {L"/capture", L"region", L"5,5,5,9", L"/save", L"x"},
             {L"/capture", L"region", L"1,2,3,4,5", L"/save", L"x"}, {L"/capture", L"region", L"1,2,3,99999999999", L"/save", L"x"},
             {L"/bogus"}, {L"file.bmp"}}) {
        const CommandLine c = ParseCommandLine(args);
        EXPECT_FALSE(c.interactive);
        EXPECT_FALSE(c.capture);
        EXPECT_FALSE(c.error.empty());
    }
}

}  // namespace
}  // namespace vx
