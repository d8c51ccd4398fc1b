// The delivered add-windows-by-class tool, loaded by the real host with the
// real main window: the list it starts with and what it writes to
// classadd.ini, the add-entry dialog, the capture of every window of the
// chosen class (windows of the sample application, hidden ones too) and
// the loop's end when the main window refuses one, and files it must
// survive.
#include "plugins/host/tool_slots.h"

#include "base/code_page.h"
#include "tests/plugins/classadd_driver.h"
#include "tests/plugins/tool_test_support.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using testing_support::ClassRow;
using testing_support::ClassView;
using testing_support::PaneTest;
using testing_support::Press;
using testing_support::ReadFileText;
using testing_support::WriteFileText;

namespace {

constexpr int kAdd = 1001, kDelete = 1002, kCapture = 1003, kCancel = 1004;
constexpr int kEntryName = 1006, kEntryClass = 1007, kEntryOk = 1001, kEntryCancel = 1002;

// The built-in entries as a list sorted by setting name shows them.
const std::vector<ClassRow> kBuiltInsSorted = {
    {"Excel", "XLMAIN"},
    {"Word", "OpusApp"},
    {"エクスプローラ", "ExploreWClass"},
    {"フォルダ", "CabinetWClass"},
    {"秀丸", "Hidemaru32Class"},
};

struct ClassSearch {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOfClass(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ClassSearch*>(param);
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == search->className) search->found.push_back(window);
    return TRUE;
}

// The top-level windows of className, shown or not, in the order the
// system lists them.
std::vector<HWND> TopLevelOfClass(const char* className) {
    ClassSearch search{className, {}};
    EnumWindows(&CollectOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class ClassAddTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        ASSERT_TRUE(testing_support::InstallDeliveredTool(settings.Dir().Path(), "classadd.ttl"));
        ini_ = settings.Dir().File("tool") + "\\classadd.ini";
    }
    // The tool chosen with mainWindow (the real one unless given); act runs
    // in its list dialog.
    int Run(std::function<void(HWND)> act) { return Run(std::move(act), Main()); }
    int Run(std::function<void(HWND)> act, HWND mainWindow) {
        HWND none = nullptr;
        return testing_support::WithDialog(testing_support::kClassAddTitle, std::move(act), [&] {
            return ToolSlots()[0].Selected(&none, 1, mainWindow);
        });
    }
    ClassView Look() {
        ClassView view;
        EXPECT_EQ(Run([&](HWND dialog) {
                      view = testing_support::ShownClasses(dialog);
                      Press(dialog, kCancel);
                  }),
                  0);
        return view;
    }
    // A file with the entries given, in this order, and SELECTED selected.
    void Store(const std::vector<ClassRow>& rows, const std::string& count,
               const std::string& selected) {
        std::string text = "[STATUS]\r\nCOUNT=" + count + "\r\nSELECTED=" + selected + "\r\n";
        for (std::size_t n = 0; n < rows.size(); ++n) {
            text += "[ITEM " + std::to_string(n) + "]\r\nNAME=" + rows[n].name +
                    "\r\nCLASS=" + rows[n].className + "\r\n";
        }
        WriteFileText(ini_, text);
    }
    HWND OpenOfClass(const char* className, const char* title, int show = SW_SHOWNORMAL,
                     HWND owner = nullptr) {
        testing_support::WindowSpec form;
        form.className = className;
        form.title = title;
        form.show = show;
        form.owner = owner;
        HWND window = app.Open(form);
        EXPECT_NE(window, nullptr) << title;
        return window;
    }

    std::string ini_;
};

TEST_F(ClassAddTest, TheItemIsOfferedOnlyWithAMainWindowAndOpensOneListAtATime) {
    UniqueMenu menu(CreatePopupMenu());
    AppendToolList(menu.get());
    const testing_support::MenuItems items = testing_support::ItemsOf(menu.get());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "特定のクラス名を持つウィンドウを追加");
    EXPECT_FALSE(items[0].grey);

    HWND none = nullptr;
    EXPECT_EQ(ToolSlots()[0].Enabled(&none, 1, nullptr), 0);
    EXPECT_EQ(Run([](HWND dialog) { Press(dialog, kCancel); }, nullptr), 0);
    EXPECT_FALSE(testing_support::g_dialogDriver.acted) << "no dialog without a main window";
    EXPECT_FALSE(testing_support::FileExists(ini_));

    // Chosen again (a desktop-wide key) while the list is open.
    int again = -1;
    EXPECT_EQ(Run([&](HWND dialog) {
                  again = ToolSlots()[0].Selected(&none, 1, Main());
                  EXPECT_FALSE(testing_support::FileExists(ini_)) << "no second list came and went";
                  Press(dialog, kCancel);
              }),
              0);
    EXPECT_EQ(again, 0);
}

TEST_F(ClassAddTest, FirstUseListsTheBuiltInEntriesSortedAndCancelWritesThemInKeyOrder) {
    ClassView shown;
    HWND focus = nullptr, captureButton = nullptr;
    int columns[2] = {0, 0};
    RECT client{};
    const int result = Run([&](HWND dialog) {
        shown = testing_support::ShownClasses(dialog);
        focus = GetFocus();
        captureButton = GetDlgItem(dialog, kCapture);
        const HWND list = testing_support::ClassList(dialog);
        GetClientRect(list, &client);
        columns[0] = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
        columns[1] = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0));
        EXPECT_NE(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT, 0);
        Press(dialog, kCancel);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(shown.rows, kBuiltInsSorted);
    EXPECT_EQ(shown.selected, 0);
    EXPECT_EQ(focus, captureButton);
    EXPECT_EQ(columns[0], client.right / 2);
    EXPECT_EQ(columns[1], client.right / 2);

    const ClassView stored = testing_support::StoredClasses(ini_);
    EXPECT_EQ(testing_support::IniValue(ini_, "STATUS", "COUNT"), "5");
    EXPECT_EQ(stored.selected, 0);
    EXPECT_EQ(stored.rows, kBuiltInsSorted);
    const std::string text = ReadFileText(ini_);
    std::vector<std::size_t> at;
    for (const char* piece : {"COUNT=", "SELECTED=", "[ITEM 0]", "NAME=Excel", "CLASS=XLMAIN",
                              "[ITEM 1]", "[ITEM 4]"}) {
        at.push_back(text.find(piece));
        EXPECT_NE(at.back(), std::string::npos) << piece;
    }
    EXPECT_TRUE(std::is_sorted(at.begin(), at.end())) << text;
}

TEST_F(ClassAddTest, DeletingEveryEntryWritesCountZeroAndTheNextOpeningHasTheBuiltInsAgain) {
    int selectedAfterDeletes = 0;
    EXPECT_EQ(Run([&](HWND dialog) {
                  for (std::size_t left = 5; left > 0; --left) {
                      testing_support::SelectClassRow(dialog, 0);
                      Press(dialog, kDelete);
                      selectedAfterDeletes += testing_support::ShownClasses(dialog).selected + 1;
                      Press(dialog, kDelete);  // nothing selected: nothing goes
                      EXPECT_EQ(testing_support::ShownClasses(dialog).rows.size(), left - 1);
                  }
                  Press(dialog, kCancel);
              }),
              0);
    EXPECT_EQ(selectedAfterDeletes, 0) << "nothing stays selected after a delete";
    EXPECT_EQ(testing_support::IniValue(ini_, "STATUS", "COUNT"), "0");
    EXPECT_EQ(testing_support::IniValue(ini_, "STATUS", "SELECTED"), "-1");

    const ClassView again = Look();
    EXPECT_EQ(again.rows, kBuiltInsSorted);
    EXPECT_EQ(again.selected, 0);
}

TEST_F(ClassAddTest, TheAddDialogInsertsSortedAcceptsEmptyTextsAndKeepsWholeLongTexts) {
    // 256 characters of two bytes each: what the edit takes, all of it kept.
    std::string longName;
    for (int i = 0; i < 256; ++i) longName += "あ";
    ClassView shown;
    HWND focus = nullptr, nameEdit = nullptr;
    EXPECT_EQ(Run([&](HWND dialog) {
                  const auto add = [&](const std::string& name, const std::string& className,
                                       int button) {
                      EXPECT_TRUE(testing_support::WithNestedDialog(
                          testing_support::kClassAddEntryTitle,
                          [&](HWND entry) {
                              focus = GetFocus();
                              nameEdit = GetDlgItem(entry, kEntryName);
                              SetDlgItemTextA(entry, kEntryName, name.c_str());
                              SetDlgItemTextA(entry, kEntryClass, className.c_str());
                              Press(entry, button);
                          },
                          [&] { Press(dialog, kAdd); }));
                  };
                  add("メモ帳", "Notepad", kEntryOk);
                  add("取り消し", "Cancelled", kEntryCancel);
                  add("", "", kEntryOk);
                  add(longName, "LongNamed", kEntryOk);
                  shown = testing_support::ShownClasses(dialog);
                  Press(dialog, kCancel);
              }),
              0);
    EXPECT_EQ(focus, nameEdit) << "the focus starts in the setting name";
    ASSERT_EQ(shown.rows.size(), 8u);
    EXPECT_EQ(shown.rows[0], (ClassRow{"", ""})) << "an empty name sorts first";
    EXPECT_EQ(shown.Chosen(), (ClassRow{"Excel", "XLMAIN"})) << "the selection stays";
    const std::vector<ClassRow> rows = shown.rows;
    EXPECT_NE(std::find(rows.begin(), rows.end(), ClassRow{"メモ帳", "Notepad"}), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), ClassRow{longName, "LongNamed"}), rows.end());
    for (const ClassRow& row : rows) EXPECT_NE(row.className, "Cancelled");

    const ClassView reopened = Look();
    EXPECT_EQ(reopened.Sorted(), shown.Sorted());
    EXPECT_EQ(reopened.Chosen(), shown.Chosen());
}

TEST_F(ClassAddTest, AddingTheWindowsCapturesEveryWindowOfTheClassHiddenOnesTooInTheSystemsOrder) {
    // Shown without activation, and the hidden one below the others: an
    // activation that reaches a window late, or Wine restacking its shown
    // windows after one of them has left, moves a shown window up, which
    // would change the order the system finds them in after it was read.
    const HWND hidden = OpenOfClass("ClassAddThree", "hidden", SW_HIDE);
    const HWND first = OpenOfClass("ClassAddThree", "first", SW_SHOWNOACTIVATE);
    const HWND third = OpenOfClass("ClassAddThree", "third", SW_SHOWNOACTIVATE);
    const HWND other = OpenOfClass("ClassAddOther", "other", SW_SHOWNOACTIVATE);
    ASSERT_FALSE(IsWindowVisible(hidden));
    const std::vector<HWND> expected = TopLevelOfClass("ClassAddThree");
    ASSERT_EQ(expected.size(), 3u);
    Store({{"B three", "ClassAddThree"}, {"A other", "ClassAddOther"}}, "2", "1");

    EXPECT_EQ(Run([&](HWND dialog) {
                  EXPECT_EQ(testing_support::ShownClasses(dialog).Chosen(),
                            (ClassRow{"B three", "ClassAddThree"}));
                  Press(dialog, kCapture);
              }),
              1);
    EXPECT_EQ(TabWindows(Root()), expected);
    for (HWND captured : {first, hidden, third}) EXPECT_FALSE(OnDesktop(captured));
    EXPECT_TRUE(OnDesktop(other));
    EXPECT_TRUE(TopLevelOfClass("ClassAddThree").empty());
    // The list is saved on this way out too, sorted.
    const ClassView stored = testing_support::StoredClasses(ini_);
    EXPECT_EQ(stored.rows,
              (std::vector<ClassRow>{{"A other", "ClassAddOther"}, {"B three", "ClassAddThree"}}));
    EXPECT_EQ(stored.selected, 1);
}

TEST_F(ClassAddTest, WithNothingSelectedNothingIsCapturedAndTheDialogStillSaysDone) {
    const HWND window = OpenOfClass("ClassAddNone", "not chosen");
    Store({{"none", "ClassAddNone"}}, "1", "-1");
    int selected = 0;
    EXPECT_EQ(Run([&](HWND dialog) {
                  selected = testing_support::ShownClasses(dialog).selected;
                  Press(dialog, kCapture);
              }),
              1);
    EXPECT_EQ(selected, -1) << "SELECTED -1 selects no row, not every row";
    EXPECT_EQ(Root().TabCount(), 0);
    EXPECT_TRUE(OnDesktop(window));
    EXPECT_EQ(testing_support::IniValue(ini_, "STATUS", "SELECTED"), "-1");
}

TEST_F(ClassAddTest, AWindowTheMainWindowRefusesEndsTheLoopAndAHiddenOneIsHiddenAgain) {
    // An owned window is never captured; it is the topmost of its class, so
    // the search would find it again and again.
    const HWND owner = OpenOfClass("ClassAddOwner", "owner");
    const HWND behind = OpenOfClass("ClassAddRefused", "behind");
    const HWND owned = OpenOfClass("ClassAddRefused", "owned", SW_HIDE, owner);
    ASSERT_EQ(TopLevelOfClass("ClassAddRefused").front(), owned);
    Store({{"refused", "ClassAddRefused"}}, "1", "0");

    EXPECT_EQ(Run([&](HWND dialog) { Press(dialog, kCapture); }), 1);
    EXPECT_EQ(Root().TabCount(), 0);
    EXPECT_TRUE(OnDesktop(owned));
    EXPECT_FALSE(IsWindowVisible(owned)) << "shown only for the capture";
    EXPECT_TRUE(OnDesktop(behind));
}

// A main window that answers yes to every capture and captures nothing, as
// one busy answering another application does: each window is asked about
// once and the loop still ends. (After twenty questions it says no, so that
// a loop that asks again fails the test instead of hanging it.)
int g_asked = 0;
LRESULT CALLBACK SaysYes(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PM_ADDWINDOW) return ++g_asked <= 20 ? 1 : 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(ClassAddTest, AMainWindowThatSaysYesWithoutCapturingEndsTheLoopToo) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = SaysYes;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ClassAddSaysYes";
    RegisterClassA(&wc);
    UniqueWindow yes(CreateWindowExA(0, "ClassAddSaysYes", "yes", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                     100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(yes);
    OpenOfClass("ClassAddTwo", "one");
    OpenOfClass("ClassAddTwo", "two");
    Store({{"two", "ClassAddTwo"}}, "1", "0");
    g_asked = 0;
    EXPECT_EQ(Run([](HWND dialog) { Press(dialog, kCapture); }, yes.get()), 1);
    EXPECT_EQ(g_asked, 1);
}

TEST_F(ClassAddTest, HugeAndNegativeCountsAndASelectionOutOfRangeLoadSafely) {
    const std::vector<ClassRow> two = {{"one", "ClassOne"}, {"two", "ClassTwo"}};
    Store(two, "2147483647", "7");
    const ClassView shown = Look();
    EXPECT_EQ(shown.rows, two) << "no rows beyond the sections held";
    EXPECT_EQ(shown.selected, -1);
    EXPECT_EQ(testing_support::IniValue(ini_, "STATUS", "COUNT"), "2");
    EXPECT_EQ(testing_support::IniValue(ini_, "STATUS", "SELECTED"), "-1");
    for (const char* negative : {"-3", "4294967295"}) {
        Store(two, negative, "0");
        EXPECT_EQ(Look().rows, kBuiltInsSorted) << negative;
    }
    // A section missing in the middle is an empty entry, as written.
    WriteFileText(ini_,
                  "[STATUS]\r\nCOUNT=3\r\nSELECTED=2\r\n[ITEM 2]\r\nNAME=last\r\nCLASS=L\r\n");
    const ClassView gap = Look();
    EXPECT_EQ(gap.rows, (std::vector<ClassRow>{{"", ""}, {"", ""}, {"last", "L"}}));
    EXPECT_EQ(gap.Chosen(), (ClassRow{"last", "L"}));
}

TEST_F(ClassAddTest, ValuesOfTenThousandCharactersAreCutToWholeCharactersAndReadBackTheSame) {
    const std::string latin(10000, 'x');
    std::string japanese;
    for (int i = 0; i < 5000; ++i) japanese += "表";  // a trail byte of 0x5C
    Store({{latin, japanese}, {japanese, latin}}, "2", "1");
    const ClassView shown = Look();
    ASSERT_EQ(shown.rows.size(), 2u);
    for (const ClassRow& row : shown.rows) {
        for (const std::string& text : {row.name, row.className}) {
            EXPECT_GT(text.size(), 500u);
            EXPECT_LE(text.size(), 512u);
            EXPECT_EQ(WholeCharacters(text.c_str(), text.size()), text.size());
        }
    }
    EXPECT_EQ(shown.Chosen().className, std::string(512, 'x'));
    EXPECT_EQ(testing_support::StoredClasses(ini_).rows, shown.rows);
    const ClassView reopened = Look();
    EXPECT_EQ(reopened.rows, shown.rows);
    EXPECT_EQ(reopened.Chosen(), shown.Chosen());
}

// "SELECTED" counts in the list as it shows the entries, sorted, also when
// the file holds them in another order; the list is saved back sorted with
// the same entry chosen.
TEST_F(ClassAddTest, SelectedCountsInTheSortedListAlsoForAFileEditedByHand) {
    Store({{"Zeta", "Z"}, {"Alpha", "A"}, {"Mid", "M"}}, "3", "1");
    const ClassView shown = Look();
    EXPECT_EQ(shown.rows, (std::vector<ClassRow>{{"Alpha", "A"}, {"Mid", "M"}, {"Zeta", "Z"}}));
    EXPECT_EQ(shown.Chosen(), (ClassRow{"Mid", "M"}));
    const ClassView stored = testing_support::StoredClasses(ini_);
    EXPECT_EQ(stored.rows, shown.rows);
    EXPECT_EQ(stored.selected, 1);
    // Of two equal names the one chosen stays chosen.
    Store({{"same", "first"}, {"same", "second"}}, "2", "1");
    for (int opening = 0; opening < 3; ++opening) {
        EXPECT_EQ(Look().Chosen(), (ClassRow{"same", "second"})) << "opening " << opening;
    }
}

}  // namespace
