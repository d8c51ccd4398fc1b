// The "ツール" page as the user meets it: command 21 of the real main window,
// plug-in files built by the suite copied into the tool folder beside the
// (redirected) executable, the page's two lists and buttons, the message
// boxes it shows, and the slots and tool menu that OK leaves behind.
#include "base/messages.h"
#include "commands/tool_list_menu.h"
#include "plugins/host/tool_modules.h"
#include "plugins/host/tool_slots.h"
#include "settings/dialog/tools_page_ids.h"
#include "tests/plugins/tool_test_support.h"
#include "tests/settings/dialog/dialog_fixture.h"
#include "tests/support/message_box_reader.h"
#include "tests/support/open_menu.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using testing_support::MessageBoxReader;
using testing_support::Press;
using testing_support::SeenBox;
using testing_support::SettingsDialogTest;

namespace {

constexpr char kToolsLabel[] = "ツール";

using Row = std::array<std::string, 4>;  // Name, Copyright, Ver., Path

using testing_support::ListViewText;

std::vector<Row> Rows(HWND page, int id) {
    const HWND list = GetDlgItem(page, id);
    std::vector<Row> rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        rows.push_back({ListViewText(list, row, 0), ListViewText(list, row, 1), ListViewText(list, row, 2),
                        ListViewText(list, row, 3)});
    }
    return rows;
}

std::vector<std::string> Paths(HWND page, int id) {
    std::vector<std::string> paths;
    for (const Row& row : Rows(page, id)) paths.push_back(row[3]);
    return paths;
}

int Selected(HWND page, int id) {
    return static_cast<int>(SendMessageA(GetDlgItem(page, id), LVM_GETNEXTITEM,
                                         static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// The file names the slots hold, "" for an empty slot.
std::vector<std::string> SlotNames() {
    std::vector<std::string> names;
    for (int slot = 0; slot < kToolSlotCount; ++slot) names.push_back(ToolSlots()[slot].FileName());
    return names;
}

std::vector<std::string> Slots(std::vector<std::string> first) {
    first.resize(kToolSlotCount);
    return first;
}

std::vector<std::string> ToolMenuTexts() {
    UniqueMenu menu(CreatePopupMenu());
    AppendToolList(menu.get());
    return testing_support::TextsOf(testing_support::ItemsOf(menu.get()));
}

class ToolsPageTest : public SettingsDialogTest {
protected:
    void SetUp() override {
        SettingsDialogTest::SetUp();
        toolFolder_ = settings.Dir().File("tool");
        ASSERT_TRUE(CreateDirectoryA(toolFolder_.c_str(), nullptr));
    }

    // The suite's plug-in built (tool_one, tool_two, ...) copied into the
    // tool folder as as (a path below it).
    void Install(const char* built, const std::string& as) {
        const std::string target = toolFolder_ + "\\" + as;
        const std::size_t folder = target.find_last_of('\\');
        CreateDirectoryA(target.substr(0, folder).c_str(), nullptr);
        const std::string file = std::string(built) + ".ttl";
        ASSERT_TRUE(CopyFileA(testing_support::BuiltFile("testtools", file.c_str()).c_str(),
                              target.c_str(), FALSE))
            << as;
    }
    // A plug-in loaded into slot whose file is not (or no longer) in the tool
    // folder: a loaded DLL's file cannot be deleted, so it is loaded from
    // another folder, as from a tool folder since renamed.
    void RegisterMissing(int slot, const char* built, const char* as) {
        const std::string old = settings.Dir().File("old");
        CreateDirectoryA(old.c_str(), nullptr);
        const std::string file = std::string(built) + ".ttl";
        ASSERT_TRUE(CopyFileA(testing_support::BuiltFile("testtools", file.c_str()).c_str(),
                              (old + "\\" + as).c_str(), FALSE));
        std::strcpy(ToolFolderName(), "old");
        const bool loaded = ToolSlots()[slot].Load(as);
        std::strcpy(ToolFolderName(), "tool");
        ASSERT_TRUE(loaded) << as;
    }
    void Remove(const std::string& as) {
        ASSERT_TRUE(DeleteFileA((toolFolder_ + "\\" + as).c_str())) << as;
    }

    // The settings dialog open on the tools page, act run on it; act ends
    // the dialog.
    void WithToolsPage(const std::function<void(HWND dialog, HWND page)>& act) {
        ASSERT_TRUE(OpenSettings([&](HWND dialog) {
            act(dialog, ShowPage(dialog, testing_support::kToolsPage, kToolsLabel));
        }));
    }

    std::string toolFolder_;
};

TEST_F(ToolsPageTest, FoundPlugInsAreListedAboveWithTheirDetailsAndNothingElse) {
    Install("tool_one", "tool_one.ttl");
    Install("tool_no_selected", "five_exports.ttl");
    Install("tool_two", "sub\\deep.ttl");
    testing_support::WriteFileText(toolFolder_ + "\\notes.ttl", "not a DLL");
    Install("tool_one", "tool_one.dll");

    std::vector<Row> found, registered;
    std::string folder;
    DWORD style[2] = {}, extended[2] = {};
    std::vector<std::pair<std::string, int>> columns[2];
    WithToolsPage([&](HWND dialog, HWND page) {
        found = Rows(page, IDC_TOOLS_FOUND);
        registered = Rows(page, IDC_TOOLS_REGISTERED);
        folder = Text(page, IDC_TOOLS_FOLDER);
        const int ids[2] = {IDC_TOOLS_FOUND, IDC_TOOLS_REGISTERED};
        for (int i = 0; i < 2; ++i) {
            const HWND list = GetDlgItem(page, ids[i]);
            style[i] = static_cast<DWORD>(GetWindowLongA(list, GWL_STYLE));
            extended[i] = static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
            for (int column = 0;; ++column) {
                char title[64] = "";
                LVCOLUMNA spec{};
                spec.mask = LVCF_TEXT | LVCF_WIDTH;
                spec.pszText = title;
                spec.cchTextMax = sizeof title;
                if (!SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&spec))) break;
                columns[i].emplace_back(title, spec.cx);
            }
        }
        Cancel(dialog);
    });
    EXPECT_EQ(folder, "tool");
    // The files of the folder come before those below it.
    ASSERT_EQ(found.size(), 2u) << "only complete plug-ins with the plug-in extension";
    EXPECT_EQ(found[0], (Row{"tool_one", "test", "1.2", "tool_one.ttl"}));
    EXPECT_EQ(found[1], (Row{"tool_two", "test", "1.2", "sub\\deep.ttl"}));
    EXPECT_TRUE(registered.empty());
    const std::vector<std::pair<std::string, int>> expected = {
        {"Name", 96}, {"Copyright", 64}, {"Ver.", 32}, {"Path", 128}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(columns[i], expected) << i;
        EXPECT_EQ(style[i] & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT)) << i;
        EXPECT_TRUE(style[i] & LVS_SINGLESEL) << i;
        EXPECT_TRUE(extended[i] & LVS_EX_FULLROWSELECT) << i;
    }
    EXPECT_EQ(GetModuleHandleA("tool_one.ttl"), nullptr) << "listing frees each plug-in again";
}

TEST_F(ToolsPageTest, AnEmptyToolFolderListsNothingAndOkUnloadsEveryPlugIn) {
    RegisterMissing(0, "tool_one", "tool_one.ttl");
    RegisterMissing(5, "tool_two", "tool_two.ttl");

    std::vector<Row> found, registered;
    WithToolsPage([&](HWND dialog, HWND page) {
        found = Rows(page, IDC_TOOLS_FOUND);
        registered = Rows(page, IDC_TOOLS_REGISTERED);
        Ok(dialog);
    });
    EXPECT_TRUE(found.empty());
    EXPECT_TRUE(registered.empty());
    EXPECT_EQ(SlotNames(), Slots({}));
    EXPECT_EQ(ToolMenuTexts().size(), 1u) << "only the placeholder of an empty tool list";
}

// Registered rows are those whose path names a loaded slot's file, without
// regard to the case of letters but with double-byte characters as they
// are: "ア" (83 41) and "ヂ" (83 61) differ only in a trail byte that looks
// like a letter.
TEST_F(ToolsPageTest, RegisteredPlugInsStartBelowInTheOrderFoundAndMissingOnesAreDropped) {
    Install("tool_one", "tool_one.ttl");
    Install("tool_two", "Sub\\Deep.ttl");
    Install("tool_two", "ア.ttl");
    Install("tool_one", "ヂ.ttl");
    ASSERT_TRUE(ToolSlots()[2].Load("SUB\\DEEP.TTL"));
    RegisterMissing(4, "tool_faults", "gone.ttl");
    ASSERT_TRUE(ToolSlots()[9].Load("ア.ttl"));

    std::vector<std::string> found, registered;
    int selectedBelow = -2;
    WithToolsPage([&](HWND dialog, HWND page) {
        found = Paths(page, IDC_TOOLS_FOUND);
        registered = Paths(page, IDC_TOOLS_REGISTERED);
        selectedBelow = Selected(page, IDC_TOOLS_REGISTERED);
        Ok(dialog);
    });
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NE(std::find(found.begin(), found.end(), "tool_one.ttl"), found.end());
    EXPECT_NE(std::find(found.begin(), found.end(), "ヂ.ttl"), found.end());
    EXPECT_EQ(registered, (std::vector<std::string>{"ア.ttl", "Sub\\Deep.ttl"}))
        << "the folder's files first, then those below it";
    EXPECT_EQ(selectedBelow, 0);
    EXPECT_EQ(SlotNames(), Slots({"ア.ttl", "Sub\\Deep.ttl"}));
    EXPECT_EQ(ToolMenuTexts(), (std::vector<std::string>{"tool_two", "tool_two"}));
}

TEST_F(ToolsPageTest, ArrowsMoveTheSelectedRowAndOkFillsTheSlotsFromTheTop) {
    Install("tool_one", "tool_one.ttl");
    Install("tool_two", "a\\tool_two.ttl");
    Install("tool_faults", "a\\b\\faults.ttl");

    std::vector<std::string> foundFirst, afterDown, afterUp, foundAfterUp, registered;
    WithToolsPage([&](HWND dialog, HWND page) {
        foundFirst = Paths(page, IDC_TOOLS_FOUND);
        ASSERT_EQ(Selected(page, IDC_TOOLS_FOUND), 0);
        for (int i = 0; i < 3; ++i) Press(page, IDC_TOOLS_REGISTER);
        afterDown = Paths(page, IDC_TOOLS_REGISTERED);
        // Up takes the selected row, the one moved last, back to the top.
        Press(page, IDC_TOOLS_UNREGISTER);
        afterUp = Paths(page, IDC_TOOLS_REGISTERED);
        foundAfterUp = Paths(page, IDC_TOOLS_FOUND);
        // With the upper list empty, down moves nothing.
        Press(page, IDC_TOOLS_REGISTER);
        Press(page, IDC_TOOLS_REGISTER);
        registered = Paths(page, IDC_TOOLS_REGISTERED);
        Ok(dialog);
    });
    ASSERT_EQ(foundFirst, (std::vector<std::string>{"tool_one.ttl", "a\\tool_two.ttl",
                                                    "a\\b\\faults.ttl"}));
    EXPECT_EQ(afterDown, (std::vector<std::string>{"a\\b\\faults.ttl", "a\\tool_two.ttl",
                                                   "tool_one.ttl"}));
    EXPECT_EQ(afterUp, (std::vector<std::string>{"a\\tool_two.ttl", "tool_one.ttl"}));
    EXPECT_EQ(foundAfterUp, (std::vector<std::string>{"a\\b\\faults.ttl"}));
    EXPECT_EQ(registered, afterDown);
    EXPECT_EQ(SlotNames(), Slots(registered));
    // The menu reads the slots when it opens.
    EXPECT_EQ(ToolMenuTexts(), (std::vector<std::string>{"tool_faults", "tool_two", "tool_one"}));
}

TEST_F(ToolsPageTest, TheSeventeenthRegistrationIsRefusedAndUnregisteringStaysPossible) {
    for (int i = 0; i < 17; ++i) Install("tool_one", "t" + std::to_string(100 + i) + ".ttl");

    std::vector<SeenBox> refused;
    std::size_t below16 = 0, above16 = 0, belowAfter = 0, aboveAfter = 0, belowUp = 0,
                belowAgain = 0;
    WithToolsPage([&](HWND dialog, HWND page) {
        for (int i = 0; i < 16; ++i) Press(page, IDC_TOOLS_REGISTER);
        below16 = Paths(page, IDC_TOOLS_REGISTERED).size();
        above16 = Paths(page, IDC_TOOLS_FOUND).size();
        {
            MessageBoxReader reader;
            Press(page, IDC_TOOLS_REGISTER);
            refused = reader.Seen();
        }
        belowAfter = Paths(page, IDC_TOOLS_REGISTERED).size();
        aboveAfter = Paths(page, IDC_TOOLS_FOUND).size();
        Press(page, IDC_TOOLS_UNREGISTER);
        belowUp = Paths(page, IDC_TOOLS_REGISTERED).size();
        Press(page, IDC_TOOLS_REGISTER);
        belowAgain = Paths(page, IDC_TOOLS_REGISTERED).size();
        Ok(dialog);
    });
    EXPECT_EQ(below16, 16u);
    EXPECT_EQ(above16, 1u);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].caption, "Error");
    EXPECT_EQ(refused[0].text, "これ以上ツールは登録できません");
    EXPECT_EQ(belowAfter, 16u) << "nothing moved";
    EXPECT_EQ(aboveAfter, 1u);
    EXPECT_EQ(belowUp, 15u);
    EXPECT_EQ(belowAgain, 16u);
    for (int slot = 0; slot < kToolSlotCount; ++slot) {
        EXPECT_TRUE(ToolSlots()[slot].IsLoaded()) << slot;
    }
}

// A row that does not load on OK is reported with its path and leaves its
// slot to the next row; so is a path too long for a slot to remember, which
// would otherwise be registered under a cut name that finds nothing later.
TEST_F(ToolsPageTest, ARowThatFailsOnOkIsReportedAndTheNextRowTakesItsSlot) {
    const std::string longName = "a\\b\\" + std::string(60, 'x') + ".ttl";
    Install("tool_one", "tool_one.ttl");
    Install("tool_two", "a\\tool_two.ttl");
    Install("tool_one", longName);

    std::vector<std::string> registered;
    std::vector<SeenBox> seen;
    WithToolsPage([&](HWND dialog, HWND page) {
        for (int i = 0; i < 3; ++i) Press(page, IDC_TOOLS_REGISTER);
        registered = Paths(page, IDC_TOOLS_REGISTERED);
        // A plug-in file of the lower list disappears before OK.
        Remove("a\\tool_two.ttl");
        MessageBoxReader reader;
        Ok(dialog);
        seen = reader.Seen();
    });
    ASSERT_EQ(registered,
              (std::vector<std::string>{longName, "a\\tool_two.ttl", "tool_one.ttl"}));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, longName);
    EXPECT_EQ(seen[0].text, "ツールプラグインの読み込みに失敗しました");
    EXPECT_EQ(seen[1].caption, "a\\tool_two.ttl");
    EXPECT_EQ(seen[1].text, "ツールプラグインの読み込みに失敗しました");
    EXPECT_EQ(SlotNames(), Slots({"tool_one.ttl"}));
    EXPECT_EQ(ToolMenuTexts(), (std::vector<std::string>{"tool_one"}));
}

TEST_F(ToolsPageTest, OkTakesTheFolderNameForNextTimeAndCancelChangesNothing) {
    Install("tool_one", "tool_one.ttl");
    Install("tool_two", "tool_two.ttl");
    ASSERT_TRUE(ToolSlots()[3].Load("tool_one.ttl"));

    WithToolsPage([&](HWND dialog, HWND page) {
        Press(page, IDC_TOOLS_REGISTER);
        Press(page, IDC_TOOLS_REGISTER);
        Type(page, IDC_TOOLS_FOLDER, "other");
        Cancel(dialog);
    });
    EXPECT_STREQ(ToolFolderName(), "tool");
    EXPECT_EQ(SlotNames(), Slots({"", "", "", "tool_one.ttl"}));

    // The rows come from the folder the page opened with; the new name is
    // for the next time the folder is searched.
    WithToolsPage([&](HWND dialog, HWND page) {
        Press(page, IDC_TOOLS_REGISTER);
        Type(page, IDC_TOOLS_FOLDER, "plugins");
        Ok(dialog);
    });
    EXPECT_STREQ(ToolFolderName(), "plugins");
    ASSERT_TRUE(ToolSlots()[0].IsLoaded());
    ASSERT_TRUE(ToolSlots()[1].IsLoaded());

    std::vector<std::string> found, registered;
    WithToolsPage([&](HWND dialog, HWND page) {
        found = Paths(page, IDC_TOOLS_FOUND);
        registered = Paths(page, IDC_TOOLS_REGISTERED);
        // Sixteen double-byte characters are 32 bytes: the name keeps the
        // fifteen that fit whole.
        std::string wide;
        for (int i = 0; i < 16; ++i) wide += "表";
        Type(page, IDC_TOOLS_FOLDER, wide);
        Cancel(dialog);
    });
    EXPECT_TRUE(found.empty());
    EXPECT_TRUE(registered.empty());

    std::string wide;
    for (int i = 0; i < 16; ++i) wide += "表";
    WithToolsPage([&](HWND dialog, HWND page) {
        Type(page, IDC_TOOLS_FOLDER, wide);
        Ok(dialog);
    });
    EXPECT_EQ(std::string(ToolFolderName()), wide.substr(0, 30));
}

// OK frees and loads the slots anew, but a plug-in that stays registered
// is never unloaded on the way: its state (here the count of its runs) and
// any window of its own survive. One that is unregistered is freed once
// the program is back between messages of its outermost loop.
TEST_F(ToolsPageTest, APlugInThatStaysRegisteredKeepsItsStateThroughOk) {
    Install("tool_one", "tool_one.ttl");
    Install("tool_two", "tool_two.ttl");
    ASSERT_TRUE(ToolSlots()[0].Load("tool_two.ttl"));
    ASSERT_TRUE(ToolSlots()[1].Load("tool_one.ttl"));
    testing_support::ChooseTool(Main(), 1 * 32 + 23);
    using Calls = int(__cdecl*)(int*, HWND*, HWND*);
    auto runs = [] {
        const HMODULE module = GetModuleHandleA("tool_one.ttl");
        const auto calls = module ? reinterpret_cast<Calls>(reinterpret_cast<void*>(
                                        GetProcAddress(module, "testToolCalls")))
                                  : nullptr;
        int count = 0;
        HWND first = nullptr, main = nullptr;
        return calls ? calls(&count, &first, &main) : -1;
    };
    ASSERT_EQ(runs(), 1);

    std::vector<std::string> registered;
    WithToolsPage([&](HWND dialog, HWND page) {
        registered = Paths(page, IDC_TOOLS_REGISTERED);
        // tool_two out, tool_one stays.
        const int two = registered[0] == "tool_two.ttl" ? 0 : 1;
        ListView_SetItemState(GetDlgItem(page, IDC_TOOLS_REGISTERED), two,
                              LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        Press(page, IDC_TOOLS_UNREGISTER);
        Ok(dialog);
    });
    ASSERT_EQ(registered.size(), 2u);
    EXPECT_EQ(SlotNames(), Slots({"tool_one.ttl"}));
    EXPECT_EQ(runs(), 1) << "the same module, not a fresh load";
    ReleaseRetiredTools();
    EXPECT_EQ(GetModuleHandleA("tool_two.ttl"), nullptr);
    EXPECT_EQ(ToolMenuTexts(), (std::vector<std::string>{"tool_one"}));
}

// The page's own messages as any sender may send them: a file reported from
// outside the tool folder is listed one level up from it; a move names the
// two lists and a row that exists, or it does nothing.
TEST_F(ToolsPageTest, ThePagesMessagesTakeOnlyWhatTheyCanUse) {
    Install("tool_one", "tool_one.ttl");
    const std::string elsewhere = settings.Dir().File("elsewhere");
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(testing_support::BuiltFile("testtools", "tool_two.ttl").c_str(),
                          (elsewhere + "\\two.ttl").c_str(), FALSE));

    std::vector<std::string> found, afterBadMoves, registered;
    WithToolsPage([&](HWND dialog, HWND page) {
        const std::string outside = elsewhere + "\\two.ttl";
        SendMessageA(page, PM_TOOLFILEFOUND, 0, reinterpret_cast<LPARAM>(outside.c_str()));
        SendMessageA(page, PM_TOOLFILEFOUND, 0, 0);
        found = Paths(page, IDC_TOOLS_FOUND);
        SendMessageA(page, PM_TOOLMOVEITEM, MAKEWPARAM(IDC_TOOLS_FOUND, IDC_TOOLS_REGISTERED), -1);
        SendMessageA(page, PM_TOOLMOVEITEM, MAKEWPARAM(IDC_TOOLS_FOUND, IDC_TOOLS_REGISTERED), 2);
        SendMessageA(page, PM_TOOLMOVEITEM, MAKEWPARAM(IDC_TOOLS_FOUND, IDC_TOOLS_FOLDER), 0);
        SendMessageA(page, PM_TOOLMOVEITEM, MAKEWPARAM(IDC_TOOLS_FOUND, IDC_TOOLS_FOUND), 0);
        afterBadMoves = Paths(page, IDC_TOOLS_FOUND);
        SendMessageA(page, PM_TOOLMOVEITEM, MAKEWPARAM(IDC_TOOLS_FOUND, IDC_TOOLS_REGISTERED), 1);
        registered = Paths(page, IDC_TOOLS_REGISTERED);
        Ok(dialog);
    });
    EXPECT_EQ(found, (std::vector<std::string>{"tool_one.ttl", "..\\elsewhere\\two.ttl"}));
    EXPECT_EQ(afterBadMoves, found);
    EXPECT_EQ(registered, (std::vector<std::string>{"..\\elsewhere\\two.ttl"}));
    EXPECT_EQ(SlotNames(), Slots({"..\\elsewhere\\two.ttl"})) << "loaded from where it lies";
}

}  // namespace

// A tool built for the other width cannot be loaded into this program: the
// page lists it so that the user learns why, "↓" says so instead of moving
// it, and a registration of it in tools.ini is skipped as any file that
// will not load. A program of that width is no tool and is not listed.
TEST_F(ToolsPageTest, AToolOfTheOtherWidthIsListedAndRefusedWithItsReason) {
    const int other = testing_support::kOtherBits;
    const std::string tool = "tool_" + std::to_string(other) + "bit.ttl";
    const std::string built = testing_support::BuiltFile("testtools", tool.c_str());
    if (GetFileAttributesA(built.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << built << " was not built: no compiler of the other width";
    }
    ASSERT_TRUE(CopyFileA(built.c_str(), (toolFolder_ + "\\other.ttl").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(testing_support::SampleAppPath(other).c_str(),
                          (toolFolder_ + "\\program.ttl").c_str(), FALSE));

    std::vector<Row> found;
    std::vector<std::string> registered;
    std::vector<SeenBox> seen;
    WithToolsPage([&](HWND dialog, HWND page) {
        found = Rows(page, IDC_TOOLS_FOUND);
        MessageBoxReader reader;
        Press(page, IDC_TOOLS_REGISTER);
        seen = reader.Seen();
        registered = Paths(page, IDC_TOOLS_REGISTERED);
        Ok(dialog);
    });
    const std::string name = "(" + std::to_string(other) + " ビット版用のツール)";
    ASSERT_EQ(found, (std::vector<Row>{{name, "", "", "other.ttl"}}));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "other.ttl");
    EXPECT_EQ(seen[0].text, std::to_string(other) + " ビット版の Panelry 用のツールです。この " +
                                std::to_string(testing_support::kOwnBits) +
                                " ビット版の Panelry では使えません");
    EXPECT_TRUE(registered.empty());
    EXPECT_EQ(SlotNames(), Slots({}));

    const std::string toolsIni = settings.Dir().File("tools.ini");
    testing_support::WriteFileText(toolsIni, "[TOOL PLUGIN PATH]\r\nNo.0=other.ttl\r\n");
    LoadToolSlots(toolsIni.c_str());
    EXPECT_FALSE(ToolSlots()[0].IsLoaded());
}
