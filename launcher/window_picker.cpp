// The window picker: the visible, titled top-level windows in a list view
// sorted by title, a row's class copied into the edit box when it is
// chosen, and the edit box's text handed back on OK.
#include "launcher/window_picker.h"

#include "base/window_binding.h"
#include "launcher/launcher_texts.h"
#include "launcher/window_picker_ids.h"

#include <commctrl.h>

namespace {

constexpr int kNameBuffer = kPickedClassLength + 1;

HWND WindowList(HWND dialog) { return GetDlgItem(dialog, IDC_PICKER_WINDOWS); }

void CentreOnScreen(HWND dialog) {
    RECT r{};
    GetWindowRect(dialog, &r);
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

void AddColumns(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    const char* const headings[] = {launcher_texts::kPickerTitleColumn,
                                    launcher_texts::kPickerClassColumn};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA info{};
        info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        info.fmt = LVCFMT_LEFT;
        info.cx = client.right / 2;
        info.pszText = const_cast<char*>(headings[column]);
        info.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

// EnumWindows' callback: one row per visible window with a title. The list
// puts each row in its sorted place; the returned index says where.
BOOL CALLBACK AddWindowRow(HWND window, LPARAM param) {
    const auto list = reinterpret_cast<HWND>(param);
    // The title wide: it may hold characters the code page cannot, which
    // the ANSI functions would show as "?". The class name is the picker's
    // answer and stays in the code page.
    wchar_t title[256] = L"";
    if (!IsWindowVisible(window) || GetWindowTextW(window, title, 256) <= 0 || !*title)
        return TRUE;
    char className[256] = "";
    GetClassNameA(window, className, sizeof className);

    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = title;
    const auto row =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return TRUE;
    LVITEMA classItem{};
    classItem.iSubItem = 1;
    classItem.pszText = className;
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&classItem));
    return TRUE;
}

class WindowPicker {
public:
    // True when the picker ended with OK.
    bool Run(HWND owner, HINSTANCE instance) {
        return RunBoundDialog<WindowPicker, &WindowPicker::window_, &WindowPicker::Handle>(
                   *this, instance, IDD_WINDOW_PICKER, owner) == IDOK;
    }
    // The edit box's text as OK found it; empty before.
    const char* Picked() const { return picked_; }

private:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInit();
    void OnRowChosen();
    INT_PTR OnNotify(const NMHDR& header);
    INT_PTR OnCommand(WORD id);

    HWND window_ = nullptr;
    char picked_[kNameBuffer] = "";
};

INT_PTR WindowPicker::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInit();
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
    default:
        return FALSE;
    }
}

INT_PTR WindowPicker::OnInit() {
    CentreOnScreen(window_);
    const HWND list = WindowList(window_);
    AddColumns(list);
    EnumWindows(&AddWindowRow, reinterpret_cast<LPARAM>(list));
    SetDlgItemTextA(window_, IDC_PICKER_CLASS, "");
    return TRUE;
}

void WindowPicker::OnRowChosen() {
    const HWND list = WindowList(window_);
    const auto row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                   MAKELPARAM(LVNI_SELECTED, 0)));
    if (row < 0 || row >= static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) return;
    char className[kNameBuffer] = "";
    LVITEMA item{};
    item.iSubItem = 1;
    item.pszText = className;
    item.cchTextMax = sizeof className;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    SetDlgItemTextA(window_, IDC_PICKER_CLASS, className);
}

INT_PTR WindowPicker::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_PICKER_WINDOWS || header.code != LVN_ITEMCHANGED) return FALSE;
    OnRowChosen();
    return TRUE;
}

INT_PTR WindowPicker::OnCommand(WORD id) {
    if (id == IDOK) {
        picked_[0] = '\0';
        GetDlgItemTextA(window_, IDC_PICKER_CLASS, picked_, kNameBuffer);
        EndDialog(window_, IDOK);
        return TRUE;
    }
    // The close box arrives here too, as IDCANCEL.
    if (id == IDCANCEL) {
        EndDialog(window_, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

const char* PickWindowClass(HWND owner, HINSTANCE instance) {
    // The answer outlives the picker, as the header promises, until the
    // next picker: its callers copy it at once.
    static char answer[kNameBuffer];
    WindowPicker picker;
    const bool ok = picker.Run(owner, instance);
    lstrcpynA(answer, picker.Picked(), kNameBuffer);
    return ok ? answer : nullptr;
}
