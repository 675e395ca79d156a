#include "language_loader.h"

#include <optional>

#include <vector>

#include "../platform/paths.h"

namespace vx {
namespace {

std::optional<LanguageLines> ReadLanguageFile(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LanguageFileSplitter splitter;
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        // A read that fails mid-way ends the file there: the lines so far still count.
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) || read == 0) break;
        if (!splitter.Feed(std::string_view(buffer, read))) break;
    }
    return splitter.Finish();
}

}  // namespace

std::wstring DecodeLanguageLine(const std::string& bytes, LanguageEncoding encoding) {
    if (bytes.empty()) return std::wstring();
    const UINT codePage = encoding == LanguageEncoding::Utf8 ? CP_UTF8 : CP_ACP;
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
    // Window texts end at a NUL; keep the stored caption equal to what is shown.
    text.resize(wcsnlen(text.c_str(), text.size()));
    return CleanCaption(text);
}

bool ApplyLanguageFile(CommandHost& host, const std::wstring& folder, const std::wstring& file) {
    const std::optional<LanguageLines> read = ReadLanguageFile(JoinFolderAndFile(folder, file));
    if (!read) return false;
    std::vector<std::wstring> captions;
    captions.reserve(read->lines.size());
    for (const std::string& line : read->lines) captions.push_back(DecodeLanguageLine(line, read->encoding));
    host.ApplyCaptions(captions);
    return true;
}

}  // namespace vx
