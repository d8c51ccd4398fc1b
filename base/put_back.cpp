// Giving a captured window back to the desktop as it was.
#include "base/put_back.h"

namespace {

bool InShowState(HWND window, UINT showCmd) {
    switch (showCmd) {
    case SW_SHOWMAXIMIZED:
        return IsZoomed(window) != FALSE;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        return IsIconic(window) != FALSE;
    default:
        return !IsZoomed(window) && !IsIconic(window);
    }
}

}  // namespace

void PutBackOnDesktop(HWND window, LONG style, LONG exStyle, const RECT& screenRect,
                      UINT showCmd) {
    ShowWindow(window, SW_HIDE);
    SetParent(window, nullptr);
    // The maximised or minimised bit stays: with it the system keeps the
    // normal rectangle it knew before the capture.
    SetWindowLongA(window, GWL_STYLE, style & ~WS_VISIBLE);
    SetWindowLongA(window, GWL_EXSTYLE, exStyle);
    const RECT& r = screenRect;
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    ShowWindow(window, static_cast<int>(showCmd));
    // On a loaded machine the display's late answer to the move can undo the
    // maximise under Wine; the state is asked for once more then.
    if (!InShowState(window, showCmd)) ShowWindow(window, static_cast<int>(showCmd));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}
