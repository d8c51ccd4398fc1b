// The settings dialog's frame: the page tree, switching pages, and what OK,
// CANCEL, the close box and Esc do.
#include "settings/dialog/settings_dialog.h"

#include "settings/system_data.h"
#include "tests/settings/dialog/dialog_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using testing_support::SettingsDialogTest;

namespace {

struct Node {
    std::string label;
    std::vector<std::string> children;
};

using Fixture = SettingsDialogTest;

HTREEITEM Next(HWND tree, HTREEITEM item, UINT how) { return Fixture::NextNode(tree, item, how); }
std::string Label(HWND tree, HTREEITEM item) { return Fixture::TreeLabel(tree, item); }
HTREEITEM Find(HWND tree, const std::string& label) { return Fixture::FindNode(tree, label); }

std::vector<Node> TreeOf(HWND tree) {
    std::vector<Node> nodes;
    for (HTREEITEM root = Next(tree, nullptr, TVGN_ROOT); root; root = Next(tree, root, TVGN_NEXT)) {
        Node node{Label(tree, root), {}};
        for (HTREEITEM child = Next(tree, root, TVGN_CHILD); child;
             child = Next(tree, child, TVGN_NEXT)) {
            node.children.push_back(Label(tree, child));
        }
        nodes.push_back(node);
    }
    return nodes;
}

int VisiblePage(HWND dialog) {
    int shown = -1;
    for (int i = 0; i < 15; ++i) {
        if (IsWindowVisible(SettingsDialogTest::Page(dialog, i))) {
            if (shown != -1) return -2;  // more than one
            shown = i;
        }
    }
    return shown;
}

using SettingsFrameTest = SettingsDialogTest;

TEST_F(SettingsFrameTest, TheTreeNamesTheFifteenPagesAndShowsOneAtATime) {
    std::vector<Node> tree;
    int firstShown = -1, tabMenuShown = -1;
    bool childrenHidden = false;
    RECT pageRect{}, frameClient{};
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        const HWND control = GetDlgItem(dialog, IDC_SETTINGS_TREE);
        tree = TreeOf(control);
        firstShown = VisiblePage(dialog);
        // No parent is expanded: its children are not shown.
        RECT item{};
        const HTREEITEM tabMenu = Find(control, "タブ用メニュー");
        std::memcpy(&item, &tabMenu, sizeof tabMenu);  // the item goes in, its place comes out
        childrenHidden =
            !SendMessageA(control, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&item));
        SendMessageA(control, TVM_SELECTITEM, TVGN_CARET,
                     reinterpret_cast<LPARAM>(Find(control, "タブ用メニュー")));
        tabMenuShown = VisiblePage(dialog);
        GetWindowRect(Page(dialog, 0), &pageRect);
        GetClientRect(GetDlgItem(dialog, IDC_SETTINGS_PAGES), &frameClient);
        Cancel(dialog);
    }));
    const std::vector<Node> expected = {
        {"動作設定", {}},
        {"ウィンドウ", {}},
        {"追加・排除条件", {"追加するスタイル", "追加するレジスタクラス", "排除するスタイル",
                             "排除するレジスタクラス"}},
        {"メニュー", {}},
        {"タブ", {"タブ用メニュー", "スプリットバー"}},
        {"ショートカットウィンドウ", {}},
        {"アクセラレータキー", {}},
        {"ツール", {}},
        {"バージョン情報", {}},
    };
    ASSERT_EQ(tree.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(tree[i].label, expected[i].label) << i;
        EXPECT_EQ(tree[i].children, expected[i].children) << expected[i].label;
    }
    EXPECT_EQ(firstShown, testing_support::kBehaviourPage);
    EXPECT_TRUE(childrenHidden);
    EXPECT_EQ(tabMenuShown, testing_support::kTabMenuPage);
    EXPECT_EQ(pageRect.right - pageRect.left, frameClient.right);
    EXPECT_EQ(pageRect.bottom - pageRect.top, frameClient.bottom);
}

TEST_F(SettingsFrameTest, TheDialogOpensCentredOverTheMainWindow) {
    RECT frame{};
    HWND owner = nullptr;
    ASSERT_TRUE(OpenSettings([&](HWND dialog) {
        GetWindowRect(dialog, &frame);
        owner = GetWindow(dialog, GW_OWNER);
        Cancel(dialog);
    }));
    EXPECT_EQ(owner, Main());
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
}

// Every way out but OK writes nothing.
TEST_F(SettingsFrameTest, CancelCloseBoxAndEscapeWriteNothing) {
    const SystemData before = GetSystemData();
    for (int way = 0; way < 3; ++way) {
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            if (way == 0) Cancel(dialog);
            else if (way == 1) SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            else SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // what Esc sends
        })) << way;
        EXPECT_EQ(std::memcmp(&before, &GetSystemData(), sizeof before), 0) << way;
    }
}

}  // namespace
