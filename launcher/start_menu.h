// The start-menu list: the program folders of the Windows start menu as
// owner-drawn menu items, each subfolder a submenu with its content, each
// shortcut (.lnk) an item whose data is its path. The paths are heap blocks
// of MenuDataList, valid until FreeMenuData runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Frees the item data of earlier menus (FreeMenuData, timer 1000 on owner),
// refreshes the menu metrics, restarts the item counter at 1 and fills menu
// with the all-users programs folder, then the user's (each only when the
// shell gives it). Ids: folders, "(なし)" and the overflow item commandId;
// shortcuts commandId | n << 5 with n counting from 1. The root level holds
// at most maxRootItems + 1 regular items; the rest goes into one unlabelled
// overflow submenu. True.
bool BuildStartMenu(HMENU menu, UINT commandId, HWND owner, int maxRootItems);

// The same over the given folders in order, missing ones skipped: what
// BuildStartMenu does once it has asked the shell for the two folders.
bool BuildStartMenuFrom(HMENU menu, UINT commandId, HWND owner, int maxRootItems,
                        const std::vector<std::string>& folders);

// WM_MEASUREITEM and WM_DRAWITEM of a folder or shortcut item (item data a
// path; nothing is done for null data). window gives the device context the
// text is measured on. True when the item was one of these.
bool MeasureStartMenuItem(HWND window, MEASUREITEMSTRUCT& item);
bool DrawStartMenuItem(const DRAWITEMSTRUCT& item);
