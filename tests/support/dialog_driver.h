// Modal dialogs as the user meets them: a test's actions run inside the
// dialog's own loop once it shows, from a timer of this thread, and end it
// through its buttons.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct DialogDriver {
    std::string title;
    std::function<void(HWND)> act;
    bool acted = false;
    int ticksAfter = 0;
};
inline DialogDriver g_dialogDriver;

struct DialogSearch {
    const std::string* title;
    HWND found;
};

inline BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    char className[16] = "", text[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    if (std::string(className) == "#32770" && IsWindowVisible(window) && *search->title == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible dialog of this thread titled title, or null.
inline HWND FindOwnDialog(const std::string& title) {
    DialogSearch search{&title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One tick of a driver: act once its dialog shows; a dialog still open five
// seconds after the act is cancelled, so that a test fails instead of
// hanging.
inline void DriveOnce(DialogDriver& driver) {
    HWND dialog = FindOwnDialog(driver.title);
    if (!dialog) return;
    if (driver.acted) {
        if (++driver.ticksAfter > 100) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    driver.acted = true;
    driver.act(dialog);
}

inline void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) { DriveOnce(g_dialogDriver); }

// Runs open, which shows a modal dialog titled title and returns when it
// closes, with act(dialog) run once the dialog shows; returns what open
// returns. act ends the dialog, for example with Press(dialog, IDOK).
template <typename Open>
auto WithDialog(const std::string& title, std::function<void(HWND)> act, Open open) {
    g_dialogDriver = DialogDriver{title, std::move(act)};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &DriveDialog);
    auto result = open();
    KillTimer(nullptr, timer);
    return result;
}

// The drivers of dialogs opened from inside a driven dialog, innermost last;
// one timer drives them all, whichever modal loop is running.
inline std::vector<DialogDriver*> g_nestedDrivers;

inline void CALLBACK DriveNestedDialogs(HWND, UINT, UINT_PTR, DWORD) {
    // An act may open (and so push) a dialog of its own.
    const std::vector<DialogDriver*> drivers = g_nestedDrivers;
    for (DialogDriver* driver : drivers) DriveOnce(*driver);
}

// As WithDialog, for a modal dialog that open shows while another driven
// dialog's act is still running; whether act ran.
template <typename Open>
bool WithNestedDialog(const std::string& title, std::function<void(HWND)> act, Open open) {
    DialogDriver driver{title, std::move(act)};
    g_nestedDrivers.push_back(&driver);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &DriveNestedDialogs);
    open();
    KillTimer(nullptr, timer);
    g_nestedDrivers.pop_back();
    return driver.acted;
}

// The text of a list view's row in column (0 the item itself), read with
// room for more than any row here holds.
inline std::string ListViewText(HWND list, int row, int column) {
    char text[2048] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

// A button of window (a dialog or a page) clicked.
inline void Press(HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }

}  // namespace testing_support
