// Small owners for Windows handles, so that no code path can forget one.
//
// Each alias names what is released and how; the owner is move-only.
#pragma once

#include <windows.h>

#include <utility>

template <typename T, typename Deleter, T Null = T{}>
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
    explicit operator bool() const { return value_ != Null; }
    T release() { return std::exchange(value_, Null); }
    void reset(T value = Null) {
        if (value_ != Null) Deleter{}(value_);
        value_ = value;
    }

private:
    T value_ = Null;
};

struct CloseHandleDeleter { void operator()(HANDLE h) const { CloseHandle(h); } };
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
