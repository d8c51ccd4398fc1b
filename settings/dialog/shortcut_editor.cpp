// The registered-applications editor: sixteen row dialogs stacked in one
// modal dialog, with OK and CANCEL under them. The rows go through the
// shortcut window's GetEntry and SetEntry, which keep to the live icons
// while the strip is shown and to shortcut.ini while it is not.
#include "settings/dialog/shortcut_editor.h"

#include "base/window_binding.h"
#include "launcher/app_icon.h"
#include "launcher/shortcut_window.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/shortcut_page_ids.h"

#include <commdlg.h>

#include <algorithm>

namespace {

constexpr int kRows = cShortcutWnd::kSlots;

HINSTANCE InstanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

// One row: a child dialog whose edit is the entry until OK; it keeps
// nothing else.
class ShortcutRow {
public:
    ShortcutRow() = default;
    // The editor's end takes the rows with it, and each forgets its handle
    // then; a row still there would be left bound to an object gone.
    ~ShortcutRow() {
        if (window_) DestroyWindow(window_);
    }
    ShortcutRow(const ShortcutRow&) = delete;
    ShortcutRow& operator=(const ShortcutRow&) = delete;

    bool Create(HINSTANCE instance, HWND editor) {
        return CreateBoundDialog<ShortcutRow, &ShortcutRow::window_, &ShortcutRow::Handle>(
                   *this, instance, IDD_SHORTCUT_ROW, editor) != nullptr;
    }
    HWND Window() const { return window_; }

private:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Browse() const;

    HWND window_ = nullptr;
};

// The same dialog the launcher icons register a file with.
void ShortcutRow::Browse() const {
    char file[MAX_PATH];
    if (ChooseFileToRegister(window_, file)) SetDlgItemTextA(window_, IDC_SHORTCUT_ROW_PATH, file);
}

INT_PTR ShortcutRow::Handle(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        // No more than OK can hand on to the entry.
        SendDlgItemMessageA(window_, IDC_SHORTCUT_ROW_PATH, EM_SETLIMITTEXT, MAX_PATH - 1, 0);
        return FALSE;  // the editor places the focus
    }
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_SHORTCUT_ROW_BROWSE:
        Browse();
        return TRUE;
    case IDC_SHORTCUT_ROW_CLEAR:
        SetDlgItemTextA(window_, IDC_SHORTCUT_ROW_PATH, "");
        return TRUE;
    default:
        return FALSE;
    }
}

class ShortcutEditor {
public:
    // True when OK wrote the entries.
    bool Run(HWND owner) {
        return RunBoundDialog<ShortcutEditor, &ShortcutEditor::window_, &ShortcutEditor::Handle>(
                   *this, GetModuleHandleA(nullptr), IDD_SHORTCUT_EDITOR, owner) == TRUE;
    }

private:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool MakeRows();
    void LayOut();
    void Write() const;

    HWND window_ = nullptr;
    ShortcutRow rows_[kRows];
};

INT_PTR ShortcutEditor::Handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // Without all sixteen rows OK would empty the entries of the missing ones.
        if (!MakeRows()) {
            EndDialog(window_, FALSE);
            return FALSE;
        }
        LayOut();
        SetFocus(GetDlgItem(rows_[0].Window(), IDC_SHORTCUT_ROW_PATH));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            Write();
            EndDialog(window_, TRUE);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(window_, FALSE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

bool ShortcutEditor::MakeRows() {
    const HINSTANCE instance = InstanceOf(window_);
    for (int n = 0; n < kRows; ++n) {
        if (!rows_[n].Create(instance, window_)) return false;
        const HWND row = rows_[n].Window();
        SetWindowLongPtrA(row, GWLP_ID, IDC_SHORTCUT_FIRST_ROW + n);
        char path[MAX_PATH] = "";
        ShortcutWindow().GetEntry(n, path, MAX_PATH);
        SetDlgItemTextA(row, IDC_SHORTCUT_ROW_PATH, path);
    }
    return true;
}

void ShortcutEditor::LayOut() {
    // Rows top down with no gap; in that order they also come before the
    // buttons when tabbing.
    int width = 0, height = 0;
    HWND previous = HWND_TOP;
    for (const ShortcutRow& row : rows_) {
        RECT r{};
        GetWindowRect(row.Window(), &r);
        SetWindowPos(row.Window(), previous, 0, height, 0, 0,
                     SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        previous = row.Window();
        height += r.bottom - r.top;
        width = std::max(width, static_cast<int>(r.right - r.left));
    }

    // OK and CANCEL side by side under the rows, meeting at their middle.
    const HWND ok = GetDlgItem(window_, IDOK), cancel = GetDlgItem(window_, IDCANCEL);
    RECT button{};
    GetWindowRect(ok, &button);
    const int buttonWidth = button.right - button.left, buttonHeight = button.bottom - button.top;
    const int middle = width / 2;
    SetWindowPos(ok, previous, middle - buttonWidth, height, buttonWidth, buttonHeight,
                 SWP_NOACTIVATE);
    SetWindowPos(cancel, ok, middle, height, buttonWidth, buttonHeight, SWP_NOACTIVATE);

    // The frame around a client area of exactly that, centred on the screen.
    RECT outer{}, client{};
    GetWindowRect(window_, &outer);
    GetClientRect(window_, &client);
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    const int editorWidth = width + frameWidth, editorHeight = height + buttonHeight + frameHeight;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - editorWidth) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - editorHeight) / 2, editorWidth, editorHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShortcutEditor::Write() const {
    cShortcutWnd& strip = ShortcutWindow();
    for (int n = 0; n < kRows; ++n) {
        char path[MAX_PATH] = "";
        GetDlgItemTextA(rows_[n].Window(), IDC_SHORTCUT_ROW_PATH, path, MAX_PATH);
        strip.SetEntry(n, path);
    }
}

}  // namespace

bool EditShortcutEntries(HWND owner) {
    ShortcutEditor editor;
    return editor.Run(owner);
}
