/* The least a Windows program must do to write the screen to a BMP file: the floor
   tools/bench measures `Vellumox /capture screen /save FILE` against. The file is the
   one Vellumox writes (24 bits, bottom-up, 96 dpi), byte for byte.
   floor_capture.exe FILE   (the whole command line is the path: no quotes, no spaces) */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR path, int show) {
    (void)instance, (void)previous, (void)show;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(NULL), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u, size = stride * (DWORD)h;
    BITMAPINFOHEADER info = {sizeof info, w, h, 1, 24, BI_RGB, size, 3780, 3780, 0, 0};
    BITMAPFILEHEADER file = {0x4D42, sizeof file + sizeof info + size, 0, 0, sizeof file + sizeof info};
    BITMAPINFOHEADER query = info; /* GetDIBits may rewrite the header it is given */
    BYTE* bits = (BYTE*)HeapAlloc(GetProcessHeap(), 0, size);
    if (!bits || GetDIBits(memory, bitmap, 0, (UINT)h, bits, (BITMAPINFO*)&query, DIB_RGB_COLORS) != h) return 2;
    HANDLE out = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD n = 0;
    const BOOL ok = out != INVALID_HANDLE_VALUE && WriteFile(out, &file, sizeof file, &n, NULL) &&
                    WriteFile(out, &info, sizeof info, &n, NULL) && WriteFile(out, bits, size, &n, NULL);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(NULL, screen);
    return ok ? 0 : 3;
}
