#include "paths.h"

namespace vx {

std::wstring GetFileName(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FolderOfPath(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return std::wstring();
    std::wstring folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // drive root keeps its separator
    return folder;
}

std::wstring ProgramNameFromPath(const std::wstring& exePath) {
    std::wstring name = GetFileName(exePath);
    const size_t slash = name.rfind(L'/');
    if (slash != std::wstring::npos) name = name.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

std::wstring JoinFolderAndFile(const std::wstring& folder, const std::wstring& file) { return folder + file; }

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

}  // namespace vx
