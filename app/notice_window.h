// A notice near the notification area that asks nothing: it takes no focus,
// stays on top until clicked, and a second notice replaces the first. For
// reports the user should see without being stopped by them.
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
    void Close() { window_.reset(); }
    HWND Window() const { return window_.get(); }

private:
    static const MessageRoute<NoticeWindow> kRoutes[];
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnClick(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    // The notice's size for text, at most a third of the work area wide.
    SIZE Measure(const RECT& workArea) const;

    HWND handle_ = nullptr;  // as the binding keeps it
    UniqueWindow window_;
    UniqueFont font_;
    std::wstring text_;
};
