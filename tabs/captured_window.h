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

#include <memory>

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
    // The same with the window's top-left corner at a screen point, kept on
    // the work area of the monitor there.
    void ReleaseAt(POINT topLeft);
    // Asks the window to close (after releasing it if asked), in turn with
    // every other close request (CloseRequests). Does not wait for the
    // application, which may ask its user first.
    void CloseWindow(bool releaseFirst);
    // Re-parents into another pane's display area.
    void MoveTo(HWND newDisplayArea);

    // Shows or hides without waiting for the application.
    void Show(int command) const;
    // Sizes to rect of its parent without waiting for the application; with
    // onlyIfMoved, not when the last size given was rect already.
    void Place(const RECT& rect, bool onlyIfMoved = false);

    // Whether the window still exists, and whether it shows, in one question
    // to the window's application.
    enum class State { kGone, kHidden, kShown };
    State CurrentState() const;
    // Whether the window exists; one question.
    bool Exists() const;
    // When the window was last asked to close through CloseWindow; 0 never.
    DWORD CloseAskedAt() const { return closeAskedAt_; }

    void Touch();
    DWORD LastActivated() const { return lastActivated_; }
    // Sets the time of last use outright; for tests of the pane's choice of
    // the most recently used tab, whose ties a clock cannot make on demand.
    void SetLastActivated(DWORD time) { lastActivated_ = time; }
    bool IsForeground() const;
    // The window's title as the application wrote it, in UTF-16: it may hold
    // characters the code page cannot.
    int Title(wchar_t* buffer, int maxChars) const;
    // The window's icon as last asked (WindowIcon, below); null when it has
    // none or was not asked yet.
    HICON Icon() const { return icon_; }
    // Keeps icon as the window's icon; true when it differs from the one kept.
    bool KeepIcon(HICON icon);
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

    static constexpr LONG kRemovedStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    // The pane asks for icons on its periodic refresh: a busy (not yet hung)
    // application must not hold the program up for long.
    static constexpr UINT kIconTimeout = 50;

private:
    HWND window_;
    // Ends with the last record of the window's process (process_watch).
    std::shared_ptr<void> processWatch_;
    HICON icon_ = nullptr;
    RECT placed_{};
    DWORD closeAskedAt_ = 0;
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
