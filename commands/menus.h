// The menus built from the menu model: the main window's menu bar, the same
// menu as a popup at the pointer, and a pane's tab menu. List entries
// (windows to capture, tools, start-menu shortcuts, shortcut-window entries)
// are expanded each time a menu opens; their commands are carried out here,
// first in PM_EXECCOMMAND, with the target taken from the chosen item's data.
#pragma once

#include "base/handles.h"

#include <windows.h>

class cTab;

// What a menu acts for: the window that owns it (the main window) and the
// pane its commands go to (the active pane, or the pane of the tab menu).
struct MenuContext {
    HWND owner;
    cTab& pane;
};

// Appends one entry at the end of menu: a built-in command (1 to 21; with
// showKey, the accelerator's text when the command has a key), a separator
// or a list. False for any other code, which ends an entry list.
bool AppendMenuEntry(HMENU menu, int code, bool showKey);

// A menu bar, or a popup menu, with one empty sub-popup per model popup that
// has a title and whose first entry is a code from -1 to 31; the sub-popup's
// id is the popup's number in the model. Null when any part cannot be made.
UniqueMenu CreateMainMenu(bool asPopup);

// The bar on the main window: a new one replaces (and destroys) the old.
// False, with nothing changed, when it cannot be built.
bool ShowMenuBar(HWND mainWindow);
// Frees the menu item data at once, then removes and destroys the bar.
void HideMenuBar(HWND mainWindow);

// WM_INITMENUPOPUP of the owner (not of its window menu): a popup of the
// owner's bar is emptied and filled again from its model popup, its
// commands greyed by the state of the context's pane.
void FillMenuBarPopup(const MenuContext& context, HMENU popup, UINT position);

// PM_POPUPMAINMENU: the main menu at the pointer, owned by the context's
// owner. The chosen id, which the caller carries out; 0 for none, -1 when
// the menu cannot be built.
int PopupMainMenu(const MenuContext& context);

// The tab menu of the context's pane at the pointer, owned by the context's
// owner: the chosen id, which the caller carries out for that pane; 0 for
// none and when the menu is empty.
unsigned PopupTabMenu(const MenuContext& context);

// The command item last highlighted in a menu of the main window. A list
// command still finds its target through it once its menu is destroyed.
struct MenuSelection {
    WORD id = 0;
    HMENU menu = nullptr;  // the menu that held the item
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
};
const MenuSelection& LastMenuSelection();
// WM_MENUSELECT of the main window.
void NoteMenuSelection(WPARAM wParam, LPARAM lParam);

// The first step of PM_EXECCOMMAND: commands of the list kinds, in the order
// 22, 24, 23, 25. menu is where the item is looked for (the bar, or null).
// True when handled.
bool ExecListCommand(const MenuContext& context, unsigned id, HMENU menu);

// WM_MEASUREITEM and WM_DRAWITEM of owner-drawn menu items, by the kind of
// the item id; false for kinds that draw no items.
bool MeasureListItem(MEASUREITEMSTRUCT& item);
bool DrawListItem(const DRAWITEMSTRUCT& item);

// A chosen list item as its command handler sees it.
struct MenuListItem {
    UINT id = 0;
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
};

// What a list entry of another subsystem supplies: the start menu (24,
// launcher) and the shortcut window's entries (25). Every member may be
// null. A list without a builder appends nothing and the entry list goes on;
// its commands are not handled until it has a handler.
struct MenuList {
    // Appends the list's items to menu, ids number * 32 + kind.
    void (*append)(HMENU menu, int kind) = nullptr;
    // Carries out a chosen item; false when it is not handled.
    bool (*execute)(const MenuContext& context, const MenuListItem& item) = nullptr;
    // The list's owner-drawn items; false when not drawn by the list.
    bool (*measure)(MEASUREITEMSTRUCT& item) = nullptr;
    bool (*draw)(const DRAWITEMSTRUCT& item) = nullptr;
};
// Kinds 24 and 25 only: the window list (22) and the tool list (23) are
// built in. Returns false for other kinds.
bool RegisterMenuList(int kind, const MenuList& list);
