// The menu model's defaults and its sections of menu.ini.
#include "commands/menu_settings.h"

#include "commands/accelerators.h"
#include "commands/command_kinds.h"
#include "commands/command_strings.h"
#include "commands/gestures.h"
#include "settings/profile_hex.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

void Fill(std::int8_t* entries, int count, std::initializer_list<int> codes) {
    std::memset(entries, kEndCode, static_cast<std::size_t>(count));
    int i = 0;
    for (int code : codes) entries[i++] = static_cast<std::int8_t>(code);
}

constexpr int S = kSeparatorCode;

bool IsTrue(const char* text) { return _stricmp(text, menu_ini::kTrue) == 0; }

}  // namespace

MenuSettings DefaultMenuSettings() {
    MenuSettings m{};
    for (auto& popup : m.mainMenuItems) Fill(popup, MenuSettings::kEntries, {});
    Fill(m.mainMenuItems[0], MenuSettings::kEntries,
         {kSelectPrevTab, kSelectNextTab, S, kReleaseTab, kMinimizeTab, kCloseTab, S,
          kReleaseAllTabs, kMinimizeAllTabs, kCloseAllTabs, S, kReleaseLeftTabs,
          kMinimizeLeftTabs, kCloseLeftTabs, S, kReleaseRightTabs, kMinimizeRightTabs,
          kCloseRightTabs, S, kUnsplit, kSplitLeftRight, kSplitTopBottom});
    Fill(m.mainMenuItems[1], MenuSettings::kEntries, {kWatchOn, kWatchOff, S, kSettings});
    Fill(m.mainMenuItems[2], MenuSettings::kEntries, {kStartMenuList});
    Fill(m.mainMenuItems[3], MenuSettings::kEntries, {kAddAllWindows, S, kWindowList});
    const char* const titles[] = {menu_ini::kDefaultTitle0, menu_ini::kDefaultTitle1,
                                  menu_ini::kDefaultTitle2, menu_ini::kDefaultTitle3};
    for (int i = 0; i < 4; ++i) {
        std::snprintf(m.popupTitles[i], MenuSettings::kTitleSize, "%s", titles[i]);
    }
    Fill(m.tabMenuItems, MenuSettings::kTabEntries,
         {kReleaseTab, kMinimizeTab, kCloseTab, S, kUnsplit, kSplitLeftRight, kSplitTopBottom});
    m.drawHotkeys = true;
    m.globalHook = false;
    return m;
}

MenuSettings& GetMenuSettings() {
    static MenuSettings settings = DefaultMenuSettings();
    return settings;
}

namespace {

// [MAIN], [TAB], [HOTKEY] and the accelerator sections of an existing file.
void LoadMenuModel(const char* menuIni) {
    MenuSettings& m = GetMenuSettings();
    profile_hex::ReadStruct(menuIni, menu_ini::kMainSection, menu_ini::kMainItemsKey,
                            m.mainMenuItems, sizeof m.mainMenuItems);
    for (int n = 0; n < MenuSettings::kPopups; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, menu_ini::kPopupTitleKeyFormat, n);
        GetPrivateProfileStringA(menu_ini::kMainSection, key, "", m.popupTitles[n],
                                 MenuSettings::kTitleSize, menuIni);
    }
    profile_hex::ReadStruct(menuIni, menu_ini::kTabSection, menu_ini::kTabItemsKey,
                            m.tabMenuItems, sizeof m.tabMenuItems);
    char flag[16] = "";
    GetPrivateProfileStringA(menu_ini::kHotkeySection, menu_ini::kDrawKey, menu_ini::kTrue, flag,
                             sizeof flag, menuIni);
    m.drawHotkeys = IsTrue(flag);
    GetPrivateProfileStringA(menu_ini::kHotkeySection, menu_ini::kHookKey, menu_ini::kFalse, flag,
                             sizeof flag, menuIni);
    m.globalHook = IsTrue(flag);
    // Once the file exists, a command it gives no key has none.
    AcceleratorTable::Instance().Load(menuIni);
}

}  // namespace

void LoadMenuSettings(const char* menuIni) {
    AcceleratorTable::Instance().SetDefaults();
    if (GetFileAttributesA(menuIni) != INVALID_FILE_ATTRIBUTES) LoadMenuModel(menuIni);
    // Also without the file, so that its defaults always apply.
    GestureTable::Instance().Load(menuIni);
}

void SaveMenuSettings(const char* menuIni) {
    const MenuSettings& m = GetMenuSettings();
    profile_hex::WriteStruct(menuIni, menu_ini::kMainSection, menu_ini::kMainItemsKey,
                             m.mainMenuItems, sizeof m.mainMenuItems);
    for (int n = 0; n < MenuSettings::kPopups; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, menu_ini::kPopupTitleKeyFormat, n);
        WritePrivateProfileStringA(menu_ini::kMainSection, key, m.popupTitles[n], menuIni);
    }
    profile_hex::WriteStruct(menuIni, menu_ini::kTabSection, menu_ini::kTabItemsKey,
                             m.tabMenuItems, sizeof m.tabMenuItems);
    WritePrivateProfileStringA(menu_ini::kHotkeySection, menu_ini::kDrawKey,
                               m.drawHotkeys ? menu_ini::kTrue : menu_ini::kFalse, menuIni);
    WritePrivateProfileStringA(menu_ini::kHotkeySection, menu_ini::kHookKey,
                               m.globalHook ? menu_ini::kTrue : menu_ini::kFalse, menuIni);
    AcceleratorTable::Instance().Save(menuIni);
    GestureTable::Instance().Save(menuIni);
}
