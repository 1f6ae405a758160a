#pragma once
// Owners of platform resources: one small move-only type per kind, all with
// the same verbs (get, put, release, reset, explicit bool). The raw release
// calls of the platform (SysFreeString, VariantClear, Release, DestroyWindow,
// RegCloseKey, CloseHandle, DeleteObject, ReleaseDC, CoTaskMemFree,
// DragFinish, GlobalFree, GlobalUnlock, CloseClipboard) appear only in this
// file.

#include <windows.h>
#include <oleauto.h>
#include <objbase.h>
#include <shellapi.h>
#include <shtypes.h>

#include <cstdint>
#include <utility>

namespace torvane {

// Generic owner of a handle-like value with a close function.
template <typename T, typename Traits> class UniqueResource {
public:
    UniqueResource() noexcept = default;
    explicit UniqueResource(T value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    T get() const noexcept { return value_; }
    // Frees the current value and returns the slot for an out parameter.
    T* put() noexcept {
        reset();
        return &value_;
    }
    T release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid()) noexcept {
        T old = std::exchange(value_, value);
        if (old != Traits::invalid()) Traits::close(old);
    }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

private:
    T value_ = Traits::invalid();
};

struct BstrTraits {
    static BSTR invalid() noexcept { return nullptr; }
    static void close(BSTR s) noexcept { ::SysFreeString(s); }
};
struct HwndTraits {
    static HWND invalid() noexcept { return nullptr; }
    static void close(HWND h) noexcept { ::DestroyWindow(h); }
};
struct HkeyTraits {
    static HKEY invalid() noexcept { return nullptr; }
    static void close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct HandleTraits {
    static HANDLE invalid() noexcept { return nullptr; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct HdropTraits {
    static HDROP invalid() noexcept { return nullptr; }
    static void close(HDROP h) noexcept { ::DragFinish(h); }
};
struct GdiTraits {
    static HGDIOBJ invalid() noexcept { return nullptr; }
    static void close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};

struct HglobalTraits {
    static HGLOBAL invalid() noexcept { return nullptr; }
    static void close(HGLOBAL h) noexcept { ::GlobalFree(h); }
};

// Shell item lists (SHGetSpecialFolderLocation and kin) come from the task
// allocator, which is also the shell's allocator.
struct ItemIdListTraits {
    static ITEMIDLIST* invalid() noexcept { return nullptr; }
    static void close(ITEMIDLIST* p) noexcept { ::CoTaskMemFree(p); }
};

using UniqueBstr = UniqueResource<BSTR, BstrTraits>;
using UniqueHwnd = UniqueResource<HWND, HwndTraits>;
using UniqueHkey = UniqueResource<HKEY, HkeyTraits>;
using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;    // process, event ...
using UniqueFile = UniqueResource<HANDLE, FileHandleTraits>;  // CreateFile results
using UniqueGdiObject = UniqueResource<HGDIOBJ, GdiTraits>;
using UniqueItemIdList = UniqueResource<ITEMIDLIST*, ItemIdListTraits>;
using UniqueHdrop = UniqueResource<HDROP, HdropTraits>;        // a drop from the shell (WM_DROPFILES)
using UniqueHglobal = UniqueResource<HGLOBAL, HglobalTraits>;  // GlobalAlloc blocks not yet handed on

// A window's display context (GetDC) for the scope that measures with it,
// given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A global memory block locked for the scope (GlobalLock); get() is null
// when the lock failed.
class GlobalLocked {
public:
    explicit GlobalLocked(HGLOBAL block) noexcept : block_(block), p_(block ? ::GlobalLock(block) : nullptr) {}
    GlobalLocked(const GlobalLocked&) = delete;
    GlobalLocked& operator=(const GlobalLocked&) = delete;
    ~GlobalLocked() {
        if (p_) ::GlobalUnlock(block_);
    }
    void* get() const noexcept { return p_; }

private:
    HGLOBAL block_;
    void* p_;
};

// The clipboard while this thread holds it open: give it a successful
// OpenClipboard, and it closes the clipboard at the end of the scope.
class ClipboardOpened {
public:
    ClipboardOpened() noexcept = default;
    ClipboardOpened(const ClipboardOpened&) = delete;
    ClipboardOpened& operator=(const ClipboardOpened&) = delete;
    ~ClipboardOpened() {
        if (open_) ::CloseClipboard();
    }
    void opened() noexcept { open_ = true; }
    explicit operator bool() const noexcept { return open_; }

private:
    bool open_ = false;
};

// An owned VARIANT: initialised empty, cleared on destruction. Values that
// own nothing (numbers, dates, by-reference values) are dropped without a
// call into the platform: this type sits on the path of every member call.
class Variant {
public:
    Variant() noexcept { v_.vt = VT_EMPTY; }
    Variant(Variant&& other) noexcept : v_(other.v_) { other.v_.vt = VT_EMPTY; }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            reset();
            v_ = other.v_;
            other.v_.vt = VT_EMPTY;
        }
        return *this;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { reset(); }

    const VARIANT& get() const noexcept { return v_; }
    VARIANT* ptr() noexcept { return &v_; }
    // Clears the current value and returns the VARIANT for an out parameter.
    VARIANT* put() noexcept {
        reset();
        return &v_;
    }
    // Hands the value to the caller (who must clear it) and leaves this empty.
    void release_to(VARIANT* out) noexcept {
        *out = v_;
        v_.vt = VT_EMPTY;
    }
    void reset() noexcept {
        if (owns_something(v_.vt)) ::VariantClear(&v_);
        v_.vt = VT_EMPTY;
    }
    VARTYPE vt() const noexcept { return v_.vt; }

    static Variant null() noexcept {
        Variant v;
        v.v_.vt = VT_NULL;
        return v;
    }
    static Variant i2(SHORT value) noexcept {
        Variant v;
        v.v_.vt = VT_I2;
        v.v_.iVal = value;
        return v;
    }
    static Variant i4(LONG value) noexcept {
        Variant v;
        v.v_.vt = VT_I4;
        v.v_.lVal = value;
        return v;
    }
    static Variant date(DATE value) noexcept {
        Variant v;
        v.v_.vt = VT_DATE;
        v.v_.date = value;
        return v;
    }
    // Takes ownership of an automation string.
    static Variant bstr(UniqueBstr s) noexcept {
        Variant v;
        v.v_.vt = VT_BSTR;
        v.v_.bstrVal = s.release();
        return v;
    }

private:
    static bool owns_something(VARTYPE vt) noexcept {
        // The scalar types below VT_BSTR and the other plain ones, as a bit set.
        constexpr std::uint64_t plain = (1ull << VT_EMPTY) | (1ull << VT_NULL) | (1ull << VT_I2) | (1ull << VT_I4) |
                                        (1ull << VT_R4) | (1ull << VT_R8) | (1ull << VT_CY) | (1ull << VT_DATE) |
                                        (1ull << VT_ERROR) | (1ull << VT_BOOL) | (1ull << VT_DECIMAL) |
                                        (1ull << VT_I1) | (1ull << VT_UI1) | (1ull << VT_UI2) | (1ull << VT_UI4) |
                                        (1ull << VT_I8) | (1ull << VT_UI8) | (1ull << VT_INT) | (1ull << VT_UINT);
        if (vt & VT_BYREF) return false;
        // Arrays, strings, objects, records and anything unknown: the platform decides.
        return vt >= 64 || !((plain >> vt) & 1);
    }
    VARIANT v_;
};

// A counted interface pointer.
template <typename I> class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    ComPtr(const ComPtr& other) noexcept : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    // Takes over a reference the caller already holds (an object fresh from
    // its constructor, whose count starts at 1).
    static ComPtr adopt(I* p) noexcept {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    // Adds a reference of its own.
    static ComPtr share(I* p) noexcept {
        if (p) p->AddRef();
        return adopt(p);
    }

    I* get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    I** put() noexcept {
        reset();
        return &p_;
    }
    I* release() noexcept { return std::exchange(p_, nullptr); }
    void reset() noexcept {
        if (I* old = std::exchange(p_, nullptr)) old->Release();
    }
    explicit operator bool() const noexcept { return p_ != nullptr; }

private:
    I* p_ = nullptr;
};

}  // namespace torvane
