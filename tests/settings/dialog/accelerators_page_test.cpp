// The "アクセラレータキー" page and its row editor, opened as the user opens
// them: command 21 of the real main window, the page's controls, and the
// editor behind a double-click on a row. What OK writes is looked at in the
// key and gesture tables, in menu.ini as the program saves it, and in what
// the main window does with a key or a gesture right after OK.
#include "base/messages.h"
#include "commands/accelerators.h"
#include "commands/gestures.h"
#include "commands/menu_settings.h"
#include "settings/dialog/accelerators_page_ids.h"
#include "tests/settings/dialog/dialog_fixture.h"
#include "tests/support/desktop_input.h"
#include "tests/support/message_box_reader.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using testing_support::FindOwnDialog;
using testing_support::HoldKey;
using testing_support::IniValue;
using testing_support::MessageBoxReader;
using testing_support::Press;
using testing_support::SettingsDialogTest;
using testing_support::WaitUntil;

namespace {

constexpr char kEditorTitle[] = "アクセラレータキーの設定";
constexpr int kRows = AcceleratorTable::kSlots;
constexpr int kStrokeLists[] = {
    IDC_HOTKEY_STROKE_1, IDC_HOTKEY_STROKE_2, IDC_HOTKEY_STROKE_3, IDC_HOTKEY_STROKE_4,
    IDC_HOTKEY_STROKE_5, IDC_HOTKEY_STROKE_6, IDC_HOTKEY_STROKE_7, IDC_HOTKEY_STROKE_8,
};
// Command kinds and their slots.
constexpr int kNextTab = 2;
constexpr int kNextTabSlot = kNextTab - 1;
constexpr int kSplitSlot = 19 - 1;

enum Stroke : DWORD { kNone = 0, kUp = 1, kDown = 2, kLeft = 4, kRight = 8 };

HWND List(HWND page) { return GetDlgItem(page, IDC_ACCEL_LIST); }

std::string Cell(HWND page, int row, int column) {
    return testing_support::ListViewText(List(page), row, column);
}

// The row double-clicked as the user does it, with act run in the editor
// it opens; act ends the editor. Whether act ran.
bool DoubleClickRow(HWND page, int row, std::function<void(HWND)> act) {
    const HWND list = List(page);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
    RECT cell{};
    cell.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    return testing_support::WithNestedDialog(kEditorTitle, std::move(act), [&] {
        SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM(cell.left + 4, (cell.top + cell.bottom) / 2));
    });
}

// A drop-down list's entry valued value chosen, as the user's choice leaves it.
void Choose(HWND editor, int list, DWORD value) {
    const HWND box = GetDlgItem(editor, list);
    const LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<DWORD>(SendMessageA(box, CB_GETITEMDATA, i, 0)) == value) {
            SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
    }
    ADD_FAILURE() << "no entry valued " << value << " in list " << list;
}

DWORD Chosen(HWND editor, int list) {
    const HWND box = GetDlgItem(editor, list);
    const LRESULT at = SendMessageA(box, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? 0xFFFFFFFF : static_cast<DWORD>(SendMessageA(box, CB_GETITEMDATA, at, 0));
}

std::vector<std::string> Entries(HWND editor, int list) {
    const HWND box = GetDlgItem(editor, list);
    std::vector<std::string> texts;
    const LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[64] = "";
        SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

void ChooseStrokes(HWND editor, const std::vector<DWORD>& strokes) {
    for (std::size_t i = 0; i < 8; ++i) {
        Choose(editor, kStrokeLists[i], i < strokes.size() ? strokes[i] : kNone);
    }
}

std::vector<DWORD> ShownStrokes(HWND editor) {
    std::vector<DWORD> strokes;
    for (int list : kStrokeLists) strokes.push_back(Chosen(editor, list));
    return strokes;
}

class AcceleratorsPageTest : public SettingsDialogTest {
protected:
    void SetUp() override {
        SettingsDialogTest::SetUp();
        AcceleratorTable::Instance().SetDefaults();
        GestureTable::Instance().Clear();
    }
    void TearDown() override {
        AcceleratorTable::Instance().SetDefaults();
        GestureTable::Instance().Clear();
        SettingsDialogTest::TearDown();
    }

    static HWND ShowPage(HWND dialog) {
        return SettingsDialogTest::ShowPage(dialog, testing_support::kAcceleratorsPage,
                                            "アクセラレータキー");
    }

    // The page with the row editor run on row; the settings dialog then
    // ends with OK or CANCEL.
    bool EditRow(int row, std::function<void(HWND)> act, bool ok = true) {
        bool acted = false;
        const bool opened = OpenSettings([&](HWND dialog) {
            const HWND page = ShowPage(dialog);
            acted = DoubleClickRow(page, row, act);
            ok ? Ok(dialog) : Cancel(dialog);
        });
        return opened && acted;
    }
};

TEST_F(AcceleratorsPageTest, OpeningShowsEveryCommandWithItsKeyAndGestureAndTheOptions) {
    AcceleratorTable::Instance().Set(kNextTabSlot, FCONTROL | FALT, VK_F9);
    GestureTable::Instance().Set(kNextTabSlot, kRight << 4 | kLeft, VK_RBUTTON);
    GestureTable::Instance().SetBorder(45);
    GestureTable::Instance().SetElapse(777);
    GetMenuSettings().drawHotkeys = true;
    GetMenuSettings().globalHook = false;
    // A command without a key or gesture shows neither.
    AcceleratorTable::Instance().Set(kSplitSlot, 0, 0);

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = ShowPage(dialog);
        EXPECT_TRUE(IsChecked(page, IDC_ACCEL_DRAW_HOTKEYS));
        EXPECT_FALSE(IsChecked(page, IDC_ACCEL_GLOBAL_HOOK));
        EXPECT_EQ(Text(page, IDC_ACCEL_BORDER), "45");
        EXPECT_EQ(Text(page, IDC_ACCEL_ELAPSE), "777");
        EXPECT_EQ(ListView_GetItemCount(List(page)), kRows);
        EXPECT_EQ(Cell(page, 0, 0), "左隣のタブを選択");
        EXPECT_EQ(Cell(page, kNextTabSlot, 0), "右隣のタブを選択");
        EXPECT_EQ(Cell(page, kNextTabSlot, 1), "Ctrl + Alt + F9");
        EXPECT_EQ(Cell(page, kNextTabSlot, 2), "→←(右)");
        EXPECT_EQ(Cell(page, kRows - 1, 0), "設定");
        EXPECT_EQ(Cell(page, kSplitSlot, 1), "");
        EXPECT_EQ(Cell(page, kSplitSlot, 2), "");
        Cancel(dialog);
    }));
}

TEST_F(AcceleratorsPageTest, OkWritesTheOptionsAndThresholdsAndCancelWritesNothing) {
    GestureTable::Instance().SetBorder(45);
    GestureTable::Instance().SetElapse(777);
    GetMenuSettings().drawHotkeys = false;
    GetMenuSettings().globalHook = false;
    const auto change = [](HWND dialog) {
        const HWND page = ShowPage(dialog);
        SetChecked(page, IDC_ACCEL_DRAW_HOTKEYS, true);
        SetChecked(page, IDC_ACCEL_GLOBAL_HOOK, true);
        Type(page, IDC_ACCEL_BORDER, "77");
        Type(page, IDC_ACCEL_ELAPSE, "1234");
    };
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        change(dialog);
        Cancel(dialog);
    }));
    EXPECT_FALSE(GetMenuSettings().drawHotkeys);
    EXPECT_FALSE(GetMenuSettings().globalHook);
    EXPECT_EQ(GestureTable::Instance().Border(), 45);
    EXPECT_EQ(GestureTable::Instance().Elapse(), 777u);

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        change(dialog);
        Ok(dialog);
    }));
    EXPECT_TRUE(GetMenuSettings().drawHotkeys);
    EXPECT_TRUE(GetMenuSettings().globalHook);
    EXPECT_EQ(GestureTable::Instance().Border(), 77);
    EXPECT_EQ(GestureTable::Instance().BorderSquared(), 77 * 77);
    EXPECT_EQ(GestureTable::Instance().Elapse(), 1234u);
}

TEST_F(AcceleratorsPageTest, TheListFillsThePageBelowTheThresholdsInThirdsOnEverySize) {
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = ShowPage(dialog);
        for (const SIZE size : {SIZE{420, 330}, SIZE{260, 240}}) {
            SetWindowPos(page, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            RECT list{}, elapse{};
            GetWindowRect(List(page), &list);
            GetWindowRect(GetDlgItem(page, IDC_ACCEL_ELAPSE), &elapse);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&list), 2);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&elapse), 2);
            EXPECT_EQ(list.left, 0);
            EXPECT_EQ(list.top, elapse.bottom + 8);
            EXPECT_EQ(list.right, size.cx);
            EXPECT_EQ(list.bottom, size.cy);
            RECT client{};
            GetClientRect(List(page), &client);
            EXPECT_EQ(ListView_GetColumnWidth(List(page), 0), client.right * 6 / 12);
            EXPECT_EQ(ListView_GetColumnWidth(List(page), 1), client.right * 3 / 12);
            EXPECT_EQ(ListView_GetColumnWidth(List(page), 2), client.right * 3 / 12);
        }
        Cancel(dialog);
    }));
}

TEST_F(AcceleratorsPageTest, TheEditorShowsTheRowsStrokesInOrderAndItsChoices) {
    GestureTable::Instance().Set(kNextTabSlot, kUp << 8 | kRight << 4 | kDown, VK_MENU);
    ASSERT_TRUE(EditRow(kNextTabSlot, [](HWND editor) {
        EXPECT_EQ(ShownStrokes(editor),
                  (std::vector<DWORD>{kUp, kRight, kDown, kNone, kNone, kNone, kNone, kNone}));
        EXPECT_EQ(Chosen(editor, IDC_HOTKEY_HOLD_KEY), static_cast<DWORD>(VK_MENU));
        EXPECT_EQ(Entries(editor, IDC_HOTKEY_HOLD_KEY),
                  (std::vector<std::string>{"なし", "SHIFT", "CONTROL", "ALT", "左クリック",
                                            "右クリック"}));
        // Sorted by their text, the empty entry first.
        std::vector<std::string> strokes = Entries(editor, IDC_HOTKEY_STROKE_5);
        ASSERT_EQ(strokes.size(), 5u);
        EXPECT_EQ(strokes[0], "");
        EXPECT_TRUE(std::is_sorted(strokes.begin(), strokes.end(), [](auto& a, auto& b) {
            return CompareStringA(LOCALE_USER_DEFAULT, 0, a.c_str(), -1, b.c_str(), -1) ==
                   CSTR_LESS_THAN;
        }));
        Press(editor, IDC_HOTKEY_CLEAR);
        EXPECT_EQ(ShownStrokes(editor), std::vector<DWORD>(8, kNone));
        Press(editor, IDCANCEL);
    }));
    // Neither the editor's CANCEL nor the clearing before it changed the row.
    EXPECT_EQ(GestureTable::Instance().Strokes(kNextTabSlot), kUp << 8 | kRight << 4 | kDown);
    EXPECT_EQ(GestureTable::Instance().HoldKey(kNextTabSlot), VK_MENU);
}

TEST_F(AcceleratorsPageTest, TwoEqualStrokesInARowAreRefusedAndAStrokeBetweenThemIsNot) {
    std::vector<testing_support::SeenBox> seen;
    bool stayedOpen = false;
    std::string row;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = ShowPage(dialog);
        EXPECT_TRUE(DoubleClickRow(page, kNextTabSlot, [&](HWND editor) {
            MessageBoxReader boxes;  // made now, it leaves the open dialogs alone
            ChooseStrokes(editor, {kRight, kNone, kRight});
            Press(editor, IDOK);
            stayedOpen = FindOwnDialog(kEditorTitle) == editor;
            WaitUntil([&] { return !boxes.Seen().empty(); }, 5000);
            seen = boxes.Seen();
            Choose(editor, kStrokeLists[2], kLeft);
            Press(editor, IDOK);
        }));
        row = Cell(page, kNextTabSlot, 2);
        Ok(dialog);
    }));
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "同じ動作を連続して登録する事は出来ません");
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_EQ(row, "→←");
    EXPECT_EQ(GestureTable::Instance().Strokes(kNextTabSlot), kRight << 4 | kLeft);
}

TEST_F(AcceleratorsPageTest, ClearedStrokesRemoveTheGestureAndItsHeldKeyStaysOutOfMenuIni) {
    GestureTable::Instance().Set(kNextTabSlot, kUp << 4 | kDown, VK_SHIFT);
    ASSERT_TRUE(EditRow(kNextTabSlot, [](HWND editor) {
        Press(editor, IDC_HOTKEY_CLEAR);
        Press(editor, IDOK);
    }));
    EXPECT_EQ(GestureTable::Instance().Strokes(kNextTabSlot), 0u);
    EXPECT_EQ(GestureTable::Instance().HoldKey(kNextTabSlot), VK_SHIFT);
    const std::string menuIni = settings.Dir().File("menu.ini");
    SaveMenuSettings(menuIni.c_str());
    EXPECT_EQ(IniValue(menuIni, "MOUSEGESTURE", "No2", "(no key)"), "");
}

TEST_F(AcceleratorsPageTest, AHeldKeyTheEditorDoesNotOfferBecomesNoneEvenOnItsCancel) {
    GestureTable::Instance().Set(kNextTabSlot, kUp, 'A');
    ASSERT_TRUE(EditRow(kNextTabSlot, [](HWND editor) {
        EXPECT_EQ(Chosen(editor, IDC_HOTKEY_HOLD_KEY), 0u);
        Press(editor, IDCANCEL);
    }));
    EXPECT_EQ(GestureTable::Instance().Strokes(kNextTabSlot), static_cast<DWORD>(kUp));
    EXPECT_EQ(GestureTable::Instance().HoldKey(kNextTabSlot), 0);
}

TEST_F(AcceleratorsPageTest, CtrlAndAltAreStoredAsTheirAcceleratorFlagsAndTheKeyWorksAtOnce) {
    const HWND first = OpenWindow("first"), second = OpenWindow("second");
    ASSERT_TRUE(Add(first));
    ASSERT_TRUE(Add(second));
    Root().SelectPrevTab();
    ASSERT_EQ(Root().Selected(), 0);

    std::string row;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = ShowPage(dialog);
        ASSERT_TRUE(DoubleClickRow(page, kNextTabSlot, [](HWND editor) {
            SendDlgItemMessageA(editor, IDC_HOTKEY_KEY, HKM_SETHOTKEY,
                                MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
            Press(editor, IDOK);
        }));
        row = Cell(page, kNextTabSlot, 1);
        Ok(dialog);
    }));
    EXPECT_EQ(row, "Ctrl + Alt + F9");
    EXPECT_EQ(AcceleratorTable::Instance().Modifiers(kNextTabSlot), FCONTROL | FALT);
    EXPECT_EQ(AcceleratorTable::Instance().Key(kNextTabSlot), VK_F9);

    // The key as the message loop meets it.
    HoldKey(VK_CONTROL, true);
    HoldKey(VK_MENU, true);
    MSG key{Main(), WM_SYSKEYDOWN, VK_F9, 0x20000001, 0, {}};
    const bool passedOn = AcceleratorTable::Instance().Translate(Main(), &key);
    HoldKey(VK_CONTROL, false);
    HoldKey(VK_MENU, false);
    EXPECT_FALSE(passedOn);
    EXPECT_TRUE(WaitUntil([&] { return Root().Selected() == 1; }, 5000));
}

// Ctrl + Right, the default key of "右隣のタブを選択": the control is told the
// arrow is the extended key (else it names the keypad's), and that flag
// stays out of the stored modifiers.
TEST_F(AcceleratorsPageTest, AnArrowKeyIsShownAsTheArrowAndStoredWithItsModifiersOnly) {
    ASSERT_EQ(AcceleratorTable::Instance().Key(kNextTabSlot), VK_RIGHT);
    WORD shown = 0;
    ASSERT_TRUE(EditRow(kNextTabSlot, [&](HWND editor) {
        shown = static_cast<WORD>(SendDlgItemMessageA(editor, IDC_HOTKEY_KEY, HKM_GETHOTKEY, 0, 0));
        Press(editor, IDOK);
    }));
    EXPECT_EQ(shown, MAKEWORD(VK_RIGHT, HOTKEYF_CONTROL | HOTKEYF_EXT));
    EXPECT_EQ(AcceleratorTable::Instance().Modifiers(kNextTabSlot), FCONTROL);
    EXPECT_EQ(AcceleratorTable::Instance().Key(kNextTabSlot), VK_RIGHT);
}

TEST_F(AcceleratorsPageTest, AGestureSetOnThePageIsRecognisedRightAfterOk) {
    const HWND first = OpenWindow("first"), second = OpenWindow("second");
    ASSERT_TRUE(Add(first));
    ASSERT_TRUE(Add(second));
    Root().SelectPrevTab();
    ASSERT_EQ(Root().Selected(), 0);
    GestureTable::Instance().SetElapse(600000);  // nothing forgotten during the test

    ASSERT_TRUE(EditRow(kNextTabSlot, [](HWND editor) {
        ChooseStrokes(editor, {kRight, kLeft});
        Press(editor, IDOK);
    }));
    ASSERT_EQ(GestureTable::Instance().Strokes(kNextTabSlot), kRight << 4 | kLeft);
    // Recognition started from the cursor when the settings were applied.
    const POINT from = Recognizer().lastPoint;
    GestureStep(Main(), from.x + 60, from.y);
    GestureStep(Main(), from.x, from.y);
    EXPECT_TRUE(WaitUntil([&] { return Root().Selected() == 1; }, 5000));
}

// With "グローバルフック" checked on the page, the key the page set reaches
// the main window also while a captured window of another process has the
// keyboard: typed on the X server's keyboard, as a user types it.
TEST_F(AcceleratorsPageTest, WithTheGlobalHookTheNewKeyWorksInACapturedWindowAtOnce) {
    const HWND first = OpenWindow("first"), second = OpenWindow("second");
    ASSERT_TRUE(Add(first));
    ASSERT_TRUE(Add(second));
    Root().SelectPrevTab();
    ASSERT_EQ(Root().Selected(), 0);
    GetMenuSettings().globalHook = false;

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = ShowPage(dialog);
        SetChecked(page, IDC_ACCEL_GLOBAL_HOOK, true);
        ASSERT_TRUE(DoubleClickRow(page, kNextTabSlot, [](HWND editor) {
            SendDlgItemMessageA(editor, IDC_HOTKEY_KEY, HKM_SETHOTKEY,
                                MAKEWORD(VK_F7, HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
            Press(editor, IDOK);
        }));
        Ok(dialog);
    }));
    ASSERT_TRUE(GetMenuSettings().globalHook);

    // The selected tab's window takes the keyboard, as a click on it gives it.
    PostMessageA(Root().TabControl(), PM_FOREGROUNDACTIVE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return testing_support::FocusProcess() == app.ProcessId(); },
                          10000));
    ASSERT_TRUE(testing_support::RunXdotool("key ctrl+shift+F7")) << "xdotool missing?";
    EXPECT_TRUE(WaitUntil([&] { return Root().Selected() == 1; }, 10000));
}

}  // namespace
