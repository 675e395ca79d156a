#include "program_path.h"

#include "win32.h"
#include "paths.h"

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

}  // namespace vx
