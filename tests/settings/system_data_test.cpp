// The settings record in system.ini: defaults, refusal of a broken record,
// byte-exact round trips and the stored placement.
#include "settings/system_data.h"

#include "settings/conditions.h"
#include "settings/profile_hex.h"
#include "settings/settings_ids.h"
#include "tests/support/fresh_settings.h"

#include <gtest/gtest.h>

#include <cstring>

using testing_support::FreshSettings;
using testing_support::ReadFileText;
using testing_support::WriteFileText;

namespace {

// Bytes unlike the defaults in every field, reserved bytes included.
SystemData Scrambled() {
    SystemData d{};
    auto* bytes = reinterpret_cast<unsigned char*>(&d);
    for (size_t i = 0; i < sizeof d; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    return d;
}

// Those bytes within what the program can use.
SystemData Distinct() {
    SystemData d = Scrambled();
    MakeUsable(d);
    return d;
}

WINDOWPLACEMENT SamplePlacement() {
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    p.showCmd = SW_SHOWMAXIMIZED;
    p.rcNormalPosition = {10, 20, 610, 420};
    return p;
}

// A system.ini with a record, a placement and one remove condition.
std::string IniWith(const std::string& structText) {
    const WINDOWPLACEMENT p = SamplePlacement();
    return "[SYSTEMDATA]\r\nSTRUCT=" + structText + "\r\nPLACEMENT=" +
           profile_hex::Encode(&p, sizeof p) +
           "\r\n[REMOVEWNDCONDITION]\r\nCLASSFLAG=1\r\nSIZE=1\r\nCLASS0=Notepad\r\n";
}

class SystemDataFile : public ::testing::Test {
protected:
    FreshSettings settings;
    std::string ini = settings.SystemIni();
};

TEST_F(SystemDataFile, FirstStartHasTheBuiltInRecordAndDefaultConditions) {
    GetSystemData().headerActiveBack = 1;  // any earlier value is replaced by the load
    WINDOWPLACEMENT placement{};
    placement.showCmd = 77;
    EXPECT_FALSE(LoadSystemData(ini.c_str(), &placement));
    EXPECT_EQ(placement.showCmd, 77u) << "no placement is read";

    const SystemData& d = GetSystemData();
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&d);
    const unsigned char flags[19] = {0, 0, 1, 0, 0, 1, 1, 1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(0, std::memcmp(b, flags, sizeof flags));
    EXPECT_EQ(b[19], 0);
    EXPECT_EQ(d.wheelModifierKey, 18);
    EXPECT_EQ(d.startMenuMaxItems, 8);
    EXPECT_EQ(d.tabTextLength, 16);
    EXPECT_EQ(b[29] | b[30] | b[31] | b[66] | b[67], 0);
    EXPECT_EQ(d.shortcutPosition, 3);
    EXPECT_EQ(d.watchInterval, 100);
    EXPECT_EQ(d.tabStyle, 0x0200u);
    EXPECT_EQ(d.tabExStyle, 0u);
    EXPECT_EQ(d.headerExStyle, 0x200u);
    EXPECT_EQ(d.mainExStyle, 0x200u);
    EXPECT_EQ(d.shortcutStyle, 0u);
    EXPECT_EQ(d.shortcutExStyle, 0x1u);
    EXPECT_EQ(d.fixedTabWidth, 120);
    COLORREF at68, at76;
    std::memcpy(&at68, b + 68, 4);
    std::memcpy(&at76, b + 76, 4);
    EXPECT_EQ(at68, GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(at76, GetSysColor(COLOR_CAPTIONTEXT));
    EXPECT_EQ(d.headerInactiveBack, 0x808080u);
    EXPECT_EQ(d.headerInactiveText, 0xC4C4C4u);

    const cWndCondition& remove = RemoveConditions();
    EXPECT_TRUE(remove.classOn);
    EXPECT_FALSE(remove.styleOn);
    EXPECT_EQ(remove.styleMask, 0u);
    ASSERT_EQ(remove.classes.Size(), 2u);
    EXPECT_EQ(remove.classes.At(0), settings_ids::kDefaultRemoveClass1);
    EXPECT_EQ(remove.classes.At(1), settings_ids::kDefaultRemoveClass2);
    EXPECT_FALSE(AddConditions().classOn || AddConditions().styleOn);
    EXPECT_EQ(AddConditions().classes.Size(), 0u);
}

TEST_F(SystemDataFile, ValidRecordIsReadWithPlacementAndConditions) {
    const SystemData distinct = Distinct();
    WriteFileText(ini, IniWith(profile_hex::Encode(&distinct, sizeof distinct)));
    WINDOWPLACEMENT placement{};
    ASSERT_TRUE(LoadSystemData(ini.c_str(), &placement));
    EXPECT_EQ(0, std::memcmp(&GetSystemData(), &distinct, sizeof distinct));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(placement.rcNormalPosition.right, 610);
    EXPECT_TRUE(RemoveConditions().classes.Contains("notepad"));
}

TEST_F(SystemDataFile, BrokenRecordIsRefusedWholeWhileTheRestIsRead) {
    const SystemData distinct = Distinct();
    const std::string good = profile_hex::Encode(&distinct, sizeof distinct);
    ASSERT_EQ(good.size(), 170u);
    std::string digitChanged = good;
    digitChanged[10] = digitChanged[10] == '0' ? '1' : '0';
    for (const std::string& bad : {good.substr(0, 168), good + "00", good + "0", digitChanged}) {
        testing_support::ResetSettingsState();
        WriteFileText(ini, IniWith(bad));
        WINDOWPLACEMENT placement{};
        EXPECT_TRUE(LoadSystemData(ini.c_str(), &placement)) << bad.size();
        const SystemData expected = DefaultSystemData();
        EXPECT_EQ(0, std::memcmp(&GetSystemData(), &expected, sizeof expected))
            << "length " << bad.size();
        EXPECT_EQ(placement.rcNormalPosition.bottom, 420);
        EXPECT_TRUE(RemoveConditions().classes.Contains("Notepad"));
    }
}

TEST_F(SystemDataFile, AnEditedRecordIsKeptWithinWhatTheProgramCanUse) {
    SystemData edited = Scrambled();
    edited.shortcutPosition = -7;
    edited.watchInterval = -1;
    edited.startMenuMaxItems = 0x7FFFFFFF;
    edited.wheelModifierKey = 300;
    edited.mainExStyle = WS_EX_MDICHILD | WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    edited.tabStyle = TCS_OWNERDRAWFIXED | TCS_BUTTONS | TCS_BOTTOM;
    edited.headerInactiveText = 0x01FF0000;  // a palette index, no plain colour
    WriteFileText(ini, IniWith(profile_hex::Encode(&edited, sizeof edited)));
    ASSERT_TRUE(LoadSystemData(ini.c_str(), nullptr));
    const SystemData& d = GetSystemData();
    EXPECT_EQ(d.shortcutPosition, 3) << "as the shortcut page puts it";
    EXPECT_EQ(d.watchInterval, 0);
    EXPECT_EQ(d.startMenuMaxItems, kMaxStartMenuItems);
    EXPECT_EQ(d.wheelModifierKey, 255);
    EXPECT_EQ(d.mainExStyle, static_cast<std::uint32_t>(WS_EX_TOOLWINDOW))
        << "only the bits the settings can set";
    EXPECT_EQ(d.tabStyle, static_cast<std::uint32_t>(TCS_BOTTOM));
    EXPECT_EQ(d.shortcutStyle, 0u);
    EXPECT_EQ(d.headerInactiveText, 0x00FF0000u);
    // The rest as it was read, flags and reserved bytes included.
    EXPECT_EQ(d.closeAllOnExit, edited.closeAllOnExit);
    EXPECT_EQ(d.tabTextLength, edited.tabTextLength);
    EXPECT_EQ(d.fixedTabWidth, edited.fixedTabWidth);
    EXPECT_EQ(0, std::memcmp(d.reserved66, edited.reserved66, sizeof d.reserved66));

    SystemData usable = d;
    EXPECT_FALSE(MakeUsable(usable)) << "a usable record stays as it is";
}

TEST(MainWindowPlacement, AShowCommandBeyondTheKnownOnesShowsNormally) {
    WINDOWPLACEMENT placement{};
    placement.showCmd = 0xDEAD;
    MakeUsable(placement);
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    placement.showCmd = SW_SHOWMAXIMIZED;
    MakeUsable(placement);
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
}

TEST_F(SystemDataFile, LowerCaseRecordIsAccepted) {
    const SystemData distinct = Distinct();
    std::string text = profile_hex::Encode(&distinct, sizeof distinct);
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    WriteFileText(ini, IniWith(text));
    LoadSystemData(ini.c_str(), nullptr);
    EXPECT_EQ(0, std::memcmp(&GetSystemData(), &distinct, sizeof distinct));
}

TEST_F(SystemDataFile, RecordIsWrittenBackByteForByte) {
    SystemData odd = DefaultSystemData();
    odd.reserved19 = 0xAB;
    odd.reserved29[2] = 0xCD;
    odd.reserved66[0] = 0xEF;
    odd.showMenu = 2;  // any non-zero byte is true and stays as it was
    odd.headerActiveBack = 0x123456;
    const std::string text = profile_hex::Encode(&odd, sizeof odd);
    WriteFileText(ini, IniWith(text));
    LoadSystemData(ini.c_str(), nullptr);
    ASSERT_TRUE(SaveSystemData(ini.c_str(), nullptr));
    EXPECT_EQ(
        testing_support::IniValue(ini, settings_ids::kSystemSection, settings_ids::kStructKey),
        text);
}

TEST_F(SystemDataFile, PlacementOfAHiddenWindowIsStoredMinimised) {
    HWND window = CreateWindowExA(0, "STATIC", "placement", WS_OVERLAPPEDWINDOW, 30, 40, 300,
                                  200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const auto saved = [&](int show) {
        ShowWindow(window, show);
        SaveSystemData(ini.c_str(), window);
        WINDOWPLACEMENT placement{};
        EXPECT_TRUE(profile_hex::ReadStruct(ini.c_str(), settings_ids::kSystemSection,
                                            settings_ids::kPlacementKey, &placement,
                                            sizeof placement));
        return placement;
    };
    const WINDOWPLACEMENT shown = saved(SW_SHOWNORMAL);
    EXPECT_EQ(shown.length, sizeof shown);
    EXPECT_EQ(shown.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(shown.rcNormalPosition.left, 30);
    EXPECT_EQ(shown.rcNormalPosition.bottom, 240);
    const WINDOWPLACEMENT hidden = saved(SW_HIDE);
    EXPECT_EQ(hidden.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(hidden.rcNormalPosition.left, 30);
    DestroyWindow(window);
}

TEST_F(SystemDataFile, ExistingFileWithoutConditionSectionsReadsEmptySets) {
    WriteFileText(ini, "[SYSTEMDATA]\r\nTOOLDIR=tool\r\n");
    EXPECT_FALSE(LoadSystemData(ini.c_str(), nullptr));
    EXPECT_FALSE(RemoveConditions().classOn);
    EXPECT_EQ(RemoveConditions().classes.Size(), 0u);
}

}  // namespace
