// Capture, release, and what a record can tell of its window.
#include "tabs/captured_window.h"

#include "base/handles.h"
#include "base/messages.h"
#include "base/put_back.h"
#include "base/rescue_table.h"
#include "inputtap/inputtap.h"
#include "tabs/close_requests.h"
#include "tabs/process_watch.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>

namespace {

RECT WorkAreaOffset(const RECT& around) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromRect(&around, MONITOR_DEFAULTTOPRIMARY), &info);
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top, 0, 0};
}

// Windows reports the normal position of a top-level window in workspace
// coordinates (relative to the work area); Wine reports screen coordinates.
// A window of our own at a known place tells which this platform does.
bool PlacementUsesWorkspace(HINSTANCE instance) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    const int x = info.rcWork.left + 20, y = info.rcWork.top + 20;
    UniqueWindow probe(CreateWindowExA(0, WC_STATICA, "", WS_OVERLAPPED, x, y, 50, 50, nullptr,
                                       nullptr, instance, nullptr));
    if (!probe) return false;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(probe.get(), &placement);
    return placement.rcNormalPosition.left != x || placement.rcNormalPosition.top != y;
}

// The saved normal position as a rectangle on the screen.
RECT NormalRectOnScreen(HWND window, const WINDOWPLACEMENT& placement, LONG exStyle) {
    RECT rect = placement.rcNormalPosition;
    if (!IsIconic(window) && !IsZoomed(window)) {
        // Shown normally: where it is now is its normal position, exactly.
        GetWindowRect(window, &rect);
        return rect;
    }
    if (exStyle & WS_EX_TOOLWINDOW) return rect;  // always screen coordinates
    const RECT offset = WorkAreaOffset(rect);
    if ((offset.left || offset.top) && PlacementUsesWorkspace(GetModuleHandleA(nullptr))) {
        OffsetRect(&rect, offset.left, offset.top);
    }
    return rect;
}

BOOL CALLBACK PostToChild(HWND child, LPARAM data) {
    const auto* message = reinterpret_cast<const MSG*>(data);
    PostMessageA(child, message->message, message->wParam, message->lParam);
    return TRUE;
}

}  // namespace

CapturedWindow::CapturedWindow(HWND window, HWND displayArea)
    : window_(window), processWatch_(process_watch::Watch(window)) {
    // The extended style first: changing the style recomputes WS_EX_WINDOWEDGE.
    savedStyle_ = GetWindowLongA(window, GWL_STYLE);
    savedExStyle_ = GetWindowLongA(window, GWL_EXSTYLE);
    savedPlacement_.length = sizeof savedPlacement_;
    // Before hiding, so the show command says normal, maximised or minimised.
    GetWindowPlacement(window, &savedPlacement_);
    screenRect_ = NormalRectOnScreen(window, savedPlacement_, savedExStyle_);
    // Entered before anything changes, so a failure from here on gives it
    // back; claimed until the capture is done, so that a rescue pass still
    // at work does not give it back halfway and see it captured again.
    rescueSlot_ = rescue::Enter(window, savedStyle_, savedExStyle_, screenRect_,
                                savedPlacement_.showCmd);

    ShowWindow(window, SW_HIDE);
    SetWindowLongA(window, GWL_STYLE, savedStyle_ & ~kRemovedStyles);
    SetParent(window, displayArea);
    // Not activated here: the window keeps no WS_CHILD, so it would become
    // the active window and bring Panelry to the foreground; whether a
    // capture does that is the pane's to decide.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    lastActivated_ = timeGetTime();
    rescue::Settle(rescueSlot_);
}

CapturedWindow::~CapturedWindow() { Release(); }

void CapturedWindow::Release() {
    // Claimed for the release and taken out of the table once it is done: a
    // rescue neither gives the window back halfway nor touches it later. A
    // window a rescue took is only forgotten.
    const bool ours = rescue::Claim(rescueSlot_);
    processWatch_.reset();
    if (!ours || !window_ || !IsWindow(window_)) {
        rescue::Withdraw(rescueSlot_);
        rescueSlot_ = -1;
        window_ = nullptr;
        return;
    }
    // The window reappearing on the desktop is not a new window to capture.
    const bool watching = INPUTTAP_IsAttached() != 0;
    INPUTTAP_End();

    // Not SetWindowPlacement: Wine refuses it for another process's window.
    PutBackOnDesktop(window_, savedStyle_, savedExStyle_, screenRect_, savedPlacement_.showCmd);
    SetForegroundWindow(window_);

    rescue::Withdraw(rescueSlot_);
    rescueSlot_ = -1;
    if (watching) INPUTTAP_Start();
    window_ = nullptr;
}

namespace {

// rect moved to topLeft, then back as far as it takes to lie on the work
// area of the monitor there (its top-left corner first, when it is larger).
RECT MovedOntoWorkArea(const RECT& rect, POINT topLeft) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(topLeft, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    const LONG x = std::max(area.left, std::min(topLeft.x, area.right - width));
    const LONG y = std::max(area.top, std::min(topLeft.y, area.bottom - height));
    return RECT{x, y, x + width, y + height};
}

}  // namespace

// A maximised window keeps its bit: it is maximised again on the monitor of
// the point.
void CapturedWindow::ReleaseAt(POINT topLeft) {
    screenRect_ = MovedOntoWorkArea(screenRect_, topLeft);
    Release();
}

void CapturedWindow::CloseWindow(bool releaseFirst) {
    const HWND window = window_;
    closeAskedAt_ = timeGetTime();
    if (releaseFirst) Release();
    // The application may ask its user first: asked in turn, not waited for.
    CloseRequests::Instance().Ask(window);
}

bool CapturedWindow::Rescued() const { return rescue::Taken(rescueSlot_); }

// The rescue table's entry stays as it is: same window, same saved state.
void CapturedWindow::MoveTo(HWND newDisplayArea) {
    if (const rescue::Use use(rescueSlot_); use && window_) SetParent(window_, newDisplayArea);
    placed_ = {};
}

void CapturedWindow::Show(int command) const {
    if (const rescue::Use use(rescueSlot_); use && window_) ShowWindowAsync(window_, command);
}

void CapturedWindow::Place(const RECT& rect, bool onlyIfMoved) {
    if (onlyIfMoved && EqualRect(&rect, &placed_)) return;
    const rescue::Use use(rescueSlot_);
    if (!use || !window_) return;
    SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    placed_ = rect;
}

CapturedWindow::State CapturedWindow::CurrentState() const {
    if (!window_) return State::kGone;
    SetLastError(ERROR_SUCCESS);
    const LONG style = GetWindowLongA(window_, GWL_STYLE);
    if (style == 0 && GetLastError() == ERROR_INVALID_WINDOW_HANDLE) return State::kGone;
    return (style & WS_VISIBLE) ? State::kShown : State::kHidden;
}

bool CapturedWindow::Exists() const { return window_ && IsWindow(window_); }

bool CapturedWindow::KeepIcon(HICON icon) {
    if (icon == icon_) return false;
    icon_ = icon;
    return true;
}

// Strictly later than the last touch of any record: two tabs used within one
// millisecond would otherwise tie, and the pane could take the older for
// the most recently used.
void CapturedWindow::Touch() {
    static bool touched = false;
    static DWORD last = 0;
    const DWORD now = timeGetTime();
    last = !touched || static_cast<LONG>(now - last) > 0 ? now : last + 1;
    touched = true;
    lastActivated_ = last;
}

bool CapturedWindow::IsForeground() const { return window_ && GetForegroundWindow() == window_; }

int CapturedWindow::Title(wchar_t* buffer, int maxChars) const {
    // Reads the stored title; sends nothing to the application.
    return GetWindowTextW(window_, buffer, maxChars);
}

HICON WindowIcon(HWND window) {
    for (WPARAM which : {ICON_SMALL, ICON_BIG}) {
        DWORD_PTR icon = 0;
        if (SendMessageTimeoutA(window, WM_GETICON, which, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                                CapturedWindow::kIconTimeout, &icon) &&
            icon) {
            return reinterpret_cast<HICON>(icon);
        }
    }
    if (auto icon = GetClassLongPtrA(window, GCLP_HICONSM)) return reinterpret_cast<HICON>(icon);
    return reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
}

void CapturedWindow::PostToWindow(UINT message, WPARAM wParam, LPARAM lParam) const {
    PostMessageA(window_, message, wParam, lParam);
}

void CapturedWindow::PostToWindowTree(UINT message, WPARAM wParam, LPARAM lParam) const {
    PostMessageA(window_, message, wParam, lParam);
    MSG posted{};
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    EnumChildWindows(window_, PostToChild, reinterpret_cast<LPARAM>(&posted));
}
