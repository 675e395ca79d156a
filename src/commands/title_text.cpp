#include "title_text.h"

namespace vx {

std::wstring GetFileName(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring OpenedTitle(const std::wstring& programName, const std::wstring& fileName,
                         long widthPixels, long heightPixels) {
    return programName + L"\x2500[" + fileName + L"(" + std::to_wstring(widthPixels) + L"x" +
           std::to_wstring(heightPixels) + L") ]";
}

std::wstring ProgramNameFromPath(const std::wstring& exePath) {
    std::wstring name = GetFileName(exePath);
    const size_t slash = name.rfind(L'/');
    if (slash != std::wstring::npos) name = name.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

std::wstring ProgramFolderFromPath(const std::wstring& exePath) {
    const size_t slash = exePath.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return std::wstring();
    std::wstring folder = exePath.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // drive root keeps its separator
    return folder;
}

}  // namespace vx
