#pragma once
// Re-captioning the window from a language file: the title, status panel 1 and the
// 23 menu items, in the file's order.
#include <string>

#include "../document/command_host.h"
#include "language_file.h"

namespace vx {

// Text of one line: UTF-8 after a byte-order mark, otherwise the ANSI code page.
std::wstring DecodeLanguageLine(const std::string& bytes, LanguageEncoding encoding);

// Reads folder + file (plainly joined) and gives line n to target n. False, with
// nothing changed, when the file cannot be opened; a shorter file changes only the
// targets it has lines for.
bool ApplyLanguageFile(CommandHost& host, const std::wstring& folder, const std::wstring& file);

}  // namespace vx
