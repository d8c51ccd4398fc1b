// The add-windows-by-class tool: a dialog with the user's list of named
// window classes; the windows of the chosen class are all captured at once,
// without the add and remove conditions. The list is kept in classadd.ini
// beside this plug-in's file and saved whichever way the dialog closes.
#define PANELRY_TOOL_PLUGIN_BUILD
#include "plugins/host/tool_plugin.h"

#include "base/window_binding.h"
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


constexpr int kEntryTextLimit = 256;  // characters each edit takes
// The list dialog's own: "ウィンドウの追加" carried out from its loop.
constexpr UINT kCaptureLater = WM_APP + 1;

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

ClassList Collect(HWND list) {
    ClassList shown;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        shown.entries.push_back({CellText(list, row, 0), CellText(list, row, 1)});
    }
    shown.selected = SelectedRow(list);
    return shown;
}

// --- The list dialog ----------------------------------------------------------

// The list of named classes. The module has one, g_list, so that the tool
// chosen again finds it open.
class ListDialog {
public:
    HWND Window() const { return window_; }
    // The dialog owned by mainWindow, which takes the captures; 1 when it
    // ended with "ウィンドウの追加".
    INT_PTR Run(HWND mainWindow) {
        mainWindow_ = mainWindow;
        return RunBoundDialog<ListDialog, &ListDialog::window_, &ListDialog::Handle>(
            *this, g_self, IDD_CLASSADD_LIST, mainWindow);
    }
    // Inserts the pair where the list's sorting puts it, numbered as it
    // came; its row, or -1.
    int InsertEntry(const ClassEntry& entry);

private:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnCommand(WORD id);
    HWND List() const { return GetDlgItem(window_, IDC_CLASSADD_ENTRIES); }
    void OnInit();
    void Fill(const ClassList& stored);
    void DeleteSelected();
    void Close(INT_PTR result);
    void CaptureSelected();
    void PressCapture();

    HWND window_ = nullptr;
    HWND mainWindow_ = nullptr;
    // Each row's number in the order the entries came: those of the file, in
    // the file's order, then those added since the dialog opened.
    LPARAM nextArrival_ = 0;
};

ListDialog g_list;

// --- The add-entry dialog ---------------------------------------------------

class EntryDialog {
public:
    explicit EntryDialog(ListDialog& list) : list_(list) {}
    void Run() {
        RunBoundDialog<EntryDialog, &EntryDialog::window_, &EntryDialog::Handle>(
            *this, g_self, IDD_CLASSADD_ENTRY, list_.Window());
    }

private:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit();
    void Accept();

    HWND window_ = nullptr;
    ListDialog& list_;
};

INT_PTR EntryDialog::Handle(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        OnInit();
        return FALSE;  // the focus is set
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_ENTRY_OK:
        Accept();
        return TRUE;
    case IDC_ENTRY_CANCEL:
    case IDCANCEL:
        EndDialog(window_, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void EntryDialog::OnInit() {
    SendDlgItemMessageA(window_, IDC_ENTRY_NAME, EM_LIMITTEXT, kEntryTextLimit, 0);
    SendDlgItemMessageA(window_, IDC_ENTRY_CLASS, EM_LIMITTEXT, kEntryTextLimit, 0);
    SetFocus(GetDlgItem(window_, IDC_ENTRY_NAME));
}

void EntryDialog::Accept() {
    char name[kEntryTextSize] = "", className[kEntryTextSize] = "";
    GetDlgItemTextA(window_, IDC_ENTRY_NAME, name, sizeof name);
    GetDlgItemTextA(window_, IDC_ENTRY_CLASS, className, sizeof className);
    if (list_.Window()) list_.InsertEntry({name, className});
    EndDialog(window_, 1);
}

// --- The list dialog's messages ------------------------------------------------

int ListDialog::InsertEntry(const ClassEntry& entry) {
    const HWND list = List();
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<char*>(entry.name.c_str());
    item.lParam = nextArrival_++;
    const int row =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return -1;
    LVITEMA sub{};
    sub.iSubItem = 1;
    sub.pszText = const_cast<char*>(entry.className.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
    return row;
}

INT_PTR ListDialog::Handle(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        OnInit();
        return FALSE;  // the focus is set
    }
    if (message == kCaptureLater) {
        CaptureSelected();
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    return OnCommand(LOWORD(wParam));
}

INT_PTR ListDialog::OnCommand(WORD id) {
    switch (id) {
    case IDC_CLASSADD_ADD:
        EntryDialog(*this).Run();
        return TRUE;
    case IDC_CLASSADD_DELETE:
        DeleteSelected();
        return TRUE;
    case IDC_CLASSADD_CAPTURE:
        PressCapture();
        return TRUE;
    case IDC_CLASSADD_CANCEL:
    case IDCANCEL:
        Close(0);
        return TRUE;
    default:
        return FALSE;
    }
}

void ListDialog::OnInit() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    AddColumns(List());
    Fill(LoadClassList(ClassListPath(g_self).c_str()));
    SetFocus(GetDlgItem(window_, IDC_CLASSADD_CAPTURE));
}

// "SELECTED" counts in the sorted list, whatever order the file holds the
// entries in (a file edited by hand need not be sorted; one this tool
// wrote is, so that the two orders agree).
void ListDialog::Fill(const ClassList& stored) {
    const HWND list = List();
    nextArrival_ = 0;
    for (const ClassEntry& entry : stored.entries) InsertEntry(entry);
    if (stored.builtIn) {
        SelectRow(list, 0);
        return;
    }
    const std::vector<int> sorted = SortedRows(list);
    if (stored.selected >= 0 && stored.selected < static_cast<int>(sorted.size())) {
        SelectRow(list, sorted[static_cast<std::size_t>(stored.selected)]);
    }
}

void ListDialog::DeleteSelected() {
    const HWND list = List();
    const int row = SelectedRow(list);
    if (row >= 0) ListView_DeleteItem(list, row);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
}

void ListDialog::Close(INT_PTR result) {
    SaveClassList(ClassListPath(g_self).c_str(), Collect(List()));
    EndDialog(window_, result);
}

void ListDialog::CaptureSelected() {
    const HWND list = List();
    const int row = SelectedRow(list);
    if (row >= 0) CaptureWindowsOfClass(mainWindow_, CellText(list, row, 1).c_str());
    Close(1);
}

// "ウィンドウの追加" pressed by a message another thread sent (BM_CLICK, or
// the WM_COMMAND itself, as accessibility tools and automation press it):
// while that message is being answered, the main window takes this tool's
// capture requests for another application's and puts them off until it
// returns, so the search would find the same window again and stop. The
// press is carried out from the dialog's own loop instead.
void ListDialog::PressCapture() {
    if (InSendMessage()) {
        PostMessageA(window_, kCaptureLater, 0, 0);
        return;
    }
    CaptureSelected();
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
    if (g_list.Window()) {
        SetForegroundWindow(g_list.Window());
        return 0;
    }
    return g_list.Run(mainWindow) == 1 ? 1 : 0;
}

}  // extern "C"
