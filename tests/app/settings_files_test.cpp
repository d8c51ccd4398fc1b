// The whole load and save of the settings files, through ModuleFilePath.
#include "app/settings_files.h"

#include "base/module_path.h"
#include "settings/conditions.h"
#include "settings/system_data.h"
#include "tests/support/fresh_program_settings.h"

#include <gtest/gtest.h>

#include <cstring>

using testing_support::FreshProgramSettings;
using testing_support::WriteFileText;

namespace {

std::string Value(const std::string& ini, const char* section, const char* key) {
    return testing_support::IniValue(ini, section, key, "\x01");
}

TEST(ModuleFilePath, JoinsTheExecutablesFolderWithTheName) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string expected = module;
    expected = expected.substr(0, expected.find_last_of('\\') + 1) + "menu.ini";
    EXPECT_EQ(std::string(ModuleFilePath("menu.ini")), expected);

    const char* first = ModuleFilePath("a.ini");
    const char* second = ModuleFilePath("b.ini");
    EXPECT_EQ(first, second) << "one buffer, overwritten by the next call";
    EXPECT_STREQ(second + std::strlen(second) - 5, "b.ini");
}

TEST(ModuleFilePath, FollowsATestsFolderOverride) {
    FreshProgramSettings settings;
    EXPECT_EQ(std::string(ModuleFilePath("system.ini")), settings.SystemIni());
}

TEST(SettingsFiles, FirstStartThenSaveWritesEveryKnownKey) {
    FreshProgramSettings settings;
    WINDOWPLACEMENT placement{};
    EXPECT_FALSE(LoadAllSettings(&placement));
    EXPECT_STREQ(ToolFolderName(), "tool");

    HWND window = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60,
                                  400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SaveAllSettings(window));
    DestroyWindow(window);

    const std::string ini = settings.SystemIni();
    EXPECT_EQ(Value(ini, "SYSTEMDATA", "TOOLDIR"), "tool");
    EXPECT_EQ(Value(ini, "SYSTEMDATA", "STRUCT").size(), 170u);
    EXPECT_EQ(Value(ini, "SYSTEMDATA", "PLACEMENT").size(), 90u);
    for (const char* section : {"ADDWNDCONDITION", "REMOVEWNDCONDITION"}) {
        for (const char* key : {"STYLEFLAG", "STYLE", "CLASSFLAG", "SIZE"}) {
            EXPECT_NE(Value(ini, section, key), "\x01") << section << " " << key;
        }
    }
    EXPECT_EQ(Value(ini, "REMOVEWNDCONDITION", "CLASSFLAG"), "1");
    EXPECT_EQ(Value(ini, "REMOVEWNDCONDITION", "SIZE"), "2");
    EXPECT_EQ(Value(ini, "REMOVEWNDCONDITION", "CLASS0"), "Progman");
    EXPECT_EQ(Value(ini, "REMOVEWNDCONDITION", "CLASS1"), "IDEOQwner");
    EXPECT_EQ(Value(ini, "ADDWNDCONDITION", "SIZE"), "0");

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
    EXPECT_EQ(Value(settings.SystemIni(), "SYSTEMDATA", "TOOLDIR"), longName.substr(0, 31));
}

TEST(SettingsFiles, ToolFolderKeepsAJapaneseName) {
    FreshProgramSettings settings;
    // CP932 with a 0x5C trail byte, which a careless cut would break.
    WriteFileText(settings.SystemIni(), "[SYSTEMDATA]\r\nTOOLDIR=ツール表\r\n");
    LoadAllSettings(nullptr);
    EXPECT_STREQ(ToolFolderName(), "ツール表");
}

}  // namespace
