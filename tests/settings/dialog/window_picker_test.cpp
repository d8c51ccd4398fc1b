// The window picker, opened as the user opens it from the "追加" button of a
// class-name page of the settings dialog, and on its own: which of the
// sample application's windows it lists and how, what choosing a row and OK
// put into the page, and what it hands back when it is cancelled or closed.
#include "base/handles.h"
#include "launcher/window_picker.h"
#include "settings/conditions.h"
#include "tests/settings/dialog/class_page_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using testing_support::ClassPageTest;
using testing_support::InPicker;
using testing_support::PickerRow;
using testing_support::Press;
using testing_support::WindowSpec;

namespace {

using RowList = std::vector<PickerRow>;

// The rows of rows whose class is className, in the list's order.
RowList RowsOfClass(const RowList& rows, const std::string& className) {
    RowList found;
    for (const PickerRow& row : rows) {
        if (row.className == className) found.push_back(row);
    }
    return found;
}

class WindowPickerTest : public ClassPageTest {
protected:
    HWND Open(const std::string& className, const std::string& title, DWORD style = WS_OVERLAPPEDWINDOW,
              DWORD exStyle = 0, HWND owner = nullptr, int show = SW_SHOWNORMAL) {
        WindowSpec form;
        form.className = className;
        form.title = title;
        form.style = style;
        form.exStyle = exStyle;
        form.owner = owner;
        form.show = show;
        const HWND window = app.Open(form);
        EXPECT_NE(window, nullptr) << title;
        return window;
    }

    // The picker's rows as the class page's "追加" shows them; the picker is
    // then cancelled.
    RowList RowsShown() {
        RowList rows;
        EXPECT_TRUE(OpenSettings([&](HWND dialog) {
            EXPECT_TRUE(PickFrom(AddClassesPage(dialog), [&](HWND picker) {
                rows = Rows(picker);
                Press(picker, IDCANCEL);
            }));
            Cancel(dialog);
        }));
        return rows;
    }

    const char* PickAlone(std::function<void(HWND)> act) {
        const char* picked = "not returned";
        EXPECT_TRUE(InPicker(std::move(act),
                             [&] { picked = PickWindowClass(Main(), GetModuleHandleA(nullptr)); }));
        return picked;
    }
};

TEST_F(WindowPickerTest, ListsTheVisibleTitledWindowsOwnedAndToolWindowsIncluded) {
    const HWND plain = Open("PickPlain", "pick plain");
    Open("PickOwned", "pick owned", WS_OVERLAPPED | WS_CAPTION, 0, plain);
    Open("PickTool", "pick tool", WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
    Open("PickHidden", "pick hidden", WS_OVERLAPPEDWINDOW, 0, nullptr, SW_HIDE);
    Open("PickUntitled", "");

    const RowList rows = RowsShown();

    EXPECT_EQ(RowsOfClass(rows, "PickPlain"), (RowList{{"pick plain", "PickPlain"}}));
    EXPECT_EQ(RowsOfClass(rows, "PickOwned"), (RowList{{"pick owned", "PickOwned"}}));
    EXPECT_EQ(RowsOfClass(rows, "PickTool"), (RowList{{"pick tool", "PickTool"}}));
    EXPECT_TRUE(RowsOfClass(rows, "PickHidden").empty());
    EXPECT_TRUE(RowsOfClass(rows, "PickUntitled").empty());
    for (const PickerRow& row : rows) EXPECT_FALSE(row.title.empty()) << row.className;
}

// Wide literals with characters the code page cannot write stay out of the
// assertions, which quote their arguments as narrow text.
const std::wstring kWideTitle = L"한국어 café 😀";

TEST_F(WindowPickerTest, ATitleOutsideTheCodePageIsListedAsWritten) {
    const HWND window = Open("PickWide", "narrow");
    ASSERT_TRUE(app.SetTitleW(window, kWideTitle));

    std::vector<std::wstring> titles;
    EXPECT_TRUE(OpenSettings([&](HWND dialog) {
        EXPECT_TRUE(PickFrom(AddClassesPage(dialog), [&](HWND picker) {
            const RowList rows = Rows(picker);
            for (size_t row = 0; row < rows.size(); ++row) {
                if (rows[row].className != "PickWide") continue;
                wchar_t text[256] = L"";
                LVITEMW item{};
                item.iSubItem = 0;
                item.pszText = text;
                item.cchTextMax = 256;
                SendMessageW(PickerList(picker), LVM_GETITEMTEXTW, row,
                             reinterpret_cast<LPARAM>(&item));
                titles.push_back(text);
            }
            Press(picker, IDCANCEL);
        }));
        Cancel(dialog);
    }));
    EXPECT_EQ(titles, std::vector<std::wstring>{kWideTitle});
}

TEST_F(WindowPickerTest, RowsAreSortedByTitleAndOneClassMayGiveSeveral) {
    // Opened out of order: the desktop lists them newest first, b a c.
    Open("PickTwin", "twin c");
    Open("PickTwin", "twin a");
    Open("PickTwin", "twin b");

    const RowList rows = RowsShown();

    EXPECT_EQ(RowsOfClass(rows, "PickTwin"),
              (RowList{{"twin a", "PickTwin"}, {"twin b", "PickTwin"}, {"twin c", "PickTwin"}}));
}

TEST_F(WindowPickerTest, TheHeadingsAndTheLayoutAreTheDialogsOwn) {
    ASSERT_STREQ(PickAlone([&](HWND picker) {
                     const HWND list = PickerList(picker);
                     const HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
                     EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
                     for (int column = 0; column < 2; ++column) {
                         char text[32] = "";
                         LVCOLUMNA info{};
                         info.mask = LVCF_TEXT | LVCF_WIDTH;
                         info.pszText = text;
                         info.cchTextMax = sizeof text;
                         SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
                         EXPECT_STREQ(text, column == 0 ? "Title" : "Class");
                         RECT client{};
                         GetClientRect(list, &client);
                         EXPECT_EQ(info.cx, client.right / 2);
                     }
                     EXPECT_TRUE(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
                                 LVS_EX_FULLROWSELECT);
                     // The list view in dialog units 0, 32, 157 x 160.
                     RECT expected{0, 32, 157, 192};
                     MapDialogRect(picker, &expected);
                     RECT actual{};
                     GetWindowRect(list, &actual);
                     MapWindowPoints(nullptr, picker, reinterpret_cast<POINT*>(&actual), 2);
                     EXPECT_EQ(actual.left, expected.left);
                     EXPECT_EQ(actual.top, expected.top);
                     EXPECT_EQ(actual.right, expected.right);
                     EXPECT_EQ(actual.bottom, expected.bottom);
                     // The label "クラス名" whole in its font.
                     const HWND label = FindWindowExA(picker, nullptr, "Static", "クラス名");
                     ASSERT_NE(label, nullptr);
                     RECT room{}, need{};
                     GetClientRect(label, &room);
                     need = room;
                     {
                         const WindowDC dc(label);
                         const SelectedObject font(
                             dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
                         DrawTextA(dc.get(), "クラス名", -1, &need, DT_CALCRECT | DT_SINGLELINE);
                     }
                     EXPECT_LE(need.right, room.right);
                     EXPECT_LE(need.bottom, room.bottom);
                     // Centred on the screen.
                     RECT outer{};
                     GetWindowRect(picker, &outer);
                     EXPECT_LE(std::abs((outer.left + outer.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
                     EXPECT_LE(std::abs((outer.top + outer.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
                     Press(picker, IDOK);
                 }),
                 "");
}

TEST_F(WindowPickerTest, AChosenRowPutsOnlyItsClassIntoTheEditAndOkAddsItSelected) {
    Open("PickChosen", "pick chosen");
    AddConditions().classes.Add("Aardvark");
    AddConditions().classes.Add("Zebra");
    std::string edit;

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = AddClassesPage(dialog);
        EXPECT_TRUE(PickFrom(page, [&](HWND picker) {
            const RowList rows = Rows(picker);
            const auto row = std::find(rows.begin(), rows.end(), PickerRow{"pick chosen", "PickChosen"});
            ASSERT_NE(row, rows.end());
            ChooseRow(picker, static_cast<int>(row - rows.begin()));
            edit = Text(picker, IDC_PICKER_CLASS);
            Press(picker, IDOK);
        }));
        EXPECT_EQ(Names(page), (std::vector<std::string>{"Aardvark", "PickChosen", "Zebra"}));
        EXPECT_EQ(Selected(page), 1);
        Ok(dialog);
    }));

    EXPECT_EQ(edit, "PickChosen");
    EXPECT_TRUE(AddConditions().classes.Contains("PickChosen"));
}

TEST_F(WindowPickerTest, AnEmptyNameOrACancelledPickerAddsNothing) {
    AddConditions().classes.Add("Only");

    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND page = AddClassesPage(dialog);
        EXPECT_TRUE(AddByTyping(page, ""));
        EXPECT_EQ(Names(page), std::vector<std::string>{"Only"});
        EXPECT_TRUE(PickFrom(page, [&](HWND picker) {
            SetDlgItemTextA(picker, IDC_PICKER_CLASS, "Typed");
            Press(picker, IDCANCEL);
        }));
        EXPECT_EQ(Names(page), std::vector<std::string>{"Only"});
        EXPECT_EQ(Selected(page), 0);
        Ok(dialog);
    }));

    EXPECT_EQ(AddConditions().classes.Size(), 1u);
}

TEST_F(WindowPickerTest, OkHandsBackTheEditedTextAndCancelOrCloseHandNull) {
    const char* picked = PickAlone([&](HWND picker) {
        SetDlgItemTextA(picker, IDC_PICKER_CLASS, "EditedByHand");
        Press(picker, IDOK);
    });
    ASSERT_NE(picked, nullptr);
    EXPECT_STREQ(picked, "EditedByHand");

    // Each picker starts empty: OK at once gives an empty name, not the last one.
    picked = PickAlone([&](HWND picker) {
        EXPECT_EQ(Text(picker, IDC_PICKER_CLASS), "");
        Press(picker, IDOK);
    });
    ASSERT_NE(picked, nullptr);
    EXPECT_STREQ(picked, "");

    EXPECT_EQ(PickAlone([&](HWND picker) {
                  SetDlgItemTextA(picker, IDC_PICKER_CLASS, "Dropped");
                  Press(picker, IDCANCEL);
              }),
              nullptr);
    EXPECT_EQ(PickAlone([&](HWND picker) {
                  SetDlgItemTextA(picker, IDC_PICKER_CLASS, "Dropped");
                  SendMessageA(picker, WM_SYSCOMMAND, SC_CLOSE, 0);
              }),
              nullptr);
}

TEST_F(WindowPickerTest, AClassNameIsHandedBackUpTo255Characters) {
    const std::string longName(300, 'n');
    const char* picked = PickAlone([&](HWND picker) {
        SetDlgItemTextA(picker, IDC_PICKER_CLASS, longName.c_str());
        Press(picker, IDOK);
    });
    ASSERT_NE(picked, nullptr);
    EXPECT_EQ(std::string(picked), longName.substr(0, kPickedClassLength));
}

}  // namespace
