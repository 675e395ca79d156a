#pragma once
// One move-only owner for every kind of handle, with the closer as a type.
#include <utility>

#include "win32.h"

namespace vx {

// What "no handle" is: zero for most kinds, INVALID_HANDLE_VALUE (and zero) for files.
template <typename T>
struct ZeroIsNone {
    static T None() { return T{}; }
    static bool Valid(T value) { return value != T{}; }
};
struct InvalidHandleIsNone {
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
};

// Copying is deleted, moving hands the handle on. The closer may carry state (the
// window a borrowed device context goes back to).
template <typename T, typename Closer, typename Policy = ZeroIsNone<T>>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T value, Closer closer = Closer{}) : value_(value), closer_(closer) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : closer_(other.closer_) { value_ = other.release(); }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
            closer_ = other.closer_;
        }
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return Policy::Valid(value_); }
    T release() { return std::exchange(value_, Policy::None()); }
    void reset(T value = Policy::None()) {
        T old = std::exchange(value_, value);
        if (Policy::Valid(old)) closer_(old);
    }
    // For a function that hands a new handle out through a pointer: the old one is
    // closed first.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = Policy::None();
    Closer closer_{};
};

struct DeleteObjectCloser { void operator()(HGDIOBJ h) const { ::DeleteObject(h); } };
struct DeleteDcCloser { void operator()(HDC h) const { ::DeleteDC(h); } };
struct CloseHandleCloser { void operator()(HANDLE h) const { ::CloseHandle(h); } };
struct RegCloseKeyCloser { void operator()(HKEY h) const { ::RegCloseKey(h); } };
struct ImageListCloser { void operator()(HIMAGELIST h) const { ::ImageList_Destroy(h); } };
struct GlobalFreeCloser { void operator()(HGLOBAL h) const { ::GlobalFree(h); } };
struct LocalFreeCloser { void operator()(HLOCAL h) const { ::LocalFree(h); } };
struct CoTaskMemFreeCloser { void operator()(void* p) const { ::CoTaskMemFree(p); } };
struct DestroyMenuCloser { void operator()(HMENU h) const { ::DestroyMenu(h); } };
struct UnhookCloser { void operator()(HHOOK h) const { ::UnhookWindowsHookEx(h); } };
struct ReleaseDcCloser {
    HWND hwnd = nullptr;
    void operator()(HDC h) const { ::ReleaseDC(hwnd, h); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObjectCloser>;
using UniquePalette = UniqueHandle<HPALETTE, DeleteObjectCloser>;
using UniqueRegion = UniqueHandle<HRGN, DeleteObjectCloser>;
using UniqueFont = UniqueHandle<HFONT, DeleteObjectCloser>;
using UniqueCreatedDc = UniqueHandle<HDC, DeleteDcCloser>;  // CreateDC, CreateCompatibleDC
using UniqueProcess = UniqueHandle<HANDLE, CloseHandleCloser>;  // also a thread
using UniqueFile = UniqueHandle<HANDLE, CloseHandleCloser, InvalidHandleIsNone>;
using UniqueKey = UniqueHandle<HKEY, RegCloseKeyCloser>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListCloser>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalFreeCloser>;
using UniqueHook = UniqueHandle<HHOOK, UnhookCloser>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenuCloser>;  // a menu no window holds
// Memory the system allocated for the caller: LocalAlloc'd (a formatted message), and
// the task allocator's (a known folder's path).
template <typename T>
using UniqueLocal = UniqueHandle<T*, LocalFreeCloser>;
template <typename T>
using UniqueCoTaskMem = UniqueHandle<T*, CoTaskMemFreeCloser>;

// A device context borrowed from a window (GetDC / GetWindowDC): remembers its window
// so that ReleaseDC gets both.
class UniqueWindowDc : public UniqueHandle<HDC, ReleaseDcCloser> {
public:
    using UniqueHandle::UniqueHandle;
    static UniqueWindowDc Client(HWND hwnd) { return UniqueWindowDc(::GetDC(hwnd), ReleaseDcCloser{hwnd}); }
    static UniqueWindowDc Whole(HWND hwnd) { return UniqueWindowDc(::GetWindowDC(hwnd), ReleaseDcCloser{hwnd}); }
};

// A display context for the whole screen (all monitors).
inline UniqueCreatedDc DisplayDc() { return UniqueCreatedDc(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr)); }

// A movable global memory block locked for the life of the guard.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) : memory_(memory), data_(memory ? ::GlobalLock(memory) : nullptr) {}
    ~GlobalLockGuard() {
        if (data_) ::GlobalUnlock(memory_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    void* data() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

// An object selected into a device context: the guard holds what was selected before
// and puts it back when it goes or is reset. Movable, so an object can keep its bitmap
// selected for as long as it lives.
struct SelectBackCloser {
    HDC dc = nullptr;
    void operator()(HGDIOBJ previous) const { ::SelectObject(dc, previous); }
};
class SelectGuard : public UniqueHandle<HGDIOBJ, SelectBackCloser> {
public:
    SelectGuard() = default;
    SelectGuard(HDC dc, HGDIOBJ object) : UniqueHandle(dc ? ::SelectObject(dc, object) : nullptr, SelectBackCloser{dc}) {}
};

// Selects and realises a palette and puts the previous one back; `background` as
// SelectPalette's bForceBackground.
class PaletteGuard {
public:
    PaletteGuard(HDC dc, HPALETTE palette, bool background = false)
        : dc_(dc), previous_(dc && palette ? ::SelectPalette(dc, palette, background) : nullptr),
          background_(background) {
        if (previous_) ::RealizePalette(dc_);
    }
    ~PaletteGuard() {
        if (previous_) ::SelectPalette(dc_, previous_, background_);
    }
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
    BOOL background_;
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
