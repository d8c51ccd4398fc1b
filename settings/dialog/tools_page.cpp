// The page "ツール": which tool plug-ins fill the sixteen slots and in which
// order, chosen among the plug-in files found in the tool folder, and the
// tool folder's name. The upper list holds the files found but not
// registered, the lower one the plug-ins to register; OK loads the lower
// list into the slots from the top.
#include "base/base_texts.h"
#include "base/code_page.h"
#include "base/handles.h"
#include "base/messages.h"
#include "plugins/host/tool_file.h"
#include "plugins/host/tool_modules.h"
#include "plugins/host/tool_search.h"
#include "plugins/host/tool_slots.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/dialog_texts.h"
#include "settings/dialog/pages.h"
#include "settings/dialog/tools_page_ids.h"

#include <commctrl.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The columns, in their order in both lists; widths in pixels.
enum Column { kName, kCopyright, kVersion, kPath, kColumnCount };
struct ColumnLayout {
    const char* title;
    int width;
};
constexpr ColumnLayout kColumns[kColumnCount] = {
    {dialog_texts::kNameColumn, 96},
    {dialog_texts::kCopyrightColumn, 64},
    {dialog_texts::kVersionColumn, 32},
    {dialog_texts::kPathColumn, 128},
};

// Every text a row holds is read back with buffers of this size.
constexpr int kCellSize = 256;
// What a plug-in is asked its name and notice with on this page.
constexpr int kPageTextSize = 255;

using Row = std::array<std::string, kColumnCount>;

bool IsLead(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE; }

// The bytes of text up to, not beyond, limit; a double-byte character that
// does not fit whole is left out rather than cut in two.
std::string Cut(const std::string& text, std::size_t limit) {
    return text.substr(0, WholeCharacters(text.c_str(), limit));
}

// File names compare as the file system does: single-byte letters without
// case, double-byte characters as they are (their trail bytes may look like
// letters, and folding those would make different names equal).
bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsLead(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        const char x = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char y = (b[i] >= 'A' && b[i] <= 'Z') ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) return false;
    }
    return true;
}

// The parts of a path between backslashes; a backslash that is the trail
// byte of a double-byte character (表, ソ) does not split.
std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLead(path[i]) && i + 1 < path.size()) {
            parts.back() += path.substr(i, 2);
            ++i;
        } else if (path[i] == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += path[i];
        }
    }
    while (parts.size() > 1 && parts.back().empty()) parts.pop_back();
    return parts;
}

// path relative to folder: below it the part after the folder; elsewhere on
// the same drive one ".." per folder level left; on another drive path
// itself.
std::string RelativePath(const std::string& folder, const std::string& path) {
    const std::vector<std::string> from = PathParts(folder), to = PathParts(path);
    if (from.empty() || to.empty() || !SameIgnoringCase(from[0], to[0])) return path;
    std::size_t common = 0;
    while (common < from.size() && common + 1 < to.size() &&
           SameIgnoringCase(from[common], to[common])) {
        ++common;
    }
    std::string relative;
    for (std::size_t i = common; i < from.size(); ++i) relative += "..\\";
    for (std::size_t i = common; i < to.size(); ++i) {
        relative += to[i];
        if (i + 1 < to.size()) relative += '\\';
    }
    return Cut(relative, kCellSize - 1);
}

// The tool folder as the search gets it: without a closing backslash, so
// that the paths it reports have exactly one after the folder.
std::string SearchFolder() {
    std::string folder = ToolFolderPath();
    while (folder.size() > 1 && folder.back() == '\\' && !IsLead(folder[folder.size() - 2])) {
        folder.pop_back();
    }
    return folder;
}

class ToolsPage : public SettingsPage {
public:
    ToolsPage() : SettingsPage(IDD_PAGE_TOOLS) {}

protected:
    void Fill() override {
        SetDlgItemTextA(window_, IDC_TOOLS_FOLDER, ToolFolderName());
        // What the name can hold: a longer one would lose its end silently.
        SendMessageA(Item(IDC_TOOLS_FOLDER), EM_LIMITTEXT, kToolFolderSize - 1, 0);
        SetUpColumns(IDC_TOOLS_FOUND);
        SetUpColumns(IDC_TOOLS_REGISTERED);
        folder_ = SearchFolder();
        EnumerateToolFiles(folder_.c_str(), window_, PM_TOOLFILEFOUND);
        Select(IDC_TOOLS_FOUND, 0);
        Select(IDC_TOOLS_REGISTERED, 0);
        MoveRegisteredDown();
    }

    void Write() override {
        LoadRegistered();
        char typed[kCellSize] = "";
        GetDlgItemTextA(window_, IDC_TOOLS_FOLDER, typed, sizeof typed);
        const std::string name = Cut(typed, kToolFolderSize - 1);
        std::snprintf(ToolFolderName(), kToolFolderSize, "%s", name.c_str());
    }

    bool OnCommand(WORD id, WORD code, HWND) override {
        if (code != BN_CLICKED) return false;
        if (id == IDC_TOOLS_REGISTER) {
            Register();
            return true;
        }
        if (id == IDC_TOOLS_UNREGISTER) {
            RequestMove(IDC_TOOLS_REGISTERED, IDC_TOOLS_FOUND);
            return true;
        }
        return false;
    }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override {
        if (message == PM_TOOLFILEFOUND) {
            if (lParam) OnFileFound(reinterpret_cast<const char*>(lParam));
            *result = TRUE;
            return true;
        }
        if (message == PM_TOOLMOVEITEM) {
            MoveRow(LOWORD(wParam), HIWORD(wParam), static_cast<int>(lParam));
            *result = TRUE;
            return true;
        }
        return false;
    }

private:
    HWND List(int id) const { return Item(id); }
    int RowCount(int list) const {
        return static_cast<int>(SendMessageA(List(list), LVM_GETITEMCOUNT, 0, 0));
    }
    int SelectedRow(int list) const {
        return static_cast<int>(
            SendMessageA(List(list), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }

    void SetUpColumns(int list) const {
        SendMessageA(List(list), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                     LVS_EX_FULLROWSELECT);
        for (int column = 0; column < kColumnCount; ++column) {
            LVCOLUMNA info{};
            info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            info.pszText = const_cast<char*>(kColumns[column].title);
            info.cx = kColumns[column].width;
            info.iSubItem = column;
            SendMessageA(List(list), LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
        }
    }

    std::string Cell(int list, int row, int column) const {
        char text[kCellSize] = "";
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(List(list), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }

    void InsertRow(int list, int at, const Row& row) const {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = at;
        item.pszText = const_cast<char*>(row[0].c_str());
        const int index = static_cast<int>(
            SendMessageA(List(list), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (index < 0) return;
        for (int column = 1; column < kColumnCount; ++column) {
            LVITEMA cell{};
            cell.iSubItem = column;
            cell.pszText = const_cast<char*>(row[column].c_str());
            SendMessageA(List(list), LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&cell));
        }
    }

    void Select(int list, int row) const {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        if (SendMessageA(List(list), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state))) {
            SendMessageA(List(list), LVM_ENSUREVISIBLE, row, FALSE);
        }
    }

    // A file the search found: listed above when it loads as a plug-in, or
    // when it is a plug-in of the other width, so that the user learns why
    // it cannot be registered.
    void OnFileFound(const char* path) const {
        const std::string relative = RelativePath(folder_, path);
        ToolSlot probe;
        if (!probe.Load(relative.c_str())) {
            if (IsToolOfOtherWidth(path)) ListOtherWidthTool(relative);
            return;
        }
        Row row;
        char text[kCellSize] = "";
        probe.Name(text, kPageTextSize);
        row[kName] = text;
        text[0] = '\0';
        probe.Copyright(text, kPageTextSize);
        row[kCopyright] = text;
        const WORD version = probe.Version();
        std::snprintf(text, sizeof text, dialog_texts::kVersionFormat, HIBYTE(version),
                      LOBYTE(version));
        row[kVersion] = text;
        row[kPath] = relative;
        InsertRow(IDC_TOOLS_FOUND, RowCount(IDC_TOOLS_FOUND), row);
    }

    void ListOtherWidthTool(const std::string& relative) const {
        Row row;
        char text[kCellSize] = "";
        std::snprintf(text, sizeof text, dialog_texts::kOtherWidthToolName, OtherWidthBits());
        row[kName] = text;
        row[kPath] = relative;
        InsertRow(IDC_TOOLS_FOUND, RowCount(IDC_TOOLS_FOUND), row);
    }

    // The registered plug-ins among the files found go below, in the order
    // they were found: each move puts its row on top, so the rows go from
    // the last up.
    void MoveRegisteredDown() {
        for (int row = RowCount(IDC_TOOLS_FOUND) - 1; row >= 0; --row) {
            const std::string path = Cell(IDC_TOOLS_FOUND, row, kPath);
            for (int slot = 0; slot < kToolSlotCount; ++slot) {
                const ToolSlot& tool = ToolSlots()[slot];
                if (tool.IsLoaded() && SameIgnoringCase(path, tool.FileName())) {
                    MoveRow(IDC_TOOLS_FOUND, IDC_TOOLS_REGISTERED, row);
                    break;
                }
            }
        }
    }

    void Register() {
        if (RowCount(IDC_TOOLS_REGISTERED) >= kToolSlotCount) {
            MessageBoxA(window_, dialog_texts::kNoMoreTools, base_texts::kErrorCaption,
                        MB_OK | MB_ICONERROR);
            return;
        }
        const int row = SelectedRow(IDC_TOOLS_FOUND);
        if (row >= 0) {
            const std::string path = Cell(IDC_TOOLS_FOUND, row, kPath);
            if (IsToolOfOtherWidth((folder_ + "\\" + path).c_str())) {
                char text[256] = "";
                std::snprintf(text, sizeof text, dialog_texts::kOtherWidthToolRefused,
                              OtherWidthBits(), OwnWidthBits());
                MessageBoxA(window_, text, path.c_str(), MB_OK | MB_ICONERROR);
                return;
            }
        }
        RequestMove(IDC_TOOLS_FOUND, IDC_TOOLS_REGISTERED);
    }

    void RequestMove(int source, int target) {
        SendMessageA(window_, PM_TOOLMOVEITEM, MAKEWPARAM(source, target), SelectedRow(source));
    }

    void MoveRow(int source, int target, int index) {
        const bool lists = (source == IDC_TOOLS_FOUND && target == IDC_TOOLS_REGISTERED) ||
                           (source == IDC_TOOLS_REGISTERED && target == IDC_TOOLS_FOUND);
        if (!lists || index < 0 || index >= RowCount(source)) return;
        Row row;
        for (int column = 0; column < kColumnCount; ++column) row[column] = Cell(source, index, column);
        SendMessageA(List(source), LVM_DELETEITEM, index, 0);
        InsertRow(target, 0, row);
        Select(source, index);
        Select(target, 0);
    }

    // The slots anew from the lower list. A plug-in that stays registered
    // is held loaded meanwhile, so that it keeps its state. One that leaves
    // goes to ReleaseToolModule, which frees it only once none of its code
    // can be running: this OK may have been reached from inside it.
    void LoadRegistered() {
        std::vector<UniqueModule> held;
        for (int slot = 0; slot < kToolSlotCount; ++slot) {
            ToolSlot& tool = ToolSlots()[slot];
            if (tool.IsLoaded() && StaysRegistered(tool.FileName())) {
                const std::string path = folder_ + "\\" + tool.FileName();
                held.emplace_back(LoadLibraryA(path.c_str()));
            }
            tool.Unload();
        }
        int next = 0;
        for (int row = 0; row < RowCount(IDC_TOOLS_REGISTERED) && next < kToolSlotCount; ++row) {
            const std::string path = Cell(IDC_TOOLS_REGISTERED, row, kPath);
            // A path the slot cannot hold whole would be registered under a
            // name that finds nothing at the next start.
            if (path.size() < static_cast<std::size_t>(ToolSlot::kFileNameSize) &&
                ToolSlots()[next].Load(path.c_str())) {
                ++next;
            } else {
                MessageBoxA(window_, dialog_texts::kLoadFailed, path.c_str(),
                            MB_OK | MB_ICONERROR);
            }
        }
        // Where a slot took the module again this only counts down; where
        // loading it failed, the held one may be the last.
        for (UniqueModule& module : held) ReleaseToolModule(std::move(module), true);
    }

    bool StaysRegistered(const char* fileName) const {
        for (int row = 0; row < RowCount(IDC_TOOLS_REGISTERED); ++row) {
            if (SameIgnoringCase(Cell(IDC_TOOLS_REGISTERED, row, kPath), fileName)) return true;
        }
        return false;
    }

    // The tool folder the rows were found in; they load from it on OK even
    // when the edit names another one for the next time.
    std::string folder_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeToolsPage() { return std::make_unique<ToolsPage>(); }
