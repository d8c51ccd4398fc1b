// The settings dialog opened as the user opens it: command 21 of the real
// main window in this process, with the test's actions run inside the
// dialog once it shows, and its pages found by their place in the page
// table.
#pragma once

#include "settings/dialog/dialog_ids.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/pane_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace testing_support {

inline constexpr char kSettingsTitle[] = "設定";

// The places of the page table.
enum SettingsPageIndex {
    kBehaviourPage = 0,
    kWindowPage = 1,
    kConditionsPage = 2,
    kTabPage = 3,
    kShortcutPage = 4,
    kAcceleratorsPage = 5,
    kToolsPage = 6,
    kTabMenuPage = 7,
    kVersionPage = 8,
    kSplitbarPage = 9,
    kMenuPage = 10,
    kAddClassesPage = 11,
    kAddStylesPage = 12,
    kRemoveClassesPage = 13,
    kRemoveStylesPage = 14,
};

class SettingsDialogTest : public PaneTest {
public:
    static HWND Page(HWND dialog, int index) {
        return GetDlgItem(GetDlgItem(dialog, IDC_SETTINGS_PAGES), IDC_FIRST_PAGE + index);
    }
    static std::string TreeLabel(HWND tree, HTREEITEM item) {
        char text[128] = "";
        TVITEMA info{};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        return text;
    }
    static HTREEITEM NextNode(HWND tree, HTREEITEM item, UINT how) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }
    // The node labelled label, at the root or one level below.
    static HTREEITEM FindNode(HWND tree, const std::string& label) {
        for (HTREEITEM root = NextNode(tree, nullptr, TVGN_ROOT); root;
             root = NextNode(tree, root, TVGN_NEXT)) {
            if (TreeLabel(tree, root) == label) return root;
            for (HTREEITEM child = NextNode(tree, root, TVGN_CHILD); child;
                 child = NextNode(tree, child, TVGN_NEXT)) {
                if (TreeLabel(tree, child) == label) return child;
            }
        }
        return nullptr;
    }
    // The page as the user reaches it: its node chosen in the tree.
    static HWND ShowPage(HWND dialog, int index, const std::string& label) {
        const HWND tree = GetDlgItem(dialog, IDC_SETTINGS_TREE);
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET,
                     reinterpret_cast<LPARAM>(FindNode(tree, label)));
        const HWND page = Page(dialog, index);
        EXPECT_TRUE(IsWindowVisible(page)) << label;
        return page;
    }

protected:
    // Command 21 with act run in the open dialog; act ends it (Ok, Cancel).
    // Whether the main window handled the command.
    bool OpenSettings(const std::function<void(HWND)>& act) {
        acted_ = false;
        return WithDialog(kSettingsTitle,
                          [&](HWND dialog) {
                              acted_ = true;
                              act(dialog);
                          },
                          [&] { return Command(21); }) != 0 &&
               acted_;
    }
    static void Ok(HWND dialog) { Press(dialog, IDOK); }
    static void Cancel(HWND dialog) { Press(dialog, IDCANCEL); }

    // A control's state and text.
    static bool IsChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
    static void SetChecked(HWND page, int id, bool on) {
        // As a click does: the page hears of it.
        if (IsChecked(page, id) != on) Press(page, id);
    }
    static std::string Text(HWND page, int id) {
        char text[512] = "";
        GetDlgItemTextA(page, id, text, sizeof text);
        return text;
    }
    static void Type(HWND page, int id, const std::string& text) {
        SetDlgItemTextA(page, id, text.c_str());
    }

private:
    bool acted_ = false;
};

}  // namespace testing_support
