// Following a dragged tab.
#include "tabs/tab_drag.h"

#include "base/sent_messages.h"
#include "resources/resource_ids.h"
#include "tabs/tab_ids.h"

#include <commctrl.h>

namespace {

// How long the drag waits for the pointer between two looks at it.
constexpr DWORD kPollMs = 20;

HCURSOR DragCursor() {
    static HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_TABDRAG));
    return cursor;
}

}  // namespace

TabDrag::TabDrag(HWND tabControl, int dragged) : tabControl_(tabControl) {
    SendMessageA(tabControl_, TCM_GETITEMRECT, dragged, reinterpret_cast<LPARAM>(&tabRect_));
    SetCapture(tabControl_);
}

TabDrag::~TabDrag() {
    if (GetCapture() == tabControl_) ReleaseCapture();
}

POINT TabDrag::Follow() {
    POINT at{};
    for (bool down = true; down;) {
        MSG msg;
        // Taken off the queue so that Wine keeps the button state current.
        while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            if (msg.message == WM_LBUTTONUP) down = false;
        }
        if (GetAsyncKeyState(VK_LBUTTON) >= 0 || GetCapture() != tabControl_) down = false;
        GetCursorPos(&at);
        POINT client = at;
        ScreenToClient(tabControl_, &client);
        if (!PtInRect(&tabRect_, client)) SetCursor(DragCursor());
        if (down) WaitAnsweringSentMessages(kPollMs, QS_MOUSE);
    }
    return at;
}

// The property alone proves nothing: a window of another program may carry
// one of the same name, and its value is no address in this process.
cTab* TabDrag::PaneAt(POINT screenPoint) {
    const HWND window = WindowFromPoint(screenPoint);
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process) ||
        process != GetCurrentProcessId()) {
        return nullptr;
    }
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    const bool paneClass = lstrcmpiA(className, tab_ids::kBaseClass) == 0 ||
                           lstrcmpiA(className, tab_ids::kDisplayAreaClass) == 0 ||
                           lstrcmpiA(className, tab_ids::kHeaderClassName) == 0 ||
                           lstrcmpiA(className, WC_TABCONTROLA) == 0;
    if (!paneClass) return nullptr;
    return static_cast<cTab*>(GetPropA(window, tab_ids::kPaneProperty));
}
