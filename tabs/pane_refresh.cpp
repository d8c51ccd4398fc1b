// The pane's periodic refresh (one timer, every watchInterval ms from the
// pane's creation to its destruction) and the tab texts and icons.
//
// A tick does work that does not grow with the tab count: the selected tab
// (its window's existence, title and header) every tick, and a few other
// tabs in turn (existence, title, a window shown that should not be), and
// the icon of one other tab in turn; the selected window's icon every fifth
// tick, an icon request being the costliest question here. Three
// things cut the wait for a destroyed window short: a process that ends is
// counted by process_watch and the pane then checks all its windows once;
// a window asked to close is checked every tick for a while; and an
// activation never shows a window without asking for it.
#include "tabs/pane.h"

#include "base/messages.h"
#include "settings/system_data.h"
#include "tabs/process_watch.h"

#include <mmsystem.h>

namespace {

// Tabs looked at in turn per tick: with watchInterval 100 ms a background
// tab's new title shows within (tabs / kTabsPerTick) * 100 ms, 1.3 s with 50
// tabs, 5 s with 200.
constexpr int kTabsPerTick = 4;
// Every kIconTicks ticks the selected window's icon is asked for, so a new
// icon shows within half a second; another window's icon is asked every
// tick, in turn, so it shows within tabs * 100 ms.
constexpr unsigned kIconTicks = 5;
// How long a window asked to close is checked on every tick.
constexpr DWORD kClosingWatch = 10000;

}  // namespace

void cTab::RefreshTabText(int index) {
    const CapturedWindow* record = RecordAt(index);
    if (!record) return;
    Tabs().RefreshText(index, GetSystemData().tabTextLength);
    if (index == Selected()) header_.ShowTitle(record);
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

void cTab::Refresh() {
    KillTimer(tabControl_, kRefreshTimer);
    ++ticks_;
    DropRescuedTabs();
    DropGoneWindows();
    const int selected = Selected();
    if (CapturedWindow* current = RecordAt(selected)) {
        RefreshTabText(selected);
        if (GetSystemData().showTabIcons && ticks_ % kIconTicks == 0) AskIcon(current);
    }
    RefreshInTurn();
    KeepMainOnTop();
    SetTimer(tabControl_, kRefreshTimer, static_cast<UINT>(GetSystemData().watchInterval),
             nullptr);
}

// The display area hears of a window that is gone as it always has
// (PM_CHILDGONE), and drops its tab and record.
void cTab::ReportGone(CapturedWindow* record) {
    SendMessageA(displayArea_, PM_CHILDGONE, reinterpret_cast<WPARAM>(record), 0);
}

void cTab::DropGoneWindows() {
    const unsigned long ended = process_watch::Ended();
    if (ended != processesEnded_) {
        processesEnded_ = ended;
        for (int i = TabCount() - 1; i >= 0; --i) {
            CapturedWindow* record = RecordAt(i);
            if (record && !record->Exists()) ReportGone(record);
        }
    }
    if (CapturedWindow* current = RecordAt(Selected()); current && !current->Exists()) {
        ReportGone(current);
    }
    const DWORD now = timeGetTime();
    for (std::size_t i = records_.Size(); i-- > 0;) {
        if (i >= records_.Size()) continue;
        CapturedWindow* record = records_.At(i);
        const DWORD asked = record->CloseAskedAt();
        if (asked != 0 && now - asked < kClosingWatch && !record->Exists()) ReportGone(record);
    }
}

// A few tabs after the last one looked at: gone, shown while not selected
// (its application showed it), or retitled.
void cTab::RefreshInTurn() {
    const int count = TabCount();
    const int selected = Selected();
    for (int step = 0; step < kTabsPerTick && step < count; ++step) {
        const int index = turn_++ % count;
        if (index == selected) continue;
        CapturedWindow* record = RecordAt(index);
        if (!record) continue;
        switch (record->CurrentState()) {
        case CapturedWindow::State::kGone:
            ReportGone(record);
            return;  // the indices moved; the next tick goes on
        case CapturedWindow::State::kShown:
            if (record != shown_) record->Show(SW_HIDE);
            break;
        case CapturedWindow::State::kHidden:
            break;
        }
        RefreshTabText(index);
    }
    if (turn_ >= count) turn_ = 0;
    if (count > 1 && GetSystemData().showTabIcons) {
        const int index = iconTurn_++ % count;
        if (iconTurn_ >= count) iconTurn_ = 0;
        if (index != selected) {
            if (CapturedWindow* record = RecordAt(index)) AskIcon(record);
        }
    }
}

namespace {

// Whether the window just above main in the z-order shows and is not one of
// the topmost windows, which main could not pass anyway.
bool OvertakenBelowTopmost(HWND main) {
    const HWND above = GetWindow(main, GW_HWNDPREV);
    return above && IsWindowVisible(above) &&
           !(GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace

// Keeps the main window above other applications while one of its captured
// windows is in use: raised when that window becomes the foreground window,
// and again only when another window came above it, not on every tick.
void cTab::KeepMainOnTop() {
    const CapturedWindow* current = RecordAt(Selected());
    if (TabCount() > 0 && current && current->IsForeground()) {
        header_.SetActive(true);
        const HWND main = host_->HostWindow();
        if (main && (raisedFor_ != current->Window() || OvertakenBelowTopmost(main))) {
            SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            raisedFor_ = current->Window();
        }
    } else {
        header_.SetActive(false);
        raisedFor_ = nullptr;
    }
}

// After the hang watchdog gave windows back, their tabs go as if released,
// but their windows are not touched again. The periodic refresh notices them
// because it runs on this thread as soon as the thread runs again, in every
// pane, with nothing new to send across threads or to lose in a modal loop.
// It looks for as long as any rescued window's record is left, so a tab that
// moved to another pane meanwhile is dropped there; otherwise the check is
// one read.
void cTab::DropRescuedTabs() {
    if (rescue::AwaitingDrop() == 0) return;
    for (int i = TabCount() - 1; i >= 0; --i) {
        CapturedWindow* record = RecordAt(i);
        if (!record || !record->Rescued()) continue;
        RemoveTabItem(i);
        records_.Take(record);  // deleted here; it only forgets its window
    }
}
