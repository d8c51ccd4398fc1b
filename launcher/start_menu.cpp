// The start-menu list: the program folders walked into nested popups, the
// overflow of the root level, and the file items' look.
#include "launcher/start_menu.h"

#include "base/handles.h"
#include "base/menu_data.h"
#include "base/messages.h"
#include "launcher/file_menu_item.h"
#include "launcher/launcher_texts.h"

#include <shlobj.h>

#include <cstring>

namespace {

// Shortcut numbers sit above the five bits of the command kind.
constexpr unsigned kNumberShift = 5;

// The look of every start-menu item, taken anew at each build and used by
// the measure and draw calls while the menu is open.
FileMenuLook& Look() {
    static FileMenuLook look;
    return look;
}

// The number the next shortcut gets; each build counts from 1.
unsigned& ShortcutNumber() {
    static unsigned number = 1;
    return number;
}

// A FindFirstFileA search, closed however the walk over it ends.
class FileSearch {
public:
    FileSearch(const std::string& pattern, WIN32_FIND_DATAA& found)
        : handle_(FindFirstFileA(pattern.c_str(), &found)) {}
    ~FileSearch() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& found) { return FindNextFileA(handle_, &found) != FALSE; }

private:
    HANDLE handle_;
};

// One build: the root menu, its id and limit, and the menu the root level's
// items go to, which becomes the overflow popup once the root is full.
struct Build {
    HMENU root;
    UINT commandId;
    int maxRootItems;
    HMENU rootLevel;
};

bool IsDirectory(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// The path as item data: a block that lives until FreeMenuData, as the
// chosen item's data is read after the menu has gone. Null when it cannot be
// allocated.
const char* KeepPath(const std::string& path) {
    void* block = MenuDataList::Allocate(path.size() + 1);
    if (block) std::memcpy(block, path.c_str(), path.size());
    return static_cast<const char*>(block);
}

bool AppendItem(HMENU menu, UINT type, UINT state, UINT id, const char* data, HMENU submenu,
                const char* text) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | (submenu ? MIIM_SUBMENU : 0u) |
                 (text ? MIIM_STRING : 0u);
    info.fType = type;
    info.fState = state;
    info.wID = id;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(data);
    info.hSubMenu = submenu;
    info.dwTypeData = const_cast<char*>(text);
    const UINT end = static_cast<UINT>(GetMenuItemCount(menu));
    return InsertMenuItemA(menu, end, TRUE, &info) != FALSE;
}

// Before each item of the root level: once the root holds more than its
// limit, an unlabelled popup at its end takes every later item, however
// many. Without that popup the items stay in the root.
void MakeRoomFor(Build& build, HMENU& current) {
    if (current != build.root || GetMenuItemCount(build.root) <= build.maxRootItems) return;
    UniqueMenu overflow(CreatePopupMenu());
    if (!overflow) return;
    if (!AppendItem(build.root, MFT_STRING, 0, build.commandId, nullptr, overflow.get(), "")) {
        return;
    }
    current = overflow.release();  // destroyed with the root from now on
}

void Scan(Build& build, const std::string& folder, HMENU& current) {
    WIN32_FIND_DATAA found{};
    {
        FileSearch search(folder + "\\*", found);
        for (bool more = search.Found(); more; more = search.Next(found)) {
            const char* name = found.cFileName;
            if (!IsDirectory(found.dwFileAttributes) || std::strcmp(name, ".") == 0 ||
                std::strcmp(name, "..") == 0) {
                continue;
            }
            UniqueMenu popup(CreatePopupMenu());
            if (!popup) continue;
            const std::string path = folder + "\\" + name;
            const char* data = KeepPath(path);
            if (!data) continue;
            MakeRoomFor(build, current);
            if (!AppendItem(current, MFT_OWNERDRAW, 0, build.commandId, data, popup.get(),
                            nullptr)) {
                continue;
            }
            HMENU inner = popup.release();  // destroyed with its parent from now on
            Scan(build, path, inner);
        }
    }
    {
        FileSearch search(folder + "\\*.lnk", found);
        for (bool more = search.Found(); more; more = search.Next(found)) {
            if (IsDirectory(found.dwFileAttributes)) continue;
            const char* data = KeepPath(folder + "\\" + found.cFileName);
            if (!data) continue;
            MakeRoomFor(build, current);
            // From shortcut 2048 on, the id no longer fits WM_COMMAND's 16 bits
            // and repeats an earlier one's there; the count goes on regardless.
            const UINT id = build.commandId | ShortcutNumber() << kNumberShift;
            ++ShortcutNumber();
            AppendItem(current, MFT_OWNERDRAW, 0, id, data, nullptr, nullptr);
        }
    }
    if (GetMenuItemCount(current) == 0) {
        AppendItem(current, MFT_STRING, MFS_DISABLED | MFS_GRAYED, build.commandId, nullptr,
                   nullptr, launcher_texts::kStartMenuEmpty);
    }
}

bool IsFolder(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && IsDirectory(attributes);
}

const char* PathOf(ULONG_PTR data) { return reinterpret_cast<const char*>(data); }

}  // namespace

bool BuildStartMenu(HMENU menu, UINT commandId, HWND owner, int maxRootItems) {
    std::vector<std::string> folders;
    // Not created when missing: a tree that is not there is simply not listed.
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        char path[MAX_PATH] = "";
        if (SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) folders.emplace_back(path);
    }
    return BuildStartMenuFrom(menu, commandId, owner, maxRootItems, folders);
}

bool BuildStartMenuFrom(HMENU menu, UINT commandId, HWND owner, int maxRootItems,
                        const std::vector<std::string>& folders) {
    // The paths of the previous build go now; that menu is no longer open.
    FreeMenuData(owner, WM_TIMER, kMenuDataTimer, 0);
    Look().Refresh();
    ShortcutNumber() = 1;
    // Both trees fill one root level, so a folder of the same name in each is
    // listed twice, and the second tree continues in the overflow popup when
    // the first one opened it.
    Build build{menu, commandId, maxRootItems, menu};
    for (const std::string& folder : folders) {
        if (IsFolder(folder)) Scan(build, folder, build.rootLevel);
    }
    return true;
}

bool MeasureStartMenuItem(HWND window, MEASUREITEMSTRUCT& item) {
    if (!item.itemData) return false;
    Look().Measure(window, PathOf(item.itemData), item);
    return true;
}

bool DrawStartMenuItem(const DRAWITEMSTRUCT& item) {
    if (!item.itemData) return false;
    Look().Draw(item, PathOf(item.itemData));
    return true;
}
