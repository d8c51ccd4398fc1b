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

// Over no window of the program the drop gives the window back there.
HCURSOR DragOutCursor() {
    static HCURSOR cursor =
        LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_TABDRAGOUT));
    return cursor;
}

bool OwnProcess(HWND window) {
    DWORD process = 0;
    return window && GetWindowThreadProcessId(window, &process) &&
           process == GetCurrentProcessId();
}

}  // namespace

TabDrag::TabDrag(HWND tabControl, int dragged) : tabControl_(tabControl) {
    SendMessageA(tabControl_, TCM_GETITEMRECT, dragged, reinterpret_cast<LPARAM>(&tabRect_));
    SetCapture(tabControl_);
}

TabDrag::~TabDrag() {
    if (GetCapture() == tabControl_) ReleaseCapture();
}

std::optional<POINT> TabDrag::Follow() {
    POINT at{};
    bool cancelled = false;
    for (bool down = true; down && !cancelled;) {
        MSG msg;
        // Taken off the queue so that Wine keeps the button state current.
        while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            if (msg.message == WM_LBUTTONUP) down = false;
        }
        // Keys typed during a drag are the drag's: Escape ends it, the
        // others go nowhere. The key's own state counts too, for a press
        // that went to a captured window of another program.
        while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) cancelled = true;
        }
        if (GetAsyncKeyState(VK_ESCAPE) < 0) cancelled = true;
        if (GetAsyncKeyState(VK_LBUTTON) >= 0 || GetCapture() != tabControl_) down = false;
        GetCursorPos(&at);
        POINT client = at;
        ScreenToClient(tabControl_, &client);
        if (!PtInRect(&tabRect_, client)) {
            SetCursor(OutsideProgram(at) ? DragOutCursor() : DragCursor());
        }
        if (down && !cancelled) WaitAnsweringSentMessages(kPollMs, QS_MOUSE | QS_KEY);
    }
    if (cancelled) return std::nullopt;
    return at;
}

// A captured window belongs to another program but lies inside one of ours.
bool TabDrag::OutsideProgram(POINT screenPoint) {
    const HWND window = WindowFromPoint(screenPoint);
    return !OwnProcess(window) && !OwnProcess(GetAncestor(window, GA_ROOT));
}

// The property alone proves nothing: a window of another program may carry
// one of the same name, and its value is no address in this process.
cTab* TabDrag::PaneAt(POINT screenPoint) {
    const HWND window = WindowFromPoint(screenPoint);
    if (!OwnProcess(window)) return nullptr;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    const bool paneClass = lstrcmpiA(className, tab_ids::kBaseClass) == 0 ||
                           lstrcmpiA(className, tab_ids::kDisplayAreaClass) == 0 ||
                           lstrcmpiA(className, tab_ids::kHeaderClassName) == 0 ||
                           lstrcmpiA(className, WC_TABCONTROLA) == 0;
    if (!paneClass) return nullptr;
    return static_cast<cTab*>(GetPropA(window, tab_ids::kPaneProperty));
}
