#include "file_format.h"

#include <algorithm>
#include <cwctype>

namespace vx {
namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

size_t LastComponent(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

std::wstring LowerExtension(const std::wstring& stored) {
    const std::wstring path = StoredPath(stored);
    const size_t slash = path.rfind(L'\\');
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return std::wstring();
    return Lower(path.substr(dot));
}

}  // namespace

std::wstring StoredPath(const std::wstring& path) {
    size_t end = path.size();
    while (end > LastComponent(path) && (path[end - 1] == L'.' || path[end - 1] == L' ')) --end;
    // "." and ".." are folders, not names with a dot to drop.
    const std::wstring last = path.substr(LastComponent(path));
    return last == L"." || last == L".." ? path : path.substr(0, end);
}

bool IsDeviceName(const std::wstring& path) {
    const std::wstring stored = StoredPath(path);
    std::wstring base = Lower(stored.substr(LastComponent(stored)));
    base = base.substr(0, base.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (const wchar_t* device : {L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$"})
        if (base == device) return true;
    return base.size() == 4 && (base.compare(0, 3, L"com") == 0 || base.compare(0, 3, L"lpt") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

const wchar_t kPictureFilter[] =
    L"Bmp (*.bmp)|*.bmp|JPGE(*.jpg)|*.jpg|PNG (*.png)|*.png|GIF (*.gif)|*.gif|TIFF (*.tif)|*.tif;*.tiff";

PictureFileFormat FormatForPath(const std::wstring& path) {
    const std::wstring ext = LowerExtension(path);
    if (ext == L".jpg" || ext == L".jpeg") return PictureFileFormat::Jpeg;
    if (ext == L".png") return PictureFileFormat::Png;
    if (ext == L".gif") return PictureFileFormat::Gif;
    if (ext == L".tif" || ext == L".tiff") return PictureFileFormat::Tiff;
    return PictureFileFormat::Bmp;
}

std::wstring DialogFilter(const std::wstring& barSeparated) {
    std::wstring out = barSeparated;
    std::replace(out.begin(), out.end(), L'|', L'\0');
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

}  // namespace vx
