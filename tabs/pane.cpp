// cTab: the pane's windows, its tab operations and commands, deferred
// capture of new windows, the periodic refresh, tab drag and drop, file
// drops, and giving every window back when the pane goes.
#include "tabs/pane.h"

#include "base/base_ids.h"
#include "base/base_texts.h"
#include "tabs/tab_ids.h"
#include "tabs/tab_texts.h"
#include "base/messages.h"
#include "base/rescue_table.h"
#include "base/window_class.h"
#include "base/command_kinds.h"
#include "inputtap/inputtap.h"
#include "resources/resource_ids.h"
#include "settings/conditions.h"
#include "settings/system_data.h"
#include "tabs/split_bar.h"

#include <mmsystem.h>
#include <windowsx.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

cTab* PaneOf(HWND window) {
    return static_cast<cTab*>(GetPropA(window, tab_ids::kPaneProperty));
}

HFONT CreatePaneFont(int angle) {
    return CreateFontA(12, 0, angle, angle, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       FIXED_PITCH | FF_MODERN, tab_ids::kPaneFontFace);
}

HCURSOR DragCursor() {
    static HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_TABDRAG));
    return cursor;
}

void ShowAllocationFailure(HWND owner, const char* operation, bool badAlloc) {
    MessageBoxA(owner, badAlloc ? tab_texts::kBadAllocText : tab_texts::kOtherExceptionText, operation,
                MB_ICONERROR);
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
        MessageBoxA(nullptr, tab_texts::kRegisterClassError, base_texts::kErrorCaption, MB_ICONERROR);
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
    CreateWindowExA(0, tab_ids::kBaseClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                    parent, noId, instance, this);
    if (!baseWindow_) return false;
    tabControl_ = CreateWindowExA(0, WC_TABCONTROLA, "",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | TCS_FORCELABELLEFT, 0, 0,
                                  0, 0, baseWindow_, noId, instance, nullptr);
    if (!tabControl_) return false;
    SetPropA(tabControl_, tab_ids::kPaneProperty, this);
    CreateWindowExA(0, tab_ids::kDisplayAreaClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                    0, 0, 0, tabControl_, noId, instance, this);
    if (!displayArea_) return false;
    if (!header_.Create(tabControl_, instance, activeBack, inactiveBack, activeText, inactiveText,
                        tab_ids::kPaneProperty, this)) {
        return false;
    }
    fonts_[0].reset(CreatePaneFont(0));
    fonts_[1].reset(CreatePaneFont(5));
    header_.SetFont(fonts_[0].get());
    SendMessageA(tabControl_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0].get()), TRUE);
    if (!defaultTabProc_) {
        constexpr WNDPROC tabProcedure =
            SubclassWindowProc<cTab, tab_ids::kPaneProperty, &cTab::TabMessage>;
        defaultTabProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            tabControl_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tabProcedure)));
    }
    SendMessageA(tabControl_, WM_TIMER, kRefreshTimer, 0);
    return true;
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
    if (index < 0) return 0;
    RemoveTabItem(index);
    TakeRecord(record);  // released (nothing left to restore) and deleted here
    return 0;
}

// ---- Tab control subclass -------------------------------------------------

LRESULT cTab::OnTabLButtonDown(WPARAM wParam, LPARAM lParam) {
    ActivePane() = this;
    CallTabDefault(WM_LBUTTONDOWN, wParam, lParam);
    TCHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int dragged = static_cast<int>(SendMessageA(tabControl_, TCM_HITTEST, 0,
                                                      reinterpret_cast<LPARAM>(&hit)));
    if (dragged >= 0) TrackTabDrag(dragged);
    return 0;
}

LRESULT cTab::OnTabRButtonDown(WPARAM wParam, LPARAM lParam) {
    ActivePane() = this;
    if (GetKeyState(VK_CONTROL) < 0) {
        const LRESULT id = SendMessageA(host_->HostWindow(), PM_POPUPMAINMENU, 0, 0);
        if (id > 0 && !ExecCommand(static_cast<unsigned>(id))) {
            SendMessageA(host_->HostWindow(), PM_EXECCOMMAND, static_cast<WPARAM>(id), 0);
        }
    } else {
        host_->ShowTabMenu(*this);
    }
    return CallTabDefault(WM_RBUTTONDOWN, wParam, lParam);
}

LRESULT cTab::OnTabCommand(WPARAM wParam, LPARAM lParam) {
    if (!ExecCommand(LOWORD(wParam))) {
        SendMessageA(host_->HostWindow(), PM_EXECCOMMAND, wParam, lParam);
    }
    return CallTabDefault(WM_COMMAND, wParam, lParam);
}

LRESULT cTab::OnTabDropFiles(WPARAM wParam, LPARAM lParam) {
    if (!dropToWindow_ && !dropToWindowTree_) return CallTabDefault(WM_DROPFILES, wParam, lParam);
    POINT at{};
    DragQueryPoint(reinterpret_cast<HDROP>(wParam), &at);
    TCHITTESTINFO hit{};
    hit.pt = at;
    const int index = static_cast<int>(
        SendMessageA(tabControl_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    CapturedWindow* record = RecordAt(index);
    if (record) {
        SetCurrent(index);
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
    RECT area{};
    GetClientRect(displayArea_, &area);
    for (const auto& record : windows_) record->Place(area);
    return result;
}

LRESULT cTab::OnTabTimer(WPARAM wParam, LPARAM lParam) {
    if (wParam == kPendingTimer) {
        CapturePending();
        return 0;
    }
    if (wParam == kRefreshTimer) {
        Refresh();
        return 0;
    }
    return CallTabDefault(WM_TIMER, wParam, lParam);
}

LRESULT cTab::OnTabDestroy(WPARAM wParam, LPARAM lParam) {
    SendMessageA(tabControl_, TCM_SETIMAGELIST, 0, 0);
    images_.reset();
    pending_.clear();
    KillTimer(tabControl_, kPendingTimer);
    KillTimer(tabControl_, kRefreshTimer);
    SetWindowLongPtrA(tabControl_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultTabProc_));
    ReleaseAllAtExit();
    header_.DestroyWindow();
    if (displayArea_) DestroyWindow(displayArea_);
    // The chain below goes with this pane; the child gives its windows back
    // the same way.
    splitBar_.reset();
    child_.reset();
    RemovePropA(tabControl_, tab_ids::kPaneProperty);
    fonts_[0].reset();
    fonts_[1].reset();
    const WNDPROC defaultProc = defaultTabProc_;
    defaultTabProc_ = nullptr;
    return CallWindowProcA(defaultProc, tabControl_, WM_DESTROY, wParam, lParam);
}

void cTab::ReleaseAllAtExit() {
    const bool closing = GetSystemData().closeAllOnExit != 0;
    if (closing) {
        for (int i = TabCount() - 1; i >= 0; --i) CloseTab(i);
    }
    // A window that refused to close would die with the display area: it
    // goes back to the desktop instead, as it is (its application may be
    // asking its user about unsaved work).
    while (TabCount() > 0) ReleaseTab(0, minimizeOnExit_ && !closing);
    windows_.clear();  // records without a tab, if any: released by their destructor
}

// ---- Capture and tab operations --------------------------------------------

int cTab::TabCount() const {
    return tabControl_ ? static_cast<int>(SendMessageA(tabControl_, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

int cTab::Selected() const {
    return tabControl_ ? static_cast<int>(SendMessageA(tabControl_, TCM_GETCURSEL, 0, 0)) : -1;
}

CapturedWindow* cTab::RecordAt(int index) const {
    if (index < 0 || index >= TabCount()) return nullptr;
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (!SendMessageA(tabControl_, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return reinterpret_cast<CapturedWindow*>(item.lParam);
}

int cTab::IndexOf(const CapturedWindow* record) const {
    for (int i = 0, count = TabCount(); i < count; ++i) {
        if (RecordAt(i) == record) return i;
    }
    return -1;
}

void cTab::InsertTab(int index, CapturedWindow* record) {
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    item.lParam = reinterpret_cast<LPARAM>(record);
    SendMessageA(tabControl_, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

void cTab::SetCurrent(int index) { SendMessageA(tabControl_, TCM_SETCURFOCUS, index, 0); }

std::unique_ptr<CapturedWindow> cTab::TakeRecord(const CapturedWindow* record) {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [&](const auto& owned) { return owned.get() == record; });
    if (it == windows_.end()) return nullptr;
    std::unique_ptr<CapturedWindow> taken = std::move(*it);
    windows_.erase(it);
    return taken;
}

bool cTab::AddNewWindow(HWND window) {
    if (!window || !IsWindowVisible(window) || GetParent(window) ||
        GetWindow(window, GW_OWNER)) {
        return false;
    }
    char className[256] = "";
    GetClassNameA(window, className, sizeof className);
    if (_stricmp(className, base_ids::kMainClassName) == 0) return false;
    for (const auto& record : windows_) {
        if (record->Holds(window)) return false;
    }

    CapturedWindow* record = nullptr;
    try {
        windows_.push_back(std::make_unique<CapturedWindow>(window, displayArea_));
        record = windows_.back().get();
    } catch (const std::bad_alloc&) {
        ShowAllocationFailure(tabControl_, tab_texts::kAddNewWindowCaption, true);
        return false;
    } catch (...) {
        ShowAllocationFailure(tabControl_, tab_texts::kAddNewWindowCaption, false);
        return false;
    }
    InsertTab(TabCount(), record);
    SetCurrent(TabCount() - 1);
    ActivateCurrent();
    SendMessageA(tabControl_, WM_SIZE, 0, 0);
    UpdateWindow(window);

    const HWND main = host_->HostWindow();
    if (GetSystemData().restoreOnAdd && main && IsIconic(main)) ShowWindow(main, SW_SHOWNORMAL);
    if (main) SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus(window);
    return true;
}

bool cTab::QueueWindow(HWND window) {
    if (!host_->ConsumeLaunchCapture() && !CanAddWindow(window)) return false;
    for (const PendingWindow& entry : pending_) {
        if (entry.window == window) return false;
    }
    pending_.push_back({window, timeGetTime()});
    KillTimer(tabControl_, kPendingTimer);
    SetTimer(tabControl_, kPendingTimer, 100, nullptr);
    return true;
}

void cTab::CapturePending() {
    KillTimer(tabControl_, kPendingTimer);
    const DWORD now = timeGetTime();
    std::vector<PendingWindow> waiting;
    for (const PendingWindow& entry : pending_) {
        if (IsWindowVisible(entry.window)) {
            AddNewWindow(entry.window);
        } else if (!(now > entry.queuedAt + kPendingGiveUpMs)) {
            waiting.push_back(entry);
        }
    }
    pending_ = std::move(waiting);
    if (!pending_.empty()) SetTimer(tabControl_, kPendingTimer, 100, nullptr);
}

void cTab::ActivateCurrent() {
    const int selected = Selected();
    CapturedWindow* current = RecordAt(selected);
    for (const auto& record : windows_) {
        if (record.get() != current) record->Show(SW_HIDE);
    }
    if (current) {
        current->Show(SW_SHOWNOACTIVATE);
        current->Touch();
    }
    RebuildTabIcons();
    RefreshTabText(selected);
    header_.ShowTitle(current);
}

bool cTab::RemoveTabItem(int index) {
    const int count = TabCount();
    if (index >= 0 && index < count) {
        SendMessageA(tabControl_, TCM_DELETEITEM, index, 0);
        if (count == 1) {
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
            SetCurrent(best);
            ActivateCurrent();
        }
    }
    SendMessageA(tabControl_, WM_SIZE, 0, 0);
    return true;
}

void cTab::ReleaseTab(int index, bool minimize) {
    CapturedWindow* record = RecordAt(index);
    RemoveTabItem(index);
    if (!record) return;
    const HWND window = record->Window();
    TakeRecord(record);  // deleting it gives the window back
    if (minimize && window) ShowWindow(window, SW_MINIMIZE);
}

void cTab::CloseTab(int index) {
    CapturedWindow* record = RecordAt(index);
    if (!record) return;
    if (GetSystemData().releaseBeforeClose) {
        const HWND window = record->Window();
        ReleaseTab(index, false);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                            CapturedWindow::kSendTimeout, &ignored);
    } else {
        // The tab stays until the watch sees the window gone.
        record->CloseWindow(false);
    }
}

bool cTab::MoveCurrentTabTo(cTab& target) {
    const int selected = Selected();
    CapturedWindow* record = RecordAt(selected);
    if (!record || &target == this) return false;
    record->Touch();
    record->MoveTo(target.displayArea_);
    std::unique_ptr<CapturedWindow> owned = TakeRecord(record);
    if (!owned) return false;
    target.windows_.push_back(std::move(owned));
    RemoveTabItem(selected);
    target.InsertTab(target.TabCount(), record);
    target.SetCurrent(target.TabCount() - 1);
    ActivateCurrent();
    SendMessageA(tabControl_, WM_SIZE, 0, 0);
    target.ActivateCurrent();
    SendMessageA(target.tabControl_, WM_SIZE, 0, 0);
    return true;
}

void cTab::SelectPrevTab() {
    const int count = TabCount();
    if (count == 0) return;
    const int selected = Selected();
    SetCurrent(selected <= 0 ? count - 1 : selected - 1);
}

void cTab::SelectNextTab() {
    const int count = TabCount();
    if (count == 0) return;
    const int next = Selected() + 1;
    SetCurrent(next >= count ? 0 : next);
}

// ---- Texts, icons and the periodic refresh ---------------------------------

void cTab::RefreshTabText(int index) {
    const CapturedWindow* record = RecordAt(index);
    if (!record) return;
    const int limit = GetSystemData().tabTextLength;
    char title[257] = "";
    char shown[257] = "";
    record->Title(title, limit);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = shown;
    item.cchTextMax = limit;
    SendMessageA(tabControl_, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    // Only a real change is written, so the refresh does not make the strip flicker.
    if (_strnicmp(title, shown, 256) != 0) {
        item.pszText = title;
        SendMessageA(tabControl_, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
    if (index == Selected()) header_.ShowTitle(record);
}

bool cTab::RebuildTabIcons() {
    if (!GetSystemData().showTabIcons) return false;
    const int count = TabCount();
    UniqueImageList list(ImageList_Create(GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), ILC_COLORDDB | ILC_MASK,
                                          count, 0));
    if (!list) return false;
    const int limit = GetSystemData().tabTextLength;
    for (int i = 0; i < count; ++i) {
        const CapturedWindow* record = RecordAt(i);
        if (!record) continue;
        HICON icon = record->Icon();
        ImageList_AddIcon(list.get(), icon ? icon : LoadIconA(nullptr, IDI_APPLICATION));
        char title[257] = "";
        record->Title(title, limit);
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = title;
        item.iImage = i;
        SendMessageA(tabControl_, TCM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(tabControl_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list.get()));
    images_ = std::move(list);  // the list it replaces goes here
    return true;
}

void cTab::RefreshAllTabs() {
    if (RebuildTabIcons()) return;
    SendMessageA(tabControl_, TCM_SETIMAGELIST, 0, 0);
    images_.reset();
    for (int i = 0, count = TabCount(); i < count; ++i) RefreshTabText(i);
}

void cTab::Refresh() {
    KillTimer(tabControl_, kRefreshTimer);
    DropRescuedTabs();
    const int count = TabCount();
    for (int i = 0; i < count; ++i) RefreshTabText(i);
    const CapturedWindow* current = RecordAt(Selected());
    if (count > 0 && current && current->IsForeground()) {
        header_.SetActive(true);
        // Keeps the main window above other applications while one of its
        // captured windows is in use.
        if (const HWND main = host_->HostWindow()) {
            SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    } else {
        header_.SetActive(false);
    }
    SetTimer(tabControl_, kRefreshTimer, static_cast<UINT>(GetSystemData().watchInterval),
             nullptr);
}

// After the hang watchdog gave windows back, their tabs go as if released,
// but their windows are not touched again. The periodic refresh notices a
// finished pass because it runs on this thread as soon as the thread runs
// again, in every pane, with nothing new to send across threads or to lose
// in a modal loop; between passes the check is one comparison.
void cTab::DropRescuedTabs() {
    const LONG passes = rescue::Passes();
    if (passes == rescuePassesSeen_) return;
    rescuePassesSeen_ = passes;
    for (int i = TabCount() - 1; i >= 0; --i) {
        CapturedWindow* record = RecordAt(i);
        if (!record || !record->Rescued()) continue;
        RemoveTabItem(i);
        TakeRecord(record);  // deleted here; it only forgets its window
    }
}

// ---- Commands ----------------------------------------------------------------

bool cTab::ExecCommand(unsigned id) {
    const int kind = static_cast<int>(id & 0xFFFF);
    switch (kind) {
    case kSelectPrevTab: SelectPrevTab(); return true;
    case kSelectNextTab: SelectNextTab(); return true;
    case kReleaseTab: case kMinimizeTab: case kCloseTab:
    case kReleaseAllTabs: case kMinimizeAllTabs: case kCloseAllTabs:
    case kReleaseLeftTabs: case kMinimizeLeftTabs: case kCloseLeftTabs:
    case kReleaseRightTabs: case kMinimizeRightTabs: case kCloseRightTabs:
        RunOnTabs(kind);
        return true;
    case kUnsplit: Unsplit(); return true;
    case kSplitLeftRight: Split(false); return true;
    case kSplitTopBottom: Split(true); return true;
    default:
        return false;
    }
}

// The release, minimise and close commands: kinds 6..17 come in groups of
// three (release, minimise, close) for the selected tab, all tabs, the
// tabs left of the selection and those right of it.
void cTab::RunOnTabs(int kind) {
    const int group = (kind - kReleaseTab) / 3;
    const int action = (kind - kReleaseTab) % 3;  // 0 release, 1 minimise, 2 close
    auto apply = [&](int index) {
        if (action == 2) CloseTab(index);
        else ReleaseTab(index, action == 1);
    };
    const int count = TabCount();
    if (count == 0) return;
    const int selected = Selected();
    switch (group) {
    case 0:
        apply(selected);
        break;
    case 1:
        for (int i = count - 1; i >= 0; --i) apply(i);
        break;
    case 2:
        // Each release removes tab 0; a close leaves the tab where it is,
        // unless it releases the window first.
        for (int i = 0; i < selected; ++i) {
            apply(action == 2 && !GetSystemData().releaseBeforeClose ? i : 0);
        }
        break;
    case 3:
        for (int i = count - 1; i > selected; --i) apply(i);
        break;
    default:
        break;
    }
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
        SendMessageA(tabControl_, TCM_SETITEMSIZE, 0, MAKELPARAM(settings.fixedTabWidth, 0));
    }
    if (child_) child_->ApplyLook();
}

// ---- Lists for menus -----------------------------------------------------------

bool cTab::ListWindowsInMenu(HMENU menu, UINT firstId) const {
    bool inserted = false;
    UINT id = firstId;
    for (const cTab* pane = this; pane; pane = pane->child_.get()) {
        for (int i = 0, count = pane->TabCount(); i < count; ++i) {
            CapturedWindow* record = pane->RecordAt(i);
            if (!record) continue;
            char title[256] = "";
            record->Title(title, sizeof title);
            MENUITEMINFOA item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_ID | MIIM_DATA | MIIM_TYPE;
            item.fType = MFT_STRING;
            item.wID = id++;
            item.dwItemData = reinterpret_cast<ULONG_PTR>(record);
            item.dwTypeData = title;
            inserted |= InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &item) != FALSE;
        }
    }
    return inserted;
}

void cTab::ReleaseByRecord(const CapturedWindow* record) {
    for (cTab* pane = this; pane; pane = pane->child_.get()) {
        for (int i = pane->TabCount() - 1; i >= 0; --i) {
            if (pane->RecordAt(i) == record) pane->ReleaseTab(i, false);
        }
    }
}

void cTab::MoveBaseWindow(int x, int y, int width, int height) {
    MoveWindow(baseWindow_, x, y, width, height, TRUE);
}

// ---- Tab drag and drop -----------------------------------------------------------

// Follows the pointer until the left button comes up. Only mouse input is
// taken from the queue meanwhile: the pane's timers wait, as does
// everything else.
void cTab::TrackTabDrag(int dragged) {
    RECT tabRect{};
    SendMessageA(tabControl_, TCM_GETITEMRECT, dragged, reinterpret_cast<LPARAM>(&tabRect));
    SetCapture(tabControl_);
    POINT at{};
    for (bool down = true; down;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            if (msg.message == WM_LBUTTONUP) down = false;
        }
        if (GetAsyncKeyState(VK_LBUTTON) >= 0 || GetCapture() != tabControl_) down = false;
        GetCursorPos(&at);
        POINT client = at;
        ScreenToClient(tabControl_, &client);
        if (!PtInRect(&tabRect, client)) SetCursor(DragCursor());
        if (down) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_MOUSE);
    }
    if (GetCapture() == tabControl_) ReleaseCapture();
    DropTab(dragged, at);
}

int cTab::TabAtScreenPoint(POINT screenPoint) const {
    TCHITTESTINFO hit{};
    hit.pt = screenPoint;
    ScreenToClient(tabControl_, &hit.pt);
    return static_cast<int>(
        SendMessageA(tabControl_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void cTab::DropTab(int from, POINT screenPoint) {
    cTab* target = PaneOf(WindowFromPoint(screenPoint));
    if (!target) return;
    if (target != this) {
        MoveCurrentTabTo(*target);
        return;
    }
    const int to = TabAtScreenPoint(screenPoint);
    if (to < 0 || to == from) return;
    CapturedWindow* dragged = RecordAt(from);
    if (swapOnDrag_) {
        CapturedWindow* dropped = RecordAt(to);
        TCITEMA item{};
        item.mask = TCIF_PARAM;
        item.lParam = reinterpret_cast<LPARAM>(dropped);
        SendMessageA(tabControl_, TCM_SETITEMA, from, reinterpret_cast<LPARAM>(&item));
        item.lParam = reinterpret_cast<LPARAM>(dragged);
        SendMessageA(tabControl_, TCM_SETITEMA, to, reinterpret_cast<LPARAM>(&item));
        SetCurrent(to);
        ActivateCurrent();
        return;
    }
    InsertTab(to, dragged);
    RemoveTabItem(from > to ? from + 1 : from);
    SetCurrent(from < to ? to - 1 : to);
    ActivateCurrent();
}
