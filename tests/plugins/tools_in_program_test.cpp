// Tools in the real panelry.exe, driven from outside as a user, a
// desktop-wide key or another program would: the tool chosen from the menu
// bar with keys, the settings dialog opened by the desktop-wide key's
// message while a tool's own loop runs, the tools page's OK while the
// launcher panel's menu or open-file dialog is open, the search of a tool
// folder with a link loop in it, and "ウィンドウの追加" pressed by messages
// another process sends.
#include "base/command_kinds.h"
#include "base/messages.h"
#include "commands/command_ids.h"
#include "commands/menu_settings.h"
#include "launcher/icon_slot.h"
#include "plugins/host/host_ids.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/tools_page_ids.h"
#include "settings/profile_hex.h"
#include "settings/settings_ids.h"
#include "tabs/tab_ids.h"
#include "tests/plugins/tool_test_support.h"
#include "tests/support/on_screen.h"
#include "tests/support/panelry_process.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unix_link.h"
#include "tests/support/wait.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

using testing_support::PanelryProcess;
using testing_support::SampleApp;
using testing_support::UnixFolderLink;
using testing_support::WaitUntil;
using testing_support::WindowSpec;
using testing_support::WriteFileText;

namespace {

constexpr DWORD kDeadlineMs = 15000;
// The settings dialog is made once the tools page has searched its folder;
// well beyond the silence after which the hang rescue gives windows back.
constexpr DWORD kSearchDeadlineMs = 30000;

// A shown top-level window of process; any title when title is empty.
HWND ShownWindow(DWORD process, const char* className, const std::string& title = "") {
    const std::vector<HWND> found = testing_support::ShownTopLevelWindows(process, className, title);
    return found.empty() ? nullptr : found.front();
}

// Whether process has a module of file name name loaded; false also when
// its modules cannot be listed (it has ended).
bool HasModule(DWORD process, const char* name) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
        snapshot.release();
        return false;
    }
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot.get(), &entry); more;
         more = Module32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szModule, name) == 0) return true;
    }
    return false;
}

bool OnDesktop(HWND window) { return GetAncestor(window, GA_PARENT) == GetDesktopWindow(); }

class ToolsInProgram : public ::testing::Test {
protected:
    void TearDown() override {
        if (panelry.Running()) {
            EXPECT_EQ(panelry.Close(), 0);
        }
    }

    std::string ToolFolder() const { return panelry.Dir().File(settings_ids::kToolDirDefault); }

    // A delivered tool in the tool folder, registered in slot 0, with the
    // tool list as the menu bar's first popup.
    void Register(const char* tool) {
        ASSERT_TRUE(testing_support::RegisterToolInMenuBar(panelry.Dir().Path(), tool));
    }

    void Start() {
        main = panelry.Start();
        ASSERT_NE(main, nullptr);
        MoveWindow(main, 100, 80, 600, 400, TRUE);
    }

    // The menu bar's first popup opened and its first item chosen with
    // keys, as the keyboard reaches the menu bar (F10, Down, Enter).
    void ChooseFirstTool() {
        PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, 0);
        PostMessageA(main, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(main, WM_KEYDOWN, VK_RETURN, 0);
    }

    HWND Own(const char* className, const std::string& title = "") const {
        return ShownWindow(panelry.ProcessId(), className, title);
    }

    // The settings dialog opened by the message a desktop-wide key sends,
    // once its pages are made (the tree is filled after them); null when it
    // did not get that far.
    HWND OpenSettings(DWORD deadline = kDeadlineMs) {
        PostMessageA(main, PM_HOOKCOMMAND, kSettings, 0);
        HWND dialog = nullptr;
        const auto made = [&] {
            dialog = Own("#32770", "設定");
            // Asked with a limit: the dialog shows before its pages are made,
            // and its thread may never answer.
            DWORD_PTR items = 0;
            return dialog && SendMessageTimeoutA(GetDlgItem(dialog, IDC_SETTINGS_TREE),
                                                 TVM_GETCOUNT, 0, 0, SMTO_NORMAL, 1000, &items) &&
                   items > 0;
        };
        return WaitUntil(made, deadline) ? dialog : nullptr;
    }

    // A list of the tools page: the page of the settings dialog that has
    // both (other pages use the same ids).
    struct ListSearch {
        int id;
        HWND found;
    };
    static HWND ToolsPageList(HWND settings, int id) {
        ListSearch search{id, nullptr};
        EnumChildWindows(settings, &MatchToolsList, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    static BOOL CALLBACK MatchToolsList(HWND window, LPARAM param) {
        auto* s = reinterpret_cast<ListSearch*>(param);
        const HWND page = GetParent(window);
        if (GetDlgCtrlID(window) != s->id || !IsList(window) ||
            !IsList(GetDlgItem(page, IDC_TOOLS_FOUND)) ||
            !IsList(GetDlgItem(page, IDC_TOOLS_REGISTERED))) {
            return TRUE;
        }
        s->found = window;
        return FALSE;
    }
    static bool IsList(HWND window) {
        char className[32] = "";
        GetClassNameA(window, className, sizeof className);
        return lstrcmpiA(className, WC_LISTVIEWA) == 0;
    }

    static int Rows(HWND list) {
        return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    }

    PanelryProcess panelry;
    HWND main = nullptr;
};

// The launcher panel's code is on the stack below the settings dialog (its
// slot's menu, or the open-file dialog of "新規登録"); OK there takes the tool
// out of its slot. The tool must stay loaded while its code runs and its
// panel is open, and go once the panel is closed.
class UnloadUnderTheLauncher : public ToolsInProgram,
                               public ::testing::WithParamInterface<bool> {};

TEST_P(UnloadUnderTheLauncher, OkOnTheToolsPageLeavesTheToolLoadedUntilItsPanelIsClosed) {
    const bool fileDialog = GetParam();
    Register("link.ttl");
    Start();
    ChooseFirstTool();
    HWND panel = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (panel = Own("#32770", "ランチャ")) != nullptr; },
                          kDeadlineMs));
    const HWND slot = FindWindowExA(panel, nullptr, "Static", nullptr);
    ASSERT_NE(slot, nullptr);
    // The slot's menu (a right press), or the file dialog of its "新規登録".
    const char* nestedClass = fileDialog ? "#32770" : "#32768";
    if (fileDialog) {
        PostMessageA(slot, WM_COMMAND, IconSlot::kRegister, 0);
    } else {
        PostMessageA(slot, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    }
    HWND nested = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            nested = Own(nestedClass);
            return nested && nested != panel;
        },
        kDeadlineMs));

    const HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    const HWND registered = ToolsPageList(settings, IDC_TOOLS_REGISTERED);
    ASSERT_NE(registered, nullptr);
    ASSERT_EQ(Rows(registered), 1);
    const HWND page = GetParent(registered);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TOOLS_UNREGISTER, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_TOOLS_UNREGISTER)));
    ASSERT_EQ(Rows(registered), 0);
    PostMessageA(settings, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(settings); }, kDeadlineMs));

    // Back in the tool's loop, which ends now.
    if (fileDialog) {
        PostMessageA(nested, WM_COMMAND, IDCANCEL, 0);
    } else {
        PostMessageA(nested, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(nested) || !panelry.Running(); },
                          kDeadlineMs));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, &answer) &&
                panelry.Running())
        << "the return went into a freed tool";
    EXPECT_TRUE(IsWindow(panel));
    EXPECT_TRUE(HasModule(panelry.ProcessId(), "link.ttl")) << "freed under its open panel";

    PostMessageA(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(panel); }, kDeadlineMs));
    EXPECT_TRUE(WaitUntil([&] { return !HasModule(panelry.ProcessId(), "link.ttl"); },
                          kDeadlineMs));
    EXPECT_TRUE(panelry.Running());
}

INSTANTIATE_TEST_SUITE_P(MenuOrFileDialog, UnloadUnderTheLauncher, ::testing::Bool());

// The tools page searches the tool folder when the settings dialog opens;
// with a link loop in it, or with the folder above the program's as the
// tool folder, it must neither hang nor keep the program silent for as long
// as the hang rescue waits: the captured window stays in its tab.
class SearchOfALoop : public ToolsInProgram, public ::testing::WithParamInterface<const char*> {};

TEST_P(SearchOfALoop, TheSettingsOpenAndNoWindowIsGivenBack) {
    const std::string toolDir = GetParam();
    const std::string loopFolder = toolDir == ".." ? panelry.Dir().Path() : ToolFolder();
    CreateDirectoryA(ToolFolder().c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(testing_support::BuiltFile("testtools", "tool_one.ttl").c_str(),
                          (ToolFolder() + "\\tool_one.ttl").c_str(), FALSE));
    WritePrivateProfileStringA(settings_ids::kSystemSection, settings_ids::kToolDirKey,
                               toolDir.c_str(), panelry.SystemIni().c_str());
    // Two loops: each level of a search that follows them doubles.
    const UnixFolderLink a(loopFolder + "\\a", "."), b(loopFolder + "\\b", ".");
    ASSERT_TRUE(a.Made() && b.Made());
    Start();
    SampleApp app(false);
    const HWND window = app.Open(WindowSpec{});
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);

    const HWND settings = OpenSettings(kSearchDeadlineMs);
    EXPECT_NE(settings, nullptr) << "the search never ended";
    EXPECT_FALSE(OnDesktop(window)) << "the hang rescue gave the window back";
    if (settings && toolDir != "..") {
        EXPECT_EQ(Rows(ToolsPageList(settings, IDC_TOOLS_FOUND)), 1) << "listed once";
    }
    if (settings) PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
}

INSTANTIATE_TEST_SUITE_P(ToolFolder, SearchOfALoop, ::testing::Values("tool", ".."));

// "ウィンドウの追加" pressed by a message another process sends, as
// accessibility tools and automation press buttons: BM_CLICK to the button,
// or the WM_COMMAND itself to the dialog. Either captures every window of
// the chosen class.
class PressedFromOutside : public ToolsInProgram, public ::testing::WithParamInterface<bool> {};

TEST_P(PressedFromOutside, AddTheWindowsCapturesEveryWindowOfTheClass) {
    const bool command = GetParam();
    Register("classadd.ttl");
    WriteFileText(ToolFolder() + "\\classadd.ini",
                  "[STATUS]\r\nCOUNT=1\r\nSELECTED=0\r\n[ITEM 0]\r\nNAME=pressed\r\n"
                  "CLASS=PanelryPressedClass\r\n");
    Start();
    SampleApp app(false);
    WindowSpec form;
    form.className = "PanelryPressedClass";
    const HWND first = app.Open(form);
    const HWND second = app.Open(form);
    ASSERT_TRUE(first && second);

    ChooseFirstTool();
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (dialog = Own("#32770", "追加するウィンドウのクラス名")) != nullptr; },
        kDeadlineMs));
    const HWND button = GetDlgItem(dialog, 1003);
    if (command) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    } else {
        SendMessageA(button, BM_CLICK, 0, 0);
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kDeadlineMs));
    EXPECT_TRUE(WaitUntil([&] { return !OnDesktop(first) && !OnDesktop(second); }, kDeadlineMs))
        << "captured: " << !OnDesktop(first) << !OnDesktop(second);
    const HWND tabs = FindWindowExA(FindWindowExA(main, nullptr, tab_ids::kBaseClass, nullptr),
                                    nullptr, WC_TABCONTROLA, nullptr);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
}

INSTANTIATE_TEST_SUITE_P(ClickOrCommand, PressedFromOutside, ::testing::Bool());

}  // namespace
