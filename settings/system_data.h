// The one settings record of the program and its file, system.ini.
//
// SystemData is stored in the file as its raw bytes, so its layout is a file
// format: offsets, widths and reserved bytes are fixed and checked below at
// compile time. Flags are single bytes kept as read (a byte 2 from the file
// stays 2 and counts as true), so a record read from the file is written back
// byte for byte.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>

using Flag = std::uint8_t;

struct SystemData {
    Flag autoAddOnStart;          // 0
    Flag addAllOnStart;           // 1
    Flag showMenu;                // 2
    Flag minimizeAllOnExit;       // 3
    Flag showShortcutWindow;      // 4
    Flag showTabIcons;            // 5
    Flag shortcutSmallIcons;      // 6
    Flag dragSwapTabs;            // 7
    Flag releaseBeforeClose;      // 8
    Flag closeAllOnExit;          // 9
    Flag dropToActiveChild;       // 10
    Flag dropToAllChildren;       // 11
    Flag addLaunchedWindows;      // 12
    Flag addConditionFirst;       // 13
    Flag trayOnMinimize;          // 14
    Flag restoreOnAdd;            // 15
    Flag startMinimized;          // 16
    Flag restoreSplit;            // 17
    Flag wheelSwitchesTabs;       // 18
    std::uint8_t reserved19;      // 19
    std::int32_t wheelModifierKey;   // 20
    std::int32_t startMenuMaxItems;  // 24
    std::uint8_t tabTextLength;      // 28
    std::uint8_t reserved29[3];      // 29
    std::int32_t shortcutPosition;   // 32: 0 top, 1 bottom, 2 left, 3 right
    std::int32_t watchInterval;      // 36
    std::uint32_t tabStyle;          // 40
    std::uint32_t tabExStyle;        // 44
    std::uint32_t headerExStyle;     // 48
    std::uint32_t mainExStyle;       // 52
    std::uint32_t shortcutStyle;     // 56
    std::uint32_t shortcutExStyle;   // 60
    std::uint16_t fixedTabWidth;     // 64
    std::uint8_t reserved66[2];      // 66
    COLORREF headerActiveBack;       // 68
    COLORREF headerInactiveBack;     // 72
    COLORREF headerActiveText;       // 76
    COLORREF headerInactiveText;     // 80
};

static_assert(sizeof(SystemData) == 84, "SystemData is an 84-byte file format");
static_assert(offsetof(SystemData, autoAddOnStart) == 0);
static_assert(offsetof(SystemData, addAllOnStart) == 1);
static_assert(offsetof(SystemData, showMenu) == 2);
static_assert(offsetof(SystemData, minimizeAllOnExit) == 3);
static_assert(offsetof(SystemData, showShortcutWindow) == 4);
static_assert(offsetof(SystemData, showTabIcons) == 5);
static_assert(offsetof(SystemData, shortcutSmallIcons) == 6);
static_assert(offsetof(SystemData, dragSwapTabs) == 7);
static_assert(offsetof(SystemData, releaseBeforeClose) == 8);
static_assert(offsetof(SystemData, closeAllOnExit) == 9);
static_assert(offsetof(SystemData, dropToActiveChild) == 10);
static_assert(offsetof(SystemData, dropToAllChildren) == 11);
static_assert(offsetof(SystemData, addLaunchedWindows) == 12);
static_assert(offsetof(SystemData, addConditionFirst) == 13);
static_assert(offsetof(SystemData, trayOnMinimize) == 14);
static_assert(offsetof(SystemData, restoreOnAdd) == 15);
static_assert(offsetof(SystemData, startMinimized) == 16);
static_assert(offsetof(SystemData, restoreSplit) == 17);
static_assert(offsetof(SystemData, wheelSwitchesTabs) == 18);
static_assert(offsetof(SystemData, reserved19) == 19);
static_assert(offsetof(SystemData, wheelModifierKey) == 20);
static_assert(offsetof(SystemData, startMenuMaxItems) == 24);
static_assert(offsetof(SystemData, tabTextLength) == 28);
static_assert(offsetof(SystemData, reserved29) == 29);
static_assert(offsetof(SystemData, shortcutPosition) == 32);
static_assert(offsetof(SystemData, watchInterval) == 36);
static_assert(offsetof(SystemData, tabStyle) == 40);
static_assert(offsetof(SystemData, tabExStyle) == 44);
static_assert(offsetof(SystemData, headerExStyle) == 48);
static_assert(offsetof(SystemData, mainExStyle) == 52);
static_assert(offsetof(SystemData, shortcutStyle) == 56);
static_assert(offsetof(SystemData, shortcutExStyle) == 60);
static_assert(offsetof(SystemData, fixedTabWidth) == 64);
static_assert(offsetof(SystemData, reserved66) == 66);
static_assert(offsetof(SystemData, headerActiveBack) == 68);
static_assert(offsetof(SystemData, headerInactiveBack) == 72);
static_assert(offsetof(SystemData, headerActiveText) == 76);
static_assert(offsetof(SystemData, headerInactiveText) == 80);

// The built-in record, before any load (the caption colours are set by the load).
SystemData DefaultSystemData();

// What the program can use of each field, which is also what the settings
// pages can set: the style fields only the bits their check boxes stand
// for, the shortcut window on one of its four sides, intervals and counts
// within their spin ranges, colours as plain RGB, virtual keys as bytes.
inline constexpr std::uint32_t kUsableTabStyle =
    TCS_BOTTOM | TCS_VERTICAL | TCS_MULTILINE | TCS_HOTTRACK | TCS_FIXEDWIDTH;
inline constexpr std::uint32_t kUsableTabExStyle = WS_EX_CLIENTEDGE;
inline constexpr std::uint32_t kUsableHeaderExStyle = WS_EX_CLIENTEDGE;
inline constexpr std::uint32_t kUsableMainExStyle = WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW;
inline constexpr std::uint32_t kUsableShortcutExStyle = WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE;
inline constexpr std::int32_t kMaxWatchInterval = 65535;
inline constexpr std::int32_t kMaxStartMenuItems = 65535;

// Brings every field within what the program can use, leaving a field that
// already is as it was: a record that a settings page wrote stays byte for
// byte. Returns whether anything changed.
bool MakeUsable(SystemData& data);
// A stored main-window placement whose show command the program can use
// (one of SW_HIDE to SW_MAX, else SW_SHOWNORMAL).
void MakeUsable(WINDOWPLACEMENT& placement);

// The process-wide record. Valid for the whole run, also before the load.
SystemData& GetSystemData();

// Reads "STRUCT", "PLACEMENT" and both condition sections of systemIni.
// Returns true when a valid placement was read into placement; false leaves
// it untouched. A missing file installs the default remove conditions.
bool LoadSystemData(const char* systemIni, WINDOWPLACEMENT* placement);

// Writes "STRUCT", the placement of mainWindow (show command 2 while it is
// hidden) and both condition sections. A null mainWindow writes no placement.
bool SaveSystemData(const char* systemIni, HWND mainWindow);
