#include "language/language_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vx {
namespace {

using Lines = std::vector<std::string>;

Lines Split(const std::string& bytes) { return SplitLanguageFile(bytes).lines; }

TEST(LanguageFileLines, EveryLineEndIsHonoured) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"crlf", "one\r\ntwo\r\n", {"one", "two"}},
        {"cr alone", "one\rtwo\r", {"one", "two"}},
        {"lf alone", "one\ntwo\n", {"one", "two"}},
        {"mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"lf then cr is two ends", "a\n\rb", {"a", "", "b"}},
        {"cr cr lf is two ends", "a\r\r\nb", {"a", "", "b"}},
        {"no last terminator", "one\r\ntwo", {"one", "two"}},
        {"empty lines kept", "\r\n\r\nx\r\n", {"", "", "x"}},
        {"blanks and tabs kept", "  lead\r\ntrail  \r\n\tmid dle\t\r\n", {"  lead", "trail  ", "\tmid dle\t"}},
        {"empty file", "", {}},
        {"only a terminator", "\r\n", {""}},
        {"nul ends the text", std::string("ab\0cd\r\nnext", 11), {"ab", "next"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Split(c.bytes), c.expected) << c.name;
    }
}

TEST(LanguageFileLines, OnlyTheFirst25AreRead) {
    std::string bytes;
    for (int i = 1; i <= 40; ++i) bytes += "line" + std::to_string(i) + "\r\n";
    const Lines lines = Split(bytes);
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines.front(), "line1");
    EXPECT_EQ(lines.back(), "line25");

    // Fewer lines give fewer entries, not padding.
    EXPECT_EQ(Split("a\r\nb\r\nc").size(), 3u);

    // Feeding stops asking for more once 25 lines are complete.
    LanguageFileSplitter splitter;
    EXPECT_FALSE(splitter.Feed(bytes));
    EXPECT_EQ(splitter.Finish().lines.size(), 25u);
}

TEST(LanguageFileLines, PiecesOfAnySizeGiveTheSameLines) {
    const std::string bytes = "\xEF\xBB\xBFtitle\r\n\r\nx\ry\nlast \r";
    const LanguageLines whole = SplitLanguageFile(bytes);
    for (std::size_t piece = 1; piece <= 5; ++piece) {
        LanguageFileSplitter splitter;
        for (std::size_t at = 0; at < bytes.size(); at += piece) splitter.Feed(std::string_view(bytes).substr(at, piece));
        const LanguageLines split = splitter.Finish();
        EXPECT_EQ(split.lines, whole.lines) << "piece " << piece;
        EXPECT_EQ(split.encoding, LanguageEncoding::Utf8) << "piece " << piece;
    }
    // A CR at the end of one piece and its LF at the start of the next are one terminator.
    LanguageFileSplitter splitter;
    splitter.Feed("a\r");
    splitter.Feed("\nb");
    EXPECT_EQ(splitter.Finish().lines, (Lines{"a", "b"}));
}

TEST(LanguageFileLines, ByteOrderMarkSelectsUtf8) {
    const LanguageLines marked = SplitLanguageFile("\xEF\xBB\xBFVellumox\r\n");
    EXPECT_EQ(marked.encoding, LanguageEncoding::Utf8);
    EXPECT_EQ(marked.lines, (Lines{"Vellumox"}));

    const LanguageLines plain = SplitLanguageFile("\xBB\xB6\xD3\xAD\r\n");  // GBK text
    EXPECT_EQ(plain.encoding, LanguageEncoding::Ansi);
    EXPECT_EQ(plain.lines, (Lines{"\xBB\xB6\xD3\xAD"}));

    // Only at the very start, and only all three bytes.
    EXPECT_EQ(SplitLanguageFile("x\xEF\xBB\xBF").encoding, LanguageEncoding::Ansi);
    EXPECT_EQ(SplitLanguageFile("\xEF\xBB").lines, (Lines{"\xEF\xBB"}));
    EXPECT_EQ(SplitLanguageFile("\xEF\xBB").encoding, LanguageEncoding::Ansi);
    const LanguageLines markOnly = SplitLanguageFile("\xEF\xBB\xBF");
    EXPECT_EQ(markOnly.encoding, LanguageEncoding::Utf8);
    EXPECT_TRUE(markOnly.lines.empty());
}

TEST(LanguageFileLines, OverlongLineIsCutAndTheNextStaysInPlace) {
    const std::string bytes = std::string(100000, 'w') + "\r\nsecond\r\n";
    const Lines lines = Split(bytes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(kLanguageLineMaxBytes, 'w'));
    EXPECT_EQ(lines[1], "second");
}

}  // namespace
}  // namespace vx
