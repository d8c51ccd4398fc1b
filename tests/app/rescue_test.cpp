// Panelry's process fails while it holds real windows of another
// application: it crashes in every way a process can crash, or its
// user-interface thread stops answering. The windows must come back to the
// desktop as they were, their application running on; after a hang that
// ends, Panelry must go on without them. rescue_host.exe is the process that
// fails.
#include "base/handles.h"
#include "base/messages.h"
#include "tabs/captured_window.h"
#include "tabs/tab_ids.h"
#include "tests/support/panelry_process.h"
#include "tests/support/process_start.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unix_link.h"
#include "tests/support/wait.h"
#include "tests/support/window_snapshot.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <commctrl.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

using testing_support::SampleApp;
using testing_support::TempDir;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

constexpr DWORD kCaptureDeadlineMs = 20000;
constexpr DWORD kExitDeadlineMs = 30000;
constexpr int kAbortExitCode = 3;
// Wine destroys the windows a process held within about 200 ms of its end.
constexpr DWORD kWindowsGoAfterMs = 600;

using Snapshot = testing_support::WindowSnapshot;
constexpr auto Take = testing_support::TakeSnapshot;
constexpr auto ExpectSame = testing_support::ExpectSameSnapshot;
constexpr auto TryTake = testing_support::TryTakeSnapshot;
constexpr auto Same = testing_support::SameSnapshot;

bool OnDesktop(HWND window) { return GetAncestor(window, GA_PARENT) == GetDesktopWindow(); }

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1);
}

class RescueTest : public ::testing::Test {
protected:
    // The windows belong to a sample application of width bits.
    explicit RescueTest(int bits = testing_support::kOwnBits) : app(true, "", bits) {}

    void SetUp() override {
        static unsigned counter;
        char name[80];
        std::snprintf(name, sizeof name, "panelry-rescue-go-%lu-%u", GetCurrentProcessId(),
                      ++counter);
        go_.reset(CreateEventA(nullptr, FALSE, FALSE, name));
        ASSERT_TRUE(go_);
        goName_ = name;
    }

    void TearDown() override {
        if (HostRunning()) {
            TerminateProcess(host_.get(), 1);
            WaitForSingleObject(host_.get(), 5000);
        }
        if (HasFailure()) std::printf("host log:\n%s", HostLog().c_str());
    }

    // A window of the sample application with its state as it was before
    // Panelry saw it.
    HWND Open(int x, int y, int width, int height, int show = SW_SHOWNORMAL) {
        WindowSpec form;
        form.title = "held " + std::to_string(windows_.size());
        form.x = x, form.y = y, form.width = width, form.height = height;
        form.show = show;
        const HWND window = app.Open(form);
        EXPECT_NE(window, nullptr);
        windows_.push_back(window);
        before_.push_back(Take(app, window));
        return window;
    }

    // The usual pair: one shown normally, one maximised, at distinct places;
    // or the first alone, the active window of its application.
    void OpenUsual(bool pair = true) {
        Open(120, 130, 400, 300);
        if (pair) Open(150, 90, 350, 250, SW_SHOWMAXIMIZED);
    }

    void StartHost(const std::string& mode, const std::vector<HWND>& capture,
                   const std::vector<HWND>& later = {}, const std::string& extra = "") {
        std::string commandLine = "\"" + OwnFolder() + "rescue_host.exe\" --settings \"" +
                                  dir_.Path() + "\" --log \"" + LogPath() + "\" --go " + goName_ +
                                  " --fail " + mode;
        for (HWND window : capture)
            commandLine += " --capture " + testing_support::HandleText(window);
        for (HWND window : later) commandLine += " --later " + testing_support::HandleText(window);
        if (!extra.empty()) commandLine += " " + extra;
        testing_support::StartedProcess started =
            testing_support::StartProcess(commandLine, 0, dir_.Path().c_str());
        ASSERT_TRUE(started) << "error " << started.error;
        host_ = std::move(started.process);
        hostId_ = started.processId;
    }

    // Held by the host: a child of one of its windows.
    bool HeldByHost(HWND window) const {
        const HWND parent = GetAncestor(window, GA_PARENT);
        DWORD owner = 0;
        GetWindowThreadProcessId(parent, &owner);
        return parent != GetDesktopWindow() && owner == hostId_;
    }

    // Waits until the host holds every window, checks them while they are
    // held, and lets it fail.
    void WaitCapturedThenGo(const std::vector<HWND>& held) {
        ASSERT_TRUE(WaitCaptured());
        for (HWND window : held) {
            ASSERT_TRUE(HeldByHost(window));
            const Snapshot& before = before_[Index(window)];
            // Without its frame; shown, hidden and sized by its pane.
            const LONG style = GetWindowLongA(window, GWL_STYLE);
            const LONG paneDecides = WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE;
            EXPECT_EQ(style & CapturedWindow::kRemovedStyles, 0);
            EXPECT_EQ(style & ~paneDecides, before.style & ~CapturedWindow::kRemovedStyles &
                                                ~paneDecides);
            // Only the system's own WS_EX_WINDOWEDGE follows the frame.
            EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_WINDOWEDGE,
                      before.exStyle | WS_EX_WINDOWEDGE);
        }
        Go();
    }

    bool WaitCaptured() {
        return WaitUntil([&] { return HostLogged("captured") || !HostRunning(); },
                         kCaptureDeadlineMs);
    }

    void Go() { ASSERT_TRUE(SetEvent(go_.get())); }

    bool HostRunning() const {
        return host_ && WaitForSingleObject(host_.get(), 0) == WAIT_TIMEOUT;
    }

    // The host's exit code, or -1000 if it did not end in time.
    long WaitHostExit() {
        if (!WaitUntil([&] { return !HostRunning(); }, kExitDeadlineMs)) return -1000;
        DWORD code = 0;
        GetExitCodeProcess(host_.get(), &code);
        return static_cast<long>(code);
    }

    // Ended with code, and given time to take with it any window it held.
    void ExpectHostEndedWith(long code) {
        EXPECT_EQ(WaitHostExit(), code);
        testing_support::PumpFor(kWindowsGoAfterMs);
    }

    // Alive, on the desktop, exactly as before the capture.
    void ExpectGivenBack(HWND window) {
        SCOPED_TRACE("window " + std::to_string(Index(window)));
        ASSERT_TRUE(IsWindow(window));
        EXPECT_TRUE(OnDesktop(window));
        ExpectSame(before_[Index(window)], Take(app, window));
    }

    // For the watchdog, which works while the test looks: every step done.
    // The cheap signs first; the application is asked only at the end.
    bool AllGivenBack(const std::vector<HWND>& windows) {
        for (HWND window : windows) {
            const Snapshot& before = before_[Index(window)];
            Snapshot now{};
            if (!IsWindow(window) || !OnDesktop(window) ||
                GetWindowLongA(window, GWL_STYLE) != before.style ||
                IsZoomed(window) != before.zoomed || !TryTake(app, window, &now) ||
                !Same(before, now)) {
                return false;
            }
        }
        return true;
    }

    void ExpectAllGivenBack() {
        for (HWND window : windows_) ExpectGivenBack(window);
        EXPECT_TRUE(app.Running());
    }

    void CrashAndExpectRescue(const std::string& mode, long expectedExit, bool pair = true) {
        OpenUsual(pair);
        StartHost(mode, windows_);
        WaitCapturedThenGo(windows_);
        if (HasFatalFailure()) return;
        // Dies of the failure it was given, not of anything the rescue did.
        ExpectHostEndedWith(expectedExit);
        ExpectAllGivenBack();
    }

    std::string LogPath() const { return dir_.File("host.log"); }
    std::string HostLog() const { return testing_support::ReadFileText(LogPath()); }
    bool HostLogged(const std::string& line) const {
        std::istringstream text(HostLog());
        for (std::string logged; std::getline(text, logged);) {
            if (!logged.empty() && logged.back() == '\r') logged.pop_back();
            if (logged == line) return true;
        }
        return false;
    }
    size_t Index(HWND window) const {
        for (size_t i = 0; i < windows_.size(); ++i) {
            if (windows_[i] == window) return i;
        }
        return 0;
    }

    SampleApp app;
    TempDir dir_;
    UniqueHandle go_;
    std::string goName_;
    UniqueHandle host_;
    DWORD hostId_ = 0;
    std::vector<HWND> windows_;
    std::vector<Snapshot> before_;
};

TEST_F(RescueTest, AnAccessViolationGivesEveryWindowBack) {
    CrashAndExpectRescue("access-violation", static_cast<long>(EXCEPTION_ACCESS_VIOLATION));
}

// The windows of a 32-bit and of a 64-bit application alike.
class RescueOfEitherWidth : public RescueTest, public ::testing::WithParamInterface<int> {
protected:
    RescueOfEitherWidth() : RescueTest(Runnable(GetParam())) {}
    void SetUp() override {
        const std::string why = testing_support::SampleAppUnavailable(GetParam());
        if (!why.empty()) GTEST_SKIP() << why;
        RescueTest::SetUp();
    }
    static int Runnable(int bits) {
        return testing_support::SampleAppUnavailable(bits).empty() ? bits
                                                                   : testing_support::kOwnBits;
    }
};

TEST_P(RescueOfEitherWidth, AStackOverflowGivesEveryWindowBack) {
    CrashAndExpectRescue("stack-overflow", static_cast<long>(EXCEPTION_STACK_OVERFLOW));
}

INSTANTIATE_TEST_SUITE_P(Applications, RescueOfEitherWidth, testing_support::kBothWidths,
                         testing_support::WidthName);

TEST_F(RescueTest, StdTerminateGivesEveryWindowBack) {
    CrashAndExpectRescue("terminate", kAbortExitCode);
}

TEST_F(RescueTest, AbortGivesEveryWindowBack) {
    CrashAndExpectRescue("abort", kAbortExitCode);
}

// In this statically linked program the pure function's slot is empty (the
// runtime's __cxa_pure_virtual is only weakly referenced), so the call is
// an access violation at address 0 rather than std::terminate.
TEST_F(RescueTest, APureVirtualCallGivesEveryWindowBack) {
    CrashAndExpectRescue("pure-virtual", static_cast<long>(EXCEPTION_ACCESS_VIOLATION));
}

// A window alone in its application and the active one: taken off its
// parent it is hidden, and its application hands the activation on.
TEST_F(RescueTest, AnActiveWindowAloneInItsApplicationComesBackFromACrash) {
    CrashAndExpectRescue("abort", kAbortExitCode, false);
}

TEST_F(RescueTest, AnActiveWindowAloneInItsApplicationComesBackFromAStuckThread) {
    const HWND window = Open(120, 130, 400, 300, SW_SHOWMAXIMIZED);
    StartHost("stuck", windows_);
    WaitCapturedThenGo(windows_);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(WaitUntil([&] { return AllGivenBack(windows_); }, 15000));
    ExpectAllGivenBack();
    // Its application was not held up on the way: it answers.
    EXPECT_TRUE(app.SetTitle(window, "answering"));
}

TEST_F(RescueTest, AStuckUserInterfaceThreadGivesItsWindowsBack) {
    OpenUsual();
    StartHost("stuck", windows_);
    WaitCapturedThenGo(windows_);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(WaitUntil([&] { return AllGivenBack(windows_); }, 15000));
    EXPECT_TRUE(HostRunning()) << "still stuck";
    ExpectAllGivenBack();
    // Now the user may end it from the task manager: nothing is lost.
    ASSERT_TRUE(TerminateProcess(host_.get(), 1));
    ExpectHostEndedWith(1);
    ExpectAllGivenBack();
}

// A tool plug-in is code the program does not control: its faults and its
// endless loops are the program's as far as the rescue is concerned.
TEST_F(RescueTest, AToolThatFaultsWhenChosenGivesEveryWindowBack) {
    CrashAndExpectRescue("tool-faults", static_cast<long>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(RescueTest, AToolThatFaultsWhileTheToolListIsBuiltGivesEveryWindowBack) {
    CrashAndExpectRescue("tool-faults-in-menu", static_cast<long>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(RescueTest, AToolThatNeverReturnsGivesEveryWindowBack) {
    OpenUsual();
    StartHost("tool-stuck", windows_);
    WaitCapturedThenGo(windows_);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(WaitUntil([&] { return AllGivenBack(windows_); }, 15000));
    EXPECT_TRUE(HostRunning()) << "still inside the tool";
    ExpectAllGivenBack();
    ASSERT_TRUE(TerminateProcess(host_.get(), 1));
    ExpectHostEndedWith(1);
}

TEST_F(RescueTest, ABusySpellOfThreeSecondsKeepsTheWindows) {
    OpenUsual();
    StartHost("busy", windows_);
    WaitCapturedThenGo(windows_);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitUntil([&] { return HostLogged("still running") || !HostRunning(); }, 20000));
    EXPECT_TRUE(HostLogged("kept"));
    for (HWND window : windows_) EXPECT_TRUE(HeldByHost(window)) << "no rescue for a busy spell";
    Go();
    // Closed as usual, it releases them as usual.
    EXPECT_EQ(WaitHostExit(), 0);
    ExpectAllGivenBack();
}

// A folder of the user's programs folder that holds two links back to
// itself, for the test's time: walked blindly, its tree never ends.
class LoopInPrograms {
public:
    LoopInPrograms() {
        char programs[MAX_PATH] = "";
        if (!SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE)) return;
        folder_ = std::string(programs) + "\\Panelry loop " +
                  std::to_string(GetCurrentProcessId());
        made_ = CreateDirectoryA(folder_.c_str(), nullptr) &&
                testing_support::MakeUnixLink(folder_ + "\\a", ".") &&
                testing_support::MakeUnixLink(folder_ + "\\b", ".");
    }
    ~LoopInPrograms() {
        if (!folder_.empty()) testing_support::RemoveUnixTree(folder_);
    }
    LoopInPrograms(const LoopInPrograms&) = delete;
    LoopInPrograms& operator=(const LoopInPrograms&) = delete;
    bool Made() const { return made_; }

private:
    std::string folder_;
    bool made_ = false;
};

TEST_F(RescueTest, TheStartMenuOverALoopingProgramsFolderShowsAndKeepsTheWindows) {
    const LoopInPrograms loop;
    ASSERT_TRUE(loop.Made());
    OpenUsual();
    StartHost("start-menu", windows_);
    WaitCapturedThenGo(windows_);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitUntil([&] { return HostLogged("still running") || !HostRunning(); }, 40000));
    EXPECT_TRUE(HostLogged("menu shown"));
    EXPECT_TRUE(HostLogged("kept"));
    for (HWND window : windows_) EXPECT_TRUE(HeldByHost(window)) << "no rescue for a menu";
    Go();
    EXPECT_EQ(WaitHostExit(), 0);
    ExpectAllGivenBack();
}

TEST_F(RescueTest, TheSettingsDialogOpenForLongerThanAHangKeepsTheWindows) {
    OpenUsual();
    StartHost("settings-open", windows_);
    WaitCapturedThenGo(windows_);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitUntil([&] { return HostLogged("still running") || !HostRunning(); }, 40000));
    EXPECT_TRUE(HostLogged("settings closed"));
    EXPECT_TRUE(HostLogged("kept"));
    for (HWND window : windows_) EXPECT_TRUE(HeldByHost(window)) << "no rescue for a dialog";
    Go();
    EXPECT_EQ(WaitHostExit(), 0);
    ExpectAllGivenBack();
}

TEST_F(RescueTest, AfterAHangThatEndsTheRescuedTabsGoAndPanelryGoesOn) {
    OpenUsual();
    const std::vector<HWND> rescued = windows_;
    const HWND later0 = Open(300, 200, 320, 240);
    const HWND later1 = Open(340, 240, 300, 220);
    StartHost("hang-then-recover", rescued, {later0, later1});
    WaitCapturedThenGo(rescued);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(WaitUntil([&] { return AllGivenBack(rescued); }, 15000));
    ASSERT_TRUE(WaitUntil([&] { return HostLogged("still running") || !HostRunning(); }, 30000));
    EXPECT_TRUE(HostLogged("worked"));
    // The rescued windows were left alone once given back; the later ones
    // were captured, switched and released as usual.
    ExpectAllGivenBack();
    Go();
    EXPECT_EQ(WaitHostExit(), 0);
    ExpectAllGivenBack();
}

TEST_F(RescueTest, AWindowReleasedBeforeACrashIsNotTouchedByTheRescue) {
    OpenUsual();
    StartHost("access-violation", windows_, {}, "--release-first");
    ASSERT_TRUE(WaitCaptured());
    const HWND released = windows_[0];
    ASSERT_TRUE(OnDesktop(released));
    ASSERT_TRUE(HeldByHost(windows_[1]));
    // Its user moves it and gives it a narrower frame.
    MoveWindow(released, 500, 420, 260, 190, TRUE);
    SetWindowLongA(released, GWL_STYLE, GetWindowLongA(released, GWL_STYLE) & ~WS_MAXIMIZEBOX);
    SetWindowPos(released, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const Snapshot moved = Take(app, released);
    ASSERT_EQ(moved.normal.left, 500);
    Go();
    ExpectHostEndedWith(static_cast<long>(EXCEPTION_ACCESS_VIOLATION));
    ASSERT_TRUE(IsWindow(released));
    EXPECT_TRUE(OnDesktop(released));
    ExpectSame(moved, Take(app, released));
    ExpectGivenBack(windows_[1]);
}

// The rescue threads themselves fault (a probe makes them, on their first
// windows): whatever a faulting thread had taken is left, and the others
// still come back; the process still ends with its own failure.
class RescueFaultTest : public RescueTest,
                        public ::testing::WithParamInterface<int> {};

TEST_P(RescueFaultTest, AFaultingRescueThreadLeavesOnlyItsWindowBehind) {
    const int faults = GetParam();
    Open(100, 100, 300, 200);
    Open(160, 140, 320, 220, SW_SHOWMAXIMIZED);
    Open(220, 180, 340, 240);
    StartHost("abort", windows_, {}, "--rescue-faults " + std::to_string(faults));
    WaitCapturedThenGo(windows_);
    if (HasFatalFailure()) return;
    EXPECT_EQ(WaitHostExit(), kAbortExitCode);
    auto lost = [&] {
        int count = 0;
        for (HWND window : windows_) count += IsWindow(window) ? 0 : 1;
        return count;
    };
    // A window still held when the process ended goes with it.
    EXPECT_TRUE(WaitUntil([&] { return lost() >= faults; }, 5000));
    testing_support::PumpFor(kWindowsGoAfterMs);
    EXPECT_EQ(lost(), faults) << "each fault costs the window it was at, and only that one";
    for (HWND window : windows_) {
        if (IsWindow(window)) ExpectGivenBack(window);
    }
    EXPECT_TRUE(app.Running());
}

INSTANTIATE_TEST_SUITE_P(SpareThenNewThread, RescueFaultTest, ::testing::Values(1, 2));

}  // namespace

// The real program's user-interface thread frozen from outside while it
// holds a normal and a maximised window: the watchdog gives both back in
// their show state and place, round after round.
TEST(RescueOfTheProgram, AFrozenThreadGivesEveryWindowBackInItsShowState) {
    testing_support::PanelryProcess panelry;
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);
    const HWND tabs = FindWindowExA(FindWindowExA(main, nullptr, tab_ids::kBaseClass, nullptr),
                                    nullptr, WC_TABCONTROLA, nullptr);
    SampleApp app(false);
    UniqueHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE,
                                   GetWindowThreadProcessId(main, nullptr)));
    ASSERT_TRUE(thread);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        WindowSpec form;
        form.x = 140 + 10 * round;
        const HWND normal = app.Open(form);
        form.show = SW_SHOWMAXIMIZED;
        const HWND maximised = app.Open(form);
        RECT normalRect{};
        GetWindowRect(normal, &normalRect);
        for (HWND window : {normal, maximised}) {
            ASSERT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);
        }
        ASSERT_NE(SuspendThread(thread.get()), static_cast<DWORD>(-1));
        const bool back = WaitUntil([&] {
            RECT now{};
            GetWindowRect(normal, &now);
            return OnDesktop(normal) && OnDesktop(maximised) && IsWindowVisible(normal) &&
                   IsZoomed(maximised) && !IsZoomed(normal) && EqualRect(&now, &normalRect);
        }, 30000);
        ResumeThread(thread.get());
        ASSERT_TRUE(back) << "zoomed " << IsZoomed(maximised) << ", normal at its place "
                          << OnDesktop(normal);
        ASSERT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 0; }));
        app.Destroy(normal);
        app.Destroy(maximised);
    }
    EXPECT_EQ(panelry.Close(), 0);
}
