// The shortcut window: the launcher strip docked along one side of the main
// window, 16 launcher icons in a row or a column. Its entries live in
// shortcut.ini; while the strip is shown its icons are the live copy, and
// they are written back when it goes. The same entries make the owner-drawn
// items of the "ショートカット" menu list, launchable with the strip hidden.
#pragma once

#include "base/window_binding.h"
#include "launcher/app_icon.h"
#include "launcher/file_menu_item.h"

#include <windows.h>

class LaunchCapture;

class cShortcutWnd {
public:
    static constexpr int kSlots = 16;
    enum Position { kTop = 0, kBottom = 1, kLeft = 2, kRight = 3 };

    // Registers the strip's class and the icons' class; a failure is
    // reported in a message box.
    static bool Init(HINSTANCE instance);

    cShortcutWnd() = default;
    virtual ~cShortcutWnd();
    cShortcutWnd(const cShortcutWnd&) = delete;
    cShortcutWnd& operator=(const cShortcutWnd&) = delete;

    // Who is asked before each launch; null for nobody.
    void SetLaunchCapture(LaunchCapture* capture) { capture_ = capture; }

    // Replaces an existing strip; the icons are loaded from shortcut.ini.
    bool Create(HWND parent, HINSTANCE instance, DWORD style, DWORD exStyle, int position,
                bool smallIcons);
    // Saves the entries (on the strip's WM_DESTROY) and destroys the strip.
    void Destroy();
    bool IsShown() const { return window_ != nullptr; }
    // For the next Layout.
    void SetLayout(int position, bool smallIcons);
    void SetStyle(DWORD style, DWORD exStyle);
    // Docks the strip in area (the main window's free client area) and cuts
    // its thickness off; false, area unchanged, while it is not shown.
    bool Layout(RECT& area);

    // An entry: from the icon while shown, else from shortcut.ini. False
    // for an index outside 0..15 or an empty entry.
    bool GetEntry(int index, char* buffer, int size) const;
    // Registers path in the icon while shown (a file out of reach keeps its
    // slot, IconSlot::Restore), else writes it to the file.
    bool SetEntry(int index, const char* path);

    // The menu list: an owner-drawn item id | slot << 5 with the slot as
    // data for each entry; with none, the greyed placeholder.
    bool AppendMenuItems(HMENU menu, UINT id);
    void MeasureMenuItem(HWND window, MEASUREITEMSTRUCT& item) const;
    void DrawMenuItem(const DRAWITEMSTRUCT& item) const;
    // Asks for the capture of the launched program, opens the entry and
    // tells the capture how the start went.
    bool LaunchEntry(HWND owner, int index);

    HWND Window() const { return window_; }
    int StoredPosition() const { return position_; }
    const cAppIcon& Icon(int index) const { return icons_[index]; }
    cAppIcon& Icon(int index) { return icons_[index]; }

private:
    static const MessageRoute<cShortcutWnd> kRoutes[];

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnPreLaunch(WPARAM wParam, LPARAM lParam);
    LRESULT OnLaunched(WPARAM wParam, LPARAM lParam);
    void SaveEntries() const;

    HWND window_ = nullptr;
    cAppIcon icons_[kSlots];
    int position_ = kRight;
    bool smallIcons_ = false;
    FileMenuLook look_;
    LaunchCapture* capture_ = nullptr;
};

// The program's one strip object.
cShortcutWnd& ShortcutWindow();
