#include "language_file.h"

namespace vx {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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

bool LanguageFileSplitter::Feed(std::string_view bytes) {
    if (!headSettled_) {
        // Hold the first three bytes back until it is known whether they are the mark.
        const std::size_t need = kUtf8Bom.size() - head_.size();
        const std::size_t take = bytes.size() < need ? bytes.size() : need;
        head_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (head_.size() < kUtf8Bom.size()) return true;
        headSettled_ = true;
        if (head_ == kUtf8Bom) {
            result_.encoding = LanguageEncoding::Utf8;
        } else {
            for (char c : head_) Take(c);
        }
        head_.clear();
    }
    for (char c : bytes) {
        if (Full(result_)) break;
        Take(c);
    }
    return !Full(result_);
}

LanguageLines LanguageFileSplitter::Finish() {
    if (!headSettled_) {
        // A file shorter than the mark: plain text.
        headSettled_ = true;
        for (char c : head_) Take(c);
        head_.clear();
    }
    if (currentHasBytes_) EndLine();
    afterCr_ = false;
    LanguageLines out = std::move(result_);
    result_ = LanguageLines{};
    return out;
}

LanguageLines SplitLanguageFile(std::string_view bytes) {
    LanguageFileSplitter splitter;
    splitter.Feed(bytes);
    return splitter.Finish();
}

}  // namespace vx
