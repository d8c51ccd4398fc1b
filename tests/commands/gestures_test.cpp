// Mouse gestures: the recognizer fed with movement reports as the hook
// library sends them, the gesture texts, the [MOUSEGESTURE] section, and the
// forgetting timer on a real main window.
#include "commands/gestures.h"

#include "app/main_window.h"
#include "base/command_kinds.h"
#include "base/messages.h"
#include "commands/accelerators.h"
#include "commands/command_ids.h"
#include "commands/command_texts.h"
#include "commands/menu_settings.h"
#include "tabs/pane.h"
#include "tests/support/desktop_input.h"
#include "tests/support/fresh_program_settings.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::FreshProgramSettings;
using testing_support::HoldKey;
using testing_support::IniValues;
using testing_support::kNoKey;
using testing_support::WaitUntil;
using testing_support::WriteFileText;

namespace {

using Commands = std::vector<WPARAM>;

// The gesture code of strokes given in order, as the file spells them.
DWORD Code(const char* letters) { return ParseGesture(letters).code; }

// Stands in for the main window: collects the WM_COMMANDs the recognizer posts.
class GestureTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_.reset(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr));
        ASSERT_TRUE(window_);
        GestureTable::Instance().Clear();
        at_ = POINT{500, 400};
        Recognizer() = GestureRecognizer{at_, 0, 0};
    }
    void TearDown() override {
        HoldKey(VK_RBUTTON, false);
        GestureTable::Instance().Clear();
    }

    // The cursor moves by (dx, dy) from where it was last reported.
    void Move(int dx, int dy) {
        at_.x += dx;
        at_.y += dy;
        GestureStep(window_.get(), at_.x, at_.y);
    }
    void Right() { Move(40, 0); }
    void Left() { Move(-40, 0); }
    void Up() { Move(0, -40); }
    void Down() { Move(0, 40); }

    // The commands posted since the last call.
    Commands Posted() {
        Commands commands;
        MSG msg;
        while (PeekMessageA(&msg, window_.get(), WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
            EXPECT_EQ(msg.lParam, 0);
            commands.push_back(msg.wParam);
        }
        return commands;
    }

    GestureTable& table = GestureTable::Instance();
    UniqueWindow window_;
    POINT at_{};
};

TEST_F(GestureTest, MovementsShorterThanTheBorderChangeNothing) {
    table.Set(SlotOf(kSelectPrevTab), Code("R"), 0);
    Move(31, 0);
    Move(-20, 20);  // back within the border of the start
    EXPECT_EQ(Posted(), Commands{});
    EXPECT_EQ(Recognizer().sequence, 0u);
    EXPECT_EQ(Recognizer().lastPoint.x, 500) << "the start point stays";

    Move(40 - 11, -20);  // 40 to the right of the start: the border is reached
    EXPECT_EQ(Posted(), Commands{kSelectPrevTab});
}

TEST_F(GestureTest, WithBorderZeroAReportAtTheLastPointIsADownStroke) {
    table.SetBorder(0);
    EXPECT_EQ(table.BorderSquared(), 0);
    table.Set(SlotOf(kWatchOff), Code("D"), 0);
    Move(0, 0);
    EXPECT_EQ(Posted(), Commands{kWatchOff});
}

TEST_F(GestureTest, AnEqualDiagonalIsVertical) {
    table.Set(SlotOf(kSelectPrevTab), Code("R"), 0);
    table.Set(SlotOf(kSelectNextTab), Code("L"), 0);
    table.Set(SlotOf(kAddAllWindows), Code("U"), 0);
    table.Set(SlotOf(kWatchOn), Code("D"), 0);
    Move(40, -40);
    Move(-40, 40);
    Move(-41, 40);
    Move(41, -40);
    EXPECT_EQ(Posted(), (Commands{kAddAllWindows, kWatchOn, kSelectNextTab, kSelectPrevTab}));
}

TEST_F(GestureTest, RightRightLeftFiresRightLeftOnce) {
    table.Set(SlotOf(kMinimizeTab), Code("RL"), 0);
    Right();
    Right();
    EXPECT_EQ(Posted(), Commands{});
    EXPECT_EQ(Recognizer().sequence, static_cast<DWORD>(kStrokeRight))
        << "a stroke in the same direction is not recorded again";
    Left();
    EXPECT_EQ(Posted(), Commands{kMinimizeTab});
    EXPECT_EQ(Recognizer().sequence, 0u) << "a fired gesture starts over";
    Left();
    EXPECT_EQ(Posted(), Commands{});
}

TEST_F(GestureTest, TheLatestStrokesNeedOnlyEndWithTheGesture) {
    table.Set(SlotOf(kMinimizeTab), Code("RL"), 0);
    Up();
    Right();
    Left();
    EXPECT_EQ(Posted(), Commands{kMinimizeTab});
    Down();
    Right();
    Down();
    Left();
    EXPECT_EQ(Posted(), Commands{}) << "right, down, left does not end with right-left";
}

TEST_F(GestureTest, ADoubledLetterFromTheFileNeverFires) {
    FreshProgramSettings settings;
    const std::string file = settings.Dir().File(command_ids::kMenuIni);
    WriteFileText(file, "[MOUSEGESTURE]\r\nNo3=RR\r\nNo4=LRL\r\n");
    LoadMenuSettings(file.c_str());
    ASSERT_EQ(table.Strokes(2), 0x88u);
    for (int i = 0; i < 5; ++i) {
        Right();
        Right();
        Left();
        Down();
    }
    Right();
    Left();
    Right();
    Left();
    EXPECT_EQ(Posted(), Commands{kWatchOn}) << "only the gesture right-left-right";
}

TEST_F(GestureTest, MoreThanEightLettersKeepTheLastEight) {
    EXPECT_EQ(Code("UDUDUDUDLR"), 0x12121248u);
    table.Set(SlotOf(kSelectPrevTab), Code("UDUDUDUDLR"), 0);
    for (int i = 0; i < 3; ++i) {
        Up();
        Down();
    }
    Left();
    EXPECT_EQ(Posted(), Commands{});
    Right();
    EXPECT_EQ(Posted(), Commands{kSelectPrevTab});
}

TEST_F(GestureTest, AHoldKeyOfTheRightButtonFiresOnlyWhileItIsDown) {
    table.Set(SlotOf(kSelectNextTab), Code("R"), VK_RBUTTON);
    table.Set(SlotOf(kReleaseTab), Code("L"), 0);
    HoldKey(VK_RBUTTON, false);
    Right();
    EXPECT_EQ(Posted(), Commands{});
    Left();
    EXPECT_EQ(Posted(), Commands{kReleaseTab}) << "no hold key: plain movement is enough";

    HoldKey(VK_RBUTTON, true);
    Right();
    EXPECT_EQ(Posted(), Commands{kSelectNextTab});
}

TEST_F(GestureTest, WhenTwoSlotsMatchTheLowerWins) {
    const char* const orders[][2] = {{"L", "RL"}, {"RL", "L"}};
    for (const auto& order : orders) {
        table.Set(SlotOf(kAddAllWindows), Code(order[0]), 0);
        table.Set(SlotOf(kMinimizeTab), Code(order[1]), 0);
        Right();
        Left();
        EXPECT_EQ(Posted(), Commands{kAddAllWindows})
            << order[0] << " in the lower slot, " << order[1] << " in the higher";
    }
}

TEST_F(GestureTest, ForgettingDropsTheOldestStroke) {
    table.Set(SlotOf(kSelectPrevTab), Code("RLU"), 0);
    table.Set(SlotOf(kSelectNextTab), Code("LU"), 0);
    Right();
    Left();
    EXPECT_EQ(Recognizer().liveMask, 0xFFu);
    ForgetStroke(nullptr, WM_TIMER, kGestureForgetTimer, 0);
    EXPECT_EQ(Recognizer().liveMask, 0xFu);
    Up();
    EXPECT_EQ(Posted(), Commands{kSelectNextTab}) << "right was forgotten, left and up remain";

    // A stroke forgotten before the next one is made is no part of a gesture.
    table.Set(SlotOf(kSelectNextTab), 0, 0);
    table.Set(SlotOf(kAddAllWindows), Code("UU"), 0);
    table.Set(SlotOf(kWatchOn), Code("DU"), 0);
    for (int i = 0; i < 3; ++i) ForgetStroke(nullptr, WM_TIMER, kGestureForgetTimer, 0);
    Down();
    ForgetStroke(nullptr, WM_TIMER, kGestureForgetTimer, 0);
    Up();
    EXPECT_EQ(Posted(), Commands{}) << "down was forgotten before up";
}

TEST(GestureText, FileFormRoundTrips) {
    for (const char* text : {"R", "RL+2", "UDLR", "LRLRLRLR+16", "D+1", "URDL+255"}) {
        const ParsedGesture g = ParseGesture(text);
        EXPECT_STREQ(GestureText(g.code, g.holdKey, true), text);
    }
    const ParsedGesture mixed = ParseGesture("uRdL+17");
    EXPECT_EQ(mixed.code, 0x1824u);
    EXPECT_EQ(mixed.holdKey, 17);
    EXPECT_STREQ(GestureText(mixed.code, mixed.holdKey, true), "URDL+17");
}

TEST(GestureText, ParsingStopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(ParseGesture("RX+2L").code, 0x8u);
    EXPECT_EQ(ParseGesture("RX+2L").holdKey, 0);
    EXPECT_EQ(ParseGesture("R L").code, 0x8u);
    EXPECT_EQ(ParseGesture("").code, 0u);
    const ParsedGesture afterPlus = ParseGesture("RL+2U");
    EXPECT_EQ(afterPlus.code, 0x84u) << "the hold key ends the text";
    EXPECT_EQ(afterPlus.holdKey, 2);
    EXPECT_EQ(ParseGesture("R+258").holdKey, 2) << "the key is 8 bits";
    EXPECT_EQ(ParseGesture("R+").holdKey, 0);
}

TEST(GestureText, AHoldKeyWithoutStrokesIsNoText) {
    EXPECT_STREQ(GestureText(0, 2, true), "");
    EXPECT_STREQ(GestureText(0, 2, false), "");
    const ParsedGesture onlyKey = ParseGesture("+2");
    EXPECT_EQ(onlyKey.code, 0u);
    EXPECT_EQ(onlyKey.holdKey, 2);
}

TEST(GestureText, DisplayFormUsesArrowsAndNamesTheHeldKey) {
    EXPECT_STREQ(GestureText(Code("RL"), 0, false), "→←");
    EXPECT_STREQ(GestureText(Code("UDLR"), 0, false), "↑↓←→");
    EXPECT_STREQ(GestureText(Code("RL"), VK_RBUTTON, false), "→←(右)");
    EXPECT_STREQ(GestureText(Code("D"), VK_LBUTTON, false), "↓(左)");
    char name[32];
    KeyName(VK_SHIFT, name, sizeof name);
    ASSERT_STRNE(name, "");
    EXPECT_EQ(std::string(GestureText(Code("U"), VK_SHIFT, false)),
              "↑(" + std::string(name) + ")");
    // Groups that are no stroke add nothing.
    EXPECT_STREQ(GestureText(0x1038u, 0, true), "UR");
}

TEST(GestureText, ALongKeyNameIsCutSoTheSuffixFitsFifteenCharacters) {
    // The longest key name of the layout, in case one is too long to fit.
    std::string longest;
    int longestKey = 0;
    for (int vk = 3; vk < 256; ++vk) {
        char name[32];
        KeyName(static_cast<WORD>(vk), name, sizeof name);
        if (std::string(name).size() > longest.size()) longest = name, longestKey = vk;
    }
    ASSERT_GT(longest.size(), 0u);
    const std::string text = GestureText(Code("L"), static_cast<BYTE>(longestKey), false);
    const std::string suffix = text.substr(std::string(command_texts::kShownLeft).size());
    EXPECT_LE(suffix.size(), 15u) << suffix;
    EXPECT_EQ(suffix.front(), '(');
    EXPECT_EQ(suffix.back(), ')');
    EXPECT_EQ(suffix.substr(1, suffix.size() - 2), longest.substr(0, suffix.size() - 2));
}

class GestureFile : public ::testing::Test {
protected:
    void TearDown() override { table.Clear(); }

    FreshProgramSettings settings;
    std::string ini = settings.Dir().File(command_ids::kMenuIni);
    GestureTable& table = GestureTable::Instance();
};

TEST_F(GestureFile, IsWrittenAndReadBack) {
    table.SetBorder(45);
    table.SetElapse(250);
    table.Set(0, Code("RL"), VK_RBUTTON);
    table.Set(7, Code("UDUDLRLR"), 0);
    table.Set(20, Code("D"), VK_SHIFT);
    table.Set(3, 0, VK_CONTROL);
    SaveMenuSettings(ini.c_str());
    // No4: a hold key without strokes is written empty; there are 21 slots.
    EXPECT_EQ(IniValues(ini, command_ids::kGestureSection,
                        {command_ids::kBorderKey, command_ids::kElapseKey, "No1", "No8", "No21",
                         "No4", "No2", "No22"}),
              (std::vector<std::string>{"45", "250", "RL+2", "UDUDLRLR", "D+16", "", "", kNoKey}));

    table.Clear();
    table.Set(1, Code("U"), 0);
    LoadMenuSettings(ini.c_str());
    EXPECT_EQ(table.Border(), 45);
    EXPECT_EQ(table.BorderSquared(), 45 * 45);
    EXPECT_EQ(table.Elapse(), 250u);
    EXPECT_EQ(table.Strokes(0), 0x84u);
    EXPECT_EQ(table.HoldKey(0), VK_RBUTTON);
    EXPECT_EQ(table.Strokes(7), 0x12124848u);
    EXPECT_EQ(table.Strokes(20), static_cast<DWORD>(kStrokeDown));
    EXPECT_EQ(table.HoldKey(20), VK_SHIFT);
    EXPECT_EQ(table.Strokes(1), 0u) << "every slot is cleared before it is read";
    EXPECT_EQ(table.HoldKey(3), 0) << "nothing of an empty value is kept";
}

TEST_F(GestureFile, MissingValuesReadAsTheDefaultsWithOrWithoutTheFile) {
    table.SetBorder(10);
    table.SetElapse(900);
    table.Set(4, Code("LR"), VK_LBUTTON);
    LoadMenuSettings(ini.c_str());
    EXPECT_EQ(table.Border(), 32);
    EXPECT_EQ(table.BorderSquared(), 1024);
    EXPECT_EQ(table.Elapse(), 100u);
    EXPECT_FALSE(table.AnyGesture());
    EXPECT_EQ(table.HoldKey(4), 0);

    WriteFileText(ini, "[MOUSEGESTURE]\r\nELAPSE=70\r\nNo5=DU\r\n");
    LoadMenuSettings(ini.c_str());
    EXPECT_EQ(table.Border(), 32);
    EXPECT_EQ(table.Elapse(), 70u);
    EXPECT_EQ(table.Strokes(4), 0x21u);
}

// The recognizer on the real main window of this process.
class GestureMainWindow : public ::testing::Test {
protected:
    void TearDown() override {
        testing_support::CloseMainWindow();
        GestureTable::Instance().Clear();
    }

    FreshProgramSettings settings;
};

TEST_F(GestureMainWindow, TheForgettingTimerRunsOnlyWhileAGestureExists) {
    const HWND main = testing_support::StartMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(KillTimer(main, kGestureForgetTimer)) << "no gesture, no timer";

    GestureTable::Instance().Set(SlotOf(kSelectNextTab), Code("RL"), 0);
    GestureTable::Instance().SetElapse(20);
    SetCursorPos(321, 234);
    SendMessageA(main, PM_APPLYSETTINGS, 0, 0);
    EXPECT_EQ(Recognizer().lastPoint.x, 321) << "recognition starts at the cursor";
    EXPECT_EQ(Recognizer().lastPoint.y, 234);
    // The timer forgets what the reports remembered.
    SendMessageA(main, PM_HOOKGESTURE, 400, 234);
    SendMessageA(main, PM_HOOKGESTURE, 400, 300);
    EXPECT_EQ(Recognizer().sequence, 0x82u);
    EXPECT_TRUE(WaitUntil([] { return Recognizer().liveMask == 0; }));

    GestureTable::Instance().Set(SlotOf(kSelectNextTab), 0, 0);
    SendMessageA(main, PM_APPLYSETTINGS, 0, 0);
    EXPECT_FALSE(KillTimer(main, kGestureForgetTimer)) << "stopped with the last gesture";
}

}  // namespace
