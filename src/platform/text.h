#pragma once
// Texts for the user: the built-in ones from the string table, and filling their
// %1, %2 ... places.
#include <initializer_list>
#include <optional>
#include <string>

namespace vx {

// Built-in text from the program's string table ("" when there is none).
std::wstring LoadText(unsigned id);

// Replaces %1, %2, ... with the arguments in order; other text stays as it is. Portable.
std::wstring FillText(const std::wstring& pattern, std::initializer_list<std::wstring> arguments);

// The system's own sentence for a Win32 error code, without the trailing line break.
std::wstring SystemErrorText(unsigned long error);

// The text in the system's 8-bit code page when every character survives the trip
// (no best-fit look-alikes); nullopt otherwise, for the caller to use the wide form.
std::optional<std::string> ToSystemCodePage(const std::wstring& text);

}  // namespace vx
