// The scale of the monitor a window is on. Sizes are designed at 96 dpi,
// and stored values (grip, tab width, placement) stay in those units: they
// are scaled here when a window is laid out or drawn. Header-only, so the
// delivered tools, which link nothing of the program, can scale too.
#pragma once

#include "base/handles.h"

#include <windows.h>

namespace dpi {

// The dpi every fixed size in the program was designed for.
constexpr int kDesign = 96;

// value designed at 96 dpi, at dpi.
inline int Scale(int value, int dpi) { return MulDiv(value, dpi, kDesign); }

// The functions of Windows 10 are looked up once: Windows 7 and 8 have none
// of them, and Wine 8 lacks some.
struct User32Dpi {
    UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
    int(WINAPI* systemMetricsForDpi)(int, UINT) = nullptr;
    // DPI_HOSTING_BEHAVIOR is an int-sized enum.
    int(WINAPI* setThreadHosting)(int) = nullptr;

    User32Dpi() {
        const HMODULE user32 = GetModuleHandleA("user32.dll");
        if (!user32) return;
        dpiForWindow = reinterpret_cast<decltype(dpiForWindow)>(
            reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
        systemMetricsForDpi = reinterpret_cast<decltype(systemMetricsForDpi)>(
            reinterpret_cast<void*>(GetProcAddress(user32, "GetSystemMetricsForDpi")));
        setThreadHosting = reinterpret_cast<decltype(setThreadHosting)>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiHostingBehavior")));
    }
};

inline const User32Dpi& Functions() {
    static const User32Dpi functions;
    return functions;
}

// The screen's dpi, which a system-aware process (Windows 7 and 8) uses for
// every window.
inline int ScreenDpi() {
    const WindowDC screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDesign;
}

// The dpi of the monitor window is on; the screen's for none.
inline int ForWindow(HWND window) {
    if (window && Functions().dpiForWindow) {
        const UINT dpi = Functions().dpiForWindow(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

// value designed at 96 dpi, for window.
inline int ScaleFor(HWND window, int value) { return Scale(value, ForWindow(window)); }

// GetSystemMetrics at dpi, where Windows can tell; the screen's otherwise.
inline int SystemMetric(int index, int dpi) {
    if (Functions().systemMetricsForDpi) {
        return Functions().systemMetricsForDpi(index, static_cast<UINT>(dpi));
    }
    return GetSystemMetrics(index);
}

// Lets the calling thread's windows hold windows of another DPI awareness
// (Windows 10 1803 and later); elsewhere nothing changes.
inline void AllowMixedHosting() {
    constexpr int kMixed = 1;  // DPI_HOSTING_BEHAVIOR_MIXED
    if (Functions().setThreadHosting) Functions().setThreadHosting(kMixed);
}

}  // namespace dpi
