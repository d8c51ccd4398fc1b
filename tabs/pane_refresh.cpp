// PaneRefresh: one tick of a pane's periodic refresh.
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
#include "tabs/pane_refresh.h"

#include "base/messages.h"
#include "base/rescue_table.h"
#include "settings/system_data.h"
#include "tabs/pane.h"
#include "tabs/process_watch.h"

#include <mmsystem.h>

namespace {

// Tabs looked at in turn per tick: with watchInterval 100 ms a background
// tab's new title shows within (tabs / kTabsPerTick) * 100 ms, 1.3 s with 50
// tabs, 5 s with 200.
constexpr int kTabsPerTick = 4;
// Every kIconTicks ticks the selected window's icon is asked for, so a new
// icon shows within half a second; another window's icon is asked every
// fifth tick too, in turn, so it shows within tabs * 500 ms: icons seldom
// change, and asking one costs up to four calls across processes.
constexpr unsigned kIconTicks = 5;
// How long a window asked to close is checked on every tick.
constexpr DWORD kClosingWatch = 10000;

}  // namespace

void PaneRefresh::Tick() {
    // A tick waits on other applications (their icons); a second one that
    // came in meanwhile would only repeat it.
    if (ticking_) return;
    ticking_ = true;
    ++ticks_;
    DropRescuedTabs();
    DropGoneWindows();
    const int selected = pane_.Selected();
    if (CapturedWindow* current = pane_.RecordAt(selected)) {
        pane_.RefreshTabText(selected);
        if (GetSystemData().showTabIcons && ticks_ % kIconTicks == 0) pane_.AskIcon(current);
    }
    RefreshInTurn();
    KeepMainOnTop();
    ArmTimer();
    ticking_ = false;
}

// The timer runs on; it is set again only when watchInterval changed, as
// killing and setting it on every tick would cost two calls to the server.
void PaneRefresh::ArmTimer() {
    const UINT interval = static_cast<UINT>(GetSystemData().watchInterval);
    if (armed_ && interval == armedInterval_) return;
    armed_ = SetTimer(pane_.TabControl(), cTab::kRefreshTimer, interval, nullptr) != 0;
    armedInterval_ = interval;
}

void PaneRefresh::Stop() {
    KillTimer(pane_.TabControl(), cTab::kRefreshTimer);
    armed_ = false;
}

// The display area hears of a window that is gone as it always has
// (PM_CHILDGONE), and drops its tab and record.
void PaneRefresh::ReportGone(CapturedWindow* record) {
    SendMessageA(pane_.DisplayArea(), PM_CHILDGONE, reinterpret_cast<WPARAM>(record), 0);
}

void PaneRefresh::DropGoneWindows() {
    const unsigned long ended = process_watch::Ended();
    if (ended != processesEnded_) {
        processesEnded_ = ended;
        for (int i = pane_.TabCount() - 1; i >= 0; --i) {
            CapturedWindow* record = pane_.RecordAt(i);
            if (record && !record->Exists()) ReportGone(record);
        }
    }
    if (CapturedWindow* current = pane_.RecordAt(pane_.Selected());
        current && !current->Exists()) {
        ReportGone(current);
    }
    const RecordList& records = pane_.records_;
    const DWORD now = timeGetTime();
    for (std::size_t i = records.Size(); i-- > 0;) {
        if (i >= records.Size()) continue;
        CapturedWindow* record = records.At(i);
        const DWORD asked = record->CloseAskedAt();
        if (asked != 0 && now - asked < kClosingWatch && !record->Exists()) ReportGone(record);
    }
}

// A few tabs after the last one looked at: gone, shown while not selected
// (its application showed it), or retitled.
void PaneRefresh::RefreshInTurn() {
    const int count = pane_.TabCount();
    const int selected = pane_.Selected();
    for (int step = 0; step < kTabsPerTick && step < count; ++step) {
        const int index = turn_++ % count;
        if (index == selected) continue;
        CapturedWindow* record = pane_.RecordAt(index);
        if (!record) continue;
        switch (record->CurrentState()) {
        case CapturedWindow::State::kGone:
            ReportGone(record);
            return;  // the indices moved; the next tick goes on
        case CapturedWindow::State::kShown:
            if (record != pane_.shown_) record->Show(SW_HIDE);
            break;
        case CapturedWindow::State::kHidden:
            break;
        }
        pane_.RefreshTabText(index);
    }
    if (turn_ >= count) turn_ = 0;
    if (count > 1 && GetSystemData().showTabIcons &&
        ticks_ % kIconTicks == kIconTicks / 2) {  // not on the selected one's tick
        const int index = iconTurn_++ % count;
        if (iconTurn_ >= count) iconTurn_ = 0;
        if (index != selected) {
            if (CapturedWindow* record = pane_.RecordAt(index)) pane_.AskIcon(record);
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
void PaneRefresh::KeepMainOnTop() {
    const CapturedWindow* current = pane_.RecordAt(pane_.Selected());
    if (pane_.TabCount() > 0 && current && current->IsForeground()) {
        pane_.Header().SetActive(true);
        const HWND main = pane_.Host()->HostWindow();
        if (main && (raisedFor_ != current->Window() || OvertakenBelowTopmost(main))) {
            SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            raisedFor_ = current->Window();
        }
    } else {
        pane_.Header().SetActive(false);
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
void PaneRefresh::DropRescuedTabs() {
    if (rescue::AwaitingDrop() == 0) return;
    for (int i = pane_.TabCount() - 1; i >= 0; --i) {
        const CapturedWindow* record = pane_.RecordAt(i);
        if (!record || !record->Rescued()) continue;
        pane_.RemoveTabAndRecord(i, record);  // the record only forgets its window
    }
}
