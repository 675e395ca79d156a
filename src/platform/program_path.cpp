#include "program_path.h"

#include <shlobj.h>

#include "paths.h"
#include "unique_handle.h"

namespace vx {

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramFolder() { return FolderOfPath(ProgramPath()); }

std::wstring ProgramName() { return ProgramNameFromPath(ProgramPath()); }

namespace {

std::wstring UserPlaceFolder(UserPlace place) {
    if (place == UserPlace::Temp) {
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
        return n == 0 || n > MAX_PATH ? std::wstring() : std::wstring(temp, n);
    }
    UniqueCoTaskMem<wchar_t> local;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, local.put())) || !local) {
        return std::wstring();
    }
    return local.get();
}

}  // namespace

std::wstring PerUserFile(UserPlace place, const wchar_t* name) {
    const std::wstring base = UserPlaceFolder(place);
    if (base.empty()) return std::wstring();
    const std::wstring folder = JoinPath(base, L"Vellumox");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return JoinPath(folder, name);
}

}  // namespace vx
