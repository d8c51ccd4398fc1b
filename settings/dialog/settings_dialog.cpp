// The settings dialog's frame: the page table, the tree, switching pages,
// and OK's broadcast to every page.
#include "settings/dialog/settings_dialog.h"

#include "base/window_binding.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/dialog_texts.h"
#include "settings/dialog/pages.h"

#include <commctrl.h>

#include <memory>
#include <vector>

namespace {

// The pages in the order they are made and written: the page table. Each
// entry names its place, which the table is checked against.
struct PageEntry {
    SettingsPageIndex page;
    const char* label;
    std::unique_ptr<SettingsPage> (*make)();
};

constexpr PageEntry kPages[] = {
    {kBehaviourPage, dialog_texts::kBehaviour, &MakeBehaviourPage},
    {kWindowPage, dialog_texts::kWindow, &MakeWindowPage},
    {kConditionsPage, dialog_texts::kConditions, &MakeConditionsPage},
    {kTabPage, dialog_texts::kTab, &MakeTabPage},
    {kShortcutPage, dialog_texts::kShortcut, &MakeShortcutPage},
    {kAcceleratorsPage, dialog_texts::kAccelerators, &MakeAcceleratorsPage},
    {kToolsPage, dialog_texts::kTools, &MakeToolsPage},
    {kTabMenuPage, dialog_texts::kTabMenu, &MakeTabMenuPage},
    {kVersionPage, dialog_texts::kVersion, &MakeVersionPage},
    {kSplitbarPage, dialog_texts::kSplitbar, &MakeSplitbarPage},
    {kMenuPage, dialog_texts::kMenu, &MakeMenuPage},
    {kAddClassesPage, dialog_texts::kAddClasses, &MakeAddClassesPage},
    {kAddStylesPage, dialog_texts::kAddStyles, &MakeAddStylesPage},
    {kRemoveClassesPage, dialog_texts::kRemoveClasses, &MakeRemoveClassesPage},
    {kRemoveStylesPage, dialog_texts::kRemoveStyles, &MakeRemoveStylesPage},
};
static_assert(sizeof kPages / sizeof kPages[0] == kPageCount);

constexpr bool EachPageAtItsPlace() {
    for (int place = 0; place < kPageCount; ++place) {
        if (kPages[place].page != place) return false;
    }
    return true;
}
static_assert(EachPageAtItsPlace());

// The tree: each node is a page of the table; children follow their parent.
struct TreeNode {
    SettingsPageIndex page;
    bool child;
};
constexpr TreeNode kTree[] = {
    {kBehaviourPage, false},
    {kWindowPage, false},
    {kConditionsPage, false},
    {kAddStylesPage, true},
    {kAddClassesPage, true},
    {kRemoveStylesPage, true},
    {kRemoveClassesPage, true},
    {kMenuPage, false},
    {kTabPage, false},
    {kTabMenuPage, true},
    {kSplitbarPage, true},
    {kShortcutPage, false},
    {kAcceleratorsPage, false},
    {kToolsPage, false},
    {kVersionPage, false},
};
static_assert(sizeof kTree / sizeof kTree[0] == kPageCount);

class SettingsFrame {
public:
    // True when the dialog ended with OK.
    bool Run(HWND owner) {
        return RunBoundDialog<SettingsFrame, &SettingsFrame::window_, &SettingsFrame::Handle>(
                   *this, GetModuleHandleA(nullptr), IDD_SETTINGS, owner) == TRUE;
    }

private:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit();
    void MakePages();
    void FillTree();
    void ShowOnly(HWND page);
    void Ok();

    HWND window_ = nullptr;
    std::vector<std::unique_ptr<SettingsPage>> pages_;
};

INT_PTR SettingsFrame::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_SETTINGS_TREE && header->code == TVN_SELCHANGINGA) {
            const auto* change = reinterpret_cast<const NMTREEVIEWA*>(lParam);
            ShowOnly(reinterpret_cast<HWND>(change->itemNew.lParam));
            SetWindowLongPtrA(window_, DWLP_MSGRESULT, FALSE);  // the change may go on
            return TRUE;
        }
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            Ok();
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(window_, FALSE);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void SettingsFrame::OnInit() {
    RECT frame{};
    GetWindowRect(window_, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    MakePages();
    FillTree();
}

void SettingsFrame::MakePages() {
    const HWND host = GetDlgItem(window_, IDC_SETTINGS_PAGES);
    RECT area{};
    GetClientRect(host, &area);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
    for (const PageEntry& entry : kPages) {
        pages_.push_back(entry.make());
        if (HWND page = pages_.back()->Create(instance, host)) {
            SetWindowLongPtrA(page, GWLP_ID, IDC_FIRST_PAGE + static_cast<LONG_PTR>(pages_.size()) - 1);
            MoveWindow(page, 0, 0, area.right, area.bottom, FALSE);
        }
    }
}

void SettingsFrame::FillTree() {
    const HWND tree = GetDlgItem(window_, IDC_SETTINGS_TREE);
    TreeView_DeleteAllItems(tree);
    HTREEITEM parent = TVI_ROOT, first = nullptr;
    for (const TreeNode& node : kTree) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = node.child ? parent : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(kPages[node.page].label);
        insert.item.lParam = reinterpret_cast<LPARAM>(pages_[node.page]->Window());
        const auto item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        if (!node.child) parent = item;
        if (!first) first = item;
    }
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
    ShowOnly(pages_[kTree[0].page]->Window());
}

void SettingsFrame::ShowOnly(HWND shown) {
    for (const auto& page : pages_) {
        if (page->Window()) ShowWindow(page->Window(), SW_HIDE);
    }
    if (shown) ShowWindow(shown, SW_SHOW);
}

void SettingsFrame::Ok() {
    for (const auto& page : pages_) {
        if (page->Window()) SendMessageA(page->Window(), WM_COMMAND, IDOK, 0);
    }
    EndDialog(window_, TRUE);
}

}  // namespace

bool ShowSettingsDialog(HWND owner) {
    SettingsFrame frame;
    return frame.Run(owner);
}
