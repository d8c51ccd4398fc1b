// cTab: the pane's windows and their messages, capture and the tab
// operations, the tab texts and icons, file drops, drag and drop, the look,
// and giving every window back when the pane goes. The command set is in
// pane_commands.cpp; the split (PaneSplit) and the periodic refresh
// (PaneRefresh) are parts of their own.
#include "tabs/pane.h"

#include "base/base_texts.h"
#include "base/dpi.h"
#include "base/messages.h"
#include "base/window_class.h"
#include "settings/conditions.h"
#include "settings/system_data.h"
#include "tabs/close_requests.h"
#include "tabs/split_bar.h"
#include "tabs/tab_drag.h"
#include "tabs/tab_ids.h"
#include "tabs/tab_texts.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

namespace {

// Whether a window the user can see lies above main in the z-order, the
// topmost ones aside (main cannot pass them). A few steps up only: beyond
// them main is raised anyway, which is never wrong, only slower.
bool CoveredBelowTopmost(HWND main) {
    constexpr int kSteps = 8;
    HWND above = GetWindow(main, GW_HWNDPREV);
    for (int step = 0; above && step < kSteps; ++step) {
        if (GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST) return false;
        if (IsWindowVisible(above)) return true;
        above = GetWindow(above, GW_HWNDPREV);
    }
    return above != nullptr;
}

// 12 pixels high at 96 dpi.
HFONT CreatePaneFont(int angle, int dpi) {
    return CreateFontA(dpi::Scale(12, dpi), 0, angle, angle, FW_NORMAL, FALSE, FALSE, FALSE,
                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       FIXED_PITCH | FF_MODERN, tab_ids::kPaneFontFace);
}

void ShowAllocationFailure(HWND owner, const char* operation, bool badAlloc) {
    MessageBoxA(owner, badAlloc ? tab_texts::kBadAllocText : tab_texts::kOtherExceptionText,
                operation, MB_ICONERROR);
}

}  // namespace

cTab& RootPane() {
    static cTab root;
    return root;
}

cTab*& ActivePane() {
    static cTab* active = &RootPane();
    return active;
}

bool cTab::Init(HINSTANCE instance) {
    InitCommonControls();
    // The panes hold other applications' windows, which may be DPI unaware
    // while Panelry is per-monitor aware: without mixed hosting Windows 10
    // refuses to make them children of the panes' windows.
    dpi::AllowMixedHosting();
    constexpr WNDPROC areaProcedure = BoundWindowProc<cTab, tab_ids::kPaneProperty,
                                                      &cTab::displayArea_, &cTab::AreaMessage>;
    constexpr WNDPROC baseProcedure = BoundWindowProc<cTab, tab_ids::kPaneProperty,
                                                      &cTab::baseWindow_, &cTab::BaseMessage>;
    const bool registered =
        RegisterWindowClass(instance, tab_ids::kDisplayAreaClass, areaProcedure,
                            MenuColorBrush()) &&
        RegisterWindowClass(instance, tab_ids::kBaseClass, baseProcedure, nullptr) &&
        cHeader::Init(instance) && cSplitbar::Init(instance);
    if (!registered) {
        MessageBoxA(nullptr, tab_texts::kRegisterClassError, base_texts::kErrorCaption,
                    MB_ICONERROR);
    }
    return registered;
}

cTab::cTab() = default;

cTab::~cTab() {
    if (ActivePane() == this) ActivePane() = &RootPane();
    if (baseWindow_ && IsWindow(baseWindow_)) DestroyWindow(baseWindow_);
}

bool cTab::Create(HWND parent, HINSTANCE instance, COLORREF activeBack, COLORREF inactiveBack,
                  COLORREF activeText, COLORREF inactiveText, PaneHost& host) {
    DestroyWindows();
    host_ = &host;
    const HMENU noId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1));
    CreateWindowExA(0, tab_ids::kBaseClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0,
                    0, parent, noId, instance, this);
    if (!baseWindow_) return false;
    tabControl_ = CreateWindowExA(0, WC_TABCONTROLA, "",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | TCS_FORCELABELLEFT, 0, 0,
                                  0, 0, baseWindow_, noId, instance, nullptr);
    if (!tabControl_) return false;
    BindControl(tabControl_, tab_ids::kPaneProperty, this);
    CreateWindowExA(0, tab_ids::kDisplayAreaClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                    0, 0, 0, tabControl_, noId, instance, this);
    if (!displayArea_) return false;
    if (!header_.Create(tabControl_, instance, activeBack, inactiveBack, activeText, inactiveText,
                        *this)) {
        return false;
    }
    MakeFonts();
    header_.SetFont(fonts_[0].get());
    SendMessageA(tabControl_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0].get()), TRUE);
    if (!defaultTabProc_) {
        constexpr WNDPROC tabProcedure = SubclassWindowProc<cTab, &cTab::TabMessage>;
        defaultTabProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            tabControl_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tabProcedure)));
    }
    SendMessageA(tabControl_, WM_TIMER, kRefreshTimer, 0);
    return true;
}

void cTab::MakeFonts() {
    const int scale = dpi::ForWindow(tabControl_);
    fonts_[0].reset(CreatePaneFont(0, scale));
    fonts_[1].reset(CreatePaneFont(5, scale));
}

void cTab::ApplyDpi() {
    // Each pane's old fonts stay alive until its controls hold the new ones,
    // which the look sets at the end.
    std::vector<UniqueFont> old;
    for (cTab* pane = this; pane && pane->tabControl_; pane = pane->Child()) {
        for (UniqueFont& font : pane->fonts_) old.push_back(std::move(font));
        pane->MakeFonts();
        pane->header_.SetFont(pane->fonts_[0].get());
        pane->header_.ApplyDpi();
        if (cSplitbar* bar = pane->SplitBar()) bar->ApplyDpi();
    }
    // The tab font, the fixed tab width, the tab icons' image list and the
    // layout, down the chain.
    ApplyLook();
}

void cTab::DestroyWindows() {
    if (baseWindow_ && IsWindow(baseWindow_)) DestroyWindow(baseWindow_);
    baseWindow_ = tabControl_ = displayArea_ = nullptr;
}

// ---- Window procedures ---------------------------------------------------

// The base window, the display area and the tab control all carry the pane
// as their property; each has its own routes.

const MessageRoute<cTab> cTab::kBaseRoutes[] = {
    {WM_NOTIFY, &cTab::OnBaseNotify, AfterHandler::CallDefault},
    {WM_SIZE, &cTab::OnBaseSize, AfterHandler::CallDefault},
    {PM_MOVETAB, &cTab::OnBaseMoveTab, AfterHandler::CallDefault},
    {WM_DESTROY, &cTab::OnBaseDestroy, AfterHandler::CallDefault},
};

const MessageRoute<cTab> cTab::kAreaRoutes[] = {
    {WM_RBUTTONDOWN, &cTab::OnAreaRButtonDown, AfterHandler::CallDefault},
    {PM_CHILDGONE, &cTab::OnAreaChildGone},
};

// Each handler passes its message on to the control's own procedure itself,
// at the point its order asks for.
const MessageRoute<cTab> cTab::kTabRoutes[] = {
    {WM_LBUTTONDOWN, &cTab::OnTabLButtonDown},
    {WM_RBUTTONDOWN, &cTab::OnTabRButtonDown},
    {WM_COMMAND, &cTab::OnTabCommand},
    {WM_DROPFILES, &cTab::OnTabDropFiles},
    {PM_FOREGROUNDACTIVE, &cTab::OnTabForegroundActive},
    {WM_SIZE, &cTab::OnTabSize},
    {WM_TIMER, &cTab::OnTabTimer},
    {WM_DESTROY, &cTab::OnTabDestroy},
};

LRESULT cTab::BaseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, kBaseRoutes, baseWindow_, message, wParam, lParam,
                        DefWindowProcA);
}

LRESULT cTab::AreaMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, kAreaRoutes, displayArea_, message, wParam, lParam,
                        DefWindowProcA);
}

LRESULT cTab::TabMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = defaultTabProc_;
    return RouteMessage(*this, kTabRoutes, tabControl_, message, wParam, lParam,
                        [original](HWND window, UINT m, WPARAM w, LPARAM l) {
                            return CallWindowProcA(original, window, m, w, l);
                        });
}

LRESULT cTab::CallTabDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(defaultTabProc_, tabControl_, message, wParam, lParam);
}

LRESULT cTab::OnBaseNotify(WPARAM, LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == tabControl_ && header->code == TCN_SELCHANGE) ActivateCurrent();
    return 0;
}

LRESULT cTab::OnBaseDestroy(WPARAM, LPARAM) {
    if (tabControl_) DestroyWindow(tabControl_);
    tabControl_ = displayArea_ = nullptr;
    return 0;
}

LRESULT cTab::OnAreaRButtonDown(WPARAM wParam, LPARAM lParam) {
    SendMessageA(tabControl_, WM_RBUTTONDOWN, wParam, lParam);
    return 0;
}

LRESULT cTab::OnAreaChildGone(WPARAM wParam, LPARAM) {
    const auto* record = reinterpret_cast<const CapturedWindow*>(wParam);
    const int index = IndexOf(record);
    if (index >= 0) RemoveTabAndRecord(index, record);  // nothing left to restore
    return 0;
}

// The split lays out the halves, and moves tabs across for the bar's arrow
// buttons (lParam 1 into the child, 0 back).
LRESULT cTab::OnBaseSize(WPARAM, LPARAM) {
    split_.Layout();
    return 0;
}

LRESULT cTab::OnBaseMoveTab(WPARAM, LPARAM lParam) {
    if (lParam == 1 || lParam == 0) split_.MoveTabAcross(lParam == 1);
    return 0;
}

// ---- Tab control subclass -------------------------------------------------

LRESULT cTab::OnTabLButtonDown(WPARAM wParam, LPARAM lParam) {
    ActivePane() = this;
    CallTabDefault(WM_LBUTTONDOWN, wParam, lParam);
    const int dragged = Tabs().TabAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (dragged < 0) return 0;
    if (const std::optional<POINT> released = TabDrag(tabControl_, dragged).Follow()) {
        DropTab(dragged, *released);
    }
    return 0;
}

LRESULT cTab::OnTabRButtonDown(WPARAM wParam, LPARAM lParam) {
    ActivePane() = this;
    const bool mainMenu = GetKeyState(VK_CONTROL) < 0;
    RunCommand(mainMenu ? host_->ChooseFromMainMenu(*this) : host_->ChooseFromTabMenu(*this));
    return CallTabDefault(WM_RBUTTONDOWN, wParam, lParam);
}

// The header bar's buttons.
LRESULT cTab::OnTabCommand(WPARAM wParam, LPARAM lParam) {
    RunCommand(LOWORD(wParam));
    return CallTabDefault(WM_COMMAND, wParam, lParam);
}

void cTab::RunCommand(unsigned id) {
    if (id != 0 && !ExecCommand(id)) host_->ExecHostCommand(*this, id);
}

LRESULT cTab::OnTabDropFiles(WPARAM wParam, LPARAM lParam) {
    if (!dropToWindow_ && !dropToWindowTree_) return CallTabDefault(WM_DROPFILES, wParam, lParam);
    POINT at{};
    DragQueryPoint(reinterpret_cast<HDROP>(wParam), &at);
    const int index = Tabs().TabAt(at);
    CapturedWindow* record = RecordAt(index);
    if (record) {
        Tabs().Select(index);
    } else {
        record = RecordAt(Selected());
    }
    if (!record) return CallTabDefault(WM_DROPFILES, wParam, lParam);
    if (dropToWindowTree_) {
        record->PostToWindowTree(WM_DROPFILES, wParam, lParam);
    } else {
        record->PostToWindow(WM_DROPFILES, wParam, lParam);
    }
    return 0;
}

LRESULT cTab::OnTabForegroundActive(WPARAM, LPARAM) {
    if (CapturedWindow* record = RecordAt(Selected())) SetForegroundWindow(record->Window());
    return 0;
}

LRESULT cTab::OnTabSize(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallTabDefault(WM_SIZE, wParam, lParam);
    header_.Relayout();
    RECT display{};
    GetClientRect(tabControl_, &display);
    SendMessageA(tabControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    RECT header{};
    header_.WindowRect(&header);
    MapWindowPoints(nullptr, tabControl_, reinterpret_cast<POINT*>(&header), 2);
    const int top = header_.Window() ? header.bottom : display.top;
    MoveWindow(displayArea_, display.left, top, display.right - display.left,
               std::max(0L, display.bottom - top), TRUE);
    // Only the window in sight follows now; each of the others is sized when
    // its tab is selected, so a resize costs the same with any number of tabs.
    if (records_.Contains(shown_)) shown_->Place(AreaRect(), true);
    return result;
}

RECT cTab::AreaRect() const {
    RECT area{};
    GetClientRect(displayArea_, &area);
    return area;
}

LRESULT cTab::OnTabTimer(WPARAM wParam, LPARAM lParam) {
    if (wParam == kPendingTimer) {
        CapturePending();
        return 0;
    }
    if (wParam == kBriskTimer) {
        CaptureYoung();
        return 0;
    }
    if (wParam == kRefreshTimer) {
        refresh_.Tick();
        return 0;
    }
    return CallTabDefault(WM_TIMER, wParam, lParam);
}

LRESULT cTab::OnTabDestroy(WPARAM wParam, LPARAM lParam) {
    icons_.Clear(tabControl_);
    pending_.Clear();
    KillTimer(tabControl_, kPendingTimer);
    KillTimer(tabControl_, kBriskTimer);
    refresh_.Stop();
    SetWindowLongPtrA(tabControl_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultTabProc_));
    ReleaseAllAtExit();
    header_.DestroyWindow();
    if (displayArea_) DestroyWindow(displayArea_);
    // The chain below goes with this pane; the child gives its windows back
    // the same way.
    split_.Clear();
    UnbindControl(tabControl_, tab_ids::kPaneProperty);
    fonts_[0].reset();
    fonts_[1].reset();
    const WNDPROC defaultProc = defaultTabProc_;
    defaultTabProc_ = nullptr;
    return CallWindowProcA(defaultProc, tabControl_, WM_DESTROY, wParam, lParam);
}

// With closeAllOnExit every window was asked to close when the program
// closed, one after the other (AskEveryWindowToClose), and the program waited
// for the answers. A window still here refused, or has not been answered: it
// would die with the display area, so it goes back to the desktop as it is
// (its application may be asking its user about unsaved work).
void cTab::ReleaseAllAtExit() {
    const bool closing = GetSystemData().closeAllOnExit != 0;
    ReleaseAll(minimizeOnExit_ && !closing);
}

void cTab::ReleaseAll(bool minimize) {
    while (TabCount() > 0) ReleaseTab(0, minimize);
    records_.Clear();  // records without a tab, if any, give their windows back
}

// ---- Capture and tab operations --------------------------------------------

bool cTab::CanHold(HWND window) const {
    return IsCapturableTopLevel(window) && !records_.Holds(window);
}

cTab::Bring cTab::BringFor(HWND window, bool askedByAnotherProcess) {
    const HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &process);
    if (process == GetCurrentProcessId()) return Bring::kToForeground;
    return !askedByAnotherProcess && foreground == window ? Bring::kToForeground
                                                          : Bring::kToTopOnly;
}

bool cTab::AddNewWindow(HWND window, int at, Bring bring) {
    return CanHold(window) && Take(window, at, bring);
}

bool cTab::AddPromisedWindow(HWND window, Bring bring) {
    return IsTopLevelOfAnotherProgram(window) && !records_.Holds(window) &&
           Take(window, -1, bring);
}

bool cTab::Take(HWND window, int at, Bring bring) {
    CapturedWindow* record = nullptr;
    try {
        record = records_.Capture(window, displayArea_);
    } catch (const std::bad_alloc&) {
        ShowAllocationFailure(tabControl_, tab_texts::kAddNewWindowCaption, true);
        return false;
    } catch (...) {
        ShowAllocationFailure(tabControl_, tab_texts::kAddNewWindowCaption, false);
        return false;
    }
    AskIcon(record);
    if (!records_.Contains(record)) return false;  // gone while its application answered
    const int count = TabCount();
    const int rows = Tabs().Rows();
    const int index = at >= 0 && at < count ? at : count;
    Tabs().Insert(index, record);
    ShowTabIcon(index, record->Icon());
    RefreshTabText(index);
    SelectAndActivate(index);
    RelayoutIfRowsChanged(rows, count);
    UpdateWindow(window);

    const HWND main = host_->HostWindow();
    if (GetSystemData().restoreOnAdd && main && IsIconic(main)) ShowWindow(main, SW_SHOWNORMAL);
    if (bring == Bring::kToTopOnly) {
        if (main && CoveredBelowTopmost(main)) {
            SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return true;
    }
    if (main) SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus(window);
    return true;
}

void cTab::SelectAndActivate(int index) {
    const unsigned before = activations_;
    Tabs().Select(index);
    if (activations_ == before) ActivateCurrent();
}

void cTab::RelayoutIfRowsChanged(int rowsBefore, int countBefore) {
    const int count = TabCount();
    if (Tabs().Rows() != rowsBefore || (count == 0) != (countBefore == 0)) {
        SendMessageA(tabControl_, WM_SIZE, 0, 0);
    }
}

int cTab::IndexOfWindow(HWND window) const {
    for (int i = TabCount() - 1; i >= 0; --i) {
        const CapturedWindow* record = RecordAt(i);
        if (record && record->Holds(window)) return i;
    }
    return -1;
}

bool cTab::QueueWindow(HWND window) {
    const bool launched = host_->LaunchCaptureArmed();
    if (!launched && !CanAddWindow(window)) return false;
    const DWORD now = timeGetTime();
    // While a young window waits the brisk timer runs already; set again, it
    // would start over, and windows made in quick succession would hold off
    // its every look.
    const bool brisk = pending_.HasYoung(now);
    if (!pending_.Add(window, now, launched)) return false;
    KillTimer(tabControl_, kPendingTimer);
    SetTimer(tabControl_, kPendingTimer, kPendingPeriod, nullptr);
    if (!brisk) SetTimer(tabControl_, kBriskTimer, kBriskPeriod, nullptr);
    return true;
}

void cTab::CaptureShown(HWND window) {
    if (const auto queued = pending_.TakeIfVisible(window)) CaptureQueued(*queued);
}

void cTab::CapturePending() {
    KillTimer(tabControl_, kPendingTimer);
    for (const CaptureQueue::Queued& queued : pending_.TakeVisible(timeGetTime())) {
        CaptureQueued(queued);
    }
    if (!pending_.Empty()) SetTimer(tabControl_, kPendingTimer, kPendingPeriod, nullptr);
}

void cTab::CaptureYoung() {
    for (const CaptureQueue::Queued& queued : pending_.TakeVisibleYoung(timeGetTime())) {
        CaptureQueued(queued);
    }
    // The time again: a capture waits for the window's application, and a
    // window queued meanwhile (another process may send the report) is
    // young after the time read before it.
    if (!pending_.HasYoung(timeGetTime())) KillTimer(tabControl_, kBriskTimer);
}

void cTab::CaptureQueued(const CaptureQueue::Queued& queued) {
    // Of the windows a launch brought, only the first that shows; the
    // others were queued for the launch alone.
    if (!queued.launched || host_->ConsumeLaunchCapture(queued.window)) {
        AddNewWindow(queued.window, -1, BringFor(queued.window, false));
    }
}

// Touches what the selection changed: the window shown before is hidden, the
// selected one sized and shown, its tab's text and the header brought up to
// date. Nothing here waits for another application.
void cTab::ActivateCurrent() {
    ++activations_;
    const int selected = Selected();
    CapturedWindow* current = RecordAt(selected);
    if (shown_ != current && records_.Contains(shown_)) shown_->Show(SW_HIDE);
    shown_ = current;
    if (current) {
        current->Place(AreaRect(), true);
        current->Show(SW_SHOWNOACTIVATE);
        current->Touch();
        RefreshTabText(selected);
    } else {
        header_.ShowTitle(nullptr);
    }
}

bool cTab::RemoveTabItem(int index) {
    const int count = TabCount();
    const int rows = Tabs().Rows();
    if (index >= 0 && index < count) {
        icons_.Forget(Tabs(), index);
        Tabs().Remove(index);
        if (count == 1) {
            shown_ = nullptr;
            header_.ShowTitle(nullptr);
        } else {
            // The tab used most recently, not the neighbour; ties go to tab 0
            // and then to the highest index.
            int best = 0;
            DWORD bestTime = RecordAt(0) ? RecordAt(0)->LastActivated() : 0;
            for (int i = count - 2; i >= 1; --i) {
                const CapturedWindow* record = RecordAt(i);
                if (record && record->LastActivated() > bestTime) {
                    best = i;
                    bestTime = record->LastActivated();
                }
            }
            SelectAndActivate(best);
        }
    }
    RelayoutIfRowsChanged(rows, count);
    return true;
}

void cTab::RemoveTabAndRecord(int index, const CapturedWindow* record) {
    RemoveTabItem(index);
    records_.Take(record);  // deleted here
}

void cTab::ReleaseTab(int index, bool minimize) {
    // Taken before the tab goes: removing it activates another tab, which
    // then leaves this window alone (it is no longer the pane's).
    std::unique_ptr<CapturedWindow> record = records_.Take(RecordAt(index));
    RemoveTabItem(index);
    if (!record) return;
    const HWND window = record->Window();
    record.reset();  // gives the window back
    if (minimize && window) ShowWindow(window, SW_MINIMIZE);
}

void cTab::ReleaseTabAt(int index, POINT topLeft) {
    std::unique_ptr<CapturedWindow> record = records_.Take(RecordAt(index));
    RemoveTabItem(index);
    if (record) record->ReleaseAt(topLeft);
}

void cTab::CloseTab(int index) {
    CapturedWindow* record = RecordAt(index);
    if (!record) return;
    if (GetSystemData().releaseBeforeClose) {
        const HWND window = record->Window();
        ReleaseTab(index, false);
        CloseRequests::Instance().Ask(window);
    } else {
        // The tab stays until the periodic refresh sees the window gone (it
        // looks at a window asked to close on every tick for a while).
        record->CloseWindow(false);
    }
}

bool cTab::MoveCurrentTabTo(cTab& target) {
    const int selected = Selected();
    CapturedWindow* record = RecordAt(selected);
    if (!record || &target == this) return false;
    record->Touch();
    record->MoveTo(target.displayArea_);
    std::unique_ptr<CapturedWindow> owned = records_.Take(record);
    if (!owned) return false;
    target.records_.Adopt(std::move(owned));
    RemoveTabItem(selected);  // activates this pane's next tab
    const int count = target.TabCount();
    const int rows = target.Tabs().Rows();
    target.Tabs().Insert(count, record);
    target.ShowTabIcon(count, record->Icon());
    target.RefreshTabText(count);
    target.SelectAndActivate(count);
    target.RelayoutIfRowsChanged(rows, count);
    return true;
}

void cTab::SelectPrevTab() {
    const int count = TabCount();
    if (count == 0) return;
    const int selected = Selected();
    Tabs().Select(selected <= 0 ? count - 1 : selected - 1);
}

void cTab::SelectNextTab() {
    const int count = TabCount();
    if (count == 0) return;
    const int next = Selected() + 1;
    Tabs().Select(next >= count ? 0 : next);
}

// ---- Tab texts and icons ------------------------------------------------------

void cTab::RefreshTabText(int index) {
    const CapturedWindow* record = RecordAt(index);
    if (!record) return;
    // Read once for the tab and the header: each read asks the server.
    wchar_t title[TabStrip::kTitleSize] = L"";
    record->Title(title, TabStrip::kTitleSize);
    Tabs().RefreshText(index, title, GetSystemData().tabTextLength);
    if (index == Selected()) header_.ShowTitleText(title);
}

void cTab::RefreshAllTabs() {
    if (!GetSystemData().showTabIcons || !InstallTabIcons()) icons_.Clear(tabControl_);
    for (int i = 0, count = TabCount(); i < count; ++i) RefreshTabText(i);
}

// A new image list with every tab's kept icon.
bool cTab::InstallTabIcons() {
    if (!icons_.Install(Tabs())) return false;
    for (int i = 0, count = TabCount(); i < count; ++i) {
        if (const CapturedWindow* record = RecordAt(i)) icons_.Show(Tabs(), i, record->Icon());
    }
    return true;
}

void cTab::ShowTabIcon(int index, HICON icon) {
    if (!GetSystemData().showTabIcons) return;
    if (!icons_.Installed()) {
        InstallTabIcons();  // shows this tab's icon too
        return;
    }
    icons_.Show(Tabs(), index, icon);
}

// Asks record's window for its icon and shows it if it changed. Asking lets
// in messages other threads send meanwhile, which may take the record away,
// so it is looked for again afterwards.
void cTab::AskIcon(CapturedWindow* record) {
    const HWND window = record->Window();
    if (!window) return;
    const HICON icon = WindowIcon(window);
    if (!records_.Contains(record) || !record->Holds(window)) return;
    if (!record->KeepIcon(icon)) return;
    const int index = IndexOf(record);
    if (index >= 0) ShowTabIcon(index, icon);
}

// ---- Look --------------------------------------------------------------------

void cTab::ApplyTabStyle(DWORD style, DWORD exStyle) {
    const DWORD fullStyle = style | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP |
                            TCS_FORCELABELLEFT;
    SetWindowLongA(tabControl_, GWL_STYLE, static_cast<LONG>(fullStyle));
    const DWORD dropStyle = (dropToWindow_ || dropToWindowTree_) ? WS_EX_ACCEPTFILES : 0;
    SetWindowLongA(tabControl_, GWL_EXSTYLE, static_cast<LONG>(exStyle | dropStyle));
    HFONT font = fonts_[(fullStyle & TCS_VERTICAL) ? 1 : 0].get();
    SendMessageA(tabControl_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetWindowPos(tabControl_, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(tabControl_, WM_SIZE, 0, 0);
}

void cTab::ApplyHeaderExStyle(DWORD exStyle) {
    header_.SetExStyle(exStyle);
    SendMessageA(tabControl_, WM_SIZE, 0, 0);
}

void cTab::ApplyLook() {
    const SystemData& settings = GetSystemData();
    swapOnDrag_ = settings.dragSwapTabs != 0;
    minimizeOnExit_ = settings.minimizeAllOnExit != 0;
    dropToWindow_ = settings.dropToActiveChild != 0;
    dropToWindowTree_ = settings.dropToAllChildren != 0;
    ApplyHeaderExStyle(settings.headerExStyle);
    ApplyTabStyle(settings.tabStyle, settings.tabExStyle);
    header_.SetColors(settings.headerActiveBack, settings.headerInactiveBack,
                      settings.headerActiveText, settings.headerInactiveText);
    RefreshAllTabs();
    if (settings.tabStyle & TCS_FIXEDWIDTH) {
        // Stored at 96 dpi.
        const int width = dpi::ScaleFor(tabControl_, settings.fixedTabWidth);
        SendMessageA(tabControl_, TCM_SETITEMSIZE, 0, MAKELPARAM(width, 0));
    }
    if (cTab* child = Child()) child->ApplyLook();
}

// ---- Lists for menus -----------------------------------------------------------

bool cTab::ListWindowsInMenu(HMENU menu, UINT firstId) const {
    bool inserted = false;
    UINT id = firstId;
    for (const cTab* pane = this; pane; pane = pane->Child()) {
        for (int i = 0, count = pane->TabCount(); i < count; ++i) {
            CapturedWindow* record = pane->RecordAt(i);
            if (!record) continue;
            // Wide: the title may hold characters the code page cannot.
            wchar_t title[256] = L"";
            record->Title(title, 256);
            MENUITEMINFOW item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_ID | MIIM_DATA | MIIM_TYPE;
            item.fType = MFT_STRING;
            item.wID = id++;
            item.dwItemData = reinterpret_cast<ULONG_PTR>(record->Window());
            item.dwTypeData = title;
            inserted |= InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &item) != FALSE;
        }
    }
    return inserted;
}

void cTab::ReleaseByWindow(HWND window) {
    if (!window) return;
    for (cTab* pane = this; pane; pane = pane->Child()) {
        for (int i = pane->TabCount() - 1; i >= 0; --i) {
            const CapturedWindow* record = pane->RecordAt(i);
            if (record && record->Holds(window)) pane->ReleaseTab(i, false);
        }
    }
}

void cTab::AskEveryWindowToClose() {
    for (cTab* pane = this; pane; pane = pane->Child()) {
        for (int i = pane->TabCount() - 1; i >= 0; --i) pane->CloseTab(i);
    }
}

void cTab::ReleaseEveryWindow() {
    for (cTab* pane = this; pane; pane = pane->Child()) pane->ReleaseAll(false);
}

void cTab::MoveBaseWindow(int x, int y, int width, int height) {
    MoveWindow(baseWindow_, x, y, width, height, TRUE);
}

// ---- Tab drag and drop -----------------------------------------------------------

void cTab::DropTab(int from, POINT screenPoint) {
    cTab* target = TabDrag::PaneAt(screenPoint);
    if (!target) {
        // Out of the program altogether: the window goes back to the desktop
        // where the tab was let go, as a release would give it back.
        if (TabDrag::OutsideProgram(screenPoint)) ReleaseTabAt(from, screenPoint);
        return;
    }
    if (target != this) {
        MoveCurrentTabTo(*target);
        return;
    }
    const int to = Tabs().TabAtScreen(screenPoint);
    if (to < 0 || to == from) return;
    CapturedWindow* dragged = RecordAt(from);
    if (swapOnDrag_) {
        CapturedWindow* dropped = RecordAt(to);
        Tabs().SetRecord(from, dropped);
        Tabs().SetRecord(to, dragged);
        ShowTabIcon(from, dropped ? dropped->Icon() : nullptr);
        ShowTabIcon(to, dragged ? dragged->Icon() : nullptr);
        RefreshTabText(from);
        RefreshTabText(to);
        SelectAndActivate(to);
        return;
    }
    Tabs().Insert(to, dragged);
    ShowTabIcon(to, dragged ? dragged->Icon() : nullptr);
    RefreshTabText(to);
    RemoveTabItem(from > to ? from + 1 : from);
    SelectAndActivate(from < to ? to - 1 : to);
}
