// The whole load and save of the settings files, through ModuleFilePath.
#include "app/settings_files.h"

#include "base/module_path.h"
#include "base/command_kinds.h"
#include "commands/accelerators.h"
#include "commands/command_ids.h"
#include "commands/menu_settings.h"
#include "commands/menus.h"
#include "commands/tool_list_menu.h"
#include "plugins/host/host_ids.h"
#include "plugins/host/tool_slots.h"
#include "settings/conditions.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tabs/split_bar.h"
#include "tabs/pane.h"
#include "tabs/tab_ids.h"
#include "tests/plugins/tool_test_support.h"
#include "tests/support/fresh_program_settings.h"
#include "tests/support/open_menu.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using testing_support::FreshProgramSettings;
using testing_support::ReadFileText;
using testing_support::WriteFileText;

namespace {

std::string Value(const std::string& ini, const char* section, const char* key) {
    return testing_support::IniValue(ini, section, key, "\x01");
}

TEST(ModuleFilePath, JoinsTheExecutablesFolderWithTheName) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string expected = module;
    expected = expected.substr(0, expected.find_last_of('\\') + 1) + command_ids::kMenuIni;
    EXPECT_EQ(std::string(ModuleFilePath(command_ids::kMenuIni)), expected);

    const char* first = ModuleFilePath("a.ini");
    const char* second = ModuleFilePath("b.ini");
    EXPECT_EQ(first, second) << "one buffer, overwritten by the next call";
    EXPECT_STREQ(second + std::strlen(second) - 5, "b.ini");
}

TEST(ModuleFilePath, FollowsATestsFolderOverride) {
    FreshProgramSettings settings;
    EXPECT_EQ(std::string(ModuleFilePath(settings_ids::kSystemIni)), settings.SystemIni());
}

TEST(SettingsFiles, FirstStartThenSaveWritesEveryKnownKey) {
    FreshProgramSettings settings;
    WINDOWPLACEMENT placement{};
    EXPECT_FALSE(LoadAllSettings(&placement));
    EXPECT_STREQ(ToolFolderName(), settings_ids::kToolDirDefault);

    HWND window = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60,
                                  400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SaveAllSettings(window));
    DestroyWindow(window);

    const std::string ini = settings.SystemIni();
    EXPECT_EQ(Value(ini, settings_ids::kSystemSection, settings_ids::kToolDirKey),
              settings_ids::kToolDirDefault);
    EXPECT_EQ(Value(ini, settings_ids::kSystemSection, settings_ids::kStructKey).size(), 170u);
    EXPECT_EQ(Value(ini, settings_ids::kSystemSection, settings_ids::kPlacementKey).size(), 90u);
    for (const char* section :
         {settings_ids::kAddConditionSection, settings_ids::kRemoveConditionSection}) {
        for (const char* key : {settings_ids::kStyleFlagKey, settings_ids::kStyleKey,
                                settings_ids::kClassFlagKey, settings_ids::kSizeKey}) {
            EXPECT_NE(Value(ini, section, key), "\x01") << section << " " << key;
        }
    }
    EXPECT_EQ(Value(ini, settings_ids::kRemoveConditionSection, settings_ids::kClassFlagKey), "1");
    EXPECT_EQ(Value(ini, settings_ids::kRemoveConditionSection, settings_ids::kSizeKey), "2");
    EXPECT_EQ(Value(ini, settings_ids::kRemoveConditionSection, "CLASS0"),
              settings_ids::kDefaultRemoveClass1);
    EXPECT_EQ(Value(ini, settings_ids::kRemoveConditionSection, "CLASS1"),
              settings_ids::kDefaultRemoveClass2);
    EXPECT_EQ(Value(ini, settings_ids::kAddConditionSection, settings_ids::kSizeKey), "0");
    // The split bars' keys and the (empty) split layout.
    EXPECT_EQ(Value(ini, settings_ids::kSystemSection, tab_ids::kSplitbarFlagKey), "0");
    EXPECT_EQ(Value(ini, settings_ids::kSystemSection, tab_ids::kSplitbarRateKey), "20");
    EXPECT_EQ(testing_support::IniValue(ini, tab_ids::kLayoutSection, tab_ids::kSplitRateKey,
                                        testing_support::kNoKey),
              "");

    // The next start reads back what was saved.
    testing_support::ResetProgramState();
    WINDOWPLACEMENT again{};
    ASSERT_TRUE(LoadAllSettings(&again));
    EXPECT_EQ(again.rcNormalPosition.left, 50);
    EXPECT_EQ(again.rcNormalPosition.right, 450);
    EXPECT_EQ(RemoveConditions().classes.Size(), 2u);
}

TEST(SettingsFiles, ToolFolderIsCutTo31Characters) {
    FreshProgramSettings settings;
    const std::string longName(40, 'x');
    WriteFileText(settings.SystemIni(), "[SYSTEMDATA]\r\nTOOLDIR=" + longName + "\r\n");
    LoadAllSettings(nullptr);
    EXPECT_EQ(std::string(ToolFolderName()), longName.substr(0, 31));
    SaveAllSettings(nullptr);
    EXPECT_EQ(Value(settings.SystemIni(), settings_ids::kSystemSection, settings_ids::kToolDirKey),
              longName.substr(0, 31));
}

TEST(SettingsFiles, ToolFolderKeepsAJapaneseName) {
    FreshProgramSettings settings;
    // CP932 with a 0x5C trail byte, which a careless cut would break.
    WriteFileText(settings.SystemIni(), "[SYSTEMDATA]\r\nTOOLDIR=ツール表\r\n");
    LoadAllSettings(nullptr);
    EXPECT_STREQ(ToolFolderName(), "ツール表");
}

// The delivered tools copied into the tool folder of settings, as the
// release has them beside the program.
void InstallDeliveredTools(const FreshProgramSettings& settings,
                           std::initializer_list<const char*> names) {
    const std::string folder = settings.Dir().File(settings_ids::kToolDirDefault);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : names) {
        ASSERT_TRUE(CopyFileA(testing_support::BuiltFile("tool", name).c_str(),
                              (folder + "\\" + name).c_str(), FALSE))
            << name;
    }
}

TEST(SettingsFiles, WithoutToolsIniTheDeliveredToolsRegisterFromTheReleasesFile) {
    FreshProgramSettings settings;
    InstallDeliveredTools(settings, {"datestamp.ttl", "snap.ttl"});
    const std::string defaults = settings.Dir().File(host_ids::kToolsDefaultIni);
    const std::string delivered = "[TOOL PLUGIN PATH]\r\nNo.0=snap.ttl\r\nNo.1=datestamp.ttl\r\n";
    WriteFileText(defaults, delivered);

    LoadAllSettings(nullptr);
    EXPECT_STREQ(ToolSlots()[0].FileName(), "snap.ttl");
    EXPECT_STREQ(ToolSlots()[1].FileName(), "datestamp.ttl");
    EXPECT_FALSE(ToolSlots()[2].IsLoaded());
    SaveAllSettings(nullptr);

    // The registration became the user's own; the release's file is as it came.
    const std::string tools = settings.Dir().File(host_ids::kToolsIni);
    EXPECT_EQ(Value(tools, host_ids::kToolsSection, "No.0"), "snap.ttl");
    EXPECT_EQ(Value(tools, host_ids::kToolsSection, "No.1"), "datestamp.ttl");
    EXPECT_EQ(Value(tools, host_ids::kToolsSection, "No.2"), "");
    EXPECT_EQ(ReadFileText(defaults), delivered);
}

TEST(SettingsFiles, TheUsersToolsIniWinsOverTheReleasesFileEvenWithNoToolInIt) {
    FreshProgramSettings settings;
    InstallDeliveredTools(settings, {"datestamp.ttl", "snap.ttl"});
    const std::string defaults = settings.Dir().File(host_ids::kToolsDefaultIni);
    const std::string delivered = "[TOOL PLUGIN PATH]\r\nNo.0=datestamp.ttl\r\nNo.1=snap.ttl\r\n";
    WriteFileText(defaults, delivered);
    // Every tool taken out by the user, and one of them put back in slot 3.
    const std::string tools = settings.Dir().File(host_ids::kToolsIni);
    WriteFileText(tools, "[TOOL PLUGIN PATH]\r\nNo.0=\r\nNo.3=snap.ttl\r\n");

    LoadAllSettings(nullptr);
    for (int slot = 0; slot < kToolSlotCount; ++slot) {
        EXPECT_EQ(ToolSlots()[slot].IsLoaded(), slot == 3) << slot;
    }
    SaveAllSettings(nullptr);
    EXPECT_EQ(Value(tools, host_ids::kToolsSection, "No.0"), "");
    EXPECT_EQ(Value(tools, host_ids::kToolsSection, "No.3"), "snap.ttl");
    EXPECT_EQ(ReadFileText(defaults), delivered);
}

// The release's menu file, as the build put it beside the program: a first
// start has a tools menu listing every registered tool, and keeps the keys
// and options of a start without any menu file. The user's menu.ini, once
// there, is all that counts.
TEST(SettingsFiles, AFirstStartHasTheToolMenuOfTheReleasesMenuFileUntilMenuIniExists) {
    FreshProgramSettings settings;
    const char* tools[] = {"datestamp.ttl", "snap.ttl", "exefolder.ttl", "classadd.ttl",
                           "link.ttl"};
    InstallDeliveredTools(settings, {tools[0], tools[1], tools[2], tools[3], tools[4]});
    for (const char* file : {command_ids::kMenuDefaultIni, host_ids::kToolsDefaultIni}) {
        ASSERT_TRUE(CopyFileA(testing_support::BuiltFile(".", file).c_str(),
                              settings.Dir().File(file).c_str(), FALSE))
            << file;
    }
    const std::string delivered = ReadFileText(settings.Dir().File(command_ids::kMenuDefaultIni));
    const MenuSettings& menus = GetMenuSettings();
    GetMenuSettings() = DefaultMenuSettings();

    LoadAllSettings(nullptr);
    MenuSettings expected = DefaultMenuSettings();
    std::snprintf(expected.popupTitles[4], MenuSettings::kTitleSize, "ツール(&L)");
    expected.mainMenuItems[4][0] = kToolList;
    EXPECT_EQ(std::memcmp(&menus, &expected, sizeof expected), 0) << "the defaults and the tools";
    ToolHost host(RootPane(), nullptr);
    SetToolMenuSource(&host);
    UniqueMenu popup(CreatePopupMenu());
    for (std::int8_t code : menus.mainMenuItems[4]) {
        if (!AppendMenuEntry(popup.get(), code, menus.drawHotkeys)) break;
    }
    SetToolMenuSource(nullptr);
    const testing_support::MenuItems items = testing_support::ItemsOf(popup.get());
    ASSERT_EQ(items.size(), 5u);
    for (UINT slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(items[slot].id, slot * 32 + kToolList);
        EXPECT_FALSE(items[slot].text.empty());
        EXPECT_STREQ(ToolSlots()[slot].FileName(), tools[slot]);
    }
    EXPECT_EQ(AcceleratorTable::Instance().Key(0), VK_LEFT) << "the keys of a start without menu.ini";

    SaveAllSettings(nullptr);
    EXPECT_EQ(ReadFileText(settings.Dir().File(command_ids::kMenuDefaultIni)), delivered);
    const std::string own = settings.Dir().File(command_ids::kMenuIni);
    EXPECT_EQ(Value(own, command_ids::kMainSection, "POPUP.4"), "ツール(&L)") << "now the user's";

    WritePrivateProfileStringA(command_ids::kMainSection, "POPUP.4", "", own.c_str());
    LoadAllSettings(nullptr);
    EXPECT_STREQ(menus.popupTitles[4], "") << "the user's menu.ini alone";
}

TEST(SplitbarSettings, TheWholeSettingsLoadAndSaveCarryThem) {
    const FreshProgramSettings settings;
    const std::string ini = settings.SystemIni();
    const auto value = [&](const char* key) {
        return Value(ini, settings_ids::kSystemSection, key);
    };
    WriteFileText(ini, "[SYSTEMDATA]\r\nSBARFLAG=1\r\nSBARRATE=300\r\n");
    LoadAllSettings(nullptr);
    EXPECT_TRUE(cSplitbar::DragWithRightButton());
    EXPECT_EQ(cSplitbar::GripPercent(), 44);

    WriteFileText(ini, "");
    cSplitbar::SetGripPercent(55);
    const HWND window = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW, 50, 60, 400,
                                        300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SaveAllSettings(window);
    DestroyWindow(window);
    EXPECT_EQ(value(tab_ids::kSplitbarFlagKey), "1");
    EXPECT_EQ(value(tab_ids::kSplitbarRateKey), "55");
    // Written after the system data and the placement.
    char keys[4096] = "";
    GetPrivateProfileSectionA(settings_ids::kSystemSection, keys, sizeof keys,
                              ini.c_str());
    std::vector<std::string> order;
    for (const char* key = keys; *key; key += std::strlen(key) + 1) {
        const std::string entry = key;
        order.push_back(entry.substr(0, entry.find('=')));
    }
    const auto at = [&](const char* name) {
        for (size_t i = 0; i < order.size(); ++i) {
            if (order[i] == name) return static_cast<int>(i);
        }
        return -1;
    };
    ASSERT_GE(at(settings_ids::kPlacementKey), 0);
    EXPECT_GT(at(tab_ids::kSplitbarFlagKey), at(settings_ids::kPlacementKey));
    EXPECT_EQ(at(tab_ids::kSplitbarRateKey), at(tab_ids::kSplitbarFlagKey) + 1);
    cSplitbar::SetDragWithRightButton(false);
    cSplitbar::SetGripPercent(20);
}

}  // namespace
