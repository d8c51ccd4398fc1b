// inputtap: watches the desktop for new top-level windows and for those that
// show, keys and mouse input on behalf of one window, and reports to it by
// posted messages.
//
// Undecorated cdecl functions, so that any caller can bind them by name.
#pragma once

#include <windows.h>

#ifdef INPUTTAP_BUILD
#define INPUTTAP_API extern "C" __declspec(dllexport)
#else
#define INPUTTAP_API extern "C" __declspec(dllimport)
#endif

// Reports posted to the window given to INPUTTAP_SetHWND.
enum : UINT {
    INPUTTAP_REPORT_COMMAND = WM_USER + 13,  // wParam: command id; lParam 0
    INPUTTAP_REPORT_WHEEL = WM_USER + 14,    // wParam as WM_MOUSEWHEEL (high word: delta)
    INPUTTAP_REPORT_MOVE = WM_USER + 15,     // wParam: cursor x; lParam: cursor y (screen)
    INPUTTAP_REPORT_NEWWINDOW = WM_USER + 16, // lParam: the new top-level window
    INPUTTAP_REPORT_SHOWNWINDOW = WM_USER + 19 // lParam: the top-level window that showed
};

enum : int {
    INPUTTAP_MOUSE_WHEEL = 1,
    INPUTTAP_MOUSE_MOVE = 2
};

inline constexpr int INPUTTAP_ACCEL_SLOTS = 21;

INPUTTAP_API void __cdecl INPUTTAP_SetHWND(HWND target);
// New-window watch: a report for every new top-level window of another process,
// and one whenever such a window shows. Windows reports every show; Wine 8
// only those an application raises itself (NotifyWinEvent), so a receiver
// must not count on them.
INPUTTAP_API BYTE __cdecl INPUTTAP_Start();
INPUTTAP_API void __cdecl INPUTTAP_End();
INPUTTAP_API BYTE __cdecl INPUTTAP_IsAttached();
// 21 entries, used ones first, the rest zero; copied, so valid only during the call.
INPUTTAP_API void __cdecl INPUTTAP_SetAccelKey(const ACCEL* keys);
INPUTTAP_API void __cdecl INPUTTAP_AccelStart();
INPUTTAP_API void __cdecl INPUTTAP_AccelEnd();
INPUTTAP_API void __cdecl INPUTTAP_MouseStart(int flags);
INPUTTAP_API void __cdecl INPUTTAP_MouseEnd();
// Major version in the high byte, minor in the low byte.
INPUTTAP_API WORD __cdecl INPUTTAP_GetVersion();
