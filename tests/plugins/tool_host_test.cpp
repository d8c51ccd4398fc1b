// The tool plug-in host with real plug-in DLLs built by the test suite: what
// a slot accepts, tools.ini with gaps and missing files, the tool list of the
// menus with the plug-ins' answers, the tool command, the window list, and
// the search of the tool folder.
#include "plugins/host/tool_slots.h"

#include "base/command_kinds.h"
#include "base/module_path.h"
#include "commands/command_texts.h"
#include "commands/tool_list_menu.h"
#include "plugins/host/host_ids.h"
#include "plugins/host/tool_search.h"
#include "tests/plugins/tool_test_support.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unix_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using testing_support::IdsOf;
using testing_support::IniValue;
using testing_support::ItemsOf;
using testing_support::MenuItems;
using testing_support::PaneTest;
using testing_support::TextsOf;
using testing_support::WriteFileText;

namespace {

std::string BuiltTool(const char* name) { return testing_support::BuiltFile("testtools", name); }

class ToolHostTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        toolFolder_ = settings.Dir().File("tool");
        CreateDirectoryA(toolFolder_.c_str(), nullptr);
        for (const char* name :
             {"tool_one.ttl", "tool_two.ttl", "tool_no_copyright.ttl", "tool_no_selected.ttl"}) {
            ASSERT_TRUE(CopyFileA(BuiltTool(name).c_str(), (toolFolder_ + "\\" + name).c_str(),
                                  FALSE))
                << BuiltTool(name);
        }
    }
    std::string ToolsIni() const { return settings.Dir().File(host_ids::kToolsIni); }
    // A function the test plug-in exports besides the six.
    template <typename Fn>
    Fn Extra(const char* module, const char* name) {
        return reinterpret_cast<Fn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(module), name)));
    }
    MenuItems ToolMenu() {
        UniqueMenu menu(CreatePopupMenu());
        AppendToolList(menu.get());
        return ItemsOf(menu.get());
    }

    std::string toolFolder_;
};

TEST_F(ToolHostTest, ASlotTakesOnlyADllWithAllSixFunctions) {
    ToolSlot slot;
    ASSERT_TRUE(slot.Load("tool_one.ttl"));
    EXPECT_TRUE(slot.IsLoaded());
    EXPECT_STREQ(slot.FileName(), "tool_one.ttl");
    char name[256];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(slot.Name(name, sizeof name), name);
    EXPECT_STREQ(name, "tool_one");
    EXPECT_EQ(slot.Version(), 0x0102);

    for (const char* refused : {"tool_no_copyright.ttl", "tool_no_selected.ttl", "none.ttl"}) {
        EXPECT_FALSE(slot.Load(refused)) << refused;
        EXPECT_FALSE(slot.IsLoaded()) << refused;
        EXPECT_STREQ(slot.FileName(), "") << refused;
        EXPECT_EQ(slot.Version(), 0) << "an empty slot answers 0";
    }
    EXPECT_EQ(GetModuleHandleA("tool_no_copyright.ttl"), nullptr) << "a refused DLL is freed";
}

TEST_F(ToolHostTest, ToolsIniGapsAndMissingFilesLeaveSlotsEmptyAndAreWrittenBackEmpty) {
    WriteFileText(ToolsIni(),
                  "[TOOL PLUGIN PATH]\r\nNo.0=tool_two.ttl\r\nNo.1=\r\nNo.2=tool_one.ttl\r\n"
                  "No.3=gone.ttl\r\nNo.4=tool_no_copyright.ttl\r\n");
    // Given as the program gives it: in the path buffer that finding each
    // plug-in's file reuses.
    LoadToolSlots(ModuleFilePath(host_ids::kToolsIni));
    EXPECT_TRUE(ToolSlots()[0].IsLoaded());
    EXPECT_FALSE(ToolSlots()[1].IsLoaded());
    EXPECT_TRUE(ToolSlots()[2].IsLoaded());
    EXPECT_FALSE(ToolSlots()[3].IsLoaded());
    EXPECT_FALSE(ToolSlots()[4].IsLoaded());

    SaveToolSlots(ToolsIni().c_str());
    EXPECT_EQ(IniValue(ToolsIni(), "TOOL PLUGIN PATH", "No.0"), "tool_two.ttl");
    EXPECT_EQ(IniValue(ToolsIni(), "TOOL PLUGIN PATH", "No.2"), "tool_one.ttl");
    for (const char* key : {"No.1", "No.3", "No.4", "No.15"}) {
        EXPECT_EQ(IniValue(ToolsIni(), "TOOL PLUGIN PATH", key, "(none)"), "") << key;
    }
}

TEST_F(ToolHostTest, TheMenuListsLoadedSlotsInOrderAsThePlugInsAnswer) {
    EXPECT_EQ(TextsOf(ToolMenu()), (std::vector<std::string>{command_texts::kNoToolRegistered}));
    EXPECT_TRUE(ToolMenu()[0].grey);
    EXPECT_EQ(ToolMenu()[0].id, static_cast<UINT>(kToolList));

    ASSERT_TRUE(ToolSlots()[1].Load("tool_two.ttl"));
    ASSERT_TRUE(ToolSlots()[3].Load("tool_one.ttl"));
    using Answer = void(__cdecl*)(int, int);
    Extra<Answer>("tool_one.ttl", "testToolAnswer")(5, 0);
    Extra<Answer>("tool_two.ttl", "testToolAnswer")(0, -3);
    const MenuItems items = ToolMenu();
    EXPECT_EQ(IdsOf(items), (std::vector<UINT>{1 * 32 + 23, 3 * 32 + 23}));
    EXPECT_EQ(TextsOf(items), (std::vector<std::string>{"tool_two", "tool_one"}));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_FALSE(items[0].checked);
    EXPECT_FALSE(items[0].grey) << "any nonzero answer enables";
    EXPECT_TRUE(items[1].checked) << "any nonzero answer checks";
    EXPECT_TRUE(items[1].grey);
}

TEST_F(ToolHostTest, TheToolCommandRunsThePlugInWithTheWindowListAndTheMainWindow) {
    ASSERT_TRUE(ToolSlots()[2].Load("tool_one.ttl"));
    const HWND window = OpenWindow("held");
    ASSERT_TRUE(Add(window));
    using Calls = int(__cdecl*)(int*, HWND*, HWND*);
    const auto calls = Extra<Calls>("tool_one.ttl", "testToolCalls");
    int count = 0;
    HWND first = nullptr, main = nullptr;
    ASSERT_EQ(calls(&count, &first, &main), 0);
    testing_support::ChooseTool(Main(), 2 * 32 + 23);
    EXPECT_EQ(calls(&count, &first, &main), 1);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(first, window);
    EXPECT_EQ(main, Main());
    Command(5 * 32 + 23);  // no such item
    EXPECT_EQ(calls(&count, &first, &main), 1);
}

TEST_F(ToolHostTest, TheWindowListHasOneHandlePerPaneAndIsBuiltAfresh) {
    {
        ActiveWindowList list(Root());
        ASSERT_EQ(list.Count(), 1);
        ASSERT_NE(list.Windows(), nullptr);
        EXPECT_EQ(list.Windows()[0], nullptr) << "a pane without a tab";
    }
    const HWND window = OpenWindow("left");
    ASSERT_TRUE(Add(window));
    ASSERT_TRUE(Root().Split(true));
    ASSERT_NE(Root().Child(), nullptr);
    ActiveWindowList list(Root());
    ASSERT_EQ(list.Count(), 2);
    const CapturedWindow* second = Root().Child()->RecordAt(Root().Child()->Selected());
    EXPECT_EQ(list.Windows()[1], second ? second->Window() : nullptr)
        << "the second belongs to the pane split off";
    EXPECT_TRUE(list.Windows()[0] == window || list.Windows()[1] == window);
}

// Records the paths PM_TOOLFILEFOUND brings.
std::vector<std::string> g_found;
LRESULT CALLBACK FoundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 103) {
        g_found.push_back(reinterpret_cast<const char*>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window that takes the search's reports as the tools page would.
UniqueWindow FoundPage() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FoundProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ToolFoundPage";
    RegisterClassA(&wc);
    g_found.clear();
    return UniqueWindow(CreateWindowExA(0, "ToolFoundPage", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, nullptr, nullptr));
}

TEST_F(ToolHostTest, EnumerationFindsPlugInFilesInTheFolderAndBelowIt) {
    const testing_support::TempDir empty;
    const UniqueWindow page = FoundPage();
    EXPECT_EQ(EnumerateToolFiles(empty.Path().c_str(), page.get(), WM_USER + 103), 0);
    EXPECT_TRUE(g_found.empty());

    const std::string below = toolFolder_ + "\\a\\b";
    CreateDirectoryA((toolFolder_ + "\\a").c_str(), nullptr);
    CreateDirectoryA(below.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(BuiltTool("tool_two.ttl").c_str(), (below + "\\deep.ttl").c_str(), FALSE));
    WriteFileText(below + "\\notes.txt", "not a tool");
    EXPECT_EQ(EnumerateToolFiles(toolFolder_.c_str(), page.get(), WM_USER + 103), 5);
    ASSERT_EQ(g_found.size(), 5u);
    EXPECT_EQ(g_found.back(), below + "\\deep.ttl") << "the files of the folder come first";
    ToolSlot slot;
    EXPECT_TRUE(slot.Load("a\\b\\deep.ttl")) << "loaded by its path below the tool folder";
}

// A link back up (a junction on Windows; under Wine a Unix symbolic link,
// which shows as one) is not followed, and the search goes down eight
// folders at most.
TEST_F(ToolHostTest, TheSearchFollowsNoLinkAndGoesDownEightFoldersAtMost) {
    const testing_support::UnixFolderLink back(toolFolder_ + "\\back", ".");
    ASSERT_TRUE(back.Made());
    std::string folder = toolFolder_;
    for (int depth = 1; depth <= kToolSearchDepth + 1; ++depth) {
        folder += "\\d";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << depth;
        WriteFileText(folder + "\\deep.ttl", "found by name only");
    }
    const UniqueWindow page = FoundPage();
    EXPECT_EQ(EnumerateToolFiles(toolFolder_.c_str(), page.get(), WM_USER + 103),
              4 + kToolSearchDepth);
    ASSERT_FALSE(g_found.empty());
    EXPECT_EQ(g_found.back(), folder.substr(0, folder.size() - 2) + "\\deep.ttl");
    EXPECT_EQ(std::count_if(g_found.begin(), g_found.end(),
                            [](const std::string& path) {
                                return path.find("\\back") != std::string::npos;
                            }),
              0);
}

}  // namespace
