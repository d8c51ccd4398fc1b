// The settings pages "ウィンドウ" and "タブ" in the real dialog of the real
// main window, driven through their controls: what each control shows of
// the settings record at opening, what OK stores and what it drops, the
// colour chooser behind the colour buttons, the samples, and what the main
// window makes of the result.
#include "base/handles.h"
#include "settings/dialog/tab_page_ids.h"
#include "settings/dialog/window_page_ids.h"
#include "settings/system_data.h"
#include "tests/settings/dialog/dialog_fixture.h"
#include "tests/support/handle_count.h"
#include "tests/support/import_route.h"

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

using testing_support::Press;
using testing_support::SettingsDialogTest;

namespace {

// ---- The colour chooser, answered by the test --------------------------------

struct ChooserCall {
    DWORD structSize;
    HWND owner;
    COLORREF start;
    DWORD flags;
    std::array<COLORREF, 16> custom;
};

struct Chooser {
    std::vector<ChooserCall> calls;
    // The colour each coming call confirms; a call with none left is
    // cancelled by the "user".
    std::deque<COLORREF> answers;
    // What the "user" does to the custom colours during a call.
    std::function<void(COLORREF*)> editCustom;
};
Chooser g_chooser;

BOOL WINAPI AnswerChooseColor(CHOOSECOLORA* chooser) {
    ChooserCall call{chooser->lStructSize, chooser->hwndOwner, chooser->rgbResult,
                     chooser->Flags, {}};
    if (chooser->lpCustColors) {
        for (std::size_t i = 0; i < call.custom.size(); ++i) call.custom[i] = chooser->lpCustColors[i];
    }
    g_chooser.calls.push_back(call);
    if (g_chooser.editCustom && chooser->lpCustColors) g_chooser.editCustom(chooser->lpCustColors);
    if (g_chooser.answers.empty()) return FALSE;
    chooser->rgbResult = g_chooser.answers.front();
    g_chooser.answers.pop_front();
    return TRUE;
}

void* RealChooseColor() {
    return reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("comdlg32.dll"), "ChooseColorA"));
}

// The custom colours the chooser starts the run with, in their order.
const std::array<COLORREF, 16> kFirstCustomColours = {
    RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 0, 0),   RGB(0, 128, 0),
    RGB(0, 0, 128),     RGB(128, 128, 0),   RGB(0, 128, 128), RGB(128, 0, 128),
    RGB(0, 0, 0),       RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),
    RGB(0, 0, 255),     RGB(255, 255, 0),   RGB(0, 255, 255), RGB(255, 0, 255),
};

// ---- The dialog --------------------------------------------------------------

class PagesTest : public SettingsDialogTest {
protected:
    void SetUp() override {
        SettingsDialogTest::SetUp();
        g_chooser = Chooser{};
        // The pages are linked into this program: its own import is theirs.
        ASSERT_EQ(testing_support::RouteImport(GetModuleHandleA(nullptr), "comdlg32.dll",
                                               RealChooseColor(),
                                               reinterpret_cast<void*>(&AnswerChooseColor)),
                  1);
        routed_ = true;
    }
    void TearDown() override {
        if (routed_) {
            testing_support::RouteImport(GetModuleHandleA(nullptr), "comdlg32.dll",
                                         reinterpret_cast<void*>(&AnswerChooseColor),
                                         RealChooseColor());
        }
        SettingsDialogTest::TearDown();
    }

    static HWND WindowPage(HWND dialog) {
        return ShowPage(dialog, testing_support::kWindowPage, "ウィンドウ");
    }
    static HWND TabPage(HWND dialog) {
        return ShowPage(dialog, testing_support::kTabPage, "タブ");
    }

private:
    bool routed_ = false;
};

using WindowPageTest = PagesTest;
using TabPageTest = PagesTest;

// ---- "ウィンドウ" -------------------------------------------------------------

struct StyleRow {
    int id;
    const char* name;
    std::uint32_t SystemData::*field;
    std::uint32_t bit;
};
const StyleRow kStyleRows[] = {
    {IDC_WINDOW_MAIN_CLIENTEDGE, "main client edge", &SystemData::mainExStyle, WS_EX_CLIENTEDGE},
    {IDC_WINDOW_MAIN_TOOLWINDOW, "main tool window", &SystemData::mainExStyle, WS_EX_TOOLWINDOW},
    {IDC_WINDOW_TAB_CLIENTEDGE, "tab client edge", &SystemData::tabExStyle, WS_EX_CLIENTEDGE},
    {IDC_WINDOW_HEADER_CLIENTEDGE, "header client edge", &SystemData::headerExStyle,
     WS_EX_CLIENTEDGE},
    {IDC_WINDOW_SHORTCUT_DLGFRAME, "shortcut dialog frame", &SystemData::shortcutExStyle,
     WS_EX_DLGMODALFRAME},
    {IDC_WINDOW_SHORTCUT_CLIENTEDGE, "shortcut client edge", &SystemData::shortcutExStyle,
     WS_EX_CLIENTEDGE},
};
constexpr std::size_t kStyleRowCount = sizeof kStyleRows / sizeof kStyleRows[0];

void ClearStyleFields(SystemData& data) {
    for (const StyleRow& row : kStyleRows) data.*row.field = 0;
}

// Row k alone set in the record: only its box is checked. Then its box
// cleared and the next row's checked: OK stores the next row's bit alone.
TEST_F(WindowPageTest, EachBorderBoxShowsItsBitAndOkStoresItsBitAlone) {
    for (std::size_t k = 0; k < kStyleRowCount; ++k) {
        const StyleRow& shown = kStyleRows[k];
        const StyleRow& stored = kStyleRows[(k + 1) % kStyleRowCount];
        SystemData& data = GetSystemData();
        ClearStyleFields(data);
        data.*shown.field = shown.bit;
        std::vector<bool> checked;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = WindowPage(dialog);
            for (const StyleRow& row : kStyleRows) checked.push_back(IsChecked(page, row.id));
            SetChecked(page, shown.id, false);
            SetChecked(page, stored.id, true);
            Ok(dialog);
        })) << shown.name;
        for (std::size_t i = 0; i < kStyleRowCount; ++i) {
            EXPECT_EQ(checked[i], i == k) << "opened with " << shown.name << ", box "
                                          << kStyleRows[i].name;
        }
        for (const StyleRow& row : kStyleRows) {
            const std::uint32_t expected = row.field == stored.field ? stored.bit : 0;
            EXPECT_EQ(GetSystemData().*row.field, expected)
                << "stored " << stored.name << ", field of " << row.name;
        }
    }
}

TEST_F(WindowPageTest, OkDropsEveryStyleBitNoBoxStandsFor) {
    SystemData& data = GetSystemData();
    data.mainExStyle = WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES | WS_EX_LAYERED;
    data.tabExStyle = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    data.headerExStyle = WS_EX_TRANSPARENT;
    data.shortcutExStyle = WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW;
    data.shortcutStyle = WS_BORDER | WS_THICKFRAME;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) { Ok(dialog); }));
    EXPECT_EQ(GetSystemData().mainExStyle, std::uint32_t{WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW});
    EXPECT_EQ(GetSystemData().tabExStyle, std::uint32_t{WS_EX_CLIENTEDGE});
    EXPECT_EQ(GetSystemData().headerExStyle, 0u);
    EXPECT_EQ(GetSystemData().shortcutExStyle,
              std::uint32_t{WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE});
    EXPECT_EQ(GetSystemData().shortcutStyle, 0u);
}

struct ColourRow {
    int button;
    const char* name;
    COLORREF SystemData::*field;
    COLORREF before;  // in the record at opening
    COLORREF chosen;  // what the chooser confirms
};
const ColourRow kColourRows[] = {
    {IDC_WINDOW_ACTIVE_BACK, "active back", &SystemData::headerActiveBack, RGB(10, 20, 30),
     RGB(200, 10, 10)},
    {IDC_WINDOW_ACTIVE_TEXT, "active text", &SystemData::headerActiveText, RGB(40, 50, 60),
     RGB(10, 200, 10)},
    {IDC_WINDOW_INACTIVE_BACK, "inactive back", &SystemData::headerInactiveBack,
     RGB(70, 80, 90), RGB(10, 10, 200)},
    {IDC_WINDOW_INACTIVE_TEXT, "inactive text", &SystemData::headerInactiveText,
     RGB(100, 110, 120), RGB(250, 240, 5)},
};

void SetColoursBefore() {
    for (const ColourRow& row : kColourRows) GetSystemData().*row.field = row.before;
}

TEST_F(WindowPageTest, EachColourButtonChoosesItsColourFromTheCurrentOne) {
    SetColoursBefore();
    HWND page = nullptr;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        page = WindowPage(dialog);
        for (const ColourRow& row : kColourRows) {
            g_chooser.answers.push_back(row.chosen);
            Press(page, row.button);
        }
        // Again: each starts where the first choice left it.
        for (const ColourRow& row : kColourRows) Press(page, row.button);  // cancelled
        Ok(dialog);
    }));
    const std::size_t rows = sizeof kColourRows / sizeof kColourRows[0];
    ASSERT_EQ(g_chooser.calls.size(), 2 * rows);
    for (std::size_t i = 0; i < rows; ++i) {
        const ColourRow& row = kColourRows[i];
        const ChooserCall& first = g_chooser.calls[i];
        const ChooserCall& second = g_chooser.calls[rows + i];
        EXPECT_EQ(first.start, row.before) << row.name;
        EXPECT_EQ(second.start, row.chosen) << row.name;
        EXPECT_EQ(first.owner, page) << row.name;
        EXPECT_EQ(first.flags, DWORD{CC_FULLOPEN | CC_RGBINIT}) << row.name;
        EXPECT_EQ(first.structSize, sizeof(CHOOSECOLORA)) << row.name;
        // A cancelled chooser keeps the colour; OK stores all four.
        EXPECT_EQ(GetSystemData().*row.field, row.chosen) << row.name;
    }
}

TEST_F(WindowPageTest, ChangedColoursAreForgottenOnCancel) {
    SetColoursBefore();
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = WindowPage(dialog);
        for (const ColourRow& row : kColourRows) {
            g_chooser.answers.push_back(row.chosen);
            Press(page, row.button);
        }
        Cancel(dialog);
    }));
    EXPECT_EQ(g_chooser.calls.size(), 4u);
    for (const ColourRow& row : kColourRows) {
        EXPECT_EQ(GetSystemData().*row.field, row.before) << row.name;
    }
    // The next opening starts from the record again, not from the copy.
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        Press(WindowPage(dialog), IDC_WINDOW_ACTIVE_BACK);
        Cancel(dialog);
    }));
    ASSERT_EQ(g_chooser.calls.size(), 5u);
    EXPECT_EQ(g_chooser.calls[4].start, kColourRows[0].before);
}

// The custom colours live as long as the program: a colour the user put
// there is offered again by the next dialog.
TEST_F(WindowPageTest, TheChoosersCustomColoursLastForTheRun) {
    const COLORREF mixed = RGB(3, 141, 59);
    g_chooser.editCustom = [&](COLORREF* custom) { custom[5] = mixed; };
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        Press(WindowPage(dialog), IDC_WINDOW_INACTIVE_TEXT);
        Cancel(dialog);
    }));
    // The next call puts the colour back, for the tests that follow in this run.
    g_chooser.editCustom = [&](COLORREF* custom) { custom[5] = kFirstCustomColours[5]; };
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        Press(WindowPage(dialog), IDC_WINDOW_ACTIVE_BACK);
        Cancel(dialog);
    }));
    ASSERT_EQ(g_chooser.calls.size(), 2u);
    EXPECT_EQ(g_chooser.calls[0].custom, kFirstCustomColours);
    std::array<COLORREF, 16> kept = kFirstCustomColours;
    kept[5] = mixed;
    EXPECT_EQ(g_chooser.calls[1].custom, kept);
}

// What a sample gets when it asks for its colours.
struct SampleLook {
    HBRUSH brush;
    LOGBRUSH brushLook;
    COLORREF text, back;
};

SampleLook AskColours(HWND page, int sample) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    SampleLook look{};
    look.brush = reinterpret_cast<HBRUSH>(SendMessageA(
        page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
        reinterpret_cast<LPARAM>(GetDlgItem(page, sample))));
    if (!look.brush || !GetObjectA(look.brush, sizeof look.brushLook, &look.brushLook)) {
        look.brushLook.lbStyle = ~0u;
    }
    look.text = GetTextColor(dc.get());
    look.back = GetBkColor(dc.get());
    return look;
}

void ExpectLook(const SampleLook& look, COLORREF text, COLORREF back, const char* what) {
    EXPECT_EQ(look.brushLook.lbStyle, UINT{BS_SOLID}) << what;
    EXPECT_EQ(look.brushLook.lbColor, back) << what;
    EXPECT_EQ(look.back, back) << what;
    EXPECT_EQ(look.text, text) << what;
}

TEST_F(WindowPageTest, EachSamplePaintsInItsRowsColoursWithOneBrushThatEachChangeReplaces) {
    SetColoursBefore();
    testing_support::HandleCount count;
    ASSERT_TRUE(count.Routed());
    const std::size_t liveBefore = count.GdiLive();
    SampleLook activeAtOpening{}, inactiveAtOpening{}, active{}, inactive{};
    std::size_t liveAtOpening = 0, liveAfterChanges = 0;
    bool validBeforeChange = false, repaintedAfterChange = false;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = WindowPage(dialog);
        activeAtOpening = AskColours(page, IDC_WINDOW_ACTIVE_SAMPLE);
        inactiveAtOpening = AskColours(page, IDC_WINDOW_INACTIVE_SAMPLE);
        liveAtOpening = count.GdiLive();
        RedrawWindow(page, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        validBeforeChange = !GetUpdateRect(GetDlgItem(page, IDC_WINDOW_INACTIVE_SAMPLE), nullptr, FALSE);
        for (const ColourRow& row : kColourRows) {
            g_chooser.answers.push_back(row.chosen);
            Press(page, row.button);
        }
        repaintedAfterChange =
            GetUpdateRect(GetDlgItem(page, IDC_WINDOW_INACTIVE_SAMPLE), nullptr, FALSE) != FALSE;
        active = AskColours(page, IDC_WINDOW_ACTIVE_SAMPLE);
        inactive = AskColours(page, IDC_WINDOW_INACTIVE_SAMPLE);
        liveAfterChanges = count.GdiLive();
        Cancel(dialog);
    }));
    ExpectLook(activeAtOpening, RGB(40, 50, 60), RGB(10, 20, 30), "active at opening");
    ExpectLook(inactiveAtOpening, RGB(100, 110, 120), RGB(70, 80, 90), "inactive at opening");
    ExpectLook(active, RGB(10, 200, 10), RGB(200, 10, 10), "active after the changes");
    ExpectLook(inactive, RGB(250, 240, 5), RGB(10, 10, 200), "inactive after the changes");
    EXPECT_NE(activeAtOpening.brush, inactiveAtOpening.brush);
    // Four changes made new brushes and deleted the ones they replaced.
    EXPECT_EQ(liveAfterChanges, liveAtOpening);
    EXPECT_TRUE(validBeforeChange);
    EXPECT_TRUE(repaintedAfterChange);
    // Closed: the page's brushes went with it.
    EXPECT_EQ(count.GdiLive(), liveBefore);
}

TEST_F(WindowPageTest, OkShowsTheNewHeaderColoursAndBordersAtOnce) {
    const COLORREF chosen = RGB(12, 34, 56);
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = WindowPage(dialog);
        g_chooser.answers.push_back(chosen);
        Press(page, IDC_WINDOW_ACTIVE_BACK);
        SetChecked(page, IDC_WINDOW_MAIN_TOOLWINDOW, true);
        SetChecked(page, IDC_WINDOW_HEADER_CLIENTEDGE, false);
        Ok(dialog);
    }));
    EXPECT_EQ(Root().Header().ActiveBack(), chosen);
    EXPECT_EQ(Root().Header().ExStyle() & WS_EX_CLIENTEDGE, 0u);
    EXPECT_NE(GetWindowLongA(Main(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
}

// ---- "タブ" -------------------------------------------------------------------

struct PositionRow {
    int id;
    const char* name;
    std::uint32_t bits;
};
const PositionRow kPositionRows[] = {
    {IDC_TAB_POS_TOP, "上", 0},
    {IDC_TAB_POS_BOTTOM, "下", TCS_BOTTOM},
    {IDC_TAB_POS_LEFT, "左", TCS_VERTICAL},
    {IDC_TAB_POS_RIGHT, "右", TCS_VERTICAL | TCS_RIGHT},
};
constexpr std::size_t kPositionCount = sizeof kPositionRows / sizeof kPositionRows[0];

// Opened at position k (rows alternately on and off): its button is the one
// checked. Then the next position and the other row button: OK stores them.
TEST_F(TabPageTest, ThePositionAndRowButtonsShowTheStyleAndOkStoresThem) {
    for (std::size_t k = 0; k < kPositionCount; ++k) {
        const PositionRow& shown = kPositionRows[k];
        const PositionRow& stored = kPositionRows[(k + 1) % kPositionCount];
        const bool rowsShown = k % 2 == 1;
        GetSystemData().tabStyle = shown.bits | (rowsShown ? TCS_MULTILINE : 0);
        std::vector<bool> checked;
        bool onChecked = false, offChecked = false;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = TabPage(dialog);
            for (const PositionRow& row : kPositionRows) checked.push_back(IsChecked(page, row.id));
            onChecked = IsChecked(page, IDC_TAB_MULTILINE_ON);
            offChecked = IsChecked(page, IDC_TAB_MULTILINE_OFF);
            SetChecked(page, stored.id, true);
            SetChecked(page, rowsShown ? IDC_TAB_MULTILINE_OFF : IDC_TAB_MULTILINE_ON, true);
            Ok(dialog);
        })) << shown.name;
        for (std::size_t i = 0; i < kPositionCount; ++i) {
            EXPECT_EQ(checked[i], i == k) << "opened at " << shown.name << ", button "
                                          << kPositionRows[i].name;
        }
        EXPECT_EQ(onChecked, rowsShown) << shown.name;
        EXPECT_EQ(offChecked, !rowsShown) << shown.name;
        EXPECT_EQ(GetSystemData().tabStyle, stored.bits | (rowsShown ? 0 : TCS_MULTILINE))
            << "stored " << stored.name;
    }
}

struct BoxRow {
    int id;
    const char* name;
    void (*set)(SystemData&, bool);
    bool (*on)(const SystemData&);
};
template <std::uint32_t Bit>
void SetStyleBit(SystemData& data, bool on) {
    data.tabStyle = on ? (data.tabStyle | Bit) : (data.tabStyle & ~Bit);
}
template <std::uint32_t Bit>
bool StyleBit(const SystemData& data) {
    return (data.tabStyle & Bit) != 0;
}
template <Flag SystemData::*Field>
void SetFlag(SystemData& data, bool on) {
    data.*Field = on ? 1 : 0;
}
template <Flag SystemData::*Field>
bool FlagOn(const SystemData& data) {
    return data.*Field != 0;
}
const BoxRow kBoxRows[] = {
    {IDC_TAB_HOTTRACK, "hot track", &SetStyleBit<TCS_HOTTRACK>, &StyleBit<TCS_HOTTRACK>},
    {IDC_TAB_FIXED_WIDTH, "fixed width", &SetStyleBit<TCS_FIXEDWIDTH>, &StyleBit<TCS_FIXEDWIDTH>},
    {IDC_TAB_ICONS, "icons", &SetFlag<&SystemData::showTabIcons>,
     &FlagOn<&SystemData::showTabIcons>},
    {IDC_TAB_DROP_TO_ACTIVE, "drop to the active child", &SetFlag<&SystemData::dropToActiveChild>,
     &FlagOn<&SystemData::dropToActiveChild>},
    {IDC_TAB_DROP_TO_ALL, "drop to all children", &SetFlag<&SystemData::dropToAllChildren>,
     &FlagOn<&SystemData::dropToAllChildren>},
    {IDC_TAB_DRAG_SWAP, "drag swaps", &SetFlag<&SystemData::dragSwapTabs>,
     &FlagOn<&SystemData::dragSwapTabs>},
};
constexpr std::size_t kBoxCount = sizeof kBoxRows / sizeof kBoxRows[0];

TEST_F(TabPageTest, EachCheckBoxShowsItsSettingAndOkStoresIt) {
    for (std::size_t k = 0; k < kBoxCount; ++k) {
        const BoxRow& shown = kBoxRows[k];
        const BoxRow& stored = kBoxRows[(k + 1) % kBoxCount];
        SystemData& data = GetSystemData();
        data.tabStyle = 0;  // top, one row
        for (const BoxRow& row : kBoxRows) row.set(data, false);
        shown.set(data, true);
        std::vector<bool> checked;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = TabPage(dialog);
            for (const BoxRow& row : kBoxRows) checked.push_back(IsChecked(page, row.id));
            SetChecked(page, shown.id, false);
            SetChecked(page, stored.id, true);
            Ok(dialog);
        })) << shown.name;
        for (std::size_t i = 0; i < kBoxCount; ++i) {
            EXPECT_EQ(checked[i], i == k) << "opened with " << shown.name << ", box "
                                          << kBoxRows[i].name;
            EXPECT_EQ(kBoxRows[i].on(GetSystemData()), &kBoxRows[i] == &stored)
                << "stored " << stored.name << ", setting " << kBoxRows[i].name;
        }
    }
}

struct NumberRow {
    int edit;
    int spin;
    const char* name;
    int low, high;
};
const NumberRow kNumberRows[] = {
    {IDC_TAB_TEXT_LENGTH, IDC_TAB_TEXT_LENGTH_SPIN, "text length", 2, 128},
    {IDC_TAB_WIDTH, IDC_TAB_WIDTH_SPIN, "fixed width", 0, 1024},
};

struct SpinState {
    std::string text;
    int position, low, high;
};

SpinState SpinOf(HWND page, const NumberRow& row) {
    char text[32] = "";
    GetDlgItemTextA(page, row.edit, text, sizeof text);
    SpinState state{text, 0, 0, 0};
    const HWND spin = GetDlgItem(page, row.spin);
    BOOL failed = FALSE;
    state.position = static_cast<int>(
        SendMessageA(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&state.low),
                 reinterpret_cast<LPARAM>(&state.high));
    return state;
}

TEST_F(TabPageTest, TheNumbersShowTheRecordAndOkStoresWhatWasTyped) {
    GetSystemData().tabTextLength = 77;
    GetSystemData().fixedTabWidth = 333;
    GetSystemData().tabStyle = TCS_FIXEDWIDTH;
    std::vector<SpinState> opened;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = TabPage(dialog);
        for (const NumberRow& row : kNumberRows) opened.push_back(SpinOf(page, row));
        Type(page, IDC_TAB_TEXT_LENGTH, "100");
        Type(page, IDC_TAB_WIDTH, "1000");
        Ok(dialog);
    }));
    const int values[] = {77, 333};
    for (std::size_t i = 0; i < opened.size(); ++i) {
        const NumberRow& row = kNumberRows[i];
        EXPECT_EQ(opened[i].text, std::to_string(values[i])) << row.name;
        EXPECT_EQ(opened[i].position, values[i]) << row.name;
        EXPECT_EQ(opened[i].low, row.low) << row.name;
        EXPECT_EQ(opened[i].high, row.high) << row.name;
    }
    EXPECT_EQ(GetSystemData().tabTextLength, 100);
    EXPECT_EQ(GetSystemData().fixedTabWidth, 1000);
    std::string lengthText, widthText;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = TabPage(dialog);
        lengthText = Text(page, IDC_TAB_TEXT_LENGTH);
        widthText = Text(page, IDC_TAB_WIDTH);
        Cancel(dialog);
    }));
    EXPECT_EQ(lengthText, "100");
    EXPECT_EQ(widthText, "1000");
}

// The spin ranges only guide the arrows: a number typed outside them is
// stored as typed, cut to the width of its field.
TEST_F(TabPageTest, NumbersTypedOutsideTheSpinRangesAreStoredCutToTheirFields) {
    struct Case {
        const char* length;
        const char* width;
        unsigned storedLength, storedWidth;
    };
    const Case cases[] = {
        {"300", "70000", 300 - 256, 70000 - 65536},
        {"1", "2000", 1, 2000},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = TabPage(dialog);
            SetChecked(page, IDC_TAB_FIXED_WIDTH, true);
            Type(page, IDC_TAB_TEXT_LENGTH, c.length);
            Type(page, IDC_TAB_WIDTH, c.width);
            Ok(dialog);
        })) << c.length;
        EXPECT_EQ(unsigned{GetSystemData().tabTextLength}, c.storedLength) << c.length;
        EXPECT_EQ(unsigned{GetSystemData().fixedTabWidth}, c.storedWidth) << c.width;
    }
}

TEST_F(TabPageTest, TheWidthCanBeEditedOnlyWhileTabsHaveAFixedWidth) {
    GetSystemData().fixedTabWidth = 333;
    for (const bool fixed : {false, true}) {
        GetSystemData().tabStyle = fixed ? TCS_FIXEDWIDTH : 0;
        bool atOpening = false, afterClick = false, afterSecondClick = false;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = TabPage(dialog);
            const HWND width = GetDlgItem(page, IDC_TAB_WIDTH);
            atOpening = IsWindowEnabled(width) != FALSE;
            Press(page, IDC_TAB_FIXED_WIDTH);
            afterClick = IsWindowEnabled(width) != FALSE;
            Press(page, IDC_TAB_FIXED_WIDTH);
            afterSecondClick = IsWindowEnabled(width) != FALSE;
            Ok(dialog);
        })) << fixed;
        EXPECT_EQ(atOpening, fixed);
        EXPECT_EQ(afterClick, !fixed);
        EXPECT_EQ(afterSecondClick, fixed);
        // A width that could not be edited is kept.
        EXPECT_EQ(GetSystemData().fixedTabWidth, 333) << fixed;
    }
}

TEST_F(TabPageTest, RightWithOneRowAndBothBoxesClearedStores0x0082) {
    // Set beforehand: every bit the page shows, and some it does not.
    GetSystemData().tabStyle =
        TCS_MULTILINE | TCS_HOTTRACK | TCS_FIXEDWIDTH | TCS_BOTTOM | TCS_BUTTONS | TCS_FLATBUTTONS;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = TabPage(dialog);
        SetChecked(page, IDC_TAB_POS_RIGHT, true);
        SetChecked(page, IDC_TAB_MULTILINE_OFF, true);
        SetChecked(page, IDC_TAB_HOTTRACK, false);
        SetChecked(page, IDC_TAB_FIXED_WIDTH, false);
        Ok(dialog);
    }));
    EXPECT_EQ(GetSystemData().tabStyle, 0x0082u);
}

TEST_F(TabPageTest, OkRestylesTheTabControlAtOnce) {
    GetSystemData().tabStyle = TCS_MULTILINE;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = TabPage(dialog);
        SetChecked(page, IDC_TAB_POS_LEFT, true);
        SetChecked(page, IDC_TAB_HOTTRACK, true);
        SetChecked(page, IDC_TAB_FIXED_WIDTH, true);
        Ok(dialog);
    }));
    const auto style = static_cast<std::uint32_t>(GetWindowLongA(Root().TabControl(), GWL_STYLE));
    EXPECT_EQ(style & kUsableTabStyle,
              std::uint32_t{TCS_VERTICAL | TCS_MULTILINE | TCS_HOTTRACK | TCS_FIXEDWIDTH});
}

}  // namespace
