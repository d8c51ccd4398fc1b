// A notice near the notification area that asks nothing: it takes no focus,
// stays on top until clicked, and a second notice replaces the first (or
// joins it, with Add). For reports the user should see without being
// stopped by them.
//
// The notice has an owner, a hidden window that is never shown: an owned
// window is no capturable window, so the notice never becomes a tab (of
// this program or of another instance), and a hidden owner, unlike the
// main window, is never minimised, which would hide the notice with it.
#pragma once

#include "base/handles.h"
#include "base/window_binding.h"

#include <windows.h>

#include <string>

class NoticeWindow {
public:
    NoticeWindow() = default;
    ~NoticeWindow() = default;
    NoticeWindow(const NoticeWindow&) = delete;
    NoticeWindow& operator=(const NoticeWindow&) = delete;

    // Shows text (lines broken at "\n"); false when no window could be made.
    bool Show(HINSTANCE instance, const std::wstring& text);
    // Adds text below what a notice still on the screen tells; shows it
    // alone when none is.
    bool Add(HINSTANCE instance, const std::wstring& text);
    void Close() {
        window_.reset();
        owner_.reset();
    }
    HWND Window() const { return window_.get(); }

private:
    static const MessageRoute<NoticeWindow> kRoutes[];
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnClick(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    // The notice's size for text, at most a third of the work area wide.
    SIZE Measure(const RECT& workArea) const;
    // Its place for its text: at the work area's corner.
    RECT Place() const;

    HWND handle_ = nullptr;  // as the binding keeps it
    UniqueWindow owner_;
    UniqueWindow window_;
    UniqueFont font_;
    std::wstring text_;
};
