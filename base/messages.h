// The system's private window messages and timer ids, in one place.
#pragma once

#include "inputtap/inputtap.h"

#include <windows.h>

inline constexpr UINT PM_TOOLMOVEITEM = WM_USER;  // tools page: move a row between lists
inline constexpr UINT PM_FOREGROUNDACTIVE = WM_USER + 1;  // tab control: bring the selected window forward
inline constexpr UINT PM_ADDWINDOW = WM_USER + 3;  // main window: capture lParam; 1 captured, 0 refused
inline constexpr UINT PM_MOVETAB = WM_USER + 3;  // pane base window: lParam 1 into the child, 0 back
inline constexpr UINT PM_PRELAUNCH = WM_USER + 5;  // shortcut window: lParam path about to launch
inline constexpr UINT PM_LAUNCHED = WM_USER + 6;  // shortcut window: wParam 1 started, 0 failed; lParam process id or 0
inline constexpr UINT PM_HOOKCOMMAND = WM_USER + 13;  // main window: desktop-wide accelerator, wParam id
inline constexpr UINT PM_HOOKWHEEL = WM_USER + 14;  // main window: wheel, wParam as WM_MOUSEWHEEL
inline constexpr UINT PM_HOOKGESTURE = WM_USER + 15;  // main window: cursor x, y for gestures
inline constexpr UINT PM_NEWWINDOW = WM_USER + 16;  // main window: lParam a new top-level window
inline constexpr UINT PM_APPLYSETTINGS = WM_USER + 17;  // main window: apply all settings
inline constexpr UINT PM_TRAYNOTIFY = WM_USER + 18;  // main window: notification-area icon callback
inline constexpr UINT PM_WINDOWSHOWN = WM_USER + 19;  // main window: lParam a top-level window that showed
inline constexpr UINT PM_CHILDGONE = WM_USER + 53;  // display area: wParam record whose window died
inline constexpr UINT PM_EXECCOMMAND = WM_USER + 72;  // main window: wParam id, lParam menu; 1 handled
inline constexpr UINT PM_POPUPMAINMENU = WM_USER + 73;  // main window: pop up the main menu
inline constexpr UINT PM_TOOLFILEFOUND = WM_USER + 103;  // tools page: lParam a ".ttl" path

// The hook library reports with the same numbers.
static_assert(PM_HOOKCOMMAND == INPUTTAP_REPORT_COMMAND);
static_assert(PM_HOOKWHEEL == INPUTTAP_REPORT_WHEEL);
static_assert(PM_HOOKGESTURE == INPUTTAP_REPORT_MOVE);
static_assert(PM_NEWWINDOW == INPUTTAP_REPORT_NEWWINDOW);
static_assert(PM_WINDOWSHOWN == INPUTTAP_REPORT_SHOWNWINDOW);

// Timers of the main window.
inline constexpr UINT_PTR kGestureForgetTimer = 116;
inline constexpr UINT_PTR kMenuDataTimer = 1000;
inline constexpr UINT_PTR kSessionRestoreTimer = 1001;
