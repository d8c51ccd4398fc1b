// Menus as the user meets them: the items of a menu read back from the
// system, and a menu that TrackPopupMenu shows read and driven with keys
// from a timer of this thread while it is open.
#pragma once

#include <windows.h>

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

MenuItems ItemsOf(HMENU menu);
std::vector<UINT> IdsOf(const MenuItems& items);
std::vector<std::string> TextsOf(const MenuItems& items);

// The menu last found open: its items and those of its sub-popups (by
// position, empty for plain items).
struct OpenMenu {
    bool seen = false;
    MenuItems items;
    std::vector<MenuItems> popups;
};
const OpenMenu& Opened();

// Starts and stops the timer that reads the menu once it shows, then posts
// the keys to it (Ctrl let go first) or, with none, dismisses it. A menu
// still open two seconds after its keys is ended, so that a test fails
// instead of hanging.
UINT_PTR StartMenuDriver(std::vector<WPARAM> keys);
void StopMenuDriver(UINT_PTR timer);

// Runs open, which shows a menu and returns when it closes, with the menu
// read and driven by keys; returns what open returns.
template <typename Open>
auto WithOpenMenu(std::vector<WPARAM> keys, Open open) {
    const UINT_PTR timer = StartMenuDriver(std::move(keys));
    auto result = open();
    StopMenuDriver(timer);
    return result;
}

}  // namespace testing_support
