// vxclip: another program's side of the clipboard and of a drop.
//   vxclip dump PNG|DIB FILE          writes the clipboard's PNG as it is, or its CF_DIB
//                                     as a BMP file; exit 1 when the format is missing
//   vxclip drop-target X Y READY OUT  a 200 x 200 window at X, Y registered for OLE drops;
//                                     creates READY once shown, copies the first dropped
//                                     file to OUT, ends after the drop or 20 s
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>

namespace {

bool WriteAll(const wchar_t* path, const void* a, DWORD na, const void* b, DWORD nb) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, a, na, &written, nullptr) &&
                    WriteFile(file, b, nb, &written, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return ok;
}

int Dump(const std::wstring& name, const wchar_t* out) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool open = false;
    for (int i = 0; i < 40 && !(open = OpenClipboard(owner)); ++i) Sleep(50);
    if (!open) return 5;
    const UINT format = name == L"PNG" ? RegisterClipboardFormatW(L"PNG") : CF_DIB;
    HGLOBAL memory = GetClipboardData(format);
    const auto* bytes = memory ? static_cast<const BYTE*>(GlobalLock(memory)) : nullptr;
    int result = 1;
    if (bytes) {
        const DWORD size = static_cast<DWORD>(GlobalSize(memory));
        BITMAPFILEHEADER file{};
        DWORD headerBytes = 0;
        if (format == CF_DIB) {
            const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
            const DWORD colours = info->biClrUsed ? info->biClrUsed : info->biBitCount <= 8 ? 1u << info->biBitCount : 0;
            file.bfType = 0x4D42;
            file.bfSize = sizeof file + size;
            file.bfOffBits = sizeof file + info->biSize + colours * 4 +
                             (info->biSize == 40 && info->biCompression == BI_BITFIELDS ? 12 : 0);
            headerBytes = sizeof file;
        }
        result = WriteAll(out, &file, headerBytes, bytes, size) ? 0 : 4;
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return result;
}

class Target final : public IDropTarget {
public:
    explicit Target(const wchar_t* out) : out_(out) {}
    bool dropped = false;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** p) override {
        *p = iid == IID_IUnknown || iid == IID_IDropTarget ? this : nullptr;
        return *p ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override { return Copy(effect); }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return Copy(effect); }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        dropped = true;
        if (FAILED(data->GetData(&format, &medium))) return *effect = DROPEFFECT_NONE, S_OK;
        wchar_t path[MAX_PATH] = {};
        DragQueryFileW(static_cast<HDROP>(medium.hGlobal), 0, path, MAX_PATH);
        CopyFileW(path, out_, FALSE);
        ReleaseStgMedium(&medium);
        return Copy(effect);
    }

private:
    static HRESULT Copy(DWORD* effect) { return *effect = DROPEFFECT_COPY, S_OK; }
    const wchar_t* out_;
};

int DropTarget(int x, int y, const wchar_t* ready, const wchar_t* out) {
    OleInitialize(nullptr);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"vxclip drop", WS_POPUP | WS_VISIBLE, x, y, 200, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    Target target(out);
    if (!window || FAILED(RegisterDragDrop(window, &target))) return 5;
    CloseHandle(CreateFileW(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    for (const DWORD end = GetTickCount() + 20000; !target.dropped && static_cast<int>(end - GetTickCount()) > 0;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
    RevokeDragDrop(window);
    DestroyWindow(window);
    OleUninitialize();
    return target.dropped ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"dump" && argc > 3) return Dump(argv[2], argv[3]);
    if (verb == L"drop-target" && argc > 5) return DropTarget(_wtoi(argv[2]), _wtoi(argv[3]), argv[4], argv[5]);
    return 2;
}
