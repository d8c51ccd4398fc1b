// The menu bar, its popup variant and the tab menu built from the menu
// model; the last highlighted item; the list commands and their items.
#include "commands/menus.h"

#include "base/command_kinds.h"
#include "base/menu_data.h"
#include "base/messages.h"
#include "commands/accelerators.h"
#include "commands/menu_settings.h"
#include "commands/tool_list_menu.h"
#include "commands/window_list_menu.h"
#include "tabs/pane.h"

#include <cstring>
#include <string>

namespace {

constexpr int kFirstListKind = kWindowList;
constexpr int kLastListKind = kShortcutList;

void WindowList(HMENU menu, int) { AppendWindowList(menu); }
void ToolList(HMENU menu, int) { AppendToolList(menu); }

// The lists by kind, 22 to 25; the launcher registers 24 and 25.
MenuList& ListOf(int kind) {
    static MenuList lists[kLastListKind - kFirstListKind + 1] = {
        {&WindowList, &CaptureListedWindow, &MeasureWindowItem, &DrawWindowItem},
        {&ToolList, &RunListedTool, nullptr, nullptr},
        {},
        {},
    };
    return lists[kind - kFirstListKind];
}

bool IsListKind(int kind) { return kind >= kFirstListKind && kind <= kLastListKind; }

MenuSelection& Selection() {
    static MenuSelection selection;
    return selection;
}

// The popup's entries from model popup number, until one ends the list.
void FillFromModel(HMENU popup, int number) {
    const MenuSettings& model = GetMenuSettings();
    for (int i = 0; i < MenuSettings::kEntries; ++i) {
        if (!AppendMenuEntry(popup, model.mainMenuItems[number][i], model.drawHotkeys)) break;
    }
}

// The sub-popup at position and the id it was given, or false.
bool SubPopupAt(HMENU menu, UINT position, HMENU* popup, UINT* id) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info) || !info.hSubMenu) return false;
    *popup = info.hSubMenu;
    *id = info.wID;
    return true;
}

void Empty(HMENU menu) {
    // DeleteMenu, not RemoveMenu: nested popups of a list go with their items.
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
}

bool ReadItem(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info) {
    *info = MENUITEMINFOA{};
    info->cbSize = sizeof *info;
    info->fMask = MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    return GetMenuItemInfoA(menu, item, byPosition, info) != FALSE;
}

// The item with id anywhere in menu, and the popup that holds it; a popup
// item matches only when nothing inside it does, as the system looks up.
bool FindItem(HMENU menu, UINT id, MenuListItem* found, HMENU* holder) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info;
        if (!ReadItem(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.hSubMenu && FindItem(info.hSubMenu, id, found, holder)) return true;
        if (info.wID == id) {
            *found = {id, info.hSubMenu, info.dwItemData};
            *holder = menu;
            return true;
        }
    }
    return false;
}

// The chosen item of a list command. The menu it came from is usually gone
// by now (the popup variant, the tab menu), so the last highlighted item
// stands in for it. When menu (the bar) also holds an item with that id but
// the highlighted one lay in another menu, the highlighted one is what was
// chosen: the bar keeps the items of its last opening, whose numbers another
// list may since have given to other windows.
bool FindChosenItem(unsigned id, HMENU menu, MenuListItem* item) {
    HMENU holder = nullptr;
    const bool inMenu = menu && FindItem(menu, id, item, &holder);
    const MenuSelection& last = Selection();
    if (last.menu && last.id == id && (!inMenu || holder != last.menu)) {
        *item = {id, last.submenu, last.data};
        return true;
    }
    return inMenu;
}

}  // namespace

bool AppendMenuEntry(HMENU menu, int code, bool showKey) {
    if (code >= kSelectPrevTab && code <= kSettings) {
        const std::string text = CommandItemText(code, showKey);
        return AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(code), text.c_str()) != FALSE;
    }
    if (code == kSeparatorCode) return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
    if (!IsListKind(code)) return false;
    if (ListOf(code).append) ListOf(code).append(menu, code);
    return true;
}

UniqueMenu CreateMainMenu(bool asPopup) {
    UniqueMenu menu(asPopup ? CreatePopupMenu() : CreateMenu());
    if (!menu) return menu;
    const MenuSettings& model = GetMenuSettings();
    for (int n = 0; n < MenuSettings::kPopups; ++n) {
        const int first = model.mainMenuItems[n][0];
        std::string title(model.popupTitles[n],
                          strnlen(model.popupTitles[n], MenuSettings::kTitleSize - 1));
        if (title.empty() || first < kSeparatorCode || first > 31) continue;
        UniqueMenu popup(CreatePopupMenu());
        if (!popup) return UniqueMenu();
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.wID = static_cast<UINT>(n);
        info.hSubMenu = popup.get();
        info.dwTypeData = title.data();
        const UINT end = static_cast<UINT>(GetMenuItemCount(menu.get()));
        if (!InsertMenuItemA(menu.get(), end, TRUE, &info)) return UniqueMenu();
        popup.release();  // destroyed with the menu from now on
    }
    return menu;
}

bool ShowMenuBar(HWND mainWindow) {
    UniqueMenu bar = CreateMainMenu(false);
    if (!bar) return false;
    HMENU previous = GetMenu(mainWindow);
    if (!SetMenu(mainWindow, bar.get())) return false;
    bar.release();  // the window's now, destroyed with it
    UniqueMenu replaced(previous);
    return true;
}

void HideMenuBar(HWND mainWindow) {
    FreeMenuData(mainWindow, WM_TIMER, kMenuDataTimer, 0);
    UniqueMenu bar(GetMenu(mainWindow));
    SetMenu(mainWindow, nullptr);
}

void FillMenuBarPopup(const MenuContext& context, HMENU popup, UINT position) {
    HMENU bar = GetMenu(context.owner);
    HMENU atPosition = nullptr;
    UINT number = 0;
    if (!bar || !SubPopupAt(bar, position, &atPosition, &number)) return;
    if (atPosition != popup || number >= MenuSettings::kPopups) return;
    Empty(popup);
    FillFromModel(popup, static_cast<int>(number));
    context.pane.EnableMenuCommands(popup);
}

int PopupMainMenu(const MenuContext& context) {
    UniqueMenu menu = CreateMainMenu(true);
    if (!menu) return -1;
    const int count = GetMenuItemCount(menu.get());
    for (int i = 0; i < count; ++i) {
        HMENU popup = nullptr;
        UINT number = 0;
        if (!SubPopupAt(menu.get(), static_cast<UINT>(i), &popup, &number)) continue;
        FillFromModel(popup, static_cast<int>(number));
        context.pane.EnableMenuCommands(popup);
    }
    POINT at{};
    GetCursorPos(&at);
    return TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                          context.owner, nullptr);
}

unsigned PopupTabMenu(const MenuContext& context) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return 0;
    const MenuSettings& model = GetMenuSettings();
    for (int i = 0; i < MenuSettings::kTabEntries; ++i) {
        if (!AppendMenuEntry(menu.get(), model.tabMenuItems[i], false)) break;
    }
    // A list that gave no items leaves nothing to show.
    if (GetMenuItemCount(menu.get()) <= 0) return 0;
    context.pane.EnableMenuCommands(menu.get());
    POINT at{};
    GetCursorPos(&at);
    // The choice comes back here rather than as WM_COMMAND, which would act
    // on whichever pane is active by the time it arrives.
    return static_cast<unsigned>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTBUTTON, at.x,
                                                at.y, 0, context.owner, nullptr));
}

const MenuSelection& LastMenuSelection() { return Selection(); }

void NoteMenuSelection(WPARAM wParam, LPARAM lParam) {
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    if (!menu || (HIWORD(wParam) & MF_POPUP)) return;
    const WORD id = LOWORD(wParam);
    // The item itself, in the menu that holds it; by command only when no
    // item of that menu carries the id directly.
    MENUITEMINFOA info;
    bool read = false;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count && !read; ++i) {
        read = ReadItem(menu, static_cast<UINT>(i), TRUE, &info) && info.wID == id;
    }
    if (!read && !ReadItem(menu, id, FALSE, &info)) info = MENUITEMINFOA{};
    Selection() = {id, menu, info.hSubMenu, info.dwItemData};
}

bool ExecListCommand(const MenuContext& context, unsigned id, HMENU menu) {
    const int kind = CommandKindOf(id);
    for (int listKind : {kWindowList, kStartMenuList, kToolList, kShortcutList}) {
        if (kind != listKind) continue;
        const MenuList& list = ListOf(listKind);
        MenuListItem item;
        if (!list.execute || !FindChosenItem(LOWORD(id), menu, &item)) return false;
        return list.execute(context, item);
    }
    return false;
}

bool MeasureListItem(MEASUREITEMSTRUCT& item) {
    const int kind = CommandKindOf(item.itemID);
    if (!IsListKind(kind) || !ListOf(kind).measure) return false;
    return ListOf(kind).measure(item);
}

bool DrawListItem(const DRAWITEMSTRUCT& item) {
    const int kind = CommandKindOf(item.itemID);
    if (!IsListKind(kind) || !ListOf(kind).draw) return false;
    return ListOf(kind).draw(item);
}

bool RegisterMenuList(int kind, const MenuList& list) {
    if (kind != kStartMenuList && kind != kShortcutList) return false;
    ListOf(kind) = list;
    return true;
}
