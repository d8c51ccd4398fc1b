// Small owners for Windows handles and COM interfaces, so that no code path
// can forget one. Header-only: the hook library and the delivered tools,
// which link nothing of the program, use them too.
//
// Each alias names what is released and how; the owner is move-only.
#pragma once

#include <windows.h>

#include <utility>

// Most handles say "none" with zero.
template <typename T>
struct ZeroIsNone {
    static T none() { return T{}; }
    static bool valid(T value) { return value != T{}; }
};

// CreateFile, FindFirstFile and CreateToolhelp32Snapshot say "none" with
// INVALID_HANDLE_VALUE, which is no constant a template can take, and which
// must never reach CloseHandle: it is also the process's own pseudo handle.
struct InvalidHandleIsNone {
    static HANDLE none() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE value) { return value != INVALID_HANDLE_VALUE; }
};

template <typename T, typename Deleter, typename Null = ZeroIsNone<T>>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return Null::valid(value_); }
    T release() { return std::exchange(value_, Null::none()); }
    void reset(T value = Null::none()) {
        if (Null::valid(value_)) Deleter{}(value_);
        value_ = value;
    }

private:
    T value_ = Null::none();
};

struct CloseHandleDeleter { void operator()(HANDLE h) const { CloseHandle(h); } };
struct FindCloseDeleter { void operator()(HANDLE h) const { FindClose(h); } };
struct GdiObjectDeleter { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct IconDeleter { void operator()(HICON h) const { DestroyIcon(h); } };
struct MenuDeleter { void operator()(HMENU h) const { DestroyMenu(h); } };
struct ModuleDeleter { void operator()(HMODULE h) const { FreeLibrary(h); } };
struct HookDeleter { void operator()(HHOOK h) const { UnhookWindowsHookEx(h); } };
struct WindowDeleter { void operator()(HWND h) const { DestroyWindow(h); } };
struct DcDeleter { void operator()(HDC h) const { DeleteDC(h); } };
struct AcceleratorDeleter { void operator()(HACCEL h) const { DestroyAcceleratorTable(h); } };

// A kernel handle whose "none" is null (processes, threads, events, mutexes).
using UniqueHandle = UniqueResource<HANDLE, CloseHandleDeleter>;
// A file from CreateFile; also a toolhelp snapshot, which is closed alike.
using UniqueFile = UniqueResource<HANDLE, CloseHandleDeleter, InvalidHandleIsNone>;
using UniqueSnapshot = UniqueFile;
// A search from FindFirstFile.
using UniqueFind = UniqueResource<HANDLE, FindCloseDeleter, InvalidHandleIsNone>;
using UniqueGdiObject = UniqueResource<HGDIOBJ, GdiObjectDeleter>;
using UniqueBrush = UniqueResource<HBRUSH, GdiObjectDeleter>;
using UniqueFont = UniqueResource<HFONT, GdiObjectDeleter>;
using UniquePen = UniqueResource<HPEN, GdiObjectDeleter>;
using UniqueBitmap = UniqueResource<HBITMAP, GdiObjectDeleter>;
using UniqueIcon = UniqueResource<HICON, IconDeleter>;
using UniqueMenu = UniqueResource<HMENU, MenuDeleter>;
using UniqueModule = UniqueResource<HMODULE, ModuleDeleter>;
using UniqueHook = UniqueResource<HHOOK, HookDeleter>;
using UniqueWindow = UniqueResource<HWND, WindowDeleter>;
// A device context made by CreateCompatibleDC or CreateDC.
using UniqueDC = UniqueResource<HDC, DcDeleter>;
using UniqueAccelerators = UniqueResource<HACCEL, AcceleratorDeleter>;

// A COM interface pointer holding one reference, given back with Release.
template <typename T>
class UniqueCom {
public:
    UniqueCom() = default;
    ~UniqueCom() { reset(); }

    UniqueCom(const UniqueCom&) = delete;
    UniqueCom& operator=(const UniqueCom&) = delete;
    UniqueCom(UniqueCom&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    UniqueCom& operator=(UniqueCom&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    void reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

    // For a function that hands out a reference through T** (or void**, as
    // CoCreateInstance and QueryInterface do): what was held goes first.
    T** put() {
        reset();
        return &pointer_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

private:
    T* pointer_ = nullptr;
};

// A window's device context from GetDC: it goes back to the window it came
// from, so the owner keeps both.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The device context of a WM_PAINT, from BeginPaint to EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A DC's state (colours, alignment, selected objects) from SaveDC until the
// owner goes: a drawing for someone else's DC leaves it as it found it.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDCState() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// An object selected into a DC for a while: the one it replaced goes back
// in, so the object can be deleted afterwards. Declare it after the owner of
// the object, so that it is undone first.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
