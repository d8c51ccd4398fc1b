// The real panelry.exe: one instance only, and its settings written at close.
#include "base/command_kinds.h"
#include "base/handles.h"
#include "base/messages.h"
#include "commands/command_ids.h"
#include "settings/profile_hex.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tabs/tab_ids.h"
#include "tests/support/panelry_process.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"
#include "tests/support/window_snapshot.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

using testing_support::ExpectSameSnapshot;
using testing_support::FileExists;
using testing_support::MainWindowOf;
using testing_support::PanelryProcess;
using testing_support::PumpFor;
using testing_support::SampleApp;
using testing_support::TakeSnapshot;
using testing_support::WaitForExit;
using testing_support::WaitUntil;
using testing_support::WindowSnapshot;
using testing_support::WindowSpec;

namespace {

// Windows created by one process, seen through window events.
std::set<HWND> g_created;

void CALLBACK OnCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                        DWORD) {
    if (object == OBJID_WINDOW && child == CHILDID_SELF) g_created.insert(window);
}

// A window of app opened as form and given to the running program, as any
// process may give it one.
HWND OpenAndCapture(SampleApp& app, HWND main, const WindowSpec& form = WindowSpec{}) {
    const HWND window = app.Open(form);
    EXPECT_NE(window, nullptr) << form.title;
    EXPECT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1)
        << form.title;
    return window;
}

// Another process's request is not the user's: the window goes into a tab
// and Panelry comes up, but the window the user works in keeps the keyboard.
// Once the user is at Panelry, a capture takes the focus as before.
TEST(Program, ACaptureAnotherProcessAsksForLeavesTheForegroundWhereTheUserIs) {
    PanelryProcess panelry;
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    SampleApp app;
    WindowSpec form;
    form.title = "in use";
    const HWND inUse = app.Open(form);
    form.title = "given";
    const HWND given = app.Open(form);
    ASSERT_TRUE(inUse && given);
    SetForegroundWindow(inUse);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == inUse; }));

    ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(given)), 1);
    EXPECT_NE(GetAncestor(given, GA_PARENT), GetDesktopWindow());
    PumpFor(200);  // a late activation would show by now
    // Windows leaves the window in use in front. Wine's SetParent activates
    // the window it moves (which has no WS_CHILD), so there the keyboard goes
    // to that window of the same application. Panelry's own window is not
    // activated either way.
    const HWND front = GetForegroundWindow();
    EXPECT_TRUE(front == inUse || front == given) << front;
    bool raised = false;  // above the window in use
    for (HWND below = GetWindow(main, GW_HWNDNEXT); below && !raised;
         below = GetWindow(below, GW_HWNDNEXT)) {
        raised = below == inUse;
    }
    EXPECT_TRUE(raised);

    SetForegroundWindow(main);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }));
    form.title = "given while at Panelry";
    const HWND next = OpenAndCapture(app, main, form);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(WaitUntil([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) &&
               info.hwndFocus == next;
    }));
    panelry.Close();
}

TEST(Program, ClosingWritesThePlacementAndExitsWithZero) {
    PanelryProcess panelry;
    HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    MoveWindow(main, 30, 40, 500, 350, TRUE);
    EXPECT_EQ(panelry.Close(), 0);
    WINDOWPLACEMENT p{};
    ASSERT_TRUE(profile_hex::ReadStruct(panelry.SystemIni().c_str(), settings_ids::kSystemSection,
                                        settings_ids::kPlacementKey, &p, sizeof p));
    EXPECT_EQ(p.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(p.rcNormalPosition.left, 30);
    EXPECT_EQ(p.rcNormalPosition.right, 530);
}

TEST(Program, TheEndOfTheSessionGivesEveryWindowBackAndWritesTheSettings) {
    PanelryProcess panelry;
    HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    SampleApp app;
    std::vector<HWND> windows;
    std::vector<WindowSnapshot> before;
    for (int i = 0; i < 3; ++i) {
        WindowSpec form;
        form.title = "session " + std::to_string(i);
        form.x = 100 + 40 * i;
        form.y = 120 + 30 * i;
        form.show = i == 1 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        const HWND window = app.Open(form);
        ASSERT_NE(window, nullptr);
        before.push_back(TakeSnapshot(app, window));
        ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);
        windows.push_back(window);
    }
    ASSERT_FALSE(FileExists(panelry.SystemIni())) << "nothing written before the end";

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    10000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the session may end";
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    10000, &answer));
    for (size_t i = 0; i < windows.size(); ++i) {
        EXPECT_EQ(GetAncestor(windows[i], GA_PARENT), GetDesktopWindow()) << i;
        ExpectSameSnapshot(before[i], TakeSnapshot(app, windows[i]));
    }
    EXPECT_TRUE(FileExists(panelry.SystemIni()));
    EXPECT_TRUE(FileExists(panelry.Dir().File(command_ids::kMenuIni)));
    EXPECT_EQ(panelry.Close(), 0);
}

TEST(Program, ClosingAllTabsAsksOneApplicationAtATimeWhilePanelryAnswers) {
    PanelryProcess panelry;
    HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    SampleApp app;
    std::vector<HWND> windows;
    for (const char* title : {"one", "two", "three"}) {
        WindowSpec form;
        form.title = title;
        windows.push_back(OpenAndCapture(app, main, form));
        ASSERT_TRUE(app.AskOnClose(windows.back()));
    }
    PostMessageA(main, WM_COMMAND, kCloseAllTabs, 0);
    for (size_t asked = 0; asked < windows.size(); ++asked) {
        ASSERT_TRUE(WaitUntil([&] { return !app.Questions().empty(); })) << "question " << asked;
        PumpFor(400);  // time enough for a second question, were one asked
        const std::vector<HWND> questions = app.Questions();
        ASSERT_EQ(questions.size(), 1u) << "after " << asked << " answers";
        DWORD_PTR ignored = 0;
        EXPECT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 500, &ignored))
            << "Panelry answers while an application asks";
        SampleApp::Answer(questions[0]);
        ASSERT_TRUE(WaitUntil([&] { return app.Questions().empty(); }));
    }
    for (HWND window : windows) {
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); })) << "closed after its answer";
    }
    EXPECT_EQ(panelry.Close(), 0);
}

TEST(Program, RequestsSentWhileItWaitsForAnApplicationAreCarriedOutAfterwards) {
    PanelryProcess panelry;
    HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    SampleApp app;
    const HWND held = OpenAndCapture(app, main);
    const HWND later = testing_support::OpenHidden(app, "reported while Panelry waits");
    WindowSpec form;
    form.title = "meddler";
    const HWND meddler = app.Open(form);
    ASSERT_TRUE(app.MeddleWithPanelry(meddler, later));

    // While Panelry captures it, the application reports a new window and
    // asks for every tab to close.
    EXPECT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(meddler)), 1);
    EXPECT_TRUE(app.Logged("meddled " + testing_support::HandleText(meddler)));
    EXPECT_TRUE(panelry.Running());
    // The command came after the capture, so it closes both windows.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(held) && !IsWindow(meddler); }));
    // The window reported meanwhile is captured once it shows.
    ASSERT_TRUE(app.Show(later, SW_SHOWNORMAL));
    EXPECT_TRUE(WaitUntil([&] { return GetAncestor(later, GA_PARENT) != GetDesktopWindow(); }));
    const HWND tabs = FindWindowExA(FindWindowExA(main, nullptr, tab_ids::kBaseClass, nullptr),
                                    nullptr, WC_TABCONTROLA, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1; }))
        << "one tab, the reported window's";
    EXPECT_EQ(panelry.Close(), 0);
}

// An answer of 1 given while Panelry waits for another application is a
// promise: the window ends inside even though its application hides it
// before Panelry gets to it, and comes back shown at the end.
TEST(Program, AWindowPromisedWhileItWaitsForAnApplicationEndsInside) {
    PanelryProcess panelry;
    HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    SampleApp app;
    WindowSpec form;
    form.title = "offered";
    const HWND offered = app.Open(form);
    form.title = "offering";
    const HWND offering = app.Open(form);
    ASSERT_TRUE(app.OfferOnNextMove(offering, offered));

    EXPECT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(offering)), 1);
    const std::string promise = "offered " + testing_support::HandleText(offered) + " 1";
    ASSERT_TRUE(WaitUntil([&] { return app.Logged(promise); })) << "the window was not promised";
    EXPECT_TRUE(WaitUntil([&] { return GetAncestor(offered, GA_PARENT) != GetDesktopWindow(); }));
    EXPECT_EQ(panelry.Close(), 0);
    EXPECT_EQ(GetAncestor(offered, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(IsWindowVisible(offered));
}

TEST(Program, SecondStartShowsTheHiddenFirstAndCreatesNoWindow) {
    PanelryProcess panelry;
    HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    ShowWindow(main, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(main));

    auto second = panelry.StartAnother(true);
    g_created.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr,
                                         OnCreated, second.processId, 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    ResumeThread(second.thread.get());
    EXPECT_EQ(WaitForExit(second.process.get(), 15000), 0);
    PumpFor(300);  // late window events would arrive by now
    UnhookWinEvent(hook);
    EXPECT_TRUE(g_created.empty()) << g_created.size() << " window(s) created";

    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(panelry.Running());
    EXPECT_EQ(panelry.Close(), 0);
}

TEST(Program, ASecondStartWhileTheFirstHangsEndsAtOnce) {
    PanelryProcess panelry;
    HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    ShowWindow(main, SW_MINIMIZE);  // to the notification area: the second start shows it
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    // The first instance's user-interface thread stops answering.
    UniqueHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE,
                                   GetWindowThreadProcessId(main, nullptr)));
    ASSERT_TRUE(thread);
    ASSERT_NE(SuspendThread(thread.get()), static_cast<DWORD>(-1));

    auto second = panelry.StartAnother();
    const DWORD start = GetTickCount();
    const int code = WaitForExit(second.process.get(), 10000);
    const DWORD took = GetTickCount() - start;
    ResumeThread(thread.get());
    EXPECT_EQ(code, 0);
    EXPECT_LT(took, 2000u) << "the second start waited for the hung first";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main); })) << "shown once it answers";
    EXPECT_EQ(panelry.Close(), 0);
}

TEST(Program, TwoStartsAtTheSameMomentLeaveOneInstance) {
    PanelryProcess panelry;
    auto first = panelry.StartAnother(true);
    auto second = panelry.StartAnother(true);
    // Whatever the outcome, no instance outlives the test.
    struct EndBoth {
        ~EndBoth() {
            for (HANDLE process : processes) TerminateProcess(process, 1);
        }
        HANDLE processes[2];
    } endBoth{{first.process.get(), second.process.get()}};
    ResumeThread(first.thread.get());
    ResumeThread(second.thread.get());
    const auto ended = [](const PanelryProcess::Launched& p) {
        return WaitForSingleObject(p.process.get(), 0) == WAIT_OBJECT_0;
    };
    ASSERT_TRUE(WaitUntil([&] { return ended(first) != ended(second); }, 20000))
        << "one of the two ends";
    PumpFor(1000);
    const PanelryProcess::Launched& survivor = ended(first) ? second : first;
    const PanelryProcess::Launched& gone = ended(first) ? first : second;
    EXPECT_FALSE(ended(survivor)) << "and the other goes on";
    EXPECT_EQ(WaitForExit(gone.process.get(), 0), 0);
    HWND main = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (main = MainWindowOf(survivor.processId)) != nullptr; }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(survivor.process.get(), 15000), 0);
}

TEST(Program, SecondStartRestoresAMinimisedFirst) {
    PanelryProcess panelry;
    // Minimised but kept on the task bar: the tray option is off.
    SystemData record = DefaultSystemData();
    record.trayOnMinimize = 0;
    profile_hex::WriteStruct(panelry.SystemIni().c_str(), settings_ids::kSystemSection,
                             settings_ids::kStructKey, &record, sizeof record);
    HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));
    ASSERT_TRUE(IsWindowVisible(main));
    auto second = panelry.StartAnother();
    EXPECT_EQ(WaitForExit(second.process.get(), 15000), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main) && IsWindowVisible(main); }));
    EXPECT_EQ(panelry.Close(), 0);
}

TEST(Program, SecondStartBringsTheFirstInstancesDialogForward) {
    PanelryProcess panelry;
    HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    SampleApp app(false);
    WindowSpec dialogSpec;
    dialogSpec.className = "SampleDialog";
    dialogSpec.title = "dialog";
    dialogSpec.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialogSpec.owner = main;  // owned by the first instance's main window, as its dialogs are
    HWND dialog = app.Open(dialogSpec);
    ASSERT_NE(dialog, nullptr);
    SetForegroundWindow(dialog);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
    HWND other = app.Open(WindowSpec{});
    SetForegroundWindow(other);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }));

    auto second = panelry.StartAnother();
    EXPECT_EQ(WaitForExit(second.process.get(), 15000), 0);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
    EXPECT_EQ(panelry.Close(), 0);
}

}  // namespace
