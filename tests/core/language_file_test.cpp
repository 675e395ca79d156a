#include "language/language_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vx {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;
constexpr auto Ansi = LanguageEncoding::Ansi;
constexpr auto Utf8 = LanguageEncoding::Utf8;

// Every line end, the byte-order mark only whole and only at the very start, a NUL, an
// overlong line and the 25-line cap; each file also fed in pieces of 1 to 5 bytes
// (a CR at the end of one piece and its LF at the start of the next are one end).
TEST(LanguageFileLines, EveryLineEndMarkAndCapIsHonouredWhateverThePieces) {
    std::string forty;
    Lines first25;
    for (int i = 1; i <= 40; ++i) {
        forty += "line" + std::to_string(i) + "\r\n";
        if (i <= 25) first25.push_back("line" + std::to_string(i));
    }
    const struct { const char* name; std::string bytes; Lines lines; LanguageEncoding encoding; } cases[] = {
        {"crlf", "one\r\ntwo\r\n", {"one", "two"}, Ansi},
        {"cr alone", "one\rtwo\r", {"one", "two"}, Ansi},
        {"lf alone", "one\ntwo\n", {"one", "two"}, Ansi},
        {"mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}, Ansi},
        {"lf then cr is two ends", "a\n\rb", {"a", "", "b"}, Ansi},
        {"cr cr lf is two ends", "a\r\r\nb", {"a", "", "b"}, Ansi},
        {"empty lines kept", "\r\n\r\nx\r\n", {"", "", "x"}, Ansi},
        {"blanks and tabs kept", "  lead\r\ntrail  \r\n\tmid dle\t\r\n", {"  lead", "trail  ", "\tmid dle\t"}, Ansi},
        {"empty file", "", {}, Ansi},
        {"only a terminator", "\r\n", {""}, Ansi},
        {"nul ends the text", std::string("ab\0cd\r\nnext", 11), {"ab", "next"}, Ansi},
        {"mark", "\xEF\xBB\xBFVellumox\r\n", {"Vellumox"}, Utf8},
        {"mark alone", "\xEF\xBB\xBF", {}, Utf8},
        {"mark, then every end", "\xEF\xBB\xBFtitle\r\n\r\nx\ry\nlast \r", {"title", "", "x", "y", "last "}, Utf8},
        {"GBK without a mark", "\xBB\xB6\xD3\xAD\r\n", {"\xBB\xB6\xD3\xAD"}, Ansi},
        {"mark not at the start", "x\xEF\xBB\xBF", {"x\xEF\xBB\xBF"}, Ansi},
        {"two bytes of a mark", "\xEF\xBB", {"\xEF\xBB"}, Ansi},
        {"overlong line cut, the next in place", std::string(100000, 'w') + "\r\nsecond\r\n",
         {std::string(kLanguageLineMaxBytes, 'w'), "second"}, Ansi},
        {"only the first 25 lines", forty, first25, Ansi},
        // UTF-16 by its mark or by zero high bytes, as UTF-8; a lone surrogate replaced
        {"utf-16le", "\xFF\xFET\0\r\0\n\0\x87\x65\r\0\x3D\xD8\x00\xDE\x00\xD8"s, {"T", "\xE6\x96\x87", "\xF0\x9F\x98\x80\xEF\xBF\xBD"}, Utf8},
        {"utf-16be", "\xFE\xFF\0T\0\n\x65\x87\0"s, {"T", "\xE6\x96\x87"}, Utf8},
        {"utf-16le without a mark", "T\0i\0\n\0x\0y"s, {"Ti", "x"}, Utf8},
        {"utf-16be without a mark", "\0T\0\r\0x"s, {"T", "x"}, Utf8},
    };
    for (const auto& c : cases) {
        const LanguageLines whole = SplitLanguageFile(c.bytes);
        EXPECT_EQ(whole.lines, c.lines) << c.name;
        EXPECT_EQ(whole.encoding, c.encoding) << c.name;
        for (size_t piece = 1; piece <= 5; ++piece) {
            LanguageFileSplitter splitter;
            for (size_t at = 0; at < c.bytes.size(); at += piece)
                if (!splitter.Feed(std::string_view(c.bytes).substr(at, piece))) break;
            const LanguageLines split = splitter.Finish();
            EXPECT_EQ(split.lines, c.lines) << c.name << ", pieces of " << piece;
            EXPECT_EQ(split.encoding, c.encoding) << c.name << ", pieces of " << piece;
        }
    }
    // Feeding stops asking for more once 25 lines are complete.
    LanguageFileSplitter splitter;
    EXPECT_FALSE(splitter.Feed(forty));
}

// What may not reach a caption: controls and the marks that reorder the title around them.
TEST(LanguageFileLines, CaptionsLoseControlsAndDirectionOverrides) {
    EXPECT_EQ(CleanCaption(L"\x202E" L"gpj.exe\x1B\x7F\x85\x202A\x2066\x2069\x05D0\x6587\tCtrl+O\x01"),
              L"gpj.exe\x05D0\x6587\tCtrl+O");
}

}  // namespace
}  // namespace vx
