// The class-name pages of the settings dialog and the window picker behind
// their "追加" button, for the tests of both: the pages reached through the
// tree, the picker driven from a timer of its own while the settings
// dialog's driver waits, and what the page's list box shows.
#pragma once

#include "launcher/window_picker_ids.h"
#include "settings/conditions.h"
#include "settings/dialog/class_page_ids.h"
#include "tests/settings/dialog/dialog_fixture.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

inline constexpr char kPickerTitle[] = "ウィンドウクラス名の設定";

// Runs open, which shows the picker and returns when it closes, with act
// run in the picker; act ends it. Whether act ran.
template <typename Open>
bool InPicker(std::function<void(HWND)> act, Open open) {
    return WithNestedDialog(kPickerTitle, std::move(act), open);
}

// One row of the picker's list: a window's title and class.
struct PickerRow {
    std::string title, className;
    bool operator==(const PickerRow& other) const {
        return title == other.title && className == other.className;
    }
};

class ClassPageTest : public SettingsDialogTest {
protected:
    // The main window's start gave the sets the conditions of a first start;
    // each test sets up its own.
    void SetUp() override {
        SettingsDialogTest::SetUp();
        AddConditions().Reset();
        RemoveConditions().Reset();
    }

    static HWND AddClassesPage(HWND dialog) {
        return ShowPage(dialog, kAddClassesPage, "追加するレジスタクラス");
    }
    static HWND RemoveClassesPage(HWND dialog) {
        return ShowPage(dialog, kRemoveClassesPage, "排除するレジスタクラス");
    }
    static HWND List(HWND page) { return GetDlgItem(page, IDC_CLASSES_LIST); }

    // The page's "追加" with act run in the picker it opens.
    static bool PickFrom(HWND page, std::function<void(HWND)> act) {
        return InPicker(std::move(act), [&] { Press(page, IDC_CLASSES_ADD); });
    }
    // "追加" with name typed into the picker and OK.
    static bool AddByTyping(HWND page, const std::string& name) {
        return PickFrom(page, [&](HWND picker) {
            SetDlgItemTextA(picker, IDC_PICKER_CLASS, name.c_str());
            Press(picker, IDOK);
        });
    }

    static std::vector<std::string> Names(HWND page) {
        std::vector<std::string> names;
        const HWND list = List(page);
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[300] = "";
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            names.push_back(text);
        }
        return names;
    }
    static int Selected(HWND page) {
        return static_cast<int>(SendMessageA(List(page), LB_GETCURSEL, 0, 0));
    }
    static void Select(HWND page, int row) { SendMessageA(List(page), LB_SETCURSEL, row, 0); }

    static HWND PickerList(HWND picker) { return GetDlgItem(picker, IDC_PICKER_WINDOWS); }
    static std::vector<PickerRow> Rows(HWND picker) {
        std::vector<PickerRow> rows;
        const HWND list = PickerList(picker);
        const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) rows.push_back({ListViewText(list, row, 0), ListViewText(list, row, 1)});
        return rows;
    }
    // The row chosen as a click chooses it: selected and focused.
    static void ChooseRow(HWND picker, int row) {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(PickerList(picker), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
};

}  // namespace testing_support
