// The start-menu list: the program folders read on a thread of their own,
// walked into nested popups, the overflow of the root level, and the file
// items' look.
#include "launcher/start_menu.h"

#include "base/handles.h"
#include "base/menu_data.h"
#include "base/messages.h"
#include "launcher/file_menu_item.h"
#include "launcher/launcher_texts.h"

#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace {

// Shortcut numbers sit above the five bits of the command kind.
constexpr unsigned kNumberShift = 5;
constexpr UINT kKindBits = (1u << kNumberShift) - 1;

// The look of every start-menu item, taken anew at each build and used by
// the measure and draw calls while the menu is open.
FileMenuLook& Look() {
    static FileMenuLook look;
    return look;
}

// The menus filled since the item data was last released. Their shortcut
// numbers are not given again while they exist: a chosen item is found by
// its id, and two lists open at once (twice in one popup, or in two popups
// of the popup menu) must not answer to the same one.
std::vector<HMENU>& FilledMenus() {
    static std::vector<HMENU> menus;
    return menus;
}

// A FindFirstFileA search, closed however the walk over it ends.
class FileSearch {
public:
    FileSearch(const std::string& pattern, WIN32_FIND_DATAA& found)
        : handle_(FindFirstFileA(pattern.c_str(), &found)) {}

    bool Found() const { return static_cast<bool>(handle_); }
    bool Next(WIN32_FIND_DATAA& found) { return FindNextFileA(handle_.get(), &found) != FALSE; }

private:
    UniqueFind handle_;
};

bool IsDirectory(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool IsFolder(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && IsDirectory(attributes);
}

// ---- The walk, on its own thread ---------------------------------------------

// What the walk found, in the order the menu takes it: a programs folder or
// a subfolder opens a level that the next unmatched End closes.
struct Found {
    enum Kind { kProgramsFolder, kFolder, kShortcut, kEnd } kind;
    std::string path;
};

// Shared by the walking thread and the build, which may stop waiting for it
// long before it ends (a share that does not answer holds it in one call).
struct Walk {
    std::mutex lock;
    std::vector<Found> found;
    std::atomic<bool> stop{false};
    UniqueHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};

    void Add(Found::Kind kind, const std::string& path = std::string()) {
        std::lock_guard<std::mutex> hold(lock);
        found.push_back({kind, path});
    }
    std::vector<Found> Taken() {
        std::lock_guard<std::mutex> hold(lock);
        return found;
    }
};

void WalkFolder(Walk& walk, const std::string& folder, int depth, int maxDepth) {
    WIN32_FIND_DATAA found{};
    if (depth < maxDepth) {
        FileSearch search(folder + "\\*", found);
        for (bool more = search.Found(); more && !walk.stop; more = search.Next(found)) {
            const char* name = found.cFileName;
            if (!IsDirectory(found.dwFileAttributes) || std::strcmp(name, ".") == 0 ||
                std::strcmp(name, "..") == 0) {
                continue;
            }
            // A junction or symbolic link may lead back up the tree, or far away.
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            const std::string path = folder + "\\" + name;
            walk.Add(Found::kFolder, path);
            WalkFolder(walk, path, depth + 1, maxDepth);
            walk.Add(Found::kEnd);
        }
    }
    if (walk.stop) return;
    FileSearch search(folder + "\\*.lnk", found);
    for (bool more = search.Found(); more && !walk.stop; more = search.Next(found)) {
        if (IsDirectory(found.dwFileAttributes)) continue;
        walk.Add(Found::kShortcut, folder + "\\" + found.cFileName);
    }
}

void WalkProgramsFolders(const std::shared_ptr<Walk>& walk,
                         const std::vector<std::string>& folders, int maxDepth) {
    for (const std::string& folder : folders) {
        if (walk->stop) break;
        if (!IsFolder(folder)) continue;
        walk->Add(Found::kProgramsFolder, folder);
        WalkFolder(*walk, folder, 0, maxDepth);
        walk->Add(Found::kEnd);
    }
    SetEvent(walk->done.get());
}

// Waits for the walk at most ms, answering the messages other threads send
// meanwhile (the hang watch among them). Nothing is taken from the queue.
void AwaitWalk(const Walk& walk, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms) return;
        HANDLE done = walk.done.get();
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &done, FALSE, ms - spent, QS_SENDMESSAGE);
        if (woken != WAIT_OBJECT_0 + 1) return;  // done, timed out or failed
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// What the walk found within ms; the walk is told to stop.
std::vector<Found> WalkWithin(const std::vector<std::string>& folders,
                              const StartMenuLimits& limits) {
    auto walk = std::make_shared<Walk>();
    if (!walk->done) return {};
    try {
        std::thread(WalkProgramsFolders, walk, folders, limits.depth).detach();
    } catch (...) {
        return {};  // no thread to spare: the menu stays as it is
    }
    AwaitWalk(*walk, limits.timeMs);
    walk->stop = true;
    return walk->Taken();
}

// ---- The menu, on the user-interface thread ----------------------------------

// One build: the root menu, its id and limit, the menu the root level's items
// go to (which becomes the overflow popup once the root is full), and the
// numbers its shortcuts may not take.
struct Build {
    HMENU root;
    UINT commandId;
    int maxRootItems;
    HMENU rootLevel;
    std::set<unsigned> taken;
    unsigned next = 1;

    unsigned TakeNumber() {
        while (taken.count(next)) ++next;
        return next++;
    }
};

// One open level of the menu: the root level or a folder's popup; skipped
// when its folder item could not be made, so its content is left out too.
struct Level {
    bool root;
    HMENU menu;
    bool skipped;
};

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

HMENU& CurrentOf(Build& build, Level& level) { return level.root ? build.rootLevel : level.menu; }

void OpenFolder(Build& build, std::vector<Level>& levels, const std::string& path) {
    if (levels.back().skipped) {
        levels.push_back({false, nullptr, true});
        return;
    }
    UniqueMenu popup(CreatePopupMenu());
    const char* data = popup ? KeepPath(path) : nullptr;
    HMENU& current = CurrentOf(build, levels.back());
    if (data) MakeRoomFor(build, current);
    if (!data ||
        !AppendItem(current, MFT_OWNERDRAW, 0, build.commandId, data, popup.get(), nullptr)) {
        levels.push_back({false, nullptr, true});
        return;
    }
    levels.push_back({false, popup.release(), false});  // destroyed with its parent now
}

void AddShortcut(Build& build, Level& level, const std::string& path) {
    if (level.skipped) return;
    const char* data = KeepPath(path);
    if (!data) return;
    HMENU& current = CurrentOf(build, level);
    MakeRoomFor(build, current);
    // From shortcut 2048 on, the id no longer fits WM_COMMAND's 16 bits
    // and repeats an earlier one's there; the count goes on regardless.
    const UINT id = build.commandId | build.TakeNumber() << kNumberShift;
    AppendItem(current, MFT_OWNERDRAW, 0, id, data, nullptr, nullptr);
}

// A level that holds nothing says so.
void CloseLevel(Build& build, std::vector<Level>& levels) {
    Level& level = levels.back();
    HMENU current = CurrentOf(build, level);
    if (!level.skipped && GetMenuItemCount(current) == 0) {
        AppendItem(current, MFT_STRING, MFS_DISABLED | MFS_GRAYED, build.commandId, nullptr,
                   nullptr, launcher_texts::kStartMenuEmpty);
    }
    levels.pop_back();
}

void Fill(Build& build, const std::vector<Found>& found) {
    // The root level is no folder of its own: it only holds the programs
    // folders' levels.
    std::vector<Level> levels{{true, nullptr, false}};
    for (const Found& entry : found) {
        switch (entry.kind) {
        case Found::kProgramsFolder:
            levels.push_back({true, nullptr, false});
            break;
        case Found::kFolder:
            OpenFolder(build, levels, entry.path);
            break;
        case Found::kShortcut:
            AddShortcut(build, levels.back(), entry.path);
            break;
        case Found::kEnd:
            if (levels.size() > 1) CloseLevel(build, levels);
            break;
        }
    }
    // A walk cut short by the time limit leaves its levels open.
    while (levels.size() > 1) CloseLevel(build, levels);
}

// The shortcut numbers of kind that menu and its popups show.
void CollectNumbers(HMENU menu, UINT kind, std::set<unsigned>& numbers) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.hSubMenu) CollectNumbers(info.hSubMenu, kind, numbers);
        if ((info.wID & kKindBits) == kind && info.wID >> kNumberShift) {
            numbers.insert(info.wID >> kNumberShift);
        }
    }
}

// The numbers earlier builds' menus still show, and menu among them from now
// on. Once their item data has been released, those menus are closed and
// their numbers free again.
std::set<unsigned> NumbersInUse(HMENU menu, UINT kind) {
    std::vector<HMENU>& filled = FilledMenus();
    if (MenuDataList::Count() == 0) filled.clear();
    std::set<unsigned> numbers;
    std::vector<HMENU> live;
    for (HMENU earlier : filled) {
        if (earlier == menu || !IsMenu(earlier)) continue;
        CollectNumbers(earlier, kind, numbers);
        live.push_back(earlier);
    }
    CollectNumbers(menu, kind, numbers);
    live.push_back(menu);
    filled = std::move(live);
    return numbers;
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
                        const std::vector<std::string>& folders,
                        const StartMenuLimits& limits) {
    // A menu is being built, so the paths of the menus still open (and of
    // this one) must outlive its loop: the release a loop that ended a
    // moment ago armed waits for the end of this one.
    if (owner) KillTimer(owner, kMenuDataTimer);
    Look().Refresh();
    // Both trees fill one root level, so a folder of the same name in each is
    // listed twice, and the second tree continues in the overflow popup when
    // the first one opened it.
    Build build{menu, commandId, maxRootItems, menu,
                NumbersInUse(menu, commandId & kKindBits)};
    Fill(build, WalkWithin(folders, limits));
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
