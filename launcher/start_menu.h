// The start-menu list: the program folders of the Windows start menu as
// owner-drawn menu items, each subfolder a submenu with its content, each
// shortcut (.lnk) an item whose data is its path. The paths are heap blocks
// of MenuDataList, valid until FreeMenuData runs.
//
// The folders are read on a thread of their own, within bounds: a programs
// folder may be huge, redirected to a slow network share, or hold a junction
// that leads back up the tree, and the user-interface thread must go on
// answering the hang watch meanwhile.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// How far one build reads.
struct StartMenuLimits {
    // Folder levels listed below a programs folder; deeper ones are left out.
    static constexpr int kMaxDepth = 8;
    // How long the menu waits for the folders; it then shows what was found
    // so far. Well below the hang watch's ten seconds, and the thread keeps
    // answering it meanwhile.
    static constexpr DWORD kTimeLimitMs = 3000;

    int depth = kMaxDepth;
    DWORD timeMs = kTimeLimitMs;
};

// Refreshes the menu metrics and fills menu with the all-users programs
// folder, then the user's (each only when the shell gives it). Ids: folders,
// "(なし)" and the overflow item commandId; shortcuts commandId | n << 5,
// with n counting from 1 but passing over the numbers that the lists of
// earlier builds still show (two lists in one menu, or in two popups of one
// menu, never share an id). The root level holds at most maxRootItems + 1
// regular items; the rest goes into one unlabelled overflow submenu. The
// item data of earlier builds is left alone: it lives until FreeMenuData
// (and the pending release on owner is put off, as a menu is open). True.
bool BuildStartMenu(HMENU menu, UINT commandId, HWND owner, int maxRootItems);

// The same over the given folders in order, missing ones skipped: what
// BuildStartMenu does once it has asked the shell for the two folders.
// Folders that are reparse points (junctions, symbolic links) are not
// listed, nor followed.
bool BuildStartMenuFrom(HMENU menu, UINT commandId, HWND owner, int maxRootItems,
                        const std::vector<std::string>& folders,
                        const StartMenuLimits& limits = {});

// WM_MEASUREITEM and WM_DRAWITEM of a folder or shortcut item (item data a
// path; nothing is done for null data). window gives the device context the
// text is measured on. True when the item was one of these.
bool MeasureStartMenuItem(HWND window, MEASUREITEMSTRUCT& item);
bool DrawStartMenuItem(const DRAWITEMSTRUCT& item);
