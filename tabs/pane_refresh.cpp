// The pane's periodic refresh (timer 2, every watchInterval ms from the
// pane's creation to its destruction): tab texts, the header's title and
// active state, keeping the main window on top while a captured window is in
// use, and dropping the tabs of windows a rescue gave back. Also the tab
// texts and icons that activations and the settings refresh.
#include "tabs/pane.h"

#include "settings/system_data.h"

void cTab::RefreshTabText(int index) {
    const CapturedWindow* record = RecordAt(index);
    if (!record) return;
    Tabs().RefreshText(index, GetSystemData().tabTextLength);
    if (index == Selected()) header_.ShowTitle(record);
}

bool cTab::RebuildTabIcons() {
    if (!GetSystemData().showTabIcons) return false;
    return icons_.Rebuild(Tabs(), GetSystemData().tabTextLength);
}

void cTab::RefreshAllTabs() {
    if (RebuildTabIcons()) return;
    icons_.Clear(tabControl_);
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
