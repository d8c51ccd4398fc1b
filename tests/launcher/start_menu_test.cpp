// The start-menu list built over program folders made by the test, read back
// from the real menus; its items measured and drawn; and every menu, icon
// and GDI object it makes counted back out.
#include "launcher/start_menu.h"

#include "base/command_kinds.h"
#include "base/handles.h"
#include "base/menu_data.h"
#include "base/messages.h"
#include "tests/support/handle_count.h"
#include "tests/support/import_route.h"
#include "tests/support/open_menu.h"
#include "tests/support/shell_link.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unix_link.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

using testing_support::ItemsOf;
using testing_support::MenuItem;
using testing_support::MenuItems;
using testing_support::TempDir;

namespace {

constexpr UINT K = ListCommandId(0, kStartMenuList);

std::string Folder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

std::string Link(const std::string& path) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_TRUE(testing_support::SaveShellLink(path, self)) << path;
    return path;
}

std::string PathOf(const MenuItem& item) {
    return item.data ? reinterpret_cast<const char*>(item.data) : "";
}

// The item of path; a test that misses it fails on the exception.
const MenuItem& ItemFor(const MenuItems& items, const std::string& path) {
    for (const MenuItem& item : items) {
        if (PathOf(item) == path) return item;
    }
    throw std::runtime_error("not listed: " + path);
}

// Every path of a menu and its popups, depth first.
void CollectPaths(HMENU menu, std::vector<std::string>& paths) {
    for (const MenuItem& item : ItemsOf(menu)) {
        if (item.data) paths.push_back(PathOf(item));
        if (item.submenu) CollectPaths(item.submenu, paths);
    }
}

void CollectShortcutIds(HMENU menu, std::vector<UINT>& ids) {
    for (const MenuItem& item : ItemsOf(menu)) {
        if (item.submenu) CollectShortcutIds(item.submenu, ids);
        else if (item.data) ids.push_back(item.id);
    }
}

void ExpectNone(const MenuItem& item) {
    EXPECT_EQ(item.text, "(なし)");
    EXPECT_TRUE(item.grey);
    EXPECT_FALSE(item.ownerDrawn);
    EXPECT_EQ(item.id, K);
    EXPECT_EQ(item.data, 0u);
    EXPECT_EQ(item.submenu, nullptr);
}

UINT WidthOf(const MenuItem& item) {
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.id, 0, 0, item.data};
    EXPECT_TRUE(MeasureStartMenuItem(nullptr, measure));
    EXPECT_GT(measure.itemHeight, 0u);
    return measure.itemWidth;
}

TEST(StartMenu, FoldersThenShortcutsNumberedAcrossTheWholeBuildEachItemItsPath) {
    const TempDir dir;
    const std::string alpha = Folder(dir.File("Alpha"));
    const std::string inner = Folder(alpha + "\\Inner");
    const std::string deep = Link(inner + "\\deep.lnk");
    const std::string one = Link(alpha + "\\one.lnk");
    const std::string empty = Folder(dir.File("Empty"));
    const std::string linkNamedFolder = Folder(dir.File("folder.lnk"));
    const std::string zeta = Link(dir.File("zeta.lnk"));
    testing_support::WriteFileText(dir.File("readme.txt"), "not listed");

    // Each build numbers its shortcuts from 1 again.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        UniqueMenu menu(CreatePopupMenu());
        ASSERT_TRUE(BuildStartMenuFrom(menu.get(), K, nullptr, 50, {dir.Path()}));
        const MenuItems root = ItemsOf(menu.get());
        ASSERT_EQ(root.size(), 4u);
        // The folders in the file system's order, then the one shortcut.
        std::set<std::string> folders;
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(root[i].ownerDrawn);
            EXPECT_EQ(root[i].id, K);
            EXPECT_NE(root[i].submenu, nullptr);
            folders.insert(PathOf(root[i]));
        }
        EXPECT_EQ(folders, (std::set<std::string>{alpha, empty, linkNamedFolder}));
        EXPECT_TRUE(root[3].ownerDrawn);
        EXPECT_EQ(PathOf(root[3]), zeta);
        // Alpha's tree is walked before the root's shortcuts, its subfolder first.
        EXPECT_EQ(root[3].id, K | 3u << 5);

        const MenuItems inAlpha = ItemsOf(ItemFor(root, alpha).submenu);
        ASSERT_EQ(inAlpha.size(), 2u);
        EXPECT_EQ(PathOf(inAlpha[0]), inner);
        EXPECT_EQ(inAlpha[0].id, K);
        EXPECT_EQ(PathOf(inAlpha[1]), one);
        EXPECT_EQ(inAlpha[1].id, K | 2u << 5);
        const MenuItems inInner = ItemsOf(inAlpha[0].submenu);
        ASSERT_EQ(inInner.size(), 1u);
        EXPECT_EQ(PathOf(inInner[0]), deep);
        EXPECT_EQ(inInner[0].id, K | 1u << 5);
        EXPECT_EQ(inInner[0].submenu, nullptr);

        for (const char* path : {empty.c_str(), linkNamedFolder.c_str()}) {
            const MenuItems inside = ItemsOf(ItemFor(root, path).submenu);
            ASSERT_EQ(inside.size(), 1u) << path;
            ExpectNone(inside[0]);
        }
    }
}

TEST(StartMenu, TheRootTakesOneItemMoreThanItsLimitAndOneUnlabelledPopupTheRest) {
    const TempDir first;
    const TempDir second;
    std::set<std::string> made;
    for (int i = 0; i < 6; ++i) {
        const std::string folder = Folder(first.File(("folder" + std::to_string(i)).c_str()));
        made.insert(folder);
        made.insert(Link(first.File(("link" + std::to_string(i) + ".lnk").c_str())));
        // Below the root nothing is limited.
        if (i == 0) {
            for (int j = 0; j < 12; ++j) Link(folder + "\\sub" + std::to_string(j) + ".lnk");
        }
    }
    const std::string last = Link(second.File("last.lnk"));

    struct Case {
        int before;
        size_t regular;
    };
    for (const Case c : {Case{0, 9}, Case{5, 4}}) {
        SCOPED_TRACE(c.before);
        UniqueMenu menu(CreatePopupMenu());
        for (int i = 0; i < c.before; ++i) AppendMenuA(menu.get(), MF_STRING, 1, "earlier");
        BuildStartMenuFrom(menu.get(), K, nullptr, 8, {first.Path(), second.Path()});

        const MenuItems root = ItemsOf(menu.get());
        ASSERT_EQ(root.size(), c.before + c.regular + 1);
        const MenuItem& overflow = root.back();
        EXPECT_FALSE(overflow.ownerDrawn);
        EXPECT_EQ(overflow.text, "");
        EXPECT_EQ(overflow.id, K);
        EXPECT_EQ(overflow.data, 0u);
        ASSERT_NE(overflow.submenu, nullptr);
        const MenuItems rest = ItemsOf(overflow.submenu);
        ASSERT_EQ(rest.size(), 12 - c.regular + 1);
        EXPECT_EQ(PathOf(rest.back()), last) << "the second folder goes on in the overflow";

        MenuItems listed(root.begin() + c.before, root.end() - 1);
        listed.insert(listed.end(), rest.begin(), rest.end() - 1);
        std::set<std::string> paths;
        for (const MenuItem& item : listed) paths.insert(PathOf(item));
        EXPECT_EQ(paths, made);
        EXPECT_EQ(GetMenuItemCount(ItemFor(listed, first.File("folder0")).submenu), 12);
    }
}

TEST(StartMenu, MissingFoldersAddNothingAndAnEmptyOneShowsNoneBeforeTheNext) {
    const TempDir dir;
    UniqueMenu menu(CreatePopupMenu());
    EXPECT_TRUE(BuildStartMenuFrom(menu.get(), K, nullptr, 8,
                                   {dir.File("missing"), dir.File("gone")}));
    EXPECT_EQ(GetMenuItemCount(menu.get()), 0) << "not even the none item";

    const std::string empty = Folder(dir.File("empty"));
    const std::string full = Folder(dir.File("full"));
    const std::string link = Link(full + "\\app.lnk");
    UniqueMenu fresh(CreatePopupMenu());
    BuildStartMenuFrom(fresh.get(), K, nullptr, 8, {empty, dir.File("missing"), full});
    const MenuItems root = ItemsOf(fresh.get());
    ASSERT_EQ(root.size(), 2u);
    ExpectNone(root[0]);
    EXPECT_EQ(PathOf(root[1]), link);
    EXPECT_EQ(root[1].id, K | 1u << 5);
}

TEST(StartMenu, EveryBuildsPathsAndNumbersLiveUntilFreeMenuData) {
    const TempDir dir;
    const std::string folder = Folder(dir.File("tools"));
    Link(folder + "\\a.lnk");
    Link(dir.File("b.lnk"));
    // Two popups of one menu, as the popup variant of the main menu fills them.
    UniqueMenu first(CreatePopupMenu()), second(CreatePopupMenu());
    BuildStartMenuFrom(first.get(), K, nullptr, 8, {dir.Path()});
    EXPECT_EQ(MenuDataList::Count(), 3u);
    BuildStartMenuFrom(second.get(), K, nullptr, 8, {dir.Path(), folder});
    EXPECT_EQ(MenuDataList::Count(), 7u) << "the first popup's paths are still its own";
    std::vector<std::string> paths;
    CollectPaths(first.get(), paths);
    EXPECT_EQ(paths, (std::vector<std::string>{folder, folder + "\\a.lnk", dir.File("b.lnk")}));
    std::vector<UINT> ids;
    CollectShortcutIds(first.get(), ids);
    CollectShortcutIds(second.get(), ids);
    EXPECT_EQ(ids.size(), 5u);
    EXPECT_EQ(std::set<UINT>(ids.begin(), ids.end()).size(), 5u) << "no number given twice";

    // Once the data has been released (the menus are closed by then), the
    // numbers start again.
    FreeMenuData(nullptr, WM_TIMER, kMenuDataTimer, 0);
    EXPECT_EQ(MenuDataList::Count(), 0u);
    UniqueMenu third(CreatePopupMenu());
    BuildStartMenuFrom(third.get(), K, nullptr, 8, {folder});
    EXPECT_EQ(ItemsOf(third.get())[0].id, K | 1u << 5);
    FreeMenuData(nullptr, WM_TIMER, kMenuDataTimer, 0);
}

TEST(StartMenu, FoldersDeeperThanTheLimitAreLeftOut) {
    const TempDir dir;
    std::string folder = dir.Path();
    for (int level = 1; level <= StartMenuLimits::kMaxDepth + 2; ++level) {
        folder = Folder(folder + "\\" + std::to_string(level));
        Link(folder + "\\at " + std::to_string(level) + ".lnk");
    }
    UniqueMenu menu(CreatePopupMenu());
    BuildStartMenuFrom(menu.get(), K, nullptr, 8, {dir.Path()});
    int depth = 0;
    for (HMENU level = menu.get(); level;) {
        const MenuItems items = ItemsOf(level);
        level = items.empty() ? nullptr : items[0].submenu;
        depth += level ? 1 : 0;
    }
    EXPECT_EQ(depth, StartMenuLimits::kMaxDepth);
    FreeMenuData(nullptr, WM_TIMER, kMenuDataTimer, 0);
}

// Unix links go before the temporary folder, which would follow them.
struct UnixTree {
    std::string path;
    ~UnixTree() { testing_support::RemoveUnixTree(path); }
};

TEST(StartMenu, ALinkedFolderIsNeitherListedNorFollowed) {
    const TempDir dir;
    const std::string loop = Folder(dir.File("loop"));
    const UnixTree links{loop};
    ASSERT_TRUE(testing_support::MakeUnixLink(loop + "\\again", "."));
    ASSERT_TRUE(testing_support::MakeUnixLink(loop + "\\up", ".."));
    const std::string link = Link(loop + "\\app.lnk");
    UniqueMenu menu(CreatePopupMenu());
    BuildStartMenuFrom(menu.get(), K, nullptr, 8, {dir.Path()});
    std::vector<std::string> paths;
    CollectPaths(menu.get(), paths);
    EXPECT_EQ(paths, (std::vector<std::string>{loop, link}));
    FreeMenuData(nullptr, WM_TIMER, kMenuDataTimer, 0);
}

// A folder whose reading never ends until the test lets it, as a share
// that has gone away holds the call that reads it.
using FindFirst = HANDLE(WINAPI*)(LPCSTR, LPWIN32_FIND_DATAA);
FindFirst g_realFindFirst;
std::string g_held;
UniqueHandle g_letGo;

HANDLE WINAPI HeldFindFirst(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
    if (std::string(pattern).rfind(g_held, 0) == 0) WaitForSingleObject(g_letGo.get(), INFINITE);
    return g_realFindFirst(pattern, found);
}

TEST(StartMenu, AFolderThatDoesNotAnswerLeavesTheMenuWhatWasFoundBeforeIt) {
    const TempDir first, second;
    const std::string link = Link(first.File("app.lnk"));
    g_held = Folder(second.File("away"));
    Link(second.File("later.lnk"));
    g_letGo.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    g_realFindFirst = reinterpret_cast<FindFirst>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "FindFirstFileA"));
    const HMODULE self = GetModuleHandleA(nullptr);
    void* real = reinterpret_cast<void*>(g_realFindFirst);
    void* held = reinterpret_cast<void*>(&HeldFindFirst);
    ASSERT_GT(testing_support::RouteImport(self, "kernel32.dll", real, held), 0);

    UniqueMenu menu(CreatePopupMenu());
    StartMenuLimits limits;
    limits.timeMs = 300;
    BuildStartMenuFrom(menu.get(), K, nullptr, 8, {first.Path(), second.Path()}, limits);
    SetEvent(g_letGo.get());
    testing_support::RouteImport(self, "kernel32.dll", held, real);

    const MenuItems root = ItemsOf(menu.get());
    ASSERT_EQ(root.size(), 2u) << "the shortcut after the folder was not reached";
    EXPECT_EQ(PathOf(root[0]), link);
    EXPECT_EQ(PathOf(root[1]), g_held);
    const MenuItems away = ItemsOf(root[1].submenu);
    ASSERT_EQ(away.size(), 1u);
    ExpectNone(away[0]);
    FreeMenuData(nullptr, WM_TIMER, kMenuDataTimer, 0);
}

TEST(StartMenu, ItemsAreMeasuredByTheShellsDisplayName) {
    const TempDir dir;
    const std::string named = Folder(dir.File("Wide Name"));
    const std::string link = Link(named + "\\Wide Name.lnk");
    const std::string folderDotLnk = Folder(dir.File("Wide Name.lnk"));
    UniqueMenu menu(CreatePopupMenu());
    BuildStartMenuFrom(menu.get(), K, nullptr, 8, {dir.Path()});
    const MenuItems root = ItemsOf(menu.get());
    ASSERT_EQ(root.size(), 2u);
    const MenuItems inside = ItemsOf(ItemFor(root, named).submenu);
    ASSERT_EQ(inside.size(), 1u);
    ASSERT_EQ(PathOf(inside[0]), link);

    // A shortcut shows without ".lnk", a folder with its whole name.
    EXPECT_EQ(WidthOf(inside[0]), WidthOf(ItemFor(root, named)));
    EXPECT_GT(WidthOf(ItemFor(root, folderDotLnk)), WidthOf(inside[0]));

    MEASUREITEMSTRUCT none{ODT_MENU, 0, K, 7, 7, 0};
    EXPECT_FALSE(MeasureStartMenuItem(nullptr, none));
    EXPECT_EQ(none.itemWidth, 7u);
}

// The user's own programs tree of the prefix, with an entry of this test's
// that goes again however the test ends.
struct ProgramsEntry {
    std::string folder;
    std::string link;
    ProgramsEntry() {
        char programs[MAX_PATH] = "";
        if (!SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE)) return;
        folder = std::string(programs) + "\\Panelry start menu test " +
                 std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
        CreateDirectoryA(folder.c_str(), nullptr);
        link = Link(folder + "\\listed.lnk");
    }
    ~ProgramsEntry() {
        DeleteFileA(link.c_str());
        RemoveDirectoryA(folder.c_str());
    }
};

TEST(StartMenu, BuildStartMenuListsTheUsersProgramsFolder) {
    const ProgramsEntry entry;
    ASSERT_FALSE(entry.folder.empty()) << "the prefix has a programs folder";
    UniqueMenu menu(CreatePopupMenu());
    EXPECT_TRUE(BuildStartMenu(menu.get(), K, nullptr, 1000));
    std::vector<std::string> paths;
    CollectPaths(menu.get(), paths);
    const auto at = std::find(paths.begin(), paths.end(), entry.folder);
    ASSERT_NE(at, paths.end());
    ASSERT_NE(at + 1, paths.end());
    EXPECT_EQ(*(at + 1), entry.link);
    EXPECT_EQ(MenuDataList::Count(), paths.size());
}

TEST(StartMenu, BuildsMeasuresAndDrawsLeaveNoMenuIconOrGdiObjectBehind) {
    const TempDir dir;
    const std::string folder = Folder(dir.File("sub"));
    Folder(folder + "\\empty");
    const std::string link = Link(folder + "\\app.lnk");
    for (int i = 0; i < 10; ++i) Folder(dir.File(("more" + std::to_string(i)).c_str()));

    WindowDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 200, 20));
    SelectedObject canvas(dc.get(), bitmap.get());
    const HGDIOBJ fontBefore = GetCurrentObject(dc.get(), OBJ_FONT);
    const COLORREF textBefore = GetTextColor(dc.get());

    {
        testing_support::HandleCount count;
        ASSERT_TRUE(count.Routed());
        for (int i = 0; i < 100; ++i) {
            UniqueMenu menu(CreatePopupMenu());
            BuildStartMenuFrom(menu.get(), K, nullptr, 4, {dir.Path()});
            const auto data = reinterpret_cast<ULONG_PTR>(link.c_str());
            MEASUREITEMSTRUCT measure{ODT_MENU, 0, K, 0, 0, data};
            EXPECT_TRUE(MeasureStartMenuItem(nullptr, measure));
            const UINT state = i % 2 ? ODS_SELECTED : 0u;
            DRAWITEMSTRUCT draw{ODT_MENU, 0, K, ODA_DRAWENTIRE, state, nullptr, dc.get(),
                                {0, 0, 200, 20}, data};
            EXPECT_TRUE(DrawStartMenuItem(draw));
            const COLORREF back = state ? GetSysColor(COLOR_HIGHLIGHT) : GetBkColor(dc.get());
            EXPECT_EQ(GetPixel(dc.get(), 199, 0), back) << "drawn on the item's background";
        }
        // Each round made the root, twelve folder popups and the overflow's,
        // the look's font, a brush and the shortcut's icon.
        EXPECT_EQ(count.MenusMade(), 100 * 14);
        EXPECT_EQ(count.GdiMade(), 100 * 2);
        EXPECT_EQ(count.IconsMade(), 100);
        EXPECT_LE(count.GdiLive(), 1u) << "only the look's current font";
        EXPECT_EQ(count.IconsLive(), 0u);
        EXPECT_EQ(count.MenusLive(), 0u);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), fontBefore);
    EXPECT_EQ(GetTextColor(dc.get()), textBefore);
    FreeMenuData(nullptr, WM_TIMER, kMenuDataTimer, 0);
}

}  // namespace
