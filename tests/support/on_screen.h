// Windows as the screen shows them, for tests of controls in windows of
// their own: where a window sits, what a pixel shows, a tab's text, a plain
// frame to hold the control, and the real mouse pointing and clicking.
#pragma once

#include "base/handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// window's rectangle in reference's client coordinates.
RECT RectIn(HWND window, HWND reference);
std::string RectText(const RECT& r);
// A GoogleTest failure naming what when actual is not expected.
void ExpectRect(const RECT& actual, const RECT& expected, const std::string& what);

COLORREF PixelOf(HWND window, int x, int y);
POINT ScreenPoint(HWND window, int x, int y);
POINT CentreOnScreen(HWND window);

// The shown top-level windows of process (0: of any) of class className and,
// unless it is empty, of title title; the topmost first.
std::vector<HWND> ShownTopLevelWindows(DWORD process, const std::string& className,
                                       const std::string& title = "");

// The text of tab index of a tab control.
std::string TabText(HWND tabControl, int index);
// The same as the control keeps it, in UTF-16 (TCM_GETITEMW).
std::wstring TabTextW(HWND tabControl, int index);

// A visible top-level window of class className (registered here with proc,
// the arrow cursor and the button face) that clips its children.
UniqueWindow OpenFrame(const char* className, WNDPROC proc, const char* title, int x, int y,
                       int width, int height);

// One mouse button event (MOUSEEVENTF_LEFTDOWN, ...) at the pointer.
void MouseButton(DWORD flag);
// SetCursorPos, and waits until the pointer is there: under Wine, moves
// injected with SendInput do not move it while a low-level mouse hook is
// installed.
bool PlaceCursor(POINT at);
// A press and release at a point of the screen.
void ClickAt(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);

}  // namespace testing_support
