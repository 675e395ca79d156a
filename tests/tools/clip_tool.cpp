// vxclip: another program's side of the clipboard and of a drop.
//   vxclip dump PNG|DIB FILE          writes the clipboard's PNG as it is, or its CF_DIB
//                                     (32 bits) as a BMP file; exit 1 when it is missing
//   vxclip drop-target X Y READY OUT  a 200 x 200 window at X, Y registered for OLE drops;
//                                     creates READY once shown, copies the first dropped
//                                     file to OUT, ends after the drop or 20 s
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>

namespace {

int Dump(const std::wstring& name, const wchar_t* out) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool open = false;
    for (int i = 0; i < 40 && !(open = OpenClipboard(owner)); ++i) Sleep(50);
    if (!open) return 5;
    const UINT format = name == L"PNG" ? RegisterClipboardFormatW(L"PNG") : CF_DIB;
    HGLOBAL memory = GetClipboardData(format);
    const auto* bytes = memory ? static_cast<const BYTE*>(GlobalLock(memory)) : nullptr;
    HANDLE file = bytes ? CreateFileW(out, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr) : INVALID_HANDLE_VALUE;
    if (file != INVALID_HANDLE_VALUE) {
        const DWORD size = static_cast<DWORD>(GlobalSize(memory));
        const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
        const DWORD masks = info->biSize == 40 && info->biCompression == BI_BITFIELDS ? 12 : 0;
        const DWORD head = sizeof(BITMAPFILEHEADER);
        const BITMAPFILEHEADER header{0x4D42, head + size, 0, 0, head + info->biSize + masks};
        DWORD written = 0;
        if (format == CF_DIB) WriteFile(file, &header, sizeof header, &written, nullptr);
        WriteFile(file, bytes, size, &written, nullptr);
        CloseHandle(file);
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return file != INVALID_HANDLE_VALUE ? 0 : 1;
}

struct Target final : IDropTarget {
    const wchar_t* out = nullptr;
    bool dropped = false;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** p) override {
        *p = iid == IID_IUnknown || iid == IID_IDropTarget ? this : nullptr;
        return *p ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override { return *effect = DROPEFFECT_COPY, S_OK; }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return *effect = DROPEFFECT_COPY, S_OK; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        wchar_t path[MAX_PATH] = {};
        dropped = true;
        if (FAILED(data->GetData(&format, &medium))) return *effect = DROPEFFECT_NONE, S_OK;
        DragQueryFileW(static_cast<HDROP>(medium.hGlobal), 0, path, MAX_PATH);
        CopyFileW(path, out, FALSE);
        ReleaseStgMedium(&medium);
        return *effect = DROPEFFECT_COPY, S_OK;
    }
};

int DropTarget(int x, int y, const wchar_t* ready, const wchar_t* out) {
    OleInitialize(nullptr);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"vxclip drop", WS_POPUP | WS_VISIBLE, x, y, 200, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    Target target;
    target.out = out;
    if (!window || FAILED(RegisterDragDrop(window, &target))) return 5;
    CloseHandle(CreateFileW(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    for (const DWORD end = GetTickCount() + 20000; !target.dropped && static_cast<int>(end - GetTickCount()) > 0; Sleep(10)) {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
    }
    RevokeDragDrop(window);
    return target.dropped ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"dump" && argc > 3) return Dump(argv[2], argv[3]);
    if (verb == L"drop-target" && argc > 5) return DropTarget(_wtoi(argv[2]), _wtoi(argv[3]), argv[4], argv[5]);
    return 2;
}
