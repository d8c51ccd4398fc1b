// The pages "動作設定", "スプリットバー" and "バージョン情報", driven through
// their controls inside the dialog that command 21 of the real main window
// opens: what each control shows of the live settings, what OK stores, what
// cancelling leaves, which controls are enabled, and how the pages are laid
// out in their font.
#include "base/version.h"
#include "inputtap/inputtap.h"
#include "resources/resource_ids.h"
#include "settings/dialog/behaviour_page_ids.h"
#include "settings/dialog/splitbar_page_ids.h"
#include "settings/dialog/version_page_ids.h"
#include "settings/session_file.h"
#include "settings/system_data.h"
#include "tabs/split_bar.h"
#include "tests/settings/dialog/dialog_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using testing_support::SettingsDialogTest;

namespace {

struct FlagBox {
    int id;
    Flag SystemData::*field;
    const char* label;
};

const FlagBox kFlagBoxes[] = {
    {1012, &SystemData::addAllOnStart, "起動時に全てのウィンドウを追加する"},
    {1013, &SystemData::autoAddOnStart, "起動時に自動追加をONにする"},
    {1020, &SystemData::startMinimized, "常に最小化状態で起動する"},
    {1015, &SystemData::restoreSplit, "分割の状態を復元する"},
    {1016, &SystemData::minimizeAllOnExit, "終了時にタブ化したウィンドウを全て最小化する"},
    {1021, &SystemData::closeAllOnExit, "終了時にタブ化したウィンドウを全て閉じる"},
    {1018, &SystemData::addLaunchedWindows, "アプリケーションから起動したウィンドウは自動的に追加する"},
    {1052, &SystemData::restoreOnAdd, "ウィンドウを追加する時に最小化を解除する"},
    {1019, &SystemData::trayOnMinimize, "最小化時にタスクトレイに格納する"},
    {1017, &SystemData::releaseBeforeClose, "子ウィンドウを閉じる前に解放する"},
    {1014, &SystemData::showMenu, "メニューを表示する"},
    {1056, &SystemData::wheelSwitchesTabs, "マウスホイールでタブを切り替える"},
};
constexpr int kFlagBoxCount = sizeof kFlagBoxes / sizeof kFlagBoxes[0];

struct WheelKey {
    std::string label;
    LRESULT virtualKey;
};

const std::vector<WheelKey> kWheelKeys = {
    {"SHIFT", 16}, {"CONTROL", 17}, {"ALT", 18}, {"左クリック", 1}, {"右クリック", 2},
};

struct SpinState {
    int position = -1;
    int low = -1;
    int high = -1;
};

SpinState SpinOf(HWND page, int id) {
    SpinState spin;
    BOOL failed = FALSE;
    spin.position = static_cast<int>(
        SendMessageA(GetDlgItem(page, id), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    SendMessageA(GetDlgItem(page, id), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&spin.low),
                 reinterpret_cast<LPARAM>(&spin.high));
    return spin;
}

bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }

std::string ItemText(HWND list, int index) {
    char text[64] = "";
    if (SendMessageA(list, CB_GETLBTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof text)) {
        SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    }
    return text;
}

std::vector<WheelKey> ItemsOf(HWND list) {
    std::vector<WheelKey> items;
    const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        items.push_back({ItemText(list, i), SendMessageA(list, CB_GETITEMDATA, i, 0)});
    }
    return items;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> ChildrenOf(HWND page) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

bool IsEtchedLine(HWND window) {
    return _stricmp(ClassOf(window).c_str(), "Static") == 0 &&
           (GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ETCHEDHORZ;
}

RECT PlaceIn(HWND page, HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The page's etched lines as they lie in it.
std::vector<RECT> LinesOf(HWND page) {
    std::vector<RECT> lines;
    for (HWND child : ChildrenOf(page)) {
        if (IsEtchedLine(child)) lines.push_back(PlaceIn(page, child));
    }
    return lines;
}

// Whether one of lines spans the page and lies halfway between two controls
// (a line two pixels high has its middle between its rows).
bool HasLineBetween(HWND page, const std::vector<RECT>& lines, int upper, int lower) {
    RECT client{};
    GetClientRect(page, &client);
    const int twiceMiddle =
        PlaceIn(page, GetDlgItem(page, upper)).bottom + PlaceIn(page, GetDlgItem(page, lower)).top;
    for (const RECT& line : lines) {
        if (line.left == 0 && line.right == client.right && line.bottom - line.top == 2 &&
            std::abs(line.top + line.bottom - twiceMiddle) <= 2) {
            return true;
        }
    }
    return false;
}

// ---- 動作設定 ----------------------------------------------------------------

class BehaviourPageTest : public SettingsDialogTest {
protected:
    static HWND Behaviour(HWND dialog) { return Page(dialog, testing_support::kBehaviourPage); }
    static HWND KeyList(HWND page) { return GetDlgItem(page, IDC_BEHAVIOUR_WHEEL_KEY); }
};

// Four rounds: check box i is on in the rounds of the set bits of i + 1, so
// any two boxes differ in some round and every box is both on and off in
// some round. Each round shows the record's pattern at opening, then the
// user turns every box over and OK stores the opposite pattern.
TEST_F(BehaviourPageTest, EveryCheckBoxShowsItsFieldAndStoresItOnOk) {
    static_assert(kFlagBoxCount < 15, "four rounds tell fourteen boxes apart");
    for (int round = 0; round < 4; ++round) {
        auto onInRound = [round](int box) { return (((box + 1) >> round) & 1) != 0; };
        for (int i = 0; i < kFlagBoxCount; ++i) {
            // Any byte but 0 counts as on, as a record read from the file may hold.
            GetSystemData().*kFlagBoxes[i].field = onInRound(i) ? 2 : 0;
        }
        std::vector<bool> shown(kFlagBoxCount);
        std::vector<std::string> labels(kFlagBoxCount);
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = Behaviour(dialog);
            for (int i = 0; i < kFlagBoxCount; ++i) {
                shown[i] = IsChecked(page, kFlagBoxes[i].id);
                labels[i] = Text(page, kFlagBoxes[i].id);
            }
            for (int i = 0; i < kFlagBoxCount; ++i) SetChecked(page, kFlagBoxes[i].id, !shown[i]);
            Ok(dialog);
        }));
        for (int i = 0; i < kFlagBoxCount; ++i) {
            EXPECT_EQ(shown[i], onInRound(i)) << kFlagBoxes[i].id << " round " << round;
            EXPECT_EQ(GetSystemData().*kFlagBoxes[i].field, onInRound(i) ? 0 : 1)
                << kFlagBoxes[i].id << " round " << round;
            if (round == 0) {
                EXPECT_EQ(labels[i], kFlagBoxes[i].label) << kFlagBoxes[i].id;
            }
        }
    }
}

// The restore of the last session is kept outside the record: the box shows
// the option and OK alone changes it, leaving every byte of the record.
TEST_F(BehaviourPageTest, TheSessionBoxShowsTheOptionAndOnlyOkChangesItAndNotTheRecord) {
    for (const bool before : {false, true}) {
        RestoreSessionOption() = before;
        const SystemData record = GetSystemData();
        bool shown = !before, cancelledShown = before;
        std::string label;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = Behaviour(dialog);
            cancelledShown = IsChecked(page, IDC_BEHAVIOUR_RESTORE_SESSION);
            SetChecked(page, IDC_BEHAVIOUR_RESTORE_SESSION, !before);
            Cancel(dialog);
        }));
        EXPECT_EQ(cancelledShown, before);
        EXPECT_EQ(RestoreSessionOption(), before) << "cancelled";
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = Behaviour(dialog);
            shown = IsChecked(page, IDC_BEHAVIOUR_RESTORE_SESSION);
            label = Text(page, IDC_BEHAVIOUR_RESTORE_SESSION);
            SetChecked(page, IDC_BEHAVIOUR_RESTORE_SESSION, !before);
            Ok(dialog);
        }));
        EXPECT_EQ(shown, before);
        EXPECT_EQ(label, "前回のウィンドウを復元する");
        EXPECT_EQ(RestoreSessionOption(), !before);
        EXPECT_EQ(std::memcmp(&record, &GetSystemData(), sizeof record), 0) << before;
    }
    RestoreSessionOption() = false;
}

// The spins keep the arrows within their ranges, but the record shows as it
// is and a number typed outside a range is stored as typed, in the field's
// 32 bits.
TEST_F(BehaviourPageTest, NumbersShowTheRecordAndAreStoredAsTyped) {
    struct Number {
        int edit;
        int spin;
        std::int32_t SystemData::*field;
        int low;
        int high;
    };
    const Number watch{IDC_BEHAVIOUR_WATCH_INTERVAL, IDC_BEHAVIOUR_WATCH_INTERVAL_SPIN,
                       &SystemData::watchInterval, 0, 65535};
    const Number items{IDC_BEHAVIOUR_START_MENU_ITEMS, IDC_BEHAVIOUR_START_MENU_ITEMS_SPIN,
                       &SystemData::startMenuMaxItems, 8, 65535};
    struct Case {
        const Number* number;
        std::int32_t stored;
        std::string shown;
        std::string typed;
        std::int32_t written;
    };
    // Each round opens the dialog once with both numbers.
    const Case rounds[][2] = {
        {{&watch, 4321, "4321", "250", 250}, {&items, 1234, "1234", "77", 77}},
        {{&watch, 90000, "90000", "70000", 70000}, {&items, 5, "5", "3", 3}},
        {{&watch, 0, "0", "3000000000", static_cast<std::int32_t>(3000000000u)},
         {&items, 65535, "65535", "65536", 65536}},
    };
    for (const auto& round : rounds) {
        for (const Case& c : round) GetSystemData().*c.number->field = c.stored;
        std::string shown[2];
        SpinState spins[2];
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = Behaviour(dialog);
            for (int i = 0; i < 2; ++i) {
                shown[i] = Text(page, round[i].number->edit);
                spins[i] = SpinOf(page, round[i].number->spin);
                Type(page, round[i].number->edit, round[i].typed);
            }
            Ok(dialog);
        }));
        for (int i = 0; i < 2; ++i) {
            const Case& c = round[i];
            EXPECT_EQ(shown[i], c.shown) << c.number->edit;
            EXPECT_EQ(spins[i].low, c.number->low) << c.number->spin;
            EXPECT_EQ(spins[i].high, c.number->high) << c.number->spin;
            if (c.stored >= c.number->low && c.stored <= c.number->high) {
                EXPECT_EQ(spins[i].position, c.stored) << c.number->spin;
            }
            EXPECT_EQ(GetSystemData().*c.number->field, c.written) << c.number->edit;
        }
    }
}

// The list offers five keys by their codes; it opens on the stored key and
// OK stores the chosen one.
TEST_F(BehaviourPageTest, TheWheelKeyListSelectsAndStoresByItemData) {
    const int count = static_cast<int>(kWheelKeys.size());
    for (int i = 0; i < count; ++i) {
        const int chosen = (i + 2) % count;
        GetSystemData().wheelSwitchesTabs = 1;
        GetSystemData().wheelModifierKey = static_cast<std::int32_t>(kWheelKeys[i].virtualKey);
        std::vector<WheelKey> items;
        LRESULT selected = -1;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND list = KeyList(Behaviour(dialog));
            items = ItemsOf(list);
            selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
            SendMessageA(list, CB_SETCURSEL, chosen, 0);
            Ok(dialog);
        }));
        ASSERT_EQ(items.size(), kWheelKeys.size());
        for (int k = 0; k < count; ++k) {
            EXPECT_EQ(items[k].label, kWheelKeys[k].label) << k;
            EXPECT_EQ(items[k].virtualKey, kWheelKeys[k].virtualKey) << k;
        }
        EXPECT_EQ(selected, i) << kWheelKeys[i].label;
        EXPECT_EQ(GetSystemData().wheelModifierKey, kWheelKeys[chosen].virtualKey)
            << kWheelKeys[chosen].label;
    }
}

// A stored code the list does not offer (272 has SHIFT's low byte) shows as
// SHIFT and becomes 16 at opening: cancelling keeps that, and nothing else.
TEST_F(BehaviourPageTest, AKeyOutsideTheListBecomesShiftEvenWhenCancelled) {
    for (const std::int32_t stored : {65, 272, -1}) {
        GetSystemData().wheelModifierKey = stored;
        SystemData expected = GetSystemData();
        expected.wheelModifierKey = 16;
        LRESULT selected = -1;
        std::int32_t whileOpen = 0;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            selected = SendMessageA(KeyList(Behaviour(dialog)), CB_GETCURSEL, 0, 0);
            whileOpen = GetSystemData().wheelModifierKey;
            Cancel(dialog);
        }));
        EXPECT_EQ(selected, 0) << stored;
        EXPECT_EQ(whileOpen, 16) << stored;
        EXPECT_EQ(std::memcmp(&GetSystemData(), &expected, sizeof expected), 0) << stored;
    }
}

TEST_F(BehaviourPageTest, TheKeyListIsEnabledOnlyWhileWheelSwitchingIsChecked) {
    for (const Flag stored : {Flag{0}, Flag{1}}) {
        GetSystemData().wheelSwitchesTabs = stored;
        std::vector<bool> enabled, checked;
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            const HWND page = Behaviour(dialog);
            for (int click = 0; click < 3; ++click) {
                if (click > 0) testing_support::Press(page, IDC_BEHAVIOUR_WHEEL_SWITCHES_TABS);
                enabled.push_back(Enabled(page, IDC_BEHAVIOUR_WHEEL_KEY));
                checked.push_back(IsChecked(page, IDC_BEHAVIOUR_WHEEL_SWITCHES_TABS));
            }
            Cancel(dialog);
        }));
        ASSERT_EQ(enabled.size(), 3u);
        EXPECT_EQ(checked, (std::vector<bool>{stored != 0, stored == 0, stored != 0}));
        EXPECT_EQ(enabled, checked) << int{stored};
    }
}

// Every control of the page and of the split bar page changed, then
// cancelled: neither the record nor the split bar options move.
TEST_F(BehaviourPageTest, CancelAfterChangingEveryControlStoresNothing) {
    GetSystemData().wheelModifierKey = 17;
    cSplitbar::SetDragWithRightButton(false);
    cSplitbar::SetGripPercent(30);
    const SystemData before = GetSystemData();
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = Behaviour(dialog);
        for (const FlagBox& box : kFlagBoxes) SetChecked(page, box.id, !IsChecked(page, box.id));
        Type(page, IDC_BEHAVIOUR_WATCH_INTERVAL, "777");
        Type(page, IDC_BEHAVIOUR_START_MENU_ITEMS, "99");
        SendMessageA(KeyList(page), CB_SETCURSEL, 4, 0);
        const HWND splitbar = Page(dialog, testing_support::kSplitbarPage);
        Type(splitbar, IDC_SPLITBAR_GRIP, "55");
        SetChecked(splitbar, IDC_SPLITBAR_RIGHT_BUTTON, true);
        Cancel(dialog);
    }));
    EXPECT_EQ(std::memcmp(&GetSystemData(), &before, sizeof before), 0);
    EXPECT_FALSE(cSplitbar::DragWithRightButton());
    EXPECT_EQ(cSplitbar::GripPercent(), 30);
}

// The groups start-up, exit, adding, child windows, menus and wheel are
// divided by lines across the page, which follow the page's width.
TEST_F(BehaviourPageTest, EtchedLinesDivideTheGroupsAcrossThePage) {
    const int pairs[][2] = {
        {1099, 1016}, {1021, 1018}, {1019, 1017}, {1030, 1014}, {1028, 1056},
    };
    std::vector<RECT> lines, widened;
    std::vector<bool> between, betweenWidened;
    int widenedClient = 0;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = Behaviour(dialog);
        lines = LinesOf(page);
        for (const auto& pair : pairs) between.push_back(HasLineBetween(page, lines, pair[0], pair[1]));
        RECT client{};
        GetClientRect(page, &client);
        SetWindowPos(page, nullptr, 0, 0, client.right + 37, client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(page, &client);
        widenedClient = client.right;
        widened = LinesOf(page);
        for (const auto& pair : pairs) {
            betweenWidened.push_back(HasLineBetween(page, widened, pair[0], pair[1]));
        }
        Cancel(dialog);
    }));
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(between, std::vector<bool>(5, true));
    EXPECT_EQ(betweenWidened, std::vector<bool>(5, true));
    ASSERT_EQ(widened.size(), 5u);
    EXPECT_EQ(widened[0].right, widenedClient);
}

// ---- Layout ------------------------------------------------------------------

HWND BuddyOf(HWND control) {
    if (_stricmp(ClassOf(control).c_str(), UPDOWN_CLASSA) != 0) return nullptr;
    return reinterpret_cast<HWND>(SendMessageA(control, UDM_GETBUDDY, 0, 0));
}

// The top of the range of the spin whose buddy edit is; 0 for none.
int HighestOfSpinFor(HWND page, HWND edit) {
    for (HWND child : ChildrenOf(page)) {
        if (BuddyOf(child) == edit) return SpinOf(page, GetDlgCtrlID(child)).high;
    }
    return 0;
}

// The labels in the page's own font: a static or a check box holds its whole
// text (a multi-line box in its lines), an edit beside its spin the top of
// the spin's range, a list its longest item; no two controls overlap and none
// leaves the page.
std::vector<std::string> LayoutFaults(HWND page) {
    std::vector<std::string> faults;
    RECT client{};
    GetClientRect(page, &client);
    const HDC dc = GetDC(page);
    std::vector<std::pair<HWND, RECT>> placed;
    for (HWND control : ChildrenOf(page)) {
        const std::string name = ClassOf(control) + " " + std::to_string(GetDlgCtrlID(control));
        const RECT place = PlaceIn(page, control);
        if (place.left < 0 || place.top < 0 || place.right > client.right ||
            place.bottom > client.bottom) {
            faults.push_back(name + " leaves the page");
        }
        if (IsEtchedLine(control)) continue;  // laid in the gaps between rows
        for (const auto& [other, otherPlace] : placed) {
            RECT common{};
            // A spin sits on its edit's right border.
            if (BuddyOf(control) == other || BuddyOf(other) == control) continue;
            if (IntersectRect(&common, &place, &otherPlace)) {
                faults.push_back(name + " overlaps " + ClassOf(other) + " " +
                                 std::to_string(GetDlgCtrlID(other)));
            }
        }
        placed.push_back({control, place});

        const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
        const HGDIOBJ previous = SelectObject(dc, font);
        char text[256] = "";
        GetWindowTextA(control, text, sizeof text);
        const std::string cls = ClassOf(control);
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        RECT inside{};
        GetClientRect(control, &inside);
        SIZE extent{};
        if (_stricmp(cls.c_str(), "Button") == 0 || (_stricmp(cls.c_str(), "Static") == 0 &&
                                                     (style & SS_TYPEMASK) == SS_LEFT)) {
            // A check box's text starts after its box and a little space.
            const bool box = _stricmp(cls.c_str(), "Button") == 0;
            RECT room = inside;
            if (box) room.left += GetSystemMetrics(SM_CXMENUCHECK) + 6;
            RECT need = room;
            DrawTextA(dc, text, -1, &need,
                      DT_CALCRECT | ((style & BS_MULTILINE) || !box ? DT_WORDBREAK : DT_SINGLELINE));
            if (need.right > room.right || need.bottom > room.bottom) {
                faults.push_back(name + " cuts off \"" + text + "\"");
            }
        } else if (_stricmp(cls.c_str(), "Edit") == 0 && !(style & ES_MULTILINE)) {
            const std::string widest = std::to_string(HighestOfSpinFor(page, control));
            GetTextExtentPoint32A(dc, widest.c_str(), static_cast<int>(widest.size()), &extent);
            const DWORD margins = static_cast<DWORD>(SendMessageA(control, EM_GETMARGINS, 0, 0));
            if (extent.cx + LOWORD(margins) + HIWORD(margins) > inside.right) {
                faults.push_back(name + " cuts off " + widest);
            }
        } else if (_stricmp(cls.c_str(), "ComboBox") == 0) {
            for (const WheelKey& item : ItemsOf(control)) {
                GetTextExtentPoint32A(dc, item.label.c_str(), static_cast<int>(item.label.size()),
                                      &extent);
                if (extent.cx + GetSystemMetrics(SM_CXVSCROLL) + 6 > inside.right) {
                    faults.push_back(name + " cuts off \"" + item.label + "\"");
                }
            }
        }
        SelectObject(dc, previous);
    }
    ReleaseDC(page, dc);
    return faults;
}

// Where the labels of the edits and the list stand: each on its control's
// row, the name before it and the unit after it.
TEST_F(BehaviourPageTest, EditsAndTheListHaveTheirLabelsBesideThem) {
    struct Label {
        int page;
        const char* text;
        int control;
        bool before;
    };
    const Label labels[] = {
        {testing_support::kBehaviourPage, "子ウィンドウを監視する間隔", IDC_BEHAVIOUR_WATCH_INTERVAL, true},
        {testing_support::kBehaviourPage, "[msec]", IDC_BEHAVIOUR_WATCH_INTERVAL_SPIN, false},
        {testing_support::kBehaviourPage, "スタートメニューの最大アイテム数",
         IDC_BEHAVIOUR_START_MENU_ITEMS, true},
        {testing_support::kBehaviourPage, "同時に押すキー", IDC_BEHAVIOUR_WHEEL_KEY, true},
        {testing_support::kSplitbarPage, "グリップサイズ", IDC_SPLITBAR_GRIP, true},
        {testing_support::kSplitbarPage, "%", IDC_SPLITBAR_GRIP_SPIN, false},
    };
    std::vector<std::string> misplaced;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        for (const Label& label : labels) {
            const HWND page = Page(dialog, label.page);
            const RECT control = PlaceIn(page, GetDlgItem(page, label.control));
            bool found = false;
            for (HWND child : ChildrenOf(page)) {
                char text[64] = "";
                GetWindowTextA(child, text, sizeof text);
                if (_stricmp(ClassOf(child).c_str(), "Static") != 0 || label.text != std::string(text)) {
                    continue;
                }
                const RECT place = PlaceIn(page, child);
                const bool sameRow = place.top < control.bottom && control.top < place.bottom;
                const bool side = label.before ? place.right <= control.left
                                               : control.right <= place.left;
                found = sameRow && side;
            }
            if (!found) misplaced.push_back(label.text);
        }
        Cancel(dialog);
    }));
    EXPECT_EQ(misplaced, std::vector<std::string>{});
}

TEST_F(BehaviourPageTest, ThePagesHoldTheirControlsAndLabelsInTheirFont) {
    const int pages[] = {testing_support::kBehaviourPage, testing_support::kSplitbarPage,
                         testing_support::kVersionPage, testing_support::kConditionsPage,
                         testing_support::kAddStylesPage, testing_support::kAddClassesPage};
    constexpr int kCount = sizeof pages / sizeof pages[0];
    std::vector<std::string> faults[kCount];
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        for (int i = 0; i < kCount; ++i) faults[i] = LayoutFaults(Page(dialog, pages[i]));
        Cancel(dialog);
    }));
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(faults[i], std::vector<std::string>{}) << "page " << pages[i];
    }
}

// ---- スプリットバー ----------------------------------------------------------

class SplitbarPageTest : public SettingsDialogTest {
protected:
    void TearDown() override {
        cSplitbar::SetDragWithRightButton(false);
        cSplitbar::SetGripPercent(20);
        SettingsDialogTest::TearDown();
    }
    static HWND Splitbar(HWND dialog) { return Page(dialog, testing_support::kSplitbarPage); }
};

// Dragging with the right button leaves a bar no grip: its size cannot be
// edited then, but keeps its value, and OK stores both.
TEST_F(SplitbarPageTest, TheGripSizeIsDisabledWhileTheRightButtonDrags) {
    cSplitbar::SetDragWithRightButton(false);
    cSplitbar::SetGripPercent(37);
    bool checkedAtOpening = true;
    std::string label, grip, gripAfterClick;
    SpinState spin;
    bool editEnabled = false, spinEnabled = false, editAfterClick = true, spinAfterClick = true;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = Splitbar(dialog);
        checkedAtOpening = IsChecked(page, IDC_SPLITBAR_RIGHT_BUTTON);
        label = Text(page, IDC_SPLITBAR_RIGHT_BUTTON);
        grip = Text(page, IDC_SPLITBAR_GRIP);
        spin = SpinOf(page, IDC_SPLITBAR_GRIP_SPIN);
        editEnabled = Enabled(page, IDC_SPLITBAR_GRIP);
        spinEnabled = Enabled(page, IDC_SPLITBAR_GRIP_SPIN);
        SetChecked(page, IDC_SPLITBAR_RIGHT_BUTTON, true);
        editAfterClick = Enabled(page, IDC_SPLITBAR_GRIP);
        spinAfterClick = Enabled(page, IDC_SPLITBAR_GRIP_SPIN);
        gripAfterClick = Text(page, IDC_SPLITBAR_GRIP);
        Ok(dialog);
    }));
    EXPECT_FALSE(checkedAtOpening);
    EXPECT_EQ(label, "右クリックでスプリットバーを移動させる");
    EXPECT_EQ(grip, "37");
    EXPECT_EQ(spin.position, 37);
    EXPECT_EQ(spin.low, 0);
    EXPECT_EQ(spin.high, 100);
    EXPECT_TRUE(editEnabled);
    EXPECT_TRUE(spinEnabled);
    EXPECT_FALSE(editAfterClick);
    EXPECT_FALSE(spinAfterClick);
    EXPECT_EQ(gripAfterClick, "37");
    EXPECT_TRUE(cSplitbar::DragWithRightButton());
    EXPECT_EQ(cSplitbar::GripPercent(), 37);
}

// Opened with the right button on, the size is disabled until the box is
// cleared; a typed size keeps its low eight bits (300 is 44).
TEST_F(SplitbarPageTest, ClearingTheRightButtonEnablesTheGripAndOkStoresTheTypedSize) {
    cSplitbar::SetDragWithRightButton(true);
    cSplitbar::SetGripPercent(63);
    bool checkedAtOpening = false, disabledAtOpening = false, enabledAfterClick = false;
    std::string grip;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = Splitbar(dialog);
        checkedAtOpening = IsChecked(page, IDC_SPLITBAR_RIGHT_BUTTON);
        grip = Text(page, IDC_SPLITBAR_GRIP);
        disabledAtOpening =
            !Enabled(page, IDC_SPLITBAR_GRIP) && !Enabled(page, IDC_SPLITBAR_GRIP_SPIN);
        SetChecked(page, IDC_SPLITBAR_RIGHT_BUTTON, false);
        enabledAfterClick =
            Enabled(page, IDC_SPLITBAR_GRIP) && Enabled(page, IDC_SPLITBAR_GRIP_SPIN);
        Type(page, IDC_SPLITBAR_GRIP, "300");
        Ok(dialog);
    }));
    EXPECT_TRUE(checkedAtOpening);
    EXPECT_EQ(grip, "63");
    EXPECT_TRUE(disabledAtOpening);
    EXPECT_TRUE(enabledAfterClick);
    EXPECT_FALSE(cSplitbar::DragWithRightButton());
    EXPECT_EQ(cSplitbar::GripPercent(), 44);
}

// ---- バージョン情報 ----------------------------------------------------------

using VersionPageTest = SettingsDialogTest;

TEST_F(VersionPageTest, ShowsTheProgramAndHookLibraryVersions) {
    std::string program, hook, description;
    std::vector<std::string> texts;
    HICON icon = nullptr;
    LONG descriptionStyle = 0;
    std::vector<RECT> lines;
    bool lineBetween = false;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = Page(dialog, testing_support::kVersionPage);
        program = Text(page, IDC_VERSION_PROGRAM);
        hook = Text(page, IDC_VERSION_HOOK_LIBRARY);
        description = Text(page, IDC_VERSION_DESCRIPTION);
        descriptionStyle = GetWindowLongA(GetDlgItem(page, IDC_VERSION_DESCRIPTION), GWL_STYLE);
        icon = reinterpret_cast<HICON>(
            SendDlgItemMessageA(page, IDC_VERSION_ICON, STM_GETICON, 0, 0));
        for (HWND child : ChildrenOf(page)) {
            char text[64] = "";
            GetWindowTextA(child, text, sizeof text);
            texts.push_back(text);
        }
        lines = LinesOf(page);
        lineBetween = HasLineBetween(page, lines, IDC_VERSION_HOOK_LIBRARY, IDC_VERSION_DESCRIPTION);
        Cancel(dialog);
    }));
    const WORD library = INPUTTAP_GetVersion();
    ASSERT_NE(HIBYTE(library), LOBYTE(library)) << "the two bytes must tell their order";
    // The release is named after the same two numbers (scripts/package.sh).
    EXPECT_EQ(program, "Ver. " + std::to_string(PANELRY_VERSION_MAJOR) + "." +
                           std::to_string(PANELRY_VERSION_MINOR));
    EXPECT_EQ(hook, "Ver. " + std::to_string(HIBYTE(library)) + "." +
                        std::to_string(LOBYTE(library)));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Panelry"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "inputtap.dll"), texts.end());
    // The program's own icon: a shared icon is loaded once per module.
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(icon, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PANELRY)));
    EXPECT_FALSE(description.empty());
    EXPECT_EQ(descriptionStyle & (ES_MULTILINE | ES_READONLY), ES_MULTILINE | ES_READONLY);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lineBetween);
}

}  // namespace
