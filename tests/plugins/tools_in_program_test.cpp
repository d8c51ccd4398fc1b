// Tools in the real panelry.exe, driven from outside as a user, a
// desktop-wide key or another program would: the settings dialog opened by
// the desktop-wide key's message, and the search of a tool folder with a
// link loop in it.
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
#include "tests/support/panelry_process.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unix_link.h"
#include "tests/support/wait.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <string>

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

struct Found {
    DWORD process;
    std::string className;
    std::string title;
    HWND window;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Found*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = "", title[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (process != search->process || !IsWindowVisible(window) ||
        search->className != className || (!search->title.empty() && search->title != title)) {
        return TRUE;
    }
    search->window = window;
    return FALSE;
}

// A shown top-level window of process; any title when title is empty.
HWND ShownWindow(DWORD process, const char* className, const std::string& title = "") {
    Found search{process, className, title, nullptr};
    EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.window;
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

    void Start() {
        main = panelry.Start();
        ASSERT_NE(main, nullptr);
        MoveWindow(main, 100, 80, 600, 400, TRUE);
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
    static HWND ToolsPageList(HWND settings, int id) {
        struct Search {
            int id;
            HWND found;
        } search{id, nullptr};
        EnumChildWindows(
            settings,
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                const HWND page = GetParent(window);
                if (GetDlgCtrlID(window) != s->id || !IsList(window) ||
                    !IsList(GetDlgItem(page, IDC_TOOLS_FOUND)) ||
                    !IsList(GetDlgItem(page, IDC_TOOLS_REGISTERED))) {
                    return TRUE;
                }
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
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

}  // namespace
