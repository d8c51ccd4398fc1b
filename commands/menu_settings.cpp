// The menu model's defaults and its sections of menu.ini.
#include "commands/menu_settings.h"

#include "base/command_kinds.h"
#include "commands/accelerators.h"
#include "commands/command_ids.h"
#include "commands/command_texts.h"
#include "commands/gestures.h"
#include "settings/profile_hex.h"
#include "settings/profile_text.h"
#include "tabs/tab_ids.h"

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

bool IsTrue(const char* text) { return _stricmp(text, command_ids::kTrue) == 0; }

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
    int n = 0;
    for (const char* title : command_texts::kDefaultPopupTitles) {
        std::snprintf(m.popupTitles[n++], MenuSettings::kTitleSize, "%s", title);
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

bool Exists(const char* file) { return GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES; }

// [MAIN] and [TAB]: the popups, their titles and the tab menu.
void LoadMenus(const char* menuIni) {
    MenuSettings& m = GetMenuSettings();
    profile_hex::ReadStruct(menuIni, command_ids::kMainSection, command_ids::kMainItemsKey,
                            m.mainMenuItems, sizeof m.mainMenuItems);
    for (int n = 0; n < MenuSettings::kPopups; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, command_ids::kPopupTitleKeyFormat, n);
        ReadProfileText(menuIni, command_ids::kMainSection, key, "", m.popupTitles[n],
                        MenuSettings::kTitleSize);
    }
    profile_hex::ReadStruct(menuIni, tab_ids::kLayoutSection, command_ids::kTabItemsKey,
                            m.tabMenuItems, sizeof m.tabMenuItems);
}

// [MAIN], [TAB], [HOTKEY] and the accelerator sections of an existing file.
void LoadMenuModel(const char* menuIni) {
    LoadMenus(menuIni);
    MenuSettings& m = GetMenuSettings();
    char flag[16] = "";
    GetPrivateProfileStringA(command_ids::kHotkeySection, command_ids::kDrawKey, command_ids::kTrue,
                             flag, sizeof flag, menuIni);
    m.drawHotkeys = IsTrue(flag);
    GetPrivateProfileStringA(command_ids::kHotkeySection, command_ids::kHookKey,
                             command_ids::kFalse, flag, sizeof flag, menuIni);
    m.globalHook = IsTrue(flag);
    // Once the file exists, a command it gives no key has none.
    AcceleratorTable::Instance().Load(menuIni);
}

}  // namespace

void LoadMenuSettings(const char* menuIni, const char* deliveredIni) {
    AcceleratorTable::Instance().SetDefaults();
    if (Exists(menuIni)) {
        LoadMenuModel(menuIni);
    } else if (deliveredIni && Exists(deliveredIni)) {
        // Only the menus: the keys of a first start are the defaults, which
        // reading a file without them would clear.
        LoadMenus(deliveredIni);
    }
    // Also without the file, so that its defaults always apply.
    GestureTable::Instance().Load(menuIni);
}

void SaveMenuSettings(const char* menuIni) {
    const MenuSettings& m = GetMenuSettings();
    profile_hex::WriteStruct(menuIni, command_ids::kMainSection, command_ids::kMainItemsKey,
                             m.mainMenuItems, sizeof m.mainMenuItems);
    for (int n = 0; n < MenuSettings::kPopups; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, command_ids::kPopupTitleKeyFormat, n);
        WritePrivateProfileStringA(command_ids::kMainSection, key, m.popupTitles[n], menuIni);
    }
    profile_hex::WriteStruct(menuIni, tab_ids::kLayoutSection, command_ids::kTabItemsKey,
                             m.tabMenuItems, sizeof m.tabMenuItems);
    WritePrivateProfileStringA(command_ids::kHotkeySection, command_ids::kDrawKey,
                               m.drawHotkeys ? command_ids::kTrue : command_ids::kFalse, menuIni);
    WritePrivateProfileStringA(command_ids::kHotkeySection, command_ids::kHookKey,
                               m.globalHook ? command_ids::kTrue : command_ids::kFalse, menuIni);
    AcceleratorTable::Instance().Save(menuIni);
    GestureTable::Instance().Save(menuIni);
}
