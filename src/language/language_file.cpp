#include "language_file.h"

#include <algorithm>

namespace vx {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

constexpr std::size_t kHeadBytes = 16;

bool Full(const LanguageLines& lines) { return lines.lines.size() >= static_cast<std::size_t>(kLanguageLineCount); }

}  // namespace

void LanguageFileSplitter::EndLine() {
    if (!Full(result_)) result_.lines.push_back(std::move(current_));
    current_.clear();
    currentHasBytes_ = false;
    currentCut_ = false;
}

void LanguageFileSplitter::Take(char c) {
    if (Full(result_)) return;
    if (c == '\n') {
        if (afterCr_) {
            afterCr_ = false;  // the second half of CR LF: the line has already ended
            return;
        }
        EndLine();
        return;
    }
    afterCr_ = false;
    if (c == '\r') {
        EndLine();
        afterCr_ = true;
        return;
    }
    currentHasBytes_ = true;
    if (currentCut_) return;
    if (c == '\0' || current_.size() >= kLanguageLineMaxBytes) {
        currentCut_ = true;
        return;
    }
    current_.push_back(c);
}

// The first bytes tell the encoding: a mark, or UTF-16's zero high bytes in text
// that is mostly ASCII.
void LanguageFileSplitter::Settle() {
    headSettled_ = true;
    std::string_view head = head_;
    bool zeroEven = head.size() >= 2, zeroOdd = head.size() >= 2;
    for (std::size_t i = 0; i + 1 < head.size(); i += 2) {
        zeroEven = zeroEven && head[i] == '\0';
        zeroOdd = zeroOdd && head[i + 1] == '\0';
    }
    if (head.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        result_.encoding = LanguageEncoding::Utf8;
        head.remove_prefix(kUtf8Bom.size());
    } else if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF") {
        wide_ = head[0] == '\xFF' ? Wide::Little : Wide::Big;
        head.remove_prefix(2);
    } else if (zeroOdd != zeroEven) {
        wide_ = zeroOdd ? Wide::Little : Wide::Big;
    }
    if (wide_ != Wide::No) result_.encoding = LanguageEncoding::Utf8;
    const std::string rest(head);
    head_.clear();
    for (char c : rest) wide_ == Wide::No ? Take(c) : TakeUtf16(static_cast<unsigned char>(c));
}

void LanguageFileSplitter::TakeUtf16(unsigned char byte) {
    if (pendingByte_ < 0) {
        pendingByte_ = byte;
        return;
    }
    unsigned unit = wide_ == Wide::Little ? (unsigned{byte} << 8 | unsigned(pendingByte_))
                                           : (unsigned(pendingByte_) << 8 | byte);
    pendingByte_ = -1;
    unsigned code = unit;
    if (unit >= 0xD800 && unit < 0xDC00) {
        if (highSurrogate_) Take('\xEF'), Take('\xBF'), Take('\xBD');  // a high half left alone
        highSurrogate_ = unit;
        return;
    }
    if (unit >= 0xDC00 && unit < 0xE000) {
        code = highSurrogate_ ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00) : 0xFFFD;
    } else if (highSurrogate_) {
        Take('\xEF'), Take('\xBF'), Take('\xBD');
    }
    highSurrogate_ = 0;
    if (code < 0x80) {
        Take(static_cast<char>(code));
    } else if (code < 0x800) {
        Take(static_cast<char>(0xC0 | code >> 6)), Take(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        Take(static_cast<char>(0xE0 | code >> 12)), Take(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        Take(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        Take(static_cast<char>(0xF0 | code >> 18)), Take(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
        Take(static_cast<char>(0x80 | (code >> 6 & 0x3F))), Take(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool LanguageFileSplitter::Feed(std::string_view bytes) {
    if (!headSettled_) {
        // Hold the first bytes back until the encoding is known.
        const std::size_t take = std::min(bytes.size(), kHeadBytes - head_.size());
        head_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (head_.size() < kHeadBytes) return true;
        Settle();
    }
    for (char c : bytes) {
        if (Full(result_)) break;
        wide_ == Wide::No ? Take(c) : TakeUtf16(static_cast<unsigned char>(c));
    }
    return !Full(result_);
}

LanguageLines LanguageFileSplitter::Finish() {
    if (!headSettled_) Settle();  // a file shorter than the bytes the encoding is told by
    if (highSurrogate_) Take('\xEF'), Take('\xBF'), Take('\xBD');
    if (currentHasBytes_) EndLine();
    afterCr_ = false;
    LanguageLines out = std::move(result_);
    *this = LanguageFileSplitter{};
    return out;
}

LanguageLines SplitLanguageFile(std::string_view bytes) {
    LanguageFileSplitter splitter;
    splitter.Feed(bytes);
    return splitter.Finish();
}

std::wstring CleanCaption(const std::wstring& text) {
    std::wstring clean;
    for (const wchar_t c : text) {
        const bool control = (c < 0x20 && c != L'\t') || (c >= 0x7F && c < 0xA0);
        const bool reorders = (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
        if (!control && !reorders) clean.push_back(c);
    }
    return clean;
}

}  // namespace vx
