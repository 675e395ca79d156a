#include "file_format.h"

#include <algorithm>
#include <cwctype>

namespace vx {
namespace {

std::wstring LowerExtension(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return std::wstring();
    std::wstring ext = path.substr(dot);
    for (wchar_t& c : ext) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return ext;
}

}  // namespace

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
