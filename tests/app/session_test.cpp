// The last session brought back by the real program: windows of the sample
// application in two panes, Panelry closed and the application ended, and at
// the next start the application started again and its windows back in the
// same panes, in the same order, with the same tabs selected. Running
// windows are taken instead of starting anything; what cannot come back is
// told in one notice; with the option off nothing starts.
#include "app/app_ids.h"
#include "base/command_kinds.h"
#include "base/messages.h"
#include "base/wide_text.h"
#include "settings/dialog/behaviour_page_ids.h"
#include "settings/session_file.h"
#include "settings/settings_ids.h"
#include "tabs/captured_window.h"
#include "plugins/host/host_ids.h"
#include "tabs/tab_ids.h"
#include "tests/plugins/tool_test_support.h"
#include "tests/support/panelry_process.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"
#include "tests/support/window_snapshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using testing_support::PanelryProcess;
using testing_support::PumpFor;
using testing_support::SampleApp;
using testing_support::EndSampleApps;
using testing_support::SampleAppPath;
using testing_support::SampleAppsWithToken;
using testing_support::WaitUntil;

namespace {

constexpr char kClass[] = "PanelrySession";

// The program's panes seen from outside: the root pane's windows, then its
// split-off pane's (null while there is none).
struct Pane {
    HWND base = nullptr;
    HWND tabs = nullptr;
    HWND area = nullptr;
};

Pane PaneIn(HWND parent) {
    Pane pane;
    pane.base = FindWindowExA(parent, nullptr, tab_ids::kBaseClass, nullptr);
    if (!pane.base) return pane;
    pane.tabs = FindWindowExA(pane.base, nullptr, WC_TABCONTROLA, nullptr);
    pane.area = pane.tabs ? FindWindowExA(pane.tabs, nullptr, tab_ids::kDisplayAreaClass, nullptr)
                          : nullptr;
    return pane;
}

int TabCount(const Pane& pane) {
    return pane.tabs ? static_cast<int>(SendMessageA(pane.tabs, TCM_GETITEMCOUNT, 0, 0)) : -1;
}

int Selected(const Pane& pane) {
    return static_cast<int>(SendMessageA(pane.tabs, TCM_GETCURSEL, 0, 0));
}

// The window of a pane's area titled title, or null.
HWND HeldIn(const Pane& pane, const std::string& title) {
    return pane.area ? FindWindowExA(pane.area, nullptr, kClass, title.c_str()) : nullptr;
}

// The texts of the pane's tabs in order, read in the program's process
// (the item and its text have to lie there).
std::vector<std::string> Order(const Pane& pane) {
    std::vector<std::string> order;
    DWORD processId = 0;
    GetWindowThreadProcessId(pane.tabs, &processId);
    const HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return order;
    constexpr SIZE_T kTextSize = 256;
    auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(TCITEMA) + kTextSize,
                                                     MEM_COMMIT, PAGE_READWRITE));
    for (int tab = 0; remote && tab < TabCount(pane); ++tab) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = remote + sizeof(TCITEMA);
        item.cchTextMax = kTextSize;
        char text[kTextSize] = "";
        SIZE_T done = 0;
        if (WriteProcessMemory(process, remote, &item, sizeof item, &done) &&
            SendMessageA(pane.tabs, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(remote)) &&
            ReadProcessMemory(process, remote + sizeof(TCITEMA), text, kTextSize - 1, &done)) {
            order.push_back(text);
        }
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return order;
}

std::string Arguments(const std::vector<std::string>& titles) {
    std::string arguments;
    for (const std::string& title : titles) arguments += " --open \"" + std::string(kClass) + ":" + title + "\"";
    return arguments;
}

// An entry for a window the sample application opens when started with
// commandLine.
SessionEntry EntryFor(const std::string& path, const std::string& commandLine,
                      const std::string& title, int pane = 0, int process = 0) {
    SessionEntry entry;
    entry.path = Widened(path.c_str());
    entry.commandLine = Widened(commandLine.c_str());
    entry.className = Widened(kClass);
    entry.title = Widened(title.c_str());
    entry.pane = pane;
    entry.process = process;
    return entry;
}

void TurnOptionOn(const PanelryProcess& panelry) {
    ASSERT_TRUE(WriteSession(panelry.Dir().File(settings_ids::kSessionIni), true, nullptr));
}

std::vector<HWND> NoticesOf(DWORD processId) {
    std::vector<HWND> notices;
    for (HWND w = FindWindowExA(nullptr, nullptr, app_ids::kNoticeClass, nullptr); w;
         w = FindWindowExA(nullptr, w, app_ids::kNoticeClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId && IsWindowVisible(w)) notices.push_back(w);
    }
    return notices;
}

std::string TextOf(HWND window) {
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The token of a sample application started by a command line of ours.
std::string TokenArgument(const std::string& token) { return " --token " + token; }

std::string UniqueToken(const char* what) {
    return std::string("panelry-session-") + what + "-" + std::to_string(GetCurrentProcessId());
}

// The command line that starts the sample application with token and
// further arguments.
std::string LineWith(const std::string& token, const std::string& arguments) {
    return "\"" + SampleAppPath() + "\"" + TokenArgument(token) + arguments;
}

BOOL CALLBACK FindControl(HWND window, LPARAM search) {
    auto* found = reinterpret_cast<std::pair<int, HWND>*>(search);
    if (GetDlgCtrlID(window) != found->first) return TRUE;
    found->second = window;
    return FALSE;
}

// The control id of the settings dialog of main, once it is open.
HWND SettingsControl(HWND main, int id) {
    PostMessageA(main, WM_COMMAND, kSettings, 0);
    std::pair<int, HWND> found{id, nullptr};
    WaitUntil([&] {
        if (HWND dialog = FindWindowA("#32770", "設定")) {
            EnumChildWindows(dialog, &FindControl, reinterpret_cast<LPARAM>(&found));
        }
        return found.second != nullptr;
    }, 10000);
    return found.second;
}

// Starts Panelry, captures app's window titled title and closes Panelry
// again; the session it wrote, which holds that one window.
void CaptureAndClose(PanelryProcess& panelry, SampleApp& app, const std::string& title,
                     Session* written, HWND* captured = nullptr) {
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = app.Find(kClass, title)) != nullptr; }, 5000));
    if (captured) *captured = window;
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);
    ASSERT_EQ(panelry.Close(), 0);
    ASSERT_TRUE(ReadSession(panelry.Dir().File(settings_ids::kSessionIni), written));
    ASSERT_EQ(written->entries.size(), 1u);
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(SessionRestore, WindowsComeBackToTheirPanesInOrderWithTheirSelection) {
    PanelryProcess panelry;
    TurnOptionOn(panelry);
    const std::vector<std::string> titles = {"復元 一", "復元 二", "復元 三"};
    SampleApp app(false, Arguments(titles));
    std::vector<HWND> windows;
    for (const std::string& title : titles) {
        HWND window = nullptr;
        WaitUntil([&] { return (window = app.Find(kClass, title)) != nullptr; }, 5000);
        ASSERT_NE(window, nullptr) << title;
        windows.push_back(window);
    }
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    for (HWND window : windows) {
        ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);
    }
    // Side by side, the third window across the bar, the first selected on
    // the left: neither the last captured nor the last of its pane.
    SendMessageA(main, WM_COMMAND, kSplitLeftRight, 0);
    Pane left = PaneIn(main);
    SendMessageA(left.base, PM_MOVETAB, 0, 1);
    SendMessageA(left.tabs, TCM_SETCURFOCUS, 0, 0);
    Pane right = PaneIn(left.base);
    ASSERT_EQ(TabCount(left), 2);
    ASSERT_EQ(TabCount(right), 1);
    ASSERT_EQ(Selected(left), 0);
    const DWORD firstProcess = app.ProcessId();

    ASSERT_EQ(panelry.Close(), 0);
    Session written;
    ASSERT_TRUE(ReadSession(panelry.Dir().File(settings_ids::kSessionIni), &written));
    ASSERT_EQ(written.entries.size(), 3u);
    EXPECT_EQ(written.entries[0].title, Widened("復元 一"));
    EXPECT_TRUE(written.entries[0].selected);
    EXPECT_EQ(written.entries[2].pane, 1);
    EXPECT_NE(written.entries[0].commandLine.find(L"--open"), std::wstring::npos)
        << "the command line of the application's process";
    EXPECT_FALSE(written.splitLayout.empty());
    app.End();

    const HWND again = panelry.Start();
    ASSERT_NE(again, nullptr);
    ASSERT_TRUE(app.Reattach(15000)) << "the application started again";
    EXPECT_NE(app.ProcessId(), firstProcess);
    left = PaneIn(again);
    ASSERT_TRUE(WaitUntil([&] {
        right = PaneIn(left.base);
        return TabCount(left) == 2 && TabCount(right) == 1;
    }, 20000)) << TabCount(left) << " " << TabCount(right);
    EXPECT_EQ(Selected(left), 0);
    EXPECT_EQ(Selected(right), 0);
    EXPECT_EQ(Order(left), (std::vector<std::string>{"復元 一", "復元 二"}));
    EXPECT_EQ(Order(right), (std::vector<std::string>{"復元 三"}));
    EXPECT_NE(HeldIn(right, "復元 三"), nullptr);
    EXPECT_TRUE(NoticesOf(panelry.ProcessId()).empty());
    EXPECT_EQ(panelry.Close(), 0);
    app.End();
}

// Entries of a running application's windows take those windows: nothing is
// started for them, the title picks between two windows of one class, and
// the window no entry names stays on the desktop. The entry before it, of
// a class no running window has, starts its program and still lands first.
TEST(SessionRestore, ARunningMatchIsTakenInsteadOfStartingTheProgram) {
    PanelryProcess panelry;
    SampleApp app(false, Arguments({"走る 甲", "走る 乙"}));
    HWND first = nullptr, second = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        first = app.Find(kClass, "走る 甲");
        second = app.Find(kClass, "走る 乙");
        return first && second;
    }, 5000));
    const std::string later = "panelry-session-later-" + std::to_string(GetCurrentProcessId());
    Session session;
    session.entries.push_back(EntryFor(
        SampleAppPath(),
        "\"" + SampleAppPath() + "\"" + TokenArgument(later) + " --open PanelryLater:先", "先",
        0, 0));
    session.entries.back().className = L"PanelryLater";
    session.entries.push_back(EntryFor(SampleAppPath(), app.CommandLine(), "走る 乙", 0, 1));
    ASSERT_TRUE(WriteSession(panelry.Dir().File(settings_ids::kSessionIni), true, &session));

    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    const Pane pane = PaneIn(main);
    ASSERT_TRUE(WaitUntil([&] { return TabCount(pane) == 2; }, 10000));
    EXPECT_EQ(SampleAppsWithToken(later), 1) << "the program of the first entry started";
    EXPECT_EQ(HeldIn(pane, "走る 乙"), second);
    EXPECT_EQ(Order(pane), (std::vector<std::string>{"先", "走る 乙"}));
    EXPECT_EQ(GetAncestor(first, GA_PARENT), GetDesktopWindow()) << "left alone";
    PumpFor(1000);
    EXPECT_EQ(SampleAppsWithToken(app.Token()), 1) << "no second process";
    EXPECT_EQ(TabCount(pane), 2);
    EXPECT_EQ(panelry.Close(), 0);
    EndSampleApps(later);
}

// A deleted program and a window that never comes are skipped and told in
// one notice, which asks nothing; the program waits without stopping, and
// the entry between them comes back.
TEST(SessionRestore, WhatCannotComeBackIsToldOnceAndTheRestIsRestored) {
    PanelryProcess panelry;
    const std::string gonePath = panelry.Dir().File("gone sample.exe");
    ASSERT_TRUE(CopyFileA(SampleAppPath().c_str(), gonePath.c_str(), FALSE));
    const std::string stays = "panelry-session-stays-" + std::to_string(GetCurrentProcessId());
    const std::string late = "panelry-session-late-" + std::to_string(GetCurrentProcessId());
    const std::string staysLine =
        "\"" + SampleAppPath() + "\"" + TokenArgument(stays) + Arguments({"残る"});
    // Started, but with no window of the class.
    const std::string lateLine = "\"" + SampleAppPath() + "\"" + TokenArgument(late);
    Session session;
    session.entries.push_back(EntryFor(gonePath, "\"" + gonePath + "\"" + Arguments({"消えた"}),
                                       "消えた", 0, 0));
    session.entries.push_back(EntryFor(SampleAppPath(), staysLine, "残る", 0, 1));
    session.entries.push_back(EntryFor(SampleAppPath(), lateLine, "来ない", 0, 2));
    ASSERT_TRUE(DeleteFileA(gonePath.c_str()));
    ASSERT_TRUE(WriteSession(panelry.Dir().File(settings_ids::kSessionIni), true, &session));

    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    const Pane pane = PaneIn(main);
    ASSERT_TRUE(WaitUntil([&] { return HeldIn(pane, "残る") != nullptr; }, 10000));
    // While it waits for the last window, the program answers at once.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
    EXPECT_TRUE(NoticesOf(panelry.ProcessId()).empty()) << "told once, at the end";

    std::vector<HWND> notices;
    ASSERT_TRUE(WaitUntil([&] {
        notices = NoticesOf(panelry.ProcessId());
        return !notices.empty();
    }, 25000));
    PumpFor(500);
    notices = NoticesOf(panelry.ProcessId());
    ASSERT_EQ(notices.size(), 1u);
    const std::string text = TextOf(notices[0]);
    EXPECT_NE(text.find("gone sample.exe): プログラムが見つかりません"), std::string::npos) << text;
    EXPECT_NE(text.find("来ない (sampleapp.exe): 15 秒以内にウィンドウが現れませんでした"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("残る"), std::string::npos) << text;
    EXPECT_EQ(GetWindowLongA(notices[0], GWL_EXSTYLE) & WS_EX_NOACTIVATE, WS_EX_NOACTIVATE);
    EXPECT_NE(GetForegroundWindow(), notices[0]);
    EXPECT_EQ(TabCount(pane), 1);

    EXPECT_EQ(panelry.Close(), 0);
    EndSampleApps(stays);
    EndSampleApps(late);
}

// With the option off the file's windows are not looked for and nothing
// is started; the file is kept with the option off and no windows.
TEST(SessionRestore, WithTheOptionOffNothingStarts) {
    PanelryProcess panelry;
    const std::string token = "panelry-session-off-" + std::to_string(GetCurrentProcessId());
    Session session;
    session.entries.push_back(EntryFor(
        SampleAppPath(), "\"" + SampleAppPath() + "\"" + TokenArgument(token) + Arguments({"off"}),
        "off"));
    const std::string ini = panelry.Dir().File(settings_ids::kSessionIni);
    ASSERT_TRUE(WriteSession(ini, false, &session));
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    PumpFor(2000);
    EXPECT_EQ(SampleAppsWithToken(token), 0);
    EXPECT_TRUE(NoticesOf(panelry.ProcessId()).empty());
    EXPECT_EQ(panelry.Close(), 0);
    Session after;
    ASSERT_TRUE(ReadSession(ini, &after));
    EXPECT_TRUE(after.entries.empty());
    RestoreSessionOption() = true;
    LoadRestoreSessionOption(ini);
    EXPECT_FALSE(RestoreSessionOption());
    RestoreSessionOption() = false;
}

// A session that ends writes the tabs before it gives the windows back.
TEST(SessionRestore, TheEndOfTheWindowsSessionWritesTheTabs) {
    PanelryProcess panelry;
    TurnOptionOn(panelry);
    SampleApp app(false, Arguments({"終わり"}));
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = app.Find(kClass, "終わり")) != nullptr; }, 5000));
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    10000, &answer));
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    10000, &answer));
    Session written;
    ASSERT_TRUE(ReadSession(panelry.Dir().File(settings_ids::kSessionIni), &written));
    ASSERT_EQ(written.entries.size(), 1u);
    EXPECT_EQ(written.entries[0].title, Widened("終わり"));
    EXPECT_TRUE(written.entries[0].selected);
    EXPECT_EQ(panelry.Close(), 0);
}

// The windows of 32-bit and of 64-bit applications alike: captured without
// their frame, given back exactly as they were, and written with the
// command line of their process, which starts them again at the next start.
class ApplicationOfEitherWidth : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const std::string why = testing_support::SampleAppUnavailable(GetParam());
        if (!why.empty()) GTEST_SKIP() << why;
    }
};

TEST_P(ApplicationOfEitherWidth, IsCapturedReleasedAndRestoredWithItsCommandLine) {
    PanelryProcess panelry;
    TurnOptionOn(panelry);
    const std::string title = "幅 " + std::to_string(GetParam());
    SampleApp app(true, Arguments({title}), GetParam());
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = app.Find(kClass, title)) != nullptr; }, 5000));
    const auto before = testing_support::TakeSnapshot(app, window);
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);
    EXPECT_EQ(HeldIn(PaneIn(main), title), window);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & CapturedWindow::kRemovedStyles, 0);

    SendMessageA(main, WM_COMMAND, kReleaseTab, 0);
    testing_support::WindowSnapshot after{};
    WaitUntil([&] {
        return GetAncestor(window, GA_PARENT) == GetDesktopWindow() &&
               testing_support::TryTakeSnapshot(app, window, &after) &&
               testing_support::SameSnapshot(before, after);
    }, 5000);
    testing_support::ExpectSameSnapshot(before, after);

    ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);
    ASSERT_EQ(panelry.Close(), 0);
    Session written;
    ASSERT_TRUE(ReadSession(panelry.Dir().File(settings_ids::kSessionIni), &written));
    ASSERT_EQ(written.entries.size(), 1u);
    EXPECT_EQ(_wcsicmp(written.entries[0].path.c_str(),
                       Widened(SampleAppPath(GetParam()).c_str()).c_str()),
              0);
    EXPECT_EQ(written.entries[0].commandLine, Widened(app.CommandLine().c_str()));
    app.End();

    const HWND again = panelry.Start();
    ASSERT_NE(again, nullptr);
    ASSERT_TRUE(app.Reattach(15000)) << "the application started again";
    EXPECT_TRUE(WaitUntil([&] { return HeldIn(PaneIn(again), title) != nullptr; }, 20000));
    EXPECT_EQ(panelry.Close(), 0);
    app.End();
}

INSTANTIATE_TEST_SUITE_P(Widths, ApplicationOfEitherWidth, testing_support::kBothWidths,
                         testing_support::WidthName);

// A program that shows a splash window of the same class first: the splash
// is taken, closes at once, and the entry goes on to the program's window.
TEST(SessionRestore, AWindowThatClosesAtOnceHandsItsEntryToTheNextOne) {
    PanelryProcess panelry;
    const std::string token = UniqueToken("splash");
    Session session;
    session.entries.push_back(EntryFor(
        SampleAppPath(),
        LineWith(token, " --splash \"" + std::string(kClass) + ":起動中\"" + Arguments({"本体"})),
        "本体"));
    ASSERT_TRUE(WriteSession(panelry.Dir().File(settings_ids::kSessionIni), true, &session));
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    const Pane pane = PaneIn(main);
    EXPECT_TRUE(WaitUntil([&] { return HeldIn(pane, "本体") && TabCount(pane) == 1; }, 20000))
        << TabCount(pane);
    EXPECT_TRUE(NoticesOf(panelry.ProcessId()).empty());
    EXPECT_EQ(panelry.Close(), 0);
    EndSampleApps(token);
}

// Windows of Panelry's own process: a tool's window held as a tab is not
// written down (its program is Panelry itself), and the notice is never
// taken as a tab.
TEST(SessionRestore, PanelrysOwnWindowsAreNeverWrittenAndTheNoticeIsNoTab) {
    PanelryProcess panelry;
    CreateDirectoryA(panelry.Dir().File("tool").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(testing_support::BuiltFile("testtools", "tool_window.ttl").c_str(),
                          panelry.Dir().File("tool\\tool_window.ttl").c_str(), FALSE));
    ASSERT_TRUE(WritePrivateProfileStringA(host_ids::kToolsSection, "No.0", "tool_window.ttl",
                                           panelry.Dir().File(host_ids::kToolsIni).c_str()));
    // A program gone since, so that the start shows a notice.
    Session session;
    session.entries.push_back(EntryFor(panelry.Dir().File("gone.exe"), "", "消えた"));
    const std::string ini = panelry.Dir().File(settings_ids::kSessionIni);
    ASSERT_TRUE(WriteSession(ini, true, &session));
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    HWND tool = nullptr;
    std::vector<HWND> notices;
    ASSERT_TRUE(WaitUntil([&] {
        tool = FindWindowA("PanelryToolWindow", nullptr);
        notices = NoticesOf(panelry.ProcessId());
        return tool && !notices.empty();
    }, 10000));
    EXPECT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(notices[0])), 0);
    ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(tool)), 1);
    EXPECT_EQ(TabCount(PaneIn(main)), 1);
    ASSERT_EQ(panelry.Close(), 0);
    Session written;
    ASSERT_TRUE(ReadSession(ini, &written));
    EXPECT_TRUE(written.entries.empty());
}

// The user's own window of the program and class, with another title, is
// not the entry's window: it stays on the desktop, and the program is
// started for the entry.
TEST(SessionRestore, ARunningWindowWithAnotherTitleIsLeftAlone) {
    PanelryProcess panelry;
    SampleApp mine(false, Arguments({"私の文書"}));
    HWND own = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (own = mine.Find(kClass, "私の文書")) != nullptr; }, 5000));
    const std::string token = UniqueToken("other");
    Session session;
    session.entries.push_back(
        EntryFor(SampleAppPath(), LineWith(token, Arguments({"保存した文書"})), "保存した文書"));
    ASSERT_TRUE(WriteSession(panelry.Dir().File(settings_ids::kSessionIni), true, &session));
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    const Pane pane = PaneIn(main);
    EXPECT_TRUE(WaitUntil([&] { return HeldIn(pane, "保存した文書") && TabCount(pane) == 1; },
                          20000))
        << TabCount(pane);
    EXPECT_EQ(GetAncestor(own, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(panelry.Close(), 0);
    EndSampleApps(token);
}

// An application that grants others only a limited query and reading its
// memory, as an elevated one answers this program: its command line, and
// with it its document, is still written.
TEST(SessionRestore, AGuardedApplicationIsWrittenWithItsCommandLine) {
    PanelryProcess panelry;
    TurnOptionOn(panelry);
    SampleApp app(false, " --guard" + Arguments({"守られた文書"}));
    Session written;
    ASSERT_NO_FATAL_FAILURE(CaptureAndClose(panelry, app, "守られた文書", &written));
    EXPECT_EQ(written.entries[0].commandLine, Widened(app.CommandLine().c_str()));
}

// A file this version does not fully understand, as a newer version
// writes it, stays byte for byte: a RESTORE of another value, a key of
// another name.
TEST(SessionRestore, AFileOfAnotherVersionIsKeptAsItIs) {
    for (const wchar_t* text : {L"\xFEFF[SESSION]\r\nRESTORE=2\r\nCOUNT=0\r\n",
                                L"\xFEFF[SESSION]\r\nRESTORE=1\r\nCOUNT=0\r\nSCREENS=2\r\n"}) {
        PanelryProcess panelry;
        const std::string ini = panelry.Dir().File(settings_ids::kSessionIni);
        const std::string bytes(reinterpret_cast<const char*>(text), std::wcslen(text) * 2);
        std::ofstream(ini, std::ios::binary) << bytes;
        ASSERT_NE(panelry.Start(), nullptr);
        EXPECT_EQ(panelry.Close(), 0);
        EXPECT_EQ(Bytes(ini), bytes);
    }
}

// A session.ini that cannot be written (here another program holds it open
// for reading only) is told while the program runs, in the notice, and
// only once however often the writing fails.
TEST(SessionRestore, AFileThatCannotBeWrittenIsToldOnce) {
    PanelryProcess panelry;
    TurnOptionOn(panelry);
    const std::string ini = panelry.Dir().File(settings_ids::kSessionIni);
    const UniqueHandle held(CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    std::vector<HWND> notices;
    ASSERT_TRUE(WaitUntil([&] { return !(notices = NoticesOf(panelry.ProcessId())).empty(); }, 10000));
    const std::string told = TextOf(notices[0]);
    EXPECT_NE(told.find("session.ini に書き込めませんでした"), std::string::npos) << told;
    // The end of the Windows session writes again, and fails again.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    10000, &answer));
    EXPECT_EQ(NoticesOf(panelry.ProcessId()), notices);
    EXPECT_EQ(TextOf(notices[0]), told);
    EXPECT_EQ(panelry.Close(), 0);
}

// A title longer than a tab can show is written whole and compared whole:
// the running window with it is found again, and nothing is started.
TEST(SessionRestore, ALongTitleIsWrittenWholeAndFoundAgain) {
    PanelryProcess panelry;
    TurnOptionOn(panelry);
    const std::string title = "長い題 " + std::string(300, 'x');
    SampleApp app(false, Arguments({title}));
    HWND window = nullptr;
    Session written;
    ASSERT_NO_FATAL_FAILURE(CaptureAndClose(panelry, app, title, &written, &window));
    EXPECT_EQ(written.entries[0].title, Widened(title.c_str()));

    const HWND again = panelry.Start();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return GetAncestor(window, GA_PARENT) != GetDesktopWindow(); },
                          10000));
    EXPECT_EQ(SampleAppsWithToken(app.Token()), 1) << "nothing started";
    EXPECT_EQ(panelry.Close(), 0);
}

// The option switched in the settings is written at once, not only at
// close: a write that fails is then told while the user is there.
TEST(SessionRestore, TheOptionIsWrittenWhenItIsSwitched) {
    PanelryProcess panelry;
    TurnOptionOn(panelry);
    const std::string ini = panelry.Dir().File(settings_ids::kSessionIni);
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    const HWND box = SettingsControl(main, IDC_BEHAVIOUR_RESTORE_SESSION);
    ASSERT_NE(box, nullptr);
    SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(GetAncestor(GetParent(box), GA_ROOT), WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] {
        LoadRestoreSessionOption(ini);
        return !RestoreSessionOption();
    }, 10000));
    EXPECT_TRUE(panelry.Running());
    EXPECT_EQ(panelry.Close(), 0);
    RestoreSessionOption() = false;
}
