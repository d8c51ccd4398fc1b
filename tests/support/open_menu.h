// Menus as the user meets them: the items of a menu read back from the
// system, and a menu that TrackPopupMenu shows read and driven with keys
// from a timer of this thread while it is open.
#pragma once

#include "tests/support/desktop_input.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

struct MenuItem {
    UINT id = 0;
    std::string text;  // empty for owner-drawn items and separators
    bool grey = false;
    bool checked = false;
    bool ownerDrawn = false;
    bool separator = false;
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
};
using MenuItems = std::vector<MenuItem>;

inline MenuItems ItemsOf(HMENU menu) {
    MenuItems items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_DATA;
        EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info));
        MenuItem item;
        item.id = info.wID;
        item.grey = (info.fState & MFS_GRAYED) != 0;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        item.ownerDrawn = (info.fType & MFT_OWNERDRAW) != 0;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.submenu = info.hSubMenu;
        item.data = info.dwItemData;
        if (!item.ownerDrawn && !item.separator) {
            char text[256] = "";
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            item.text = text;
        }
        items.push_back(item);
    }
    return items;
}

inline std::vector<UINT> IdsOf(const MenuItems& items) {
    std::vector<UINT> ids;
    for (const MenuItem& item : items) ids.push_back(item.id);
    return ids;
}

inline std::vector<std::string> TextsOf(const MenuItems& items) {
    std::vector<std::string> texts;
    for (const MenuItem& item : items) texts.push_back(item.text);
    return texts;
}

// The menu last found open: its items and those of its sub-popups (by
// position, empty for plain items).
struct OpenMenu {
    bool seen = false;
    MenuItems items;
    std::vector<MenuItems> popups;
};

struct MenuDriver {
    OpenMenu menu;
    std::vector<WPARAM> keys;
    // Runs once the menu shows, before its keys: what happens elsewhere
    // while the user looks at the menu.
    std::function<void()> whileOpen;
    int ticksAfterKeys = 0;
};
inline MenuDriver g_menuDriver;

inline const OpenMenu& Opened() { return g_menuDriver.menu; }

// Reads the menu once it shows, then posts the keys to it or, with none,
// dismisses it. A menu still open two seconds after its keys is ended, so
// that a test fails instead of hanging.
inline void CALLBACK DriveOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindWindowA("#32768", nullptr);
    if (!window || !IsWindowVisible(window)) return;
    OpenMenu& open = g_menuDriver.menu;
    if (open.seen) {
        if (++g_menuDriver.ticksAfterKeys > 40) EndMenu();
        return;
    }
    open.seen = true;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    open.items = ItemsOf(menu);
    for (const MenuItem& item : open.items) {
        open.popups.push_back(item.submenu ? ItemsOf(item.submenu) : MenuItems{});
    }
    if (g_menuDriver.whileOpen) g_menuDriver.whileOpen();
    if (g_menuDriver.keys.empty()) {
        EndMenu();
        return;
    }
    // As a hand lets go of Ctrl after a Ctrl + click: with Ctrl, Enter comes
    // through as a line feed, which chooses nothing.
    HoldKey(VK_CONTROL, false);
    for (WPARAM key : g_menuDriver.keys) PostMessageA(window, WM_KEYDOWN, key, 0);
}

// Runs open, which shows a menu and returns when it closes, with the menu
// read and driven by keys; returns what open returns.
template <typename Open>
auto WithOpenMenu(std::vector<WPARAM> keys, Open open, std::function<void()> whileOpen = {}) {
    g_menuDriver = MenuDriver{};
    g_menuDriver.keys = std::move(keys);
    g_menuDriver.whileOpen = std::move(whileOpen);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveOpenMenu);
    auto result = open();
    KillTimer(nullptr, timer);
    return result;
}

}  // namespace testing_support
