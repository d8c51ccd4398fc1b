// One window of another application while it lives inside a pane: what it
// was before (style, extended style, placement) and how to give it back.
//
// Every call that reaches the other application during normal work is one
// that cannot block on a hung application (asynchronous show and size, sends
// with a short timeout). Only capture and release themselves may wait.
//
// While captured, the window is in the rescue table, which gives it back if
// the program fails. The record claims the window's slot for every change it
// makes, so a rescue never gives it back halfway through one; once a rescue
// has taken it, the record leaves it alone.
#pragma once

#include <windows.h>

class CapturedWindow {
public:
    // Captures window into displayArea. The caller has vetted the window.
    CapturedWindow(HWND window, HWND displayArea);
    // Gives the window back if it still exists.
    virtual ~CapturedWindow();
    CapturedWindow(const CapturedWindow&) = delete;
    CapturedWindow& operator=(const CapturedWindow&) = delete;

    // Gives the window back to the desktop as it was; clears Window(). A
    // window a rescue gave back is only forgotten.
    void Release();
    // Asks the window to close (after releasing it if asked), in turn with
    // every other close request (CloseRequests). Does not wait for the
    // application, which may ask its user first.
    void CloseWindow(bool releaseFirst);
    // Re-parents into another pane's display area; the watch timer follows.
    void MoveTo(HWND newDisplayArea);

    // Shows or hides without waiting for the application.
    void Show(int command) const;
    // Sizes to rect of its parent without waiting for the application.
    void Place(const RECT& rect) const;

    void Touch();
    DWORD LastActivated() const { return lastActivated_; }
    // Sets the time of last use outright; for tests of the pane's choice of
    // the most recently used tab, whose ties a clock cannot make on demand.
    void SetLastActivated(DWORD time) { lastActivated_ = time; }
    bool IsForeground() const;
    int Title(char* buffer, int maxChars) const;
    // The window's WindowIcon (below).
    HICON Icon() const;
    bool Holds(HWND hwnd) const { return window_ == hwnd; }
    HWND Window() const { return window_; }
    // True once a rescue has given the window back (after a hang).
    bool Rescued() const;

    void PostToWindow(UINT message, WPARAM wParam, LPARAM lParam) const;
    void PostToWindowTree(UINT message, WPARAM wParam, LPARAM lParam) const;

    LONG SavedStyle() const { return savedStyle_; }
    LONG SavedExStyle() const { return savedExStyle_; }
    const WINDOWPLACEMENT& SavedPlacement() const { return savedPlacement_; }
    // The saved normal position in screen coordinates.
    RECT SavedScreenRect() const { return screenRect_; }

    // The watch timer's procedure; its id is the record's address.
    static void CALLBACK WatchTimerProc(HWND displayArea, UINT message, UINT_PTR id, DWORD time);

    static constexpr LONG kRemovedStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    static constexpr UINT kWatchPeriod = 100;
    // Every activation asks every tab's window for its icon: a busy (not yet
    // hung) application must not hold each of them up for long.
    static constexpr UINT kIconTimeout = 50;

private:
    UINT_PTR TimerId() const { return reinterpret_cast<UINT_PTR>(this); }
    void StopWatch();

    HWND window_;
    // The display area the watch timer runs on. Kept here rather than asked
    // of the window, which may be gone when the timer has to stop.
    HWND displayArea_;
    LONG savedStyle_ = 0;
    LONG savedExStyle_ = 0;
    WINDOWPLACEMENT savedPlacement_{};
    RECT screenRect_{};
    DWORD lastActivated_ = 0;
    int rescueSlot_ = -1;  // none when the rescue table was full
};

// Another application's window's icon: WM_GETICON small, then big, each
// waiting at most CapturedWindow::kIconTimeout (the application may be
// busy or hung), then its class's small and big icons; null if none. The
// icon stays the other window's.
HICON WindowIcon(HWND window);
