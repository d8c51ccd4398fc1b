// Accelerator keys: the Win32 table built from the slots (read back from the
// system), the message loop's translation into the main window's commands,
// the slots' place in menu.ini and the key texts.
#include "commands/accelerators.h"

#include "base/command_kinds.h"
#include "commands/command_ids.h"
#include "commands/command_texts.h"
#include "commands/menu_settings.h"
#include "tests/support/desktop_input.h"
#include "tests/support/fresh_program_settings.h"
#include "tests/support/message_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::FreshProgramSettings;
using testing_support::IniValues;
using testing_support::kNoKey;
using testing_support::MessageRecorder;
using testing_support::ReadFileText;
using testing_support::WriteFileText;

namespace {

using Commands = std::vector<WPARAM>;
using Strings = std::vector<std::string>;

struct Entry {
    BYTE flags;
    WORD key;
    WORD command;
    bool operator==(const Entry& o) const {
        return flags == o.flags && key == o.key && command == o.command;
    }
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
    return out << "{flags " << int(e.flags) << ", key " << e.key << ", command " << e.command
               << "}";
}

// The entries of the table as the system holds them.
std::vector<Entry> TableEntries() {
    const HACCEL table = AcceleratorTable::Instance().Handle();
    std::vector<Entry> entries;
    if (!table) return entries;
    const int count = CopyAcceleratorTableA(table, nullptr, 0);
    std::vector<ACCEL> copy(static_cast<std::size_t>(count));
    CopyAcceleratorTableA(table, copy.data(), count);
    for (const ACCEL& a : copy) entries.push_back({a.fVirt, a.key, a.cmd});
    return entries;
}

// Stands in for the main window, which the translated keys' WM_COMMANDs reach.
class CommandSink : public MessageRecorder {
public:
    CommandSink() : MessageRecorder(WS_OVERLAPPEDWINDOW, nullptr, 100, 100) {}
    Commands Received() const { return WParams(WM_COMMAND); }
};

// Modifiers as GetKeyState reports them to this thread, which is what the
// translation reads.
void HoldModifiers(BYTE flags) {
    testing_support::HoldKey(VK_CONTROL, flags & FCONTROL);
    testing_support::HoldKey(VK_MENU, flags & FALT);
    testing_support::HoldKey(VK_SHIFT, flags & FSHIFT);
}

class AcceleratorTest : public ::testing::Test {
protected:
    // Other tests of this program load menu files of their own.
    void SetUp() override { AcceleratorTable::Instance().SetDefaults(); }
    void TearDown() override {
        HoldModifiers(0);
        AcceleratorTable::Instance().SetDefaults();
        AcceleratorTable::Instance().Build(1);
    }

    // A key as the message loop would get it, for target (main when null);
    // true when it goes on to TranslateMessage and DispatchMessage.
    bool Translate(const CommandSink& main, WORD key, BYTE modifiers, HWND target = nullptr) {
        HoldModifiers(modifiers);
        MSG msg{};
        msg.hwnd = target ? target : main.Handle();
        msg.message = (modifiers & FALT) ? WM_SYSKEYDOWN : WM_KEYDOWN;
        msg.wParam = key;
        msg.lParam = 1;
        const bool passedOn = AcceleratorTable::Instance().Translate(main.Handle(), &msg);
        HoldModifiers(0);
        return passedOn;
    }

    FreshProgramSettings settings;
    std::string ini = settings.Dir().File(command_ids::kMenuIni);
};

TEST_F(AcceleratorTest, WithoutMenuIniTheTwentyDefaultKeysAreInTheTable) {
    // Whatever the slots held before, the load starts from the defaults.
    AcceleratorTable::Instance().Set(1, FALT, VK_F12);
    LoadMenuSettings(ini.c_str());
    ASSERT_TRUE(AcceleratorTable::Instance().Build(1));

    const WORD keys[] = {VK_LEFT, VK_RIGHT, 'A', VK_F1, VK_F2, 'R', 'I', 'C', VK_F3, VK_F4,
                         VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, 'N', 'H', 'V'};
    std::vector<Entry> expected;
    for (WORD i = 0; i < 20; ++i) {
        expected.push_back({FVIRTKEY | FCONTROL, keys[i], static_cast<WORD>(i + 1)});
    }
    EXPECT_EQ(TableEntries(), expected) << "\"設定\" (command 21) has no key";
    EXPECT_EQ(AcceleratorTable::Instance().Key(SlotOf(kSettings)), 0);
    EXPECT_EQ(CommandItemText(kSettings, true), CommandText(kSettings));
}

TEST_F(AcceleratorTest, TheFirstIdNumbersTheCommands) {
    AcceleratorTable& table = AcceleratorTable::Instance();
    for (int slot = 0; slot < AcceleratorTable::kSlots; ++slot) table.Set(slot, 0, 0);
    table.Set(4, FSHIFT, VK_F5);
    ASSERT_TRUE(table.Build(100));
    EXPECT_EQ(TableEntries(), (std::vector<Entry>{{FVIRTKEY | FSHIFT, VK_F5, 104}}));
}

TEST_F(AcceleratorTest, AMenuIniWithoutVirtualKeysLeavesEveryCommandWithoutAKey) {
    AcceleratorTable::Instance().Build(1);
    ASSERT_NE(AcceleratorTable::Instance().Handle(), nullptr);
    WriteFileText(ini, "[HOTKEY]\r\nDRAW=true\r\n[MODIFIERS]\r\n0=8\r\n1=8\r\n");
    LoadMenuSettings(ini.c_str());
    for (int slot = 0; slot < AcceleratorTable::kSlots; ++slot) {
        EXPECT_EQ(AcceleratorTable::Instance().Key(slot), 0) << slot;
    }
    EXPECT_EQ(AcceleratorTable::Instance().Modifiers(0), FCONTROL);
    EXPECT_EQ(AcceleratorTable::Instance().Modifiers(2), 0) << "a missing value reads as 0";

    EXPECT_FALSE(AcceleratorTable::Instance().Build(1));
    EXPECT_EQ(AcceleratorTable::Instance().Handle(), nullptr) << "the previous table is gone";
    EXPECT_EQ(CommandItemText(kSelectNextTab, true), CommandText(kSelectNextTab));

    CommandSink main;
    EXPECT_TRUE(Translate(main, VK_RIGHT, FCONTROL)) << "nothing to translate";
    EXPECT_TRUE(main.Received().empty());
}

TEST_F(AcceleratorTest, TwoSlotsWithTheSameKeysBothEnterTheTableInSlotOrder) {
    WriteFileText(ini, "[MODIFIERS]\r\n5=12\r\n2=12\r\n9=0\r\n"
                       "[VIRTUALKEY]\r\n5=39\r\n2=39\r\n9=123\r\n");
    LoadMenuSettings(ini.c_str());
    ASSERT_TRUE(AcceleratorTable::Instance().Build(1));
    // Slots 2, 5 and 9 are the keys of these three commands.
    EXPECT_EQ(TableEntries(),
              (std::vector<Entry>{{FVIRTKEY | FCONTROL | FSHIFT, VK_RIGHT, kAddAllWindows},
                                  {FVIRTKEY | FCONTROL | FSHIFT, VK_RIGHT, kReleaseTab},
                                  {FVIRTKEY, VK_F12, kMinimizeAllTabs}}));

    // The first of the two wins; a key without modifiers is a plain key.
    CommandSink main;
    EXPECT_FALSE(Translate(main, VK_RIGHT, FCONTROL | FSHIFT));
    EXPECT_FALSE(Translate(main, VK_F12, 0));
    EXPECT_EQ(main.Received(),
              (Commands{MAKEWPARAM(kAddAllWindows, 1), MAKEWPARAM(kMinimizeAllTabs, 1)}))
        << "accelerator commands carry 1 in the high word";
}

TEST_F(AcceleratorTest, TranslationTakesOnlyTheTablesKeysAndReachesTheMainWindow) {
    LoadMenuSettings(ini.c_str());
    ASSERT_TRUE(AcceleratorTable::Instance().Build(1));
    CommandSink main, focused;

    // A key pressed in another of the program's windows becomes the main
    // window's command.
    EXPECT_FALSE(Translate(main, VK_RIGHT, FCONTROL, focused.Handle()));
    EXPECT_EQ(main.Received(), (Commands{MAKEWPARAM(kSelectNextTab, 1)}));
    EXPECT_TRUE(focused.Received().empty());

    EXPECT_TRUE(Translate(main, VK_RIGHT, 0, focused.Handle())) << "Ctrl missing";
    EXPECT_TRUE(Translate(main, VK_RIGHT, FCONTROL | FSHIFT, focused.Handle()))
        << "Shift as well";
    EXPECT_TRUE(Translate(main, VK_UP, FCONTROL, focused.Handle())) << "no such key";
    EXPECT_EQ(main.Received().size(), 1u);
}

// The main menu bar numbers its popups 0 to 7, and a popup stays empty until
// it opens: the command of a key can be the id of a popup and of nothing else
// in the bar, which Wine 8's own translation does not survive.
TEST_F(AcceleratorTest, AMenuBarPopupWithTheCommandsIdDoesNotStopTheKey) {
    LoadMenuSettings(ini.c_str());
    ASSERT_TRUE(AcceleratorTable::Instance().Build(1));
    CommandSink main;
    UniqueMenu bar(CreateMenu());
    for (UINT id = 0; id < 4; ++id) {
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.wID = id;
        item.hSubMenu = CreatePopupMenu();
        char text[] = "popup";
        item.dwTypeData = text;
        ASSERT_TRUE(InsertMenuItemA(bar.get(), id, TRUE, &item));
    }
    ASSERT_TRUE(SetMenu(main.Handle(), bar.get()));

    EXPECT_FALSE(Translate(main, VK_RIGHT, FCONTROL));
    EXPECT_EQ(main.Received(), (Commands{MAKEWPARAM(kSelectNextTab, 1)}));
    SetMenu(main.Handle(), nullptr);
}

TEST_F(AcceleratorTest, KeysAreWrittenSlotBySlotAndReadBack) {
    AcceleratorTable& table = AcceleratorTable::Instance();
    table.Set(0, FALT | FSHIFT, VK_F9);
    table.Set(7, 0, 0);
    table.Set(20, FCONTROL | FALT, 'S');
    SaveMenuSettings(ini.c_str());

    EXPECT_EQ(IniValues(ini, command_ids::kModifiersSection, {"0", "1", "7", "20"}),
              (Strings{"20", "8", "0", "24"}));
    EXPECT_EQ(IniValues(ini, command_ids::kVirtualKeySection, {"0", "1", "7", "20", "21"}),
              (Strings{"120", "39", "0", "83", kNoKey}))
        << "21 slots";
    // The sections in their places of the file.
    const std::string text = ReadFileText(ini);
    const auto hotkey = text.find("[HOTKEY]"), modifiers = text.find("[MODIFIERS]"),
               keys = text.find("[VIRTUALKEY]"), gestures = text.find("[MOUSEGESTURE]");
    ASSERT_NE(modifiers, std::string::npos);
    ASSERT_NE(keys, std::string::npos);
    EXPECT_LT(hotkey, modifiers);
    EXPECT_LT(modifiers, keys);
    EXPECT_LT(keys, gestures);

    table.SetDefaults();
    LoadMenuSettings(ini.c_str());
    EXPECT_EQ(table.Modifiers(0), FALT | FSHIFT);
    EXPECT_EQ(table.Key(0), VK_F9);
    EXPECT_EQ(table.Key(7), 0);
    EXPECT_EQ(table.Modifiers(20), FCONTROL | FALT);
    EXPECT_EQ(table.Key(20), 'S');
    EXPECT_EQ(table.Key(1), VK_RIGHT);
    EXPECT_EQ(table.Modifiers(1), FCONTROL);
}

std::string Name(WORD key) {
    char name[32];
    KeyName(key, name, sizeof name);
    return name;
}

TEST_F(AcceleratorTest, HotkeyTextNamesCtrlAltShiftInThisOrderThenTheKey) {
    ASSERT_FALSE(Name(VK_F5).empty());
    using command_texts::kAltPrefix, command_texts::kCtrlPrefix, command_texts::kShiftPrefix;
    EXPECT_EQ(std::string(HotkeyText(FCONTROL | FSHIFT, VK_F5)),
              std::string(kCtrlPrefix) + kShiftPrefix + Name(VK_F5));
    EXPECT_EQ(std::string(HotkeyText(FSHIFT | FALT | FCONTROL, 'A')),
              std::string(kCtrlPrefix) + kAltPrefix + kShiftPrefix + Name('A'));
    EXPECT_EQ(std::string(HotkeyText(FALT, VK_F1)), kAltPrefix + Name(VK_F1));
    EXPECT_EQ(std::string(HotkeyText(0, VK_F12)), Name(VK_F12));
    EXPECT_STREQ(HotkeyText(FCONTROL | FALT | FSHIFT, 0), "") << "no key, no text";
    EXPECT_STREQ(HotkeyText(0, 0), "");
}

// The layout's name of a scan code, with or without the extended-key flag.
std::string ScanCodeName(WORD key, bool extended) {
    char name[32] = "";
    const LONG scanCode = static_cast<LONG>(MapVirtualKeyA(key, 0) & 0xFF);
    GetKeyNameTextA(scanCode << 16 | (extended ? 1L << 24 : 0), name, sizeof name);
    return name;
}

// The arrows and their neighbours share their scan codes with keys of the
// numeric keypad; only the extended-key flag tells them apart.
TEST_F(AcceleratorTest, ArrowKeysAreNotNamedAsTheKeypadsKeys) {
    for (WORD key : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT,
                     VK_INSERT, VK_DELETE}) {
        ASSERT_NE(ScanCodeName(key, true), ScanCodeName(key, false)) << key;
        EXPECT_EQ(Name(key), ScanCodeName(key, true)) << key;
    }
    EXPECT_EQ(Name(VK_F5), ScanCodeName(VK_F5, false)) << "other keys as they are";
    EXPECT_EQ(CommandItemText(kSelectNextTab, true),
              "右隣のタブを選択\tCtrl + " + ScanCodeName(VK_RIGHT, true));
}

TEST_F(AcceleratorTest, CommandItemTextAddsTheKeyOnlyWhenAskedAndPresent) {
    LoadMenuSettings(ini.c_str());
    EXPECT_EQ(CommandItemText(kCloseTab, true), "タブ項目を閉じる\tCtrl + " + Name('C'));
    EXPECT_EQ(CommandItemText(kCloseTab, false), CommandText(kCloseTab));
    AcceleratorTable::Instance().Set(kCloseTab - 1, FCONTROL, 0);
    EXPECT_EQ(CommandItemText(kCloseTab, true), CommandText(kCloseTab))
        << "modifiers alone are no key";
}

}  // namespace
