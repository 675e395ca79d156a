#pragma once
// One move-only owner for every kind of handle, with the closer as a type.
#include <utility>

#include "win32.h"

namespace vx {

template <typename T, typename Closer>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T value) : value_(value) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != T{}; }
    T release() { return std::exchange(value_, T{}); }
    void reset(T value = T{}) {
        T old = std::exchange(value_, value);
        if (old != T{}) Closer{}(old);
    }

private:
    T value_{};
};

struct DeleteObjectCloser { void operator()(HGDIOBJ h) const { ::DeleteObject(h); } };
struct DeleteDcCloser { void operator()(HDC h) const { ::DeleteDC(h); } };
struct CloseHandleCloser { void operator()(HANDLE h) const { ::CloseHandle(h); } };
struct RegCloseKeyCloser { void operator()(HKEY h) const { ::RegCloseKey(h); } };
struct ImageListCloser { void operator()(HIMAGELIST h) const { ::ImageList_Destroy(h); } };
struct GlobalFreeCloser { void operator()(HGLOBAL h) const { ::GlobalFree(h); } };

using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObjectCloser>;
using UniquePalette = UniqueHandle<HPALETTE, DeleteObjectCloser>;
using UniqueFont = UniqueHandle<HFONT, DeleteObjectCloser>;
using UniqueCreatedDc = UniqueHandle<HDC, DeleteDcCloser>;  // CreateDC, CreateCompatibleDC
using UniqueProcess = UniqueHandle<HANDLE, CloseHandleCloser>;
using UniqueKey = UniqueHandle<HKEY, RegCloseKeyCloser>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListCloser>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalFreeCloser>;

// A file handle uses INVALID_HANDLE_VALUE for "none"; keep it apart from the zero-based ones.
class UniqueFile {
public:
    UniqueFile() = default;
    explicit UniqueFile(HANDLE h) : h_(h) {}
    ~UniqueFile() { reset(); }
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;
    UniqueFile(UniqueFile&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
    UniqueFile& operator=(UniqueFile&& o) noexcept {
        if (this != &o) { reset(); h_ = std::exchange(o.h_, INVALID_HANDLE_VALUE); }
        return *this;
    }
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    void reset() {
        if (*this) ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// A device context borrowed from a window (GetDC / GetWindowDC): remembers its window
// so that ReleaseDC gets both.
class UniqueWindowDc {
public:
    UniqueWindowDc() = default;
    UniqueWindowDc(HWND hwnd, HDC dc) : hwnd_(hwnd), dc_(dc) {}
    static UniqueWindowDc Client(HWND hwnd) { return UniqueWindowDc(hwnd, ::GetDC(hwnd)); }
    static UniqueWindowDc Whole(HWND hwnd) { return UniqueWindowDc(hwnd, ::GetWindowDC(hwnd)); }
    ~UniqueWindowDc() { reset(); }
    UniqueWindowDc(const UniqueWindowDc&) = delete;
    UniqueWindowDc& operator=(const UniqueWindowDc&) = delete;
    UniqueWindowDc(UniqueWindowDc&& o) noexcept
        : hwnd_(std::exchange(o.hwnd_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
    UniqueWindowDc& operator=(UniqueWindowDc&& o) noexcept {
        if (this != &o) {
            reset();
            hwnd_ = std::exchange(o.hwnd_, nullptr);
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
        dc_ = nullptr;
        hwnd_ = nullptr;
    }

private:
    HWND hwnd_ = nullptr;
    HDC dc_ = nullptr;
};

// Selects an object into a device context and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (dc_ && previous_) ::SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class PaletteGuard {
public:
    PaletteGuard(HDC dc, HPALETTE palette) : dc_(dc), previous_(dc && palette ? ::SelectPalette(dc, palette, FALSE) : nullptr) {
        if (previous_) ::RealizePalette(dc_);
    }
    ~PaletteGuard() {
        if (previous_) ::SelectPalette(dc_, previous_, FALSE);
    }
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
};

// COM pointer: Release on destruction, AddRef on copy.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& o) : p_(o.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept { std::swap(p_, o.p_); return *this; }
    // Takes over a reference the caller already holds.
    static ComPtr Attach(T* p) { ComPtr c; c.p_ = p; return c; }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** put() { reset(); return &p_; }
    void reset() { if (p_) std::exchange(p_, nullptr)->Release(); }
    template <typename U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> out;
        if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(out.put()));
        return out;
    }

private:
    T* p_ = nullptr;
};

}  // namespace vx
