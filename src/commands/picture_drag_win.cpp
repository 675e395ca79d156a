#include "picture_drag_win.h"

#include <shlobj.h>

#include <cstring>

#include "clipboard_formats.h"
#include "picture_io_win.h"
#include "picture_transfer_win.h"

namespace vx {
namespace {

// IUnknown for an object of one interface, counted, deleted with its last reference.
template <class Interface, const IID& kIid>
class ComObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = iid == IID_IUnknown || iid == kIid ? static_cast<Interface*>(this) : nullptr;
        if (!*out) return E_NOINTERFACE;
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (!left) delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;

private:
    ULONG references_ = 1;
};

// The formats the drag offers, the file first.
FORMATETC Format(CLIPFORMAT format) { return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }
const CLIPFORMAT kOffered[] = {CF_HDROP, CF_DIBV5, CF_DIB};

UniqueGlobal DropFilesOf(const std::wstring& path) {
    // DROPFILES, then the name, then the empty name that ends the list.
    const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    const GlobalLockGuard locked(memory.get());
    if (!locked.data()) return {};
    auto* files = static_cast<DROPFILES*>(locked.data());
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(files + 1, path.c_str(), path.size() * sizeof(wchar_t));
    return memory;
}

// The picture as data: the file's name now, the bitmap's bytes only when asked for.
class PictureData final : public ComObject<IDataObject, IID_IDataObject> {
public:
    PictureData(std::wstring path, const PictureBox& picture) : path_(std::move(path)) { held_.Picture = picture.Picture; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        UniqueGlobal bytes = format->cfFormat == CF_HDROP ? DropFilesOf(path_) : RenderDib(held_.Bitmap(), format->cfFormat == CF_DIBV5);
        if (!bytes) return E_OUTOFMEMORY;
        *medium = STGMEDIUM{};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = bytes.release();  // the receiver frees it
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format) return E_INVALIDARG;
        if (!(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
        for (CLIPFORMAT offered : kOffered) {
            if (format->cfFormat == offered) return S_OK;
        }
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC formats[std::size(kOffered)];
        for (size_t i = 0; i < std::size(kOffered); ++i) formats[i] = Format(kOffered[i]);
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(std::size(formats)), formats, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::wstring path_;
    PictureBox held_;
};

// The user's hand: the left button let go drops, Escape or another button ends it.
class PictureDropSource final : public ComObject<IDropSource, IID_IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape || (keys & MK_RBUTTON)) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

std::wstring DragOutPath() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return std::wstring(folder) + DragOutFileName(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

}  // namespace

PictureDrag::~PictureDrag() {
    for (const std::wstring& path : untaken_) ::DeleteFileW(path.c_str());
}

Outcome PictureDrag::Run(const PictureBox& picture) {
    if (picture.Empty() || running_) return Outcome{Status::NoImage, 0};
    const std::wstring path = DragOutPath();
    if (path.empty()) return LastError(Status::CannotWrite);
    const Outcome written = SavePictureFile(picture.Bitmap(), picture.Palette(), path, PictureFileFormat::Png);
    if (!written.ok()) return written;
    ComPtr<IDataObject> data;
    *data.put() = new PictureData(path, picture);
    ComPtr<IDropSource> source;
    *source.put() = new PictureDropSource;
    DWORD effect = DROPEFFECT_NONE;
    running_ = true;
    const HRESULT hr = ::DoDragDrop(data.get(), source.get(), DROPEFFECT_COPY, &effect);
    running_ = false;
    // A file nobody took goes when the program ends; a taken one may still be read.
    if (hr != DRAGDROP_S_DROP || effect == DROPEFFECT_NONE) untaken_.push_back(path);
    return {};
}

}  // namespace vx
