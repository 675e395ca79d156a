#include "picture_object.h"

namespace vx {
namespace {

// The standard picture object deletes its bitmap on its last release but leaves the
// palette alone (so every capture on a palette display would leak one). This thin
// front owns the palette, which the standard object never sees, so only one party can
// free it; everything else is the standard picture's. Interfaces other than IPicture
// come from the inner object.
class PictureWithPalette final : public IPicture {
public:
    PictureWithPalette(ComPtr<IPicture> inner, UniquePalette palette)
        : palette_(std::move(palette)), inner_(std::move(inner)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPicture)) {
            *out = static_cast<IPicture*>(this);
            AddRef();
            return S_OK;
        }
        return inner_->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IPicture
    HRESULT STDMETHODCALLTYPE get_Handle(OLE_HANDLE* h) override { return inner_->get_Handle(h); }
    HRESULT STDMETHODCALLTYPE get_hPal(OLE_HANDLE* h) override {
        if (!h) return E_POINTER;
        *h = static_cast<OLE_HANDLE>(reinterpret_cast<UINT_PTR>(palette_.get()));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Type(SHORT* t) override { return inner_->get_Type(t); }
    HRESULT STDMETHODCALLTYPE get_Width(OLE_XSIZE_HIMETRIC* w) override { return inner_->get_Width(w); }
    HRESULT STDMETHODCALLTYPE get_Height(OLE_YSIZE_HIMETRIC* h) override { return inner_->get_Height(h); }
    HRESULT STDMETHODCALLTYPE Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                                     OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                                     LPCRECT bounds) override {
        return inner_->Render(dc, x, y, cx, cy, xSrc, ySrc, cxSrc, cySrc, bounds);
    }
    // The palette is this front's for the picture's whole life.
    HRESULT STDMETHODCALLTYPE set_hPal(OLE_HANDLE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurDC(HDC* dc) override { return inner_->get_CurDC(dc); }
    HRESULT STDMETHODCALLTYPE SelectPicture(HDC in, HDC* out, OLE_HANDLE* bitmap) override {
        return inner_->SelectPicture(in, out, bitmap);
    }
    HRESULT STDMETHODCALLTYPE get_KeepOriginalFormat(BOOL* keep) override { return inner_->get_KeepOriginalFormat(keep); }
    HRESULT STDMETHODCALLTYPE put_KeepOriginalFormat(BOOL keep) override { return inner_->put_KeepOriginalFormat(keep); }
    HRESULT STDMETHODCALLTYPE PictureChanged() override { return inner_->PictureChanged(); }
    HRESULT STDMETHODCALLTYPE SaveAsFile(LPSTREAM stream, BOOL saveMemCopy, LONG* size) override {
        return inner_->SaveAsFile(stream, saveMemCopy, size);
    }
    HRESULT STDMETHODCALLTYPE get_Attributes(DWORD* attributes) override { return inner_->get_Attributes(attributes); }

private:
    // Members go in reverse order: the standard picture (and its bitmap) first, then
    // the palette.
    ~PictureWithPalette() = default;

    LONG references_ = 1;
    UniquePalette palette_;
    ComPtr<IPicture> inner_;
};

}  // namespace

ComPtr<IPicture> CreatePictureFromBitmap(UniqueBitmap bitmap, UniquePalette palette) {
    if (!bitmap) return {};
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(PICTDESC);
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap.get();
    desc.bmp.hpal = nullptr;  // answered by the front, which alone owns it
    ComPtr<IDispatch> object;
    if (FAILED(::OleCreatePictureIndirect(&desc, IID_IDispatch, TRUE, reinterpret_cast<void**>(object.put()))) ||
        !object) {
        return {};  // the handles are still ours and are freed here
    }
    bitmap.release();  // the picture owns the bitmap now
    ComPtr<IPicture> picture = object.As<IPicture>(IID_IPicture);
    if (!picture || !palette) return picture;
    return ComPtr<IPicture>::Attach(new PictureWithPalette(std::move(picture), std::move(palette)));
}

}  // namespace vx
