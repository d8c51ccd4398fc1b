// The capture loop. A captured window is no longer top-level, so searching
// for the class again finds the next one; a window that stays top-level
// would be found again for ever. The loop therefore ends
//  - when the main window refuses a window (an owned window, an instance of
//    Panelry itself): the search always finds the topmost window of the
//    class first, so the ones behind a refused window cannot be reached
//    anyway, and stopping at once is the plain answer;
//  - when a window already asked about is found again: a main window busy
//    answering another application takes the request for later and says
//    yes while the window is still on the desktop, so a yes alone does not
//    prove that the search moves on.
#include "plugins/classadd/class_capture.h"

#include "plugins/host/tool_plugin.h"

#include <algorithm>
#include <vector>

namespace {

bool Asked(const std::vector<HWND>& asked, HWND window) {
    return std::find(asked.begin(), asked.end(), window) != asked.end();
}

// The main window takes only visible windows; a hidden one is shown for the
// capture and hidden again when it is refused.
bool AskToCapture(HWND mainWindow, HWND window) {
    const bool hidden = !IsWindowVisible(window);
    if (hidden) ShowWindow(window, SW_SHOWNOACTIVATE);
    const bool captured =
        SendMessageA(mainWindow, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)) != 0;
    if (!captured && hidden && IsWindow(window)) ShowWindow(window, SW_HIDE);
    return captured;
}

}  // namespace

int CaptureWindowsOfClass(HWND mainWindow, const char* className) {
    std::vector<HWND> asked;
    int captured = 0;
    for (;;) {
        const HWND found = FindWindowA(className, nullptr);
        if (!found || Asked(asked, found)) break;
        asked.push_back(found);
        if (!AskToCapture(mainWindow, found)) break;
        ++captured;
    }
    return captured;
}
