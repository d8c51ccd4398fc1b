#include "tests/support/open_menu.h"

#include "tests/support/desktop_input.h"

#include <gtest/gtest.h>

namespace testing_support {
namespace {

struct Driver {
    OpenMenu menu;
    std::vector<WPARAM> keys;
    int ticksAfterKeys = 0;
};
Driver g_driver;

void CALLBACK DriveOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindWindowA("#32768", nullptr);
    if (!window || !IsWindowVisible(window)) return;
    OpenMenu& open = g_driver.menu;
    if (open.seen) {
        if (++g_driver.ticksAfterKeys > 40) EndMenu();
        return;
    }
    open.seen = true;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    open.items = ItemsOf(menu);
    for (const MenuItem& item : open.items) {
        open.popups.push_back(item.submenu ? ItemsOf(item.submenu) : MenuItems{});
    }
    if (g_driver.keys.empty()) {
        EndMenu();
        return;
    }
    // As a hand lets go of Ctrl after a Ctrl + click: with Ctrl, Enter comes
    // through as a line feed, which chooses nothing.
    HoldKey(VK_CONTROL, false);
    for (WPARAM key : g_driver.keys) PostMessageA(window, WM_KEYDOWN, key, 0);
}

}  // namespace

MenuItems ItemsOf(HMENU menu) {
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

std::vector<UINT> IdsOf(const MenuItems& items) {
    std::vector<UINT> ids;
    for (const MenuItem& item : items) ids.push_back(item.id);
    return ids;
}

std::vector<std::string> TextsOf(const MenuItems& items) {
    std::vector<std::string> texts;
    for (const MenuItem& item : items) texts.push_back(item.text);
    return texts;
}

const OpenMenu& Opened() { return g_driver.menu; }

UINT_PTR StartMenuDriver(std::vector<WPARAM> keys) {
    g_driver = Driver{};
    g_driver.keys = std::move(keys);
    return SetTimer(nullptr, 0, 50, DriveOpenMenu);
}

void StopMenuDriver(UINT_PTR timer) { KillTimer(nullptr, timer); }

}  // namespace testing_support
