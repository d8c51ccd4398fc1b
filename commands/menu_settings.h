// The user-editable menu model: eight popups of up to 32 entry codes with
// their titles, the tab menu, and the two hot-key options, kept in menu.ini.
// An entry code is a command kind (1 to 25), a separator or the end marker.
#pragma once

#include <cstdint>

struct MenuSettings {
    static constexpr int kPopups = 8;
    static constexpr int kEntries = 32;
    static constexpr int kTitleSize = 32;  // at most 31 bytes and the terminator
    static constexpr int kTabEntries = 16;

    std::int8_t mainMenuItems[kPopups][kEntries];
    char popupTitles[kPopups][kTitleSize];
    std::int8_t tabMenuItems[kTabEntries];
    bool drawHotkeys;  // built-in commands in the main menu show their key
    bool globalHook;   // accelerators work desktop-wide
};

inline constexpr std::int8_t kSeparatorCode = -1;
inline constexpr std::int8_t kEndCode = -2;

// The model in force while menu.ini does not exist.
MenuSettings DefaultMenuSettings();
// The process-wide model.
MenuSettings& GetMenuSettings();

// [MAIN], [TAB], [HOTKEY], the accelerator keys and the mouse gestures of
// menuIni. The keys start from their defaults; a missing file leaves every
// default, and a struct value of the wrong length or checksum is ignored as
// a whole. The gesture section is read in any case, so its defaults apply.
// While menuIni does not exist, the menus ([MAIN] and [TAB]) come from
// deliveredIni when that exists, and everything else keeps its default.
void LoadMenuSettings(const char* menuIni, const char* deliveredIni = nullptr);
void SaveMenuSettings(const char* menuIni);
