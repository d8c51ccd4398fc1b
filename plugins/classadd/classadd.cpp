// The add-windows-by-class tool: a dialog with the user's list of named
// window classes; the windows of the chosen class are all captured at once,
// without the add and remove conditions. The list is kept in classadd.ini
// beside this plug-in's file and saved whichever way the dialog closes.
#define PANELRY_TOOL_PLUGIN_BUILD
#include "plugins/host/tool_plugin.h"

#include "plugins/classadd/class_capture.h"
#include "plugins/classadd/class_list.h"
#include "plugins/classadd/classadd_ids.h"
#include "plugins/classadd/classadd_texts.h"
#include "plugins/common/tool_basics.h"
#include "plugins/common/tool_module.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

HWND g_mainWindow = nullptr;  // given to the last pluginSelected
HWND g_listDialog = nullptr;  // while the list dialog is open

constexpr int kEntryTextLimit = 256;  // characters each edit takes
// The list dialog's own: "ウィンドウの追加" carried out from its loop.
constexpr UINT kCaptureLater = WM_APP + 1;

HWND EntryList(HWND listDialog) { return GetDlgItem(listDialog, IDC_CLASSADD_ENTRIES); }

// Each row's number in the order the entries came: those of the file, in the
// file's order, then those added since the dialog opened.
LPARAM g_nextArrival = 0;

// Inserts the pair where the list's sorting puts it, numbered as it came;
// its row, or -1.
int InsertEntry(HWND list, const ClassEntry& entry) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<char*>(entry.name.c_str());
    item.lParam = g_nextArrival++;
    const int row =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return -1;
    LVITEMA sub{};
    sub.iSubItem = 1;
    sub.pszText = const_cast<char*>(entry.className.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
    return row;
}

std::string CellText(HWND list, int row, int column) {
    char text[kEntryTextSize] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

int SelectedRow(HWND list) {
    return static_cast<int>(
        SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void SelectRow(HWND list, int row) {
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
}

// --- The add-entry dialog ---------------------------------------------------

void InitEntryDialog(HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_ENTRY_NAME, EM_LIMITTEXT, kEntryTextLimit, 0);
    SendDlgItemMessageA(dialog, IDC_ENTRY_CLASS, EM_LIMITTEXT, kEntryTextLimit, 0);
    SetFocus(GetDlgItem(dialog, IDC_ENTRY_NAME));
}

void AcceptEntry(HWND dialog) {
    char name[kEntryTextSize] = "", className[kEntryTextSize] = "";
    GetDlgItemTextA(dialog, IDC_ENTRY_NAME, name, sizeof name);
    GetDlgItemTextA(dialog, IDC_ENTRY_CLASS, className, sizeof className);
    if (g_listDialog) InsertEntry(EntryList(g_listDialog), {name, className});
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK EntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        InitEntryDialog(dialog);
        return FALSE;  // the focus is set
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_ENTRY_OK:
        AcceptEntry(dialog);
        return TRUE;
    case IDC_ENTRY_CANCEL:
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

// --- The list dialog ----------------------------------------------------------

void AddColumns(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    const int half = (client.right - client.left) / 2;
    const char* titles[] = {classadd_texts::kNameColumn, classadd_texts::kClassColumn};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = half;
        column.pszText = const_cast<char*>(titles[i]);
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

LPARAM Arrival(HWND list, int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

// The rows in sorted order, the order "SELECTED" counts in when a file is
// read. The list sorts by name but may put a name equal to others before or
// after them; here equal names go in the order they came, which for a file
// this tool wrote is the order the list showed them in when "SELECTED" was
// counted, so that the same entry is selected again.
std::vector<int> SortedRows(HWND list) {
    const int count = ListView_GetItemCount(list);
    std::vector<int> rows(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) rows[static_cast<std::size_t>(row)] = row;
    for (int first = 0; first < count;) {
        const std::string name = CellText(list, first, 0);
        int end = first + 1;
        while (end < count && lstrcmpA(CellText(list, end, 0).c_str(), name.c_str()) == 0) ++end;
        std::sort(rows.begin() + first, rows.begin() + end,
                  [&](int a, int b) { return Arrival(list, a) < Arrival(list, b); });
        first = end;
    }
    return rows;
}

// "SELECTED" counts in the sorted list, whatever order the file holds the
// entries in (a file edited by hand need not be sorted; one this tool
// wrote is, so that the two orders agree).
void Fill(HWND list, const ClassList& stored) {
    g_nextArrival = 0;
    for (const ClassEntry& entry : stored.entries) InsertEntry(list, entry);
    if (stored.builtIn) {
        SelectRow(list, 0);
        return;
    }
    const std::vector<int> sorted = SortedRows(list);
    if (stored.selected >= 0 && stored.selected < static_cast<int>(sorted.size())) {
        SelectRow(list, sorted[static_cast<std::size_t>(stored.selected)]);
    }
}

ClassList Collect(HWND list) {
    ClassList shown;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        shown.entries.push_back({CellText(list, row, 0), CellText(list, row, 1)});
    }
    shown.selected = SelectedRow(list);
    return shown;
}

void InitListDialog(HWND dialog) {
    g_listDialog = dialog;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    const HWND list = EntryList(dialog);
    AddColumns(list);
    Fill(list, LoadClassList(ClassListPath(g_self).c_str()));
    SetFocus(GetDlgItem(dialog, IDC_CLASSADD_CAPTURE));
}

void DeleteSelected(HWND dialog) {
    const HWND list = EntryList(dialog);
    const int row = SelectedRow(list);
    if (row >= 0) ListView_DeleteItem(list, row);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
}

void CloseList(HWND dialog, INT_PTR result) {
    SaveClassList(ClassListPath(g_self).c_str(), Collect(EntryList(dialog)));
    EndDialog(dialog, result);
}

void CaptureSelected(HWND dialog) {
    const HWND list = EntryList(dialog);
    const int row = SelectedRow(list);
    if (row >= 0) CaptureWindowsOfClass(g_mainWindow, CellText(list, row, 1).c_str());
    CloseList(dialog, 1);
}

// "ウィンドウの追加" pressed by a message another thread sent (BM_CLICK, or
// the WM_COMMAND itself, as accessibility tools and automation press it):
// while that message is being answered, the main window takes this tool's
// capture requests for another application's and puts them off until it
// returns, so the search would find the same window again and stop. The
// press is carried out from the dialog's own loop instead.
void PressCapture(HWND dialog) {
    if (InSendMessage()) {
        PostMessageA(dialog, kCaptureLater, 0, 0);
        return;
    }
    CaptureSelected(dialog);
}

INT_PTR CALLBACK ListDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        InitListDialog(dialog);
        return FALSE;  // the focus is set
    }
    if (message == kCaptureLater) {
        CaptureSelected(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_CLASSADD_ADD:
        DialogBoxParamA(g_self, MAKEINTRESOURCEA(IDD_CLASSADD_ENTRY), dialog, &EntryDialogProc, 0);
        return TRUE;
    case IDC_CLASSADD_DELETE:
        DeleteSelected(dialog);
        return TRUE;
    case IDC_CLASSADD_CAPTURE:
        PressCapture(dialog);
        return TRUE;
    case IDC_CLASSADD_CANCEL:
    case IDCANCEL:
        CloseList(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

PANELRY_TOOL_BASICS(classadd_texts::kName, classadd_texts::kMaker)
PANELRY_TOOL_DLLMAIN(nullptr)

extern "C" {

int __cdecl pluginIsMenuItemEnable(HWND*, int, HWND mainWindow) { return mainWindow ? 1 : 0; }

int __cdecl pluginSelected(HWND*, int, HWND mainWindow) {
    if (!mainWindow) return 0;
    // Chosen again (by a desktop-wide key) while the list is open: one list
    // at a time, or whichever closed last would overwrite what the other
    // saved.
    if (g_listDialog) {
        SetForegroundWindow(g_listDialog);
        return 0;
    }
    g_mainWindow = mainWindow;
    const INT_PTR result = DialogBoxParamA(g_self, MAKEINTRESOURCEA(IDD_CLASSADD_LIST), mainWindow,
                                           &ListDialogProc, 0);
    g_listDialog = nullptr;
    return result == 1 ? 1 : 0;
}

}  // extern "C"
