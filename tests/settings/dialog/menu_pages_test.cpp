// The pages "メニュー" and "タブ用メニュー" in the real settings dialog of
// the real main window, driven through their controls: the chooser behind
// the add buttons and the questions behind the popup buttons are answered
// in their own modal loops, and the menus the main window builds afterwards
// are read back from the system.
#include "base/command_kinds.h"
#include "base/messages.h"
#include "commands/command_texts.h"
#include "commands/menu_settings.h"
#include "settings/dialog/menu_page_ids.h"
#include "tests/settings/dialog/dialog_fixture.h"
#include "tests/support/desktop_input.h"
#include "tests/support/open_menu.h"
#include "tests/support/wait.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

using testing_support::FindOwnDialog;
using testing_support::Press;
using testing_support::SettingsDialogTest;

namespace {

using Codes = std::vector<int>;
using Texts = std::vector<std::string>;

constexpr char kChooserTitle[] = "追加するメニューアイテム";
constexpr char kQuestionTitle[] = "確認";
constexpr char kErrorTitle[] = "Error";
constexpr char kNoMoreItems[] = "これ以上メニューアイテムを追加できません";
constexpr char kAskDelete[] = "現在選択されている項目を削除してもよろしいですか？";
constexpr char kAskInsert[] = "最後尾の項目が削除されますが宜しいですか？";
constexpr char kSeparatorRow[] = "-----------------------";
constexpr int S = kSeparatorCode;

// ---- Dialogs opened from a page ----------------------------------------------

// The dialog a click opens runs its own loop inside the settings dialog's
// act: a timer of its own answers it. A dialog other than the awaited one
// (or none at all) is dismissed after five seconds, so that the test fails
// instead of hanging.
struct Nested {
    std::string title;
    std::function<void(HWND)> act;
    bool acted = false;
    int idleTicks = 0;
    std::vector<std::string> strays;
};
Nested g_nested;

BOOL CALLBACK DismissStray(HWND window, LPARAM) {
    char className[16] = "", text[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    if (std::string(className) != "#32770" || !IsWindowVisible(window) ||
        std::string(text) == testing_support::kSettingsTitle) {
        return TRUE;
    }
    g_nested.strays.push_back(text);
    PostMessageA(window, WM_COMMAND, IDNO, 0);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK DriveNested(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_nested.acted) {
        if (const HWND dialog = FindOwnDialog(g_nested.title)) {
            g_nested.acted = true;
            g_nested.act(dialog);
            return;
        }
    }
    if (++g_nested.idleTicks > 100) {
        g_nested.idleTicks = 0;
        EnumThreadWindows(GetCurrentThreadId(), &DismissStray, 0);
    }
}

// Clicks button of page with act run in the dialog titled title that the
// click opens; act ends it. Whether act ran.
bool ClickInto(HWND page, int button, const std::string& title, std::function<void(HWND)> act) {
    g_nested = Nested{title, std::move(act), false, 0, {}};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &DriveNested);
    Press(page, button);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_nested.strays.empty()) << "unexpected dialog: " << g_nested.strays.front();
    return g_nested.acted;
}

// A message box as the user reads it: its text and its buttons.
struct Box {
    std::string text;
    bool ok = false, yes = false, no = false;
};
Box Read(HWND box) {
    Box seen;
    char text[512] = "";
    GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
    seen.text = text;
    seen.ok = GetDlgItem(box, IDOK) != nullptr;
    seen.yes = GetDlgItem(box, IDYES) != nullptr;
    seen.no = GetDlgItem(box, IDNO) != nullptr;
    return seen;
}

// The question behind button answered with answer (IDYES or IDNO).
Box Answer(HWND page, int button, int answer) {
    Box seen;
    EXPECT_TRUE(ClickInto(page, button, kQuestionTitle, [&](HWND box) {
        seen = Read(box);
        Press(box, answer);
    }));
    return seen;
}

// The chooser's row of code chosen with "追加"; -1 is "セパレータ".
bool AddEntry(HWND page, int code) {
    return ClickInto(page, IDC_MENU_ADD, kChooserTitle, [code](HWND chooser) {
        if (code == S) {
            Press(chooser, IDC_CHOOSER_SEPARATOR);
            return;
        }
        const HWND list = GetDlgItem(chooser, IDC_CHOOSER_LIST);
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            if (SendMessageA(list, LB_GETITEMDATA, row, 0) == code) {
                SendMessageA(list, LB_SETCURSEL, row, 0);
            }
        }
        Press(chooser, IDOK);
    });
}

// ---- The pages' lists ----------------------------------------------------------

HWND List(HWND page) { return GetDlgItem(page, IDC_MENU_LIST); }

Codes RowCodes(HWND page) {
    Codes codes;
    const int count = static_cast<int>(SendMessageA(List(page), LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        codes.push_back(static_cast<std::int8_t>(SendMessageA(List(page), LB_GETITEMDATA, row, 0)));
    }
    return codes;
}

Texts RowTexts(HWND page) {
    Texts texts;
    const int count = static_cast<int>(SendMessageA(List(page), LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        char text[128] = "";
        SendMessageA(List(page), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

// What the rows of codes should read.
Texts TextsFor(const Codes& codes) {
    Texts texts;
    for (int code : codes) texts.push_back(code == S ? kSeparatorRow : CommandText(code));
    return texts;
}

int Selection(HWND page) { return static_cast<int>(SendMessageA(List(page), LB_GETCURSEL, 0, 0)); }
void SelectRow(HWND page, int row) { SendMessageA(List(page), LB_SETCURSEL, row, 0); }

// The codes of an entry list of the model up to its first end marker, and
// the whole list for the places after it.
Codes Entries(const std::int8_t* entries, int places) {
    Codes codes;
    for (int i = 0; i < places && entries[i] != kEndCode; ++i) codes.push_back(entries[i]);
    return codes;
}
bool EndsFrom(const std::int8_t* entries, int from, int places) {
    for (int i = from; i < places; ++i) {
        if (entries[i] != kEndCode) return false;
    }
    return true;
}

void Fill(std::int8_t* entries, int places, const Codes& codes) {
    std::memset(entries, kEndCode, static_cast<std::size_t>(places));
    for (std::size_t i = 0; i < codes.size(); ++i) entries[i] = static_cast<std::int8_t>(codes[i]);
}

Codes Count(int n, int code) { return Codes(static_cast<std::size_t>(n), code); }

class MenuPagesTest : public SettingsDialogTest {
protected:
    static MenuSettings& Model() { return GetMenuSettings(); }
    static void SetPopup(int n, const char* title, const Codes& codes) {
        Fill(Model().mainMenuItems[n], MenuSettings::kEntries, codes);
        std::memset(Model().popupTitles[n], 0, MenuSettings::kTitleSize);
        std::strcpy(Model().popupTitles[n], title);
    }
    static void SetTabMenu(const Codes& codes) {
        Fill(Model().tabMenuItems, MenuSettings::kTabEntries, codes);
    }
    static Codes Popup(int n) { return Entries(Model().mainMenuItems[n], MenuSettings::kEntries); }
    static Codes TabMenu() { return Entries(Model().tabMenuItems, MenuSettings::kTabEntries); }
    // Popups 0 to 7 titled "P0" to "P7", popup n holding n + 1 and n + 2.
    static void NumberedPopups() {
        for (int n = 0; n < MenuSettings::kPopups; ++n) {
            SetPopup(n, ("P" + std::to_string(n)).c_str(), {n + 1, n + 2});
        }
    }

    static HWND MenuPage(HWND dialog) {
        return ShowPage(dialog, testing_support::kMenuPage, "メニュー");
    }
    // The tree shows "タブ用メニュー" under "タブ" once that is opened.
    static HWND TabMenuPage(HWND dialog) {
        const HWND tree = GetDlgItem(dialog, IDC_SETTINGS_TREE);
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FindNode(tree, "タブ")));
        return ShowPage(dialog, testing_support::kTabMenuPage, "タブ用メニュー");
    }

    // Popup n chosen in the popup list, as the user's choice notifies.
    static void ChoosePopup(HWND page, int n) {
        const HWND popups = GetDlgItem(page, IDC_MENU_POPUP);
        SendMessageA(popups, CB_SETCURSEL, n, 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_MENU_POPUP, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(popups));
    }
    static int ShownPopup(HWND page) {
        return static_cast<int>(SendDlgItemMessageA(page, IDC_MENU_POPUP, CB_GETCURSEL, 0, 0));
    }

    void Apply() { SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0); }
};

// ---- Opening: what the pages show of the model -------------------------------

TEST_F(MenuPagesTest, TheMenuPageShowsPopupZeroAndEachPopupChosenWithItsTitle) {
    Texts names, title0, title1;
    Codes rows0, rows1;
    Texts texts0;
    int shown = -1;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = MenuPage(dialog);
        const HWND popups = GetDlgItem(page, IDC_MENU_POPUP);
        for (int n = 0; n < SendMessageA(popups, CB_GETCOUNT, 0, 0); ++n) {
            char name[64] = "";
            SendMessageA(popups, CB_GETLBTEXT, n, reinterpret_cast<LPARAM>(name));
            names.push_back(name);
        }
        shown = ShownPopup(page);
        title0.push_back(Text(page, IDC_MENU_TITLE));
        rows0 = RowCodes(page);
        texts0 = RowTexts(page);
        ChoosePopup(page, 1);
        title1.push_back(Text(page, IDC_MENU_TITLE));
        rows1 = RowCodes(page);
        Cancel(dialog);
    }));
    EXPECT_EQ(names, (Texts{"メニュー0", "メニュー1", "メニュー2", "メニュー3", "メニュー4",
                            "メニュー5", "メニュー6", "メニュー7"}));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(title0, Texts{"タブ(&T)"});
    EXPECT_EQ(rows0, (Codes{1, 2, S, 6, 7, 8, S, 9, 10, 11, S, 12, 13, 14, S, 15, 16, 17, S, 18,
                            19, 20}));
    EXPECT_EQ(texts0, TextsFor(rows0)) << "commands by their text, separators as dashes";
    EXPECT_EQ(title1, Texts{"操作(&E)"});
    EXPECT_EQ(rows1, (Codes{4, 5, S, 21}));
}

TEST_F(MenuPagesTest, AListIsShownUpToItsFirstCodeThatIsNoEntryAndOkStoresItCut) {
    SetPopup(0, "full", Count(MenuSettings::kEntries, kSettings));  // no end marker
    SetPopup(1, "zero", {kReleaseTab, 0, kCloseTab});
    SetPopup(2, "past", {kReleaseTab, kShortcutList, 26, kCloseTab});
    SetPopup(3, "low", {S, -3, kCloseTab});
    SetTabMenu({kMinimizeTab, 31, kCloseTab});
    std::vector<Codes> shown;
    Codes tabShown;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = MenuPage(dialog);
        for (int n = 0; n < 4; ++n) {
            ChoosePopup(page, n);
            shown.push_back(RowCodes(page));
        }
        tabShown = RowCodes(TabMenuPage(dialog));
        Ok(dialog);
    }));
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0], Count(MenuSettings::kEntries, kSettings));
    EXPECT_EQ(shown[1], Codes{kReleaseTab});
    EXPECT_EQ(shown[2], (Codes{kReleaseTab, kShortcutList}));
    EXPECT_EQ(shown[3], Codes{S});
    EXPECT_EQ(tabShown, Codes{kMinimizeTab});

    EXPECT_EQ(Popup(0), Count(MenuSettings::kEntries, kSettings));
    EXPECT_EQ(Popup(1), Codes{kReleaseTab});
    EXPECT_TRUE(EndsFrom(Model().mainMenuItems[1], 1, MenuSettings::kEntries));
    EXPECT_TRUE(EndsFrom(Model().mainMenuItems[2], 2, MenuSettings::kEntries));
    EXPECT_TRUE(EndsFrom(Model().mainMenuItems[3], 1, MenuSettings::kEntries));
    EXPECT_TRUE(EndsFrom(Model().tabMenuItems, 1, MenuSettings::kTabEntries));
}

// ---- Adding -------------------------------------------------------------------

TEST_F(MenuPagesTest, AddInsertsBelowTheSelectionOrAtTheTopAndSelectsTheNewRow) {
    SetTabMenu({kReleaseTab, kMinimizeTab, kCloseTab});
    Codes afterTop, afterBelow, afterLast;
    int selTop = -1, selBelow = -1, selLast = -1;
    Texts texts;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = TabMenuPage(dialog);
        ASSERT_EQ(Selection(page), LB_ERR);
        EXPECT_TRUE(AddEntry(page, kSettings));
        afterTop = RowCodes(page);
        selTop = Selection(page);
        SelectRow(page, 2);
        EXPECT_TRUE(AddEntry(page, S));
        afterBelow = RowCodes(page);
        selBelow = Selection(page);
        texts = RowTexts(page);
        SelectRow(page, 4);
        EXPECT_TRUE(AddEntry(page, kShortcutList));
        afterLast = RowCodes(page);
        selLast = Selection(page);
        Ok(dialog);
    }));
    EXPECT_EQ(afterTop, (Codes{kSettings, kReleaseTab, kMinimizeTab, kCloseTab}));
    EXPECT_EQ(selTop, 0);
    EXPECT_EQ(afterBelow, (Codes{kSettings, kReleaseTab, kMinimizeTab, S, kCloseTab}));
    EXPECT_EQ(selBelow, 3);
    EXPECT_EQ(texts[3], kSeparatorRow);
    EXPECT_EQ(afterLast, (Codes{kSettings, kReleaseTab, kMinimizeTab, S, kCloseTab, kShortcutList}));
    EXPECT_EQ(selLast, 5);
    EXPECT_EQ(TabMenu(), afterLast);
}

TEST_F(MenuPagesTest, AnEntryAddedOnTheMenuPageGoesIntoThePopupShown) {
    NumberedPopups();
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = MenuPage(dialog);
        ChoosePopup(page, 5);
        SelectRow(page, 0);
        EXPECT_TRUE(AddEntry(page, kWindowList));
        ChoosePopup(page, 6);  // and back: the copy kept it
        ChoosePopup(page, 5);
        EXPECT_EQ(RowCodes(page), (Codes{6, kWindowList, 7}));
        Ok(dialog);
    }));
    EXPECT_EQ(Popup(5), (Codes{6, kWindowList, 7}));
    EXPECT_EQ(Popup(4), (Codes{5, 6}));
    EXPECT_EQ(Popup(6), (Codes{7, 8}));
}

TEST_F(MenuPagesTest, TheChooserListsTheCommandsSortedAndAddsNothingUnlessOneIsChosen) {
    SetTabMenu({kReleaseTab});
    Texts texts;
    Codes codes;
    bool openAfterEmptyAdd = false;
    Codes rowsAfterCancel, rowsAfterClose;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = TabMenuPage(dialog);
        EXPECT_TRUE(ClickInto(page, IDC_MENU_ADD, kChooserTitle, [&](HWND chooser) {
            const HWND list = GetDlgItem(chooser, IDC_CHOOSER_LIST);
            const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
            for (int row = 0; row < count; ++row) {
                char text[128] = "";
                SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
                texts.push_back(text);
                codes.push_back(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, row, 0)));
            }
            // "追加" with no row chosen: the chooser waits for a choice.
            SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            Press(chooser, IDOK);
            openAfterEmptyAdd = IsWindow(chooser) && IsWindowVisible(chooser);
            Press(chooser, IDCANCEL);
        }));
        rowsAfterCancel = RowCodes(page);
        EXPECT_TRUE(ClickInto(page, IDC_MENU_ADD, kChooserTitle, [](HWND chooser) {
            SendDlgItemMessageA(chooser, IDC_CHOOSER_LIST, LB_SETCURSEL, 0, 0);
            SendMessageA(chooser, WM_CLOSE, 0, 0);
        }));
        rowsAfterClose = RowCodes(page);
        Ok(dialog);
    }));
    ASSERT_EQ(codes.size(), static_cast<std::size_t>(kCommandKindCount));
    std::vector<bool> seen(kCommandKindCount + 1, false);
    for (std::size_t row = 0; row < codes.size(); ++row) {
        ASSERT_GE(codes[row], 1);
        ASSERT_LE(codes[row], kCommandKindCount);
        EXPECT_FALSE(seen[codes[row]]) << codes[row];
        seen[codes[row]] = true;
        EXPECT_EQ(texts[row], CommandText(codes[row])) << "a row's data is its command";
        if (row > 0) {
            EXPECT_NE(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, texts[row - 1].c_str(),
                                     -1, texts[row].c_str(), -1),
                      CSTR_GREATER_THAN)
                << texts[row - 1] << " before " << texts[row];
        }
    }
    EXPECT_TRUE(openAfterEmptyAdd);
    EXPECT_EQ(rowsAfterCancel, Codes{kReleaseTab});
    EXPECT_EQ(rowsAfterClose, Codes{kReleaseTab});
    EXPECT_EQ(TabMenu(), Codes{kReleaseTab});
}

TEST_F(MenuPagesTest, ThePopupsTakeThirtyTwoEntriesAndTheTabMenuSixteenThenAddIsRefused) {
    SetPopup(0, "P0", Count(MenuSettings::kEntries - 1, kReleaseTab));
    SetTabMenu(Count(MenuSettings::kTabEntries - 1, kCloseTab));
    Box popupBox, tabBox;
    std::size_t popupRows = 0, tabRows = 0;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        HWND page = MenuPage(dialog);
        SelectRow(page, 0);
        EXPECT_TRUE(AddEntry(page, kSettings)) << "the 32nd";
        EXPECT_TRUE(ClickInto(page, IDC_MENU_ADD, kErrorTitle, [&](HWND box) {
            popupBox = Read(box);
            Press(box, IDOK);
        })) << "the 33rd";
        popupRows = RowCodes(page).size();

        page = TabMenuPage(dialog);
        EXPECT_TRUE(AddEntry(page, kSettings)) << "the 16th";
        EXPECT_TRUE(ClickInto(page, IDC_MENU_ADD, kErrorTitle, [&](HWND box) {
            tabBox = Read(box);
            Press(box, IDOK);
        })) << "the 17th";
        tabRows = RowCodes(page).size();
        Ok(dialog);
    }));
    for (const Box* box : {&popupBox, &tabBox}) {
        EXPECT_EQ(box->text, kNoMoreItems);
        EXPECT_TRUE(box->ok);
        EXPECT_FALSE(box->yes);
    }
    EXPECT_EQ(popupRows, 32u);
    EXPECT_EQ(tabRows, 16u);
    Codes popup = Count(MenuSettings::kEntries, kReleaseTab);
    popup[1] = kSettings;
    EXPECT_EQ(Popup(0), popup);
    EXPECT_EQ(TabMenu(), (Codes{kSettings, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8}));
}

// ---- Deleting and moving --------------------------------------------------------

TEST_F(MenuPagesTest, DeleteTakesTheSelectedRowAndSelectsTheRowInItsPlaceOrTheNewLast) {
    SetTabMenu({1, 2, 3, 4});
    struct Step {
        Codes rows;
        int selection;
    };
    std::vector<Step> steps;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = TabMenuPage(dialog);
        const auto note = [&] { steps.push_back({RowCodes(page), Selection(page)}); };
        Press(page, IDC_MENU_DELETE);  // nothing selected: nothing goes
        note();
        SelectRow(page, 1);
        Press(page, IDC_MENU_DELETE);
        note();
        SelectRow(page, 2);
        Press(page, IDC_MENU_DELETE);
        note();
        Press(page, IDC_MENU_DELETE);
        note();
        Press(page, IDC_MENU_DELETE);
        note();
        Ok(dialog);
    }));
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0].rows, (Codes{1, 2, 3, 4}));
    EXPECT_EQ(steps[1].rows, (Codes{1, 3, 4}));
    EXPECT_EQ(steps[1].selection, 1) << "the row now in its place";
    EXPECT_EQ(steps[2].rows, (Codes{1, 3}));
    EXPECT_EQ(steps[2].selection, 1) << "the new last row";
    EXPECT_EQ(steps[3].rows, Codes{1});
    EXPECT_EQ(steps[3].selection, 0);
    EXPECT_TRUE(steps[4].rows.empty());
    EXPECT_EQ(steps[4].selection, LB_ERR);
    EXPECT_TRUE(TabMenu().empty());
    EXPECT_TRUE(EndsFrom(Model().tabMenuItems, 0, MenuSettings::kTabEntries));
}

TEST_F(MenuPagesTest, UpAndDownSwapWithTheNeighbourAndDoNothingAtTheEnds) {
    SetPopup(0, "P0", {1, S, 3});
    struct Step {
        Codes rows;
        int selection;
    };
    std::vector<Step> steps;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = MenuPage(dialog);
        const auto press = [&](int button) {
            Press(page, button);
            steps.push_back({RowCodes(page), Selection(page)});
        };
        press(IDC_MENU_UP);  // nothing selected
        press(IDC_MENU_DOWN);
        SelectRow(page, 0);
        press(IDC_MENU_UP);  // the first row
        SelectRow(page, 2);
        press(IDC_MENU_DOWN);  // the last row
        press(IDC_MENU_UP);
        press(IDC_MENU_UP);
        press(IDC_MENU_DOWN);
        Ok(dialog);
    }));
    ASSERT_EQ(steps.size(), 7u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(steps[i].rows, (Codes{1, S, 3})) << i;
    EXPECT_EQ(steps[2].selection, 0);
    EXPECT_EQ(steps[3].selection, 2);
    EXPECT_EQ(steps[4].rows, (Codes{1, 3, S}));
    EXPECT_EQ(steps[4].selection, 1);
    EXPECT_EQ(steps[5].rows, (Codes{3, 1, S}));
    EXPECT_EQ(steps[5].selection, 0);
    EXPECT_EQ(steps[6].rows, (Codes{1, 3, S}));
    EXPECT_EQ(steps[6].selection, 1);
    EXPECT_EQ(Popup(0), (Codes{1, 3, S}));
}

// ---- Whole popups -----------------------------------------------------------------

TEST_F(MenuPagesTest, DeletingPopupThreeMovesTheLaterOnesUpAndEmptiesTheLastOnlyOnYes) {
    NumberedPopups();
    Box question;
    std::string titleAfterNo, titleAfterYes;
    Codes rowsAfterNo, rowsAfterYes;
    int shownAfterYes = -1;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = MenuPage(dialog);
        ChoosePopup(page, 3);
        question = Answer(page, IDC_MENU_DELETE_POPUP, IDNO);
        titleAfterNo = Text(page, IDC_MENU_TITLE);
        rowsAfterNo = RowCodes(page);
        Answer(page, IDC_MENU_DELETE_POPUP, IDYES);
        shownAfterYes = ShownPopup(page);
        titleAfterYes = Text(page, IDC_MENU_TITLE);
        rowsAfterYes = RowCodes(page);
        Ok(dialog);
    }));
    EXPECT_EQ(question.text, kAskDelete);
    EXPECT_TRUE(question.yes && question.no);
    EXPECT_FALSE(question.ok);
    EXPECT_EQ(titleAfterNo, "P3");
    EXPECT_EQ(rowsAfterNo, (Codes{4, 5}));
    EXPECT_EQ(shownAfterYes, 3);
    EXPECT_EQ(titleAfterYes, "P4");
    EXPECT_EQ(rowsAfterYes, (Codes{5, 6}));

    const char* titles[] = {"P0", "P1", "P2", "P4", "P5", "P6", "P7"};
    const int first[] = {1, 2, 3, 5, 6, 7, 8};
    for (int n = 0; n < 7; ++n) {
        EXPECT_STREQ(Model().popupTitles[n], titles[n]) << n;
        EXPECT_EQ(Popup(n), (Codes{first[n], first[n] + 1})) << n;
    }
    const char zero[MenuSettings::kTitleSize] = {};
    EXPECT_EQ(std::memcmp(Model().popupTitles[7], zero, sizeof zero), 0) << "all zero";
    EXPECT_TRUE(EndsFrom(Model().mainMenuItems[7], 0, MenuSettings::kEntries));
}

TEST_F(MenuPagesTest, InsertingAtPopupThreeLosesTheOldLastOnlyOnYes) {
    NumberedPopups();
    Box question;
    std::string titleAfterNo, titleAfterYes;
    Codes rowsAfterNo, rowsAfterYes;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = MenuPage(dialog);
        ChoosePopup(page, 3);
        question = Answer(page, IDC_MENU_INSERT_POPUP, IDNO);
        titleAfterNo = Text(page, IDC_MENU_TITLE);
        rowsAfterNo = RowCodes(page);
        Answer(page, IDC_MENU_INSERT_POPUP, IDYES);
        titleAfterYes = Text(page, IDC_MENU_TITLE);
        rowsAfterYes = RowCodes(page);
        ChoosePopup(page, 7);
        EXPECT_EQ(Text(page, IDC_MENU_TITLE), "P6");
        Ok(dialog);
    }));
    EXPECT_EQ(question.text, kAskInsert);
    EXPECT_TRUE(question.yes && question.no);
    EXPECT_EQ(titleAfterNo, "P3");
    EXPECT_EQ(rowsAfterNo, (Codes{4, 5}));
    EXPECT_EQ(titleAfterYes, "");
    EXPECT_TRUE(rowsAfterYes.empty());

    const char* titles[] = {"P0", "P1", "P2", "", "P3", "P4", "P5", "P6"};
    for (int n = 0; n < MenuSettings::kPopups; ++n) {
        EXPECT_STREQ(Model().popupTitles[n], titles[n]) << n;
        if (n == 3) continue;
        const int was = n < 3 ? n : n - 1;
        EXPECT_EQ(Popup(n), (Codes{was + 1, was + 2})) << n;
    }
    EXPECT_TRUE(EndsFrom(Model().mainMenuItems[3], 0, MenuSettings::kEntries));
}

// ---- Titles -----------------------------------------------------------------------

TEST_F(MenuPagesTest, ATitleTypedStaysWithItsPopupAndIsCutToWholeCharactersOfThirtyOneBytes) {
    NumberedPopups();
    std::string back, cutWide, cutNarrow;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = MenuPage(dialog);
        ChoosePopup(page, 1);
        Type(page, IDC_MENU_TITLE, "編集(&X)");
        ChoosePopup(page, 2);
        ChoosePopup(page, 1);
        back = Text(page, IDC_MENU_TITLE);
        // Twenty double-byte characters: fifteen fit in 31 bytes.
        ChoosePopup(page, 2);
        Type(page, IDC_MENU_TITLE, "一二三四五六七八九十一二三四五六七八九十");
        cutWide = Text(page, IDC_MENU_TITLE);
        ChoosePopup(page, 3);
        Type(page, IDC_MENU_TITLE, std::string(40, 'a'));
        cutNarrow = Text(page, IDC_MENU_TITLE);
        ChoosePopup(page, 4);
        Type(page, IDC_MENU_TITLE, "");
        Ok(dialog);
    }));
    EXPECT_EQ(back, "編集(&X)");
    EXPECT_EQ(cutWide, "一二三四五六七八九十一二三四五");
    EXPECT_EQ(cutNarrow, std::string(31, 'a'));
    EXPECT_STREQ(Model().popupTitles[1], "編集(&X)");
    EXPECT_STREQ(Model().popupTitles[2], "一二三四五六七八九十一二三四五");
    EXPECT_STREQ(Model().popupTitles[3], std::string(31, 'a').c_str());
    EXPECT_STREQ(Model().popupTitles[4], "");
    EXPECT_STREQ(Model().popupTitles[0], "P0");
}

// ---- Cancel and OK ------------------------------------------------------------------

TEST_F(MenuPagesTest, CancelLeavesTheWholeModelAsItWas) {
    NumberedPopups();
    SetPopup(2, "P2", {kReleaseTab, 0, kCloseTab});  // loading would cut it
    SetTabMenu({kReleaseTab, 27, kCloseTab});
    const MenuSettings before = Model();
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        HWND page = MenuPage(dialog);
        ChoosePopup(page, 2);
        Type(page, IDC_MENU_TITLE, "changed");
        SelectRow(page, 0);
        EXPECT_TRUE(AddEntry(page, kSettings));
        ChoosePopup(page, 5);
        Answer(page, IDC_MENU_DELETE_POPUP, IDYES);
        Answer(page, IDC_MENU_INSERT_POPUP, IDYES);
        page = TabMenuPage(dialog);
        EXPECT_TRUE(AddEntry(page, S));
        SelectRow(page, 1);
        Press(page, IDC_MENU_DELETE);
        Cancel(dialog);
    }));
    EXPECT_EQ(std::memcmp(Model().mainMenuItems, before.mainMenuItems, sizeof before.mainMenuItems), 0);
    EXPECT_EQ(std::memcmp(Model().popupTitles, before.popupTitles, sizeof before.popupTitles), 0);
    EXPECT_EQ(std::memcmp(Model().tabMenuItems, before.tabMenuItems, sizeof before.tabMenuItems), 0);
}

// The bar the main window builds after OK, and the tab menu a right click
// on the tab strip opens, show what the pages were left showing.
TEST_F(MenuPagesTest, AfterOkTheMainWindowsMenusShowTheEditedModel) {
    ASSERT_NE(GetMenu(Main()), nullptr);
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        HWND page = MenuPage(dialog);
        // Popup 0 "タブ(&T)" goes; "操作(&E)" becomes the first.
        Answer(page, IDC_MENU_DELETE_POPUP, IDYES);
        SelectRow(page, 2);  // after the separator
        EXPECT_TRUE(AddEntry(page, kAddAllWindows));
        Type(page, IDC_MENU_TITLE, "操作と追加(&O)");
        ChoosePopup(page, 3);
        Type(page, IDC_MENU_TITLE, "分割(&B)");
        EXPECT_TRUE(AddEntry(page, kSplitTopBottom));
        EXPECT_TRUE(AddEntry(page, S));
        EXPECT_TRUE(AddEntry(page, kUnsplit));

        page = TabMenuPage(dialog);
        while (!RowCodes(page).empty()) {
            SelectRow(page, 0);
            Press(page, IDC_MENU_DELETE);
        }
        EXPECT_TRUE(AddEntry(page, kSplitLeftRight));
        EXPECT_TRUE(AddEntry(page, S));
        EXPECT_TRUE(AddEntry(page, kSettings));
        Ok(dialog);
    }));

    const HMENU bar = GetMenu(Main());
    ASSERT_NE(bar, nullptr);
    const testing_support::MenuItems titles = testing_support::ItemsOf(bar);
    EXPECT_EQ(testing_support::TextsOf(titles),
              (Texts{"操作と追加(&O)", "スタート(&S)", "追加(&A)", "分割(&B)"}));
    // The first and the last popup opened as the system opens them; a
    // command's key, if it has one, follows a tab.
    const auto open = [&](UINT position) {
        const HMENU popup = GetSubMenu(bar, static_cast<int>(position));
        SendMessageA(Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                     MAKELPARAM(position, 0));
        Texts texts;
        for (const testing_support::MenuItem& item : testing_support::ItemsOf(popup)) {
            texts.push_back(item.separator ? "-" : item.text.substr(0, item.text.find('\t')));
        }
        return texts;
    };
    EXPECT_EQ(open(0), (Texts{CommandText(kWatchOn), CommandText(kWatchOff), "-",
                              CommandText(kAddAllWindows), CommandText(kSettings)}));
    EXPECT_EQ(open(3), (Texts{CommandText(kSplitTopBottom), "-", CommandText(kUnsplit)}));

    // The tab menu, read while it is open and then dismissed.
    RECT r{10, 5, 30, 15};
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    POINT screen = at;
    ClientToScreen(Root().TabControl(), &screen);
    SetCursorPos(screen.x, screen.y);
    SetForegroundWindow(Main());
    EXPECT_TRUE(testing_support::WaitUntil([&] { return GetForegroundWindow() == Main(); }));
    testing_support::PumpPending();
    testing_support::WithOpenMenu({}, [&] {
        return SendMessageA(Root().TabControl(), WM_RBUTTONDOWN, MK_RBUTTON,
                            MAKELPARAM(at.x, at.y));
    });
    ASSERT_TRUE(testing_support::Opened().seen);
    const testing_support::MenuItems& tab = testing_support::Opened().items;
    EXPECT_EQ(testing_support::IdsOf(tab), (std::vector<UINT>{kSplitLeftRight, 0, kSettings}));
    EXPECT_EQ(testing_support::TextsOf(tab),
              (Texts{CommandText(kSplitLeftRight), "", CommandText(kSettings)}));
}

}  // namespace
