// A launcher icon: one slot of the shortcut window. It shows the icon of the
// file registered in it, launches the file on a click, takes a file dropped
// on it, and offers a context menu to launch, open the file's folder,
// unregister, register another file or show what the file is. A shell
// shortcut is registered as the file it points to.
#pragma once

#include "base/window_binding.h"
#include "launcher/icon_slot.h"

#include <windows.h>
#include <shellapi.h>

class cAppIcon : public IconSlot {
public:
    // Registers the icon class; a failure is reported in a message box.
    static bool Init(HINSTANCE instance);

    cAppIcon() : IconSlot(TipText::DisplayName, false) {}
    virtual ~cAppIcon();
    cAppIcon(const cAppIcon&) = delete;
    cAppIcon& operator=(const cAppIcon&) = delete;

    // The icon window as a child of parent, at size 0 until its owner places
    // it. False without a parent or when the window cannot be made.
    bool Create(HWND parent, HINSTANCE instance, DWORD extraStyle);
    // Key "No.<index>" of shortcut.ini's section; a file out of reach keeps
    // its slot (IconSlot::Restore).
    void Load(const char* iniPath, int index);
    void Save(const char* iniPath, int index) const;

private:
    static const MessageRoute<cAppIcon> kRoutes[];

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    // Tells the parent before (PM_PRELAUNCH) and after (PM_LAUNCHED), so
    // that the shortcut window can catch the launched program's window, or
    // stop waiting for it.
    bool Launch();
};
