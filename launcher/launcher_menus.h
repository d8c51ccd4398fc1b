// The launcher's two lists in the menus: the start menu (kind 24) and the
// shortcut window's entries (kind 25), handed to the menu model.
#pragma once

#include <windows.h>

class LaunchCapture;

// From now on the menus list both, owned by owner (the main window), and a
// launch from either asks capture first.
void RegisterLauncherMenus(HWND owner, LaunchCapture* capture);
// The menus list neither any more.
void UnregisterLauncherMenus();
