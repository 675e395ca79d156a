// paint_recorder: stands in for Paint in the tests. Registered as the "edit" command
// of Paint.Picture, it appends one line to the log named by the environment variable
// VX_PAINT_LOG: the file it was given, a tab, and the file's size in bytes.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    wchar_t log[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VX_PAINT_LOG", log, MAX_PATH)) return 2;
    const std::wstring file = argc > 1 ? argv[1] : L"";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    unsigned long long size = 0;
    if (GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) {
        size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    FILE* out = _wfopen(log, L"a, ccs=UTF-8");
    if (!out) return 3;
    std::fwprintf(out, L"%ls\t%llu\n", file.c_str(), size);
    std::fclose(out);
    return 0;
}
