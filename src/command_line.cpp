#include "command_line.h"

#include <algorithm>
#include <cwctype>

namespace vx {
namespace {

std::wstring Lower(const std::wstring& text) {
    std::wstring lower;
    for (const wchar_t c : text) lower.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
    return lower;
}

std::wstring Switch(const std::wstring& arg) {
    if (arg.size() < 2 || (arg[0] != L'/' && arg[0] != L'-')) return std::wstring();
    return Lower(arg.substr(1));
}

// A switch is a slash or dash and a word: "/capture", "-save". "/home/a.bmp" is a path.
bool IsSwitchWord(const std::wstring& name) {
    if (name.empty()) return false;
    for (const wchar_t c : name) {
        if (!std::iswalpha(static_cast<wint_t>(c))) return false;
    }
    return true;
}

bool ParseLong(const std::wstring& text, long& out) {
    if (text.empty() || text.size() > 9) return false;
    size_t i = 0;
    bool negative = false;
    if (text[0] == L'-') { negative = true; i = 1; }
    if (i == text.size()) return false;
    long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return false;
        value = value * 10 + (text[i] - L'0');
    }
    out = negative ? -value : value;
    return true;
}

bool ParseRect(const std::wstring& text, CaptureRequest& r) {
    long values[4] = {};
    size_t start = 0;
    for (int k = 0; k < 4; ++k) {
        const size_t comma = text.find(L',', start);
        const bool last = k == 3;
        if (last != (comma == std::wstring::npos)) return false;
        if (!ParseLong(text.substr(start, last ? std::wstring::npos : comma - start), values[k])) return false;
        start = comma + 1;
    }
    // Either pair of opposite corners, as a dragged region may be given. Nine characters
    // at most: every value fits.
    r.region = Rect{static_cast<int32_t>(values[0]), static_cast<int32_t>(values[1]), static_cast<int32_t>(values[2]),
                    static_cast<int32_t>(values[3])}.Normalized();
    return !r.region.Empty();
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::wstring>& args) {
    CommandLine result;
    if (args.empty()) return result;
    result.action = CommandLine::Action::Invalid;
    for (const std::wstring& arg : args) result.unattended = result.unattended || Switch(arg) == L"capture";
    if (args.size() == 1 && !result.unattended) {
        const std::wstring name = Switch(args[0]);
        if (name == L"?") {
            result.action = CommandLine::Action::Usage;
        } else if (!IsSwitchWord(name)) {
            // Anything else is a file to open, a Unix-style "/home/..." path under Wine too.
            result.action = CommandLine::Action::Open;
            result.openPath = args[0];
        } else {
            result.badArgument = args[0];
        }
        return result;
    }
    CaptureRequest request;
    bool haveKind = false, haveSave = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring name = Switch(args[i]);
        // A switch given twice would leave the script guessing which one counts.
        if ((name != L"capture" && name != L"save") || (name == L"save" ? haveSave : haveKind)) {
            result.badArgument = args[i];
            return result;
        }
        if (i + 1 == args.size()) return result;  // the switch's value is missing
        const std::wstring& value = args[++i];
        // "/save /capture": the next switch is no value (it would name a file "capture").
        if (const std::wstring word = Switch(value); word == L"?" || IsSwitchWord(word)) {
            result.badArgument = value;
            return result;
        }
        haveSave = haveSave || name == L"save";
        if (name == L"save") {
            request.savePath = value;
            continue;
        }
        const std::wstring kind = Lower(value);
        if (kind == L"screen") {
            request.kind = CaptureRequest::Kind::Screen;
        } else if (kind != L"region") {
            result.badArgument = value;
            return result;
        } else if (i + 1 == args.size()) {
            return result;
        } else if (!ParseRect(args[++i], request)) {
            result.badArgument = args[i];
            return result;
        } else {
            request.kind = CaptureRequest::Kind::Region;
        }
        haveKind = true;
    }
    if (!haveKind || request.savePath.empty()) return result;
    result.action = CommandLine::Action::Capture;
    result.capture = request;
    return result;
}

}  // namespace vx
