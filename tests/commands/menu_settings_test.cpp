// The menu model in menu.ini: defaults, a byte-exact round trip, and what a
// damaged or odd file does.
#include "commands/menu_settings.h"

#include "app/settings_files.h"
#include "base/command_kinds.h"
#include "commands/command_ids.h"
#include "commands/command_texts.h"
#include "settings/profile_hex.h"
#include "tabs/tab_ids.h"
#include "tests/support/fresh_program_settings.h"

#include <gtest/gtest.h>

#include <cstring>

using testing_support::FileExists;
using testing_support::FreshProgramSettings;
using testing_support::IniValue;
using testing_support::ReadFileText;
using testing_support::WriteFileText;

namespace {

class MenuSettingsFile : public ::testing::Test {
protected:
    FreshProgramSettings settings;
    std::string ini = settings.Dir().File(command_ids::kMenuIni);
};

TEST_F(MenuSettingsFile, WithoutTheFileTheDefaultModelIsInForce) {
    LoadMenuSettings(ini.c_str());
    EXPECT_FALSE(FileExists(ini)) << "reading creates nothing";
    const MenuSettings& m = GetMenuSettings();
    const char* const titles[] = {command_texts::kDefaultPopupTitles[0],
                                  command_texts::kDefaultPopupTitles[1],
                                  command_texts::kDefaultPopupTitles[2],
                                  command_texts::kDefaultPopupTitles[3],
                                  "",
                                  "",
                                  "",
                                  ""};
    for (int n = 0; n < 8; ++n) EXPECT_STREQ(m.popupTitles[n], titles[n]) << n;
    const std::int8_t tabs[] = {1, 2, -1, 6, 7, 8, -1, 9, 10, 11, -1, 12, 13, 14, -1,
                                15, 16, 17, -1, 18, 19, 20, -2};
    EXPECT_EQ(0, std::memcmp(m.mainMenuItems[0], tabs, sizeof tabs));
    const std::int8_t operate[] = {4, 5, -1, 21, -2};
    EXPECT_EQ(0, std::memcmp(m.mainMenuItems[1], operate, sizeof operate));
    EXPECT_EQ(m.mainMenuItems[2][0], 24);
    EXPECT_EQ(m.mainMenuItems[2][1], -2);
    const std::int8_t add[] = {3, -1, 22, -2};
    EXPECT_EQ(0, std::memcmp(m.mainMenuItems[3], add, sizeof add));
    EXPECT_EQ(m.mainMenuItems[4][0], -2);
    const std::int8_t tabMenu[] = {6, 7, 8, -1, 18, 19, 20, -2};
    EXPECT_EQ(0, std::memcmp(m.tabMenuItems, tabMenu, sizeof tabMenu));
    EXPECT_EQ(m.tabMenuItems[15], -2) << "every place after the last entry is the end marker";
    EXPECT_TRUE(m.drawHotkeys);
    EXPECT_FALSE(m.globalHook);
}

TEST_F(MenuSettingsFile, IsWrittenAndReadBackByteForByte) {
    MenuSettings& m = GetMenuSettings();
    m.mainMenuItems[5][0] = 23;
    m.mainMenuItems[7][31] = 0;
    std::strcpy(m.popupTitles[5], "ツール表");  // a 0x5C trail byte
    m.tabMenuItems[0] = 25;
    m.drawHotkeys = false;
    m.globalHook = true;
    const MenuSettings written = m;
    SaveMenuSettings(ini.c_str());
    EXPECT_EQ(IniValue(ini, command_ids::kMainSection, command_ids::kMainItemsKey).size(), 514u);
    EXPECT_EQ(IniValue(ini, tab_ids::kLayoutSection, command_ids::kTabItemsKey).size(), 34u);
    EXPECT_EQ(IniValue(ini, command_ids::kHotkeySection, command_ids::kDrawKey), "false");
    EXPECT_EQ(IniValue(ini, command_ids::kHotkeySection, command_ids::kHookKey), "true");
    EXPECT_EQ(IniValue(ini, command_ids::kMainSection, "POPUP.5"), "ツール表");
    const std::string text = ReadFileText(ini);

    m = DefaultMenuSettings();
    LoadMenuSettings(ini.c_str());
    EXPECT_EQ(0, std::memcmp(&m, &written, sizeof m));
    SaveMenuSettings(ini.c_str());
    EXPECT_EQ(ReadFileText(ini), text);
}

TEST_F(MenuSettingsFile, ADamagedStructIsIgnoredWhileTheRestIsRead) {
    SaveMenuSettings(ini.c_str());
    std::string items = IniValue(ini, command_ids::kMainSection, command_ids::kMainItemsKey);
    items[3] = items[3] == '1' ? '2' : '1';  // checksum no longer matches
    WriteFileText(ini, "[MAIN]\r\nMAIN MENU ITEM=" + items + "\r\nPOPUP.0=Mine\r\n"
                       "[TAB]\r\nTAB MENU ITEM=0102\r\n[HOTKEY]\r\nDRAW=TRUE\r\nHOOK=yes\r\n");
    LoadMenuSettings(ini.c_str());
    const MenuSettings defaults = DefaultMenuSettings();
    const MenuSettings& m = GetMenuSettings();
    EXPECT_EQ(0, std::memcmp(m.mainMenuItems, defaults.mainMenuItems, sizeof m.mainMenuItems));
    EXPECT_EQ(0, std::memcmp(m.tabMenuItems, defaults.tabMenuItems, sizeof m.tabMenuItems))
        << "a value of the wrong length";
    EXPECT_STREQ(m.popupTitles[0], "Mine");
    EXPECT_STREQ(m.popupTitles[1], "") << "a title missing from an existing file is empty";
    EXPECT_TRUE(m.drawHotkeys) << "\"true\" in any case";
    EXPECT_FALSE(m.globalHook) << "anything but \"true\" is false";
}

TEST_F(MenuSettingsFile, TitlesAreCutTo31Bytes) {
    WriteFileText(ini, "[MAIN]\r\nPOPUP.2=" + std::string(40, 'x') + "\r\n");
    LoadMenuSettings(ini.c_str());
    EXPECT_EQ(std::string(GetMenuSettings().popupTitles[2]), std::string(31, 'x'));
}

TEST_F(MenuSettingsFile, TheWholeSettingsLoadAndSaveCarryTheModel) {
    GetMenuSettings().globalHook = true;
    SaveAllSettings(nullptr);
    ASSERT_TRUE(FileExists(ini));
    GetMenuSettings() = DefaultMenuSettings();
    LoadAllSettings(nullptr);
    EXPECT_TRUE(GetMenuSettings().globalHook);
}

}  // namespace
