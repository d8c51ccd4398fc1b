// A pane: a tab control whose tabs hold captured windows, the display area
// they live in, and the header bar above it. The main window owns the root
// pane; a split gives a pane one child pane, so panes form a chain.
//
// cTab keeps the pane's windows, its tab operations and the state they share
// (the records, the window shown), and hands its separate jobs to the small
// classes it owns: its records in capture order (RecordList), the tab
// control's items (TabStrip), the windows waiting to be captured
// (CaptureQueue), the tab icons (TabIcons), a tab drag (TabDrag), the split
// with its bar and child pane (PaneSplit) and the periodic refresh, which
// also notices windows their applications destroyed (PaneRefresh). Its
// public operations stay here for the layers above.
#pragma once

#include "base/handles.h"
#include "base/rescue_table.h"
#include "base/window_binding.h"
#include "tabs/capture_queue.h"
#include "tabs/captured_window.h"
#include "tabs/header_bar.h"
#include "tabs/pane_host.h"
#include "tabs/pane_refresh.h"
#include "tabs/pane_split.h"
#include "tabs/record_list.h"
#include "tabs/tab_icons.h"
#include "tabs/tab_strip.h"

#include <windows.h>

#include <memory>
#include <string>

class cSplitbar;

class cTab {
public:
    // InitCommonControls and the window classes of panes, header bars and
    // split bars. Shows "RegisterClass@cTab::Init" on failure.
    static bool Init(HINSTANCE instance);

    cTab();
    virtual ~cTab();
    cTab(const cTab&) = delete;
    cTab& operator=(const cTab&) = delete;

    // host is the main window's side of the pane; it must outlive the pane.
    bool Create(HWND parent, HINSTANCE instance, COLORREF activeBack, COLORREF inactiveBack,
                COLORREF activeText, COLORREF inactiveText, PaneHost& host);
    // Destroys the pane's windows, which gives back (or closes) its windows.
    void DestroyWindows();

    // How a capture brings the main window forward: raised and made the
    // foreground window with the focus in the captured window, or raised
    // only. Activating costs more with every window on the desktop, and a
    // capture the user is not at need not take the keyboard from them.
    enum class Bring { kToForeground, kToTopOnly };
    // kToForeground when the user is at the capture: the foreground window
    // is the one captured or one of this process. A request from another
    // process is not the user's, so there only the second counts.
    static Bring BringFor(HWND window, bool askedByAnotherProcess);

    // Captures window into a new tab at index at (the end when at is out of
    // range) and selects it.
    bool AddNewWindow(HWND window, int at = -1, Bring bring = Bring::kToForeground);
    // Whether AddNewWindow would take window now: visible, no parent and no
    // owner, not a main window of this program, not held already. Asks
    // nothing of the window's application.
    bool CanHold(HWND window) const;
    // A window whose capture was promised to a sender while Panelry was busy
    // with another application: taken even if its application has hidden it
    // meanwhile, since the sender was told it is ours.
    bool AddPromisedWindow(HWND window, Bring bring = Bring::kToForeground);
    bool QueueWindow(HWND window);
    // window was reported shown: captured now if this pane has it queued
    // and it is visible, as the queue's next look would. A window that is
    // not queued (most that show are tooltips and menus) costs a search of
    // the queue.
    void CaptureShown(HWND window);
    void ActivateCurrent();
    bool RemoveTabItem(int index);
    void ReleaseTab(int index, bool minimize);
    // The same with the window's top-left corner put at a screen point, as
    // much of it as fits on the work area of the monitor there.
    void ReleaseTabAt(int index, POINT topLeft);
    void CloseTab(int index);
    void MinimizeTab(int index) { ReleaseTab(index, true); }
    bool MoveCurrentTabTo(cTab& target);
    void SelectPrevTab();
    void SelectNextTab();
    void RefreshTabText(int index);
    // Every tab's text and, with showTabIcons, its icon, as after a change of
    // the settings.
    void RefreshAllTabs();
    bool ExecCommand(unsigned id);
    // A command chosen in this pane (its menus, its header bar): carried out
    // here, or by the host for this pane.
    void RunCommand(unsigned id);

    void ApplyTabStyle(DWORD style, DWORD exStyle);
    void ApplyHeaderExStyle(DWORD exStyle);
    void ApplyLook();
    // Takes the scale of the monitor the panes are now on (after
    // WM_DPICHANGED): fonts, header bars, split bars, then the look again.
    void ApplyDpi();

    // Splitting: this pane keeps its tab control as the first half and gains
    // a split bar and a child pane as the second half.
    bool Split(bool horizontal) { return split_.Split(horizontal); }
    void Unsplit() { split_.Unsplit(); }
    // "SPLITRATE" of [TAB]: one entry per split pane down the chain.
    void SaveSplitLayout(const char* iniPath) const { split_.Save(iniPath); }
    void LoadSplitLayout(const char* iniPath) { split_.Load(iniPath); }
    // The same value as text, and splitting by it.
    std::string SplitLayoutText() const { return split_.LayoutText(); }
    void ApplySplitLayout(const std::string& layout) { split_.ApplyLayout(layout); }

    // Greys the pane's commands in menu by its state (split, tabs, watch).
    void EnableMenuCommands(HMENU menu) const;

    // One item per tab of this pane and then of its child chain: the title,
    // ids firstId, firstId + 1, ..., and the captured window as item data.
    // True when at least one item was inserted.
    bool ListWindowsInMenu(HMENU menu, UINT firstId) const;
    // Releases the tab holding window, in this pane or down the chain. A menu
    // names windows rather than records: while it is open a record can go
    // and a new one take its address, but a window handle that no tab holds
    // any more releases nothing.
    void ReleaseByWindow(HWND window);
    // CloseTab on every tab of this pane and its child chain, from the last
    // to the first; the requests go out one after the other (CloseRequests).
    void AskEveryWindowToClose();
    // Gives every window of this pane and its child chain back to the
    // desktop as it was; the panes and their split stay.
    void ReleaseEveryWindow();
    void MoveBaseWindow(int x, int y, int width, int height);

    HWND TabControl() const { return tabControl_; }
    HWND DisplayArea() const { return displayArea_; }
    HWND BaseWindow() const { return baseWindow_; }
    PaneHost* Host() const { return host_; }
    cHeader& Header() { return header_; }
    cTab* Child() const { return split_.Child(); }
    cSplitbar* SplitBar() const { return split_.Bar(); }
    TabStrip Tabs() const { return TabStrip(tabControl_); }
    int TabCount() const { return Tabs().Count(); }
    int Selected() const { return Tabs().Selected(); }
    CapturedWindow* RecordAt(int index) const { return Tabs().RecordAt(index); }
    int IndexOf(const CapturedWindow* record) const { return Tabs().IndexOf(record); }
    // The tab holding window; -1 when none of this pane does.
    int IndexOfWindow(HWND window) const;
    std::size_t PendingCount() const { return pending_.Size(); }
    bool SwapOnDrag() const { return swapOnDrag_; }

    // Drag and drop of tabs: a tab at from dropped at screen point, as the
    // mouse would. Public so keyboard-free tests can drive the same path.
    void DropTab(int from, POINT screenPoint);

    // The pane's timers on its tab control: the windows waiting to be
    // captured, the periodic refresh and the brisk look at the young ones
    // among the waiting windows. Not 1 and 2: the control itself runs timer
    // 1 for hot tracking (TCS_HOTTRACK), which would replace the pane's and
    // kill it when the pointer leaves the strip.
    static constexpr UINT_PTR kPendingTimer = 0x7A01;
    static constexpr UINT_PTR kRefreshTimer = 0x7A02;
    static constexpr UINT_PTR kBriskTimer = 0x7A03;
    static constexpr UINT kPendingPeriod = 100;
    // Where no report says that a window showed (Wine reports no other
    // process's show), a new window would stand on the desktop for up to
    // kPendingPeriod before it is taken. Looked at this often while it is
    // young (CaptureQueue::kYoungMs), it is taken before it is seen there;
    // each look costs an IsWindowVisible per young window.
    static constexpr UINT kBriskPeriod = 10;

private:
    // The two pane fonts (tabs across, tabs along) at the tab control's dpi.
    void MakeFonts();
    // The refresh reads the records and the window shown, asks for icons and
    // drops tabs (AskIcon, RemoveTabAndRecord); nothing else of the pane's.
    friend class PaneRefresh;

    static const MessageRoute<cTab> kBaseRoutes[];
    static const MessageRoute<cTab> kAreaRoutes[];
    static const MessageRoute<cTab> kTabRoutes[];
    LRESULT BaseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT AreaMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT TabMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Tab control subclass.
    LRESULT CallTabDefault(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnTabLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabRButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabDropFiles(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabForegroundActive(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabDestroy(WPARAM wParam, LPARAM lParam);

    // Base window and display area.
    LRESULT OnBaseNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnBaseSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnBaseMoveTab(WPARAM wParam, LPARAM lParam);
    LRESULT OnBaseDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnAreaRButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnAreaChildGone(WPARAM wParam, LPARAM lParam);

    void CapturePending();
    // The brisk look: the young windows that are visible; it stops once
    // none is young.
    void CaptureYoung();
    // Captures a window taken from the queue, as the launch capture allows.
    void CaptureQueued(const CaptureQueue::Queued& queued);
    // Removes tab index and deletes record, the one it shows, which gives
    // back whatever window the record still holds.
    void RemoveTabAndRecord(int index, const CapturedWindow* record);
    // Captures window, checked by the caller, into a new tab.
    bool Take(HWND window, int at, Bring bring);
    // Selects tab index and activates it once: through the control's
    // TCN_SELCHANGE when the selection moves, directly when it does not.
    void SelectAndActivate(int index);
    // After a tab came or went: the pane's layout changes only when the
    // strip's rows did, or it became empty or stopped being.
    void RelayoutIfRowsChanged(int rowsBefore, int countBefore);
    void AskIcon(CapturedWindow* record);
    bool InstallTabIcons();
    void ShowTabIcon(int index, HICON icon);
    RECT AreaRect() const;
    void ReleaseAllAtExit();
    // Every tab of this pane, from the first, and any record left without one.
    void ReleaseAll(bool minimize);
    void RunOnTabs(int kind);

    PaneHost* host_ = nullptr;
    HWND tabControl_ = nullptr;
    HWND displayArea_ = nullptr;
    HWND baseWindow_ = nullptr;
    UniqueFont fonts_[2];
    cHeader header_;
    RecordList records_;
    CaptureQueue pending_;
    WNDPROC defaultTabProc_ = nullptr;
    bool swapOnDrag_ = false;
    bool minimizeOnExit_ = false;
    bool dropToWindow_ = true;
    bool dropToWindowTree_ = false;
    PaneSplit split_{*this};
    TabIcons icons_;
    // The record whose window the last activation showed; compared, and
    // dereferenced only while records_ contains it.
    CapturedWindow* shown_ = nullptr;
    unsigned activations_ = 0;  // ActivateCurrent calls, for SelectAndActivate
    PaneRefresh refresh_{*this};
};

// The main window's root pane, and the pane that commands act on: the one
// whose tab control last received a button press (the root at first).
cTab& RootPane();
cTab*& ActivePane();
