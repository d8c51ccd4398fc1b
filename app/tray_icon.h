// The main window's notification-area icon, removed when its owner goes.
#pragma once

#include <windows.h>

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds icon id 1 of window, reporting mouse messages as callbackMessage.
    bool Add(HWND window, HINSTANCE instance, UINT callbackMessage);
    void Remove();
    bool Shown() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
    HICON icon_ = nullptr;  // shared resource icon: never destroyed
};
