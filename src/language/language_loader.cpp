#include "language_loader.h"

#include <optional>

#include "../main_window/frm_main.h"
#include "../main_window/menu_bar.h"
#include "../main_window/menu_definition.h"

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
    return text;
}

bool ApplyLanguageFile(FrmMain& form, const std::wstring& folder, const std::wstring& file) {
    const std::optional<LanguageLines> read = ReadLanguageFile(JoinFolderAndFile(folder, file));
    if (!read) return false;
    const auto& lines = read->lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring text = DecodeLanguageLine(lines[i], read->encoding);
        // A target that refuses its text keeps the old one; the others are still set.
        if (i == 0) {
            ::SetWindowTextW(form.hwnd(), text.c_str());
        } else if (i == 1) {
            ::SendMessageW(form.StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
        } else {
            SetMenuCaption(form.menu, kLanguageMenuOrder[i - 2], text);
        }
    }
    if (lines.size() > 2) ::DrawMenuBar(form.hwnd());
    return true;
}

}  // namespace vx
