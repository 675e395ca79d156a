#pragma once
// Reading a language file: 25 caption lines in a fixed order. Portable: the bytes are
// split here (UTF-16 turned into UTF-8 first); turning them into text (UTF-8 or the
// ANSI code page) is the shell's job.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Lines 1..25: the title, status panel 1 and the 23 menu captions.
constexpr int kLanguageLineCount = 25;
// Longer lines are cut to this many bytes (a caption is never anywhere near it); the
// rest of such a line is skipped up to its end, so the next line stays in place.
constexpr std::size_t kLanguageLineMaxBytes = 4096;

enum class LanguageEncoding { Ansi, Utf8 };

struct LanguageLines {
    LanguageEncoding encoding = LanguageEncoding::Ansi;
    std::vector<std::string> lines;  // at most 25, terminators removed
};

// Splits a file fed in pieces of any size. A line ends at CR LF, at CR alone or at LF
// alone; the end of the file ends a last line that has text. A UTF-8 byte-order mark
// at the very start selects UTF-8 and is not part of line 1; a UTF-16 mark, or a start
// where every other byte is zero, selects UTF-16 (little- or big-endian), given back
// as UTF-8. A NUL ends the text of its line (no window text can hold one); the line
// itself goes on to its end.
class LanguageFileSplitter {
public:
    // False once 25 lines are complete: nothing further is needed.
    bool Feed(std::string_view bytes);
    // The end of the file.
    LanguageLines Finish();

private:
    void EndLine();
    void Take(char c);
    void Settle();
    void TakeUtf16(unsigned char byte);

    LanguageLines result_;
    std::string head_;        // the first bytes, until the encoding is settled
    bool headSettled_ = false;
    enum class Wide { No, Little, Big } wide_ = Wide::No;
    int pendingByte_ = -1;        // the first half of a UTF-16 unit
    unsigned highSurrogate_ = 0;  // waiting for its low half
    std::string current_;
    bool currentHasBytes_ = false;
    bool currentCut_ = false;  // a NUL or the length cap ended the kept text
    bool afterCr_ = false;     // an LF right after a CR belongs to the same terminator
};

// Convenience for a whole file in memory.
LanguageLines SplitLanguageFile(std::string_view bytes);

// A caption as it may be shown: control characters (but the tab before a shortcut) and
// the bidirectional embeddings, overrides and isolates that would reorder the title
// dropped.
std::wstring CleanCaption(const std::wstring& text);

}  // namespace vx
