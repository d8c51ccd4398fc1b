// The chooser of a menu entry. "追加" with no row chosen keeps the dialog
// open: the user meant to add something, and has only to pick it.
#include "settings/dialog/menu_item_chooser.h"

#include "base/command_kinds.h"
#include "base/window_binding.h"
#include "commands/command_texts.h"
#include "commands/menu_settings.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/menu_page_ids.h"

namespace {

class MenuItemChooser {
public:
    // The chosen command, kSeparatorCode, or kEndCode when nothing was.
    int Run(HWND owner) {
        const INT_PTR ended =
            RunBoundDialog<MenuItemChooser, &MenuItemChooser::window_, &MenuItemChooser::Handle>(
                *this, GetModuleHandleA(nullptr), IDD_MENU_ITEM_CHOOSER, owner);
        return ended == TRUE ? result_ : kEndCode;
    }

private:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Fill() const;
    void Choose();
    void End(int result);

    HWND window_ = nullptr;
    int result_ = kEndCode;
};

INT_PTR MenuItemChooser::Handle(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        Fill();
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        Choose();
        return TRUE;
    case IDC_CHOOSER_SEPARATOR:
        End(kSeparatorCode);
        return TRUE;
    case IDCANCEL:
        End(kEndCode);
        return TRUE;
    default:
        return FALSE;
    }
}

// The list sorts the texts itself; each row keeps its command as its data.
void MenuItemChooser::Fill() const {
    const HWND list = GetDlgItem(window_, IDC_CHOOSER_LIST);
    for (int kind = 1; kind <= kCommandKindCount; ++kind) {
        const LRESULT row =
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CommandText(kind)));
        if (row >= 0) SendMessageA(list, LB_SETITEMDATA, row, kind);
    }
}

void MenuItemChooser::Choose() {
    const HWND list = GetDlgItem(window_, IDC_CHOOSER_LIST);
    const LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) return;
    End(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, row, 0)));
}

void MenuItemChooser::End(int result) {
    result_ = result;
    EndDialog(window_, TRUE);
}

}  // namespace

int ChooseMenuItem(HWND owner) {
    MenuItemChooser chooser;
    return chooser.Run(owner);
}
