// Capturing real windows of another process and giving them back exactly as
// they were; what a record can tell of its window (gone, shown, hidden).
#include "tabs/captured_window.h"
#include "tabs/process_watch.h"

#include "base/messages.h"
#include "inputtap/inputtap.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sample_app.h"
#include "tests/support/wait.h"
#include "tests/support/window_snapshot.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using testing_support::MessageRecorder;
using testing_support::SampleApp;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

// A frame with two stand-ins for a pane's display area.
class Host {
public:
    HWND Area(int i = 0) const { return areas_[i].Handle(); }

private:
    UniqueWindow frame_{CreateWindowExA(0, "STATIC", "host",
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                        700, 500, nullptr, nullptr, nullptr, nullptr)};
    MessageRecorder areas_[2] = {{WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, frame_.get(), 600, 400},
                                 {WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, frame_.get(), 600, 400}};
};

using Snapshot = testing_support::WindowSnapshot;
constexpr auto Take = testing_support::TakeSnapshot;
constexpr auto ExpectSame = testing_support::ExpectSameSnapshot;

class CapturedWindowTest : public ::testing::Test {
protected:
    void CaptureAndRelease(const WindowSpec& form) {
        const HWND window = app.Open(form);
        ASSERT_NE(window, nullptr);
        const Snapshot before = Take(app, window);

        auto record = std::make_unique<CapturedWindow>(window, host.Area());
        EXPECT_EQ(GetAncestor(window, GA_PARENT), host.Area());
        EXPECT_EQ(GetWindowLongA(window, GWL_STYLE),
                  before.style & ~CapturedWindow::kRemovedStyles);
        // Unchanged by us; the system recomputes WS_EX_WINDOWEDGE with the frame.
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_WINDOWEDGE,
                  before.exStyle | WS_EX_WINDOWEDGE);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(record->SavedStyle(), before.style);

        record->Release();
        EXPECT_EQ(record->Window(), nullptr);
        EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
        ExpectSame(before, Take(app, window));
    }

    SampleApp app;
    Host host;
};

// Normal; maximised, with its normal position; minimised but visible; a
// popup, which runs without its frame.
TEST_F(CapturedWindowTest, WindowsOfEveryFormComeBackAsTheyWere) {
    const struct {
        int x, y, width, height, show;
        DWORD style, exStyle;
    } forms[] = {
        {120, 130, 400, 300, SW_SHOWNORMAL, WS_OVERLAPPEDWINDOW, 0},
        {150, 90, 350, 250, SW_SHOWMAXIMIZED, WS_OVERLAPPEDWINDOW, 0},
        {60, 70, 300, 200, SW_SHOWMINNOACTIVE, WS_OVERLAPPEDWINDOW, 0},
        {200, 210, 260, 180, SW_SHOWNORMAL, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
         WS_EX_TOOLWINDOW},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE("show " + std::to_string(f.show) + ", style " + std::to_string(f.style));
        WindowSpec form;
        form.x = f.x, form.y = f.y, form.width = f.width, form.height = f.height;
        form.show = f.show;
        form.style = f.style;
        form.exStyle = f.exStyle;
        CaptureAndRelease(form);
    }
}

// A task bar at the top and left of the screen: the work area starts below
// and right of the screen's corner, which is where workspace coordinates
// and screen coordinates part.
class ShiftedWorkArea {
public:
    ShiftedWorkArea() {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved_, 0);
        RECT shifted = saved_;
        shifted.left += 50;
        shifted.top += 40;
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &shifted, 0);
        RECT now{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &now, 0);
        applied_ = EqualRect(&now, &shifted) != FALSE;
    }
    ~ShiftedWorkArea() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved_, 0); }
    bool Applied() const { return applied_; }

private:
    RECT saved_{};
    bool applied_ = false;
};

TEST_F(CapturedWindowTest, WindowsComeBackToTheirPlaceWithATaskBarAtTopLeft) {
    ShiftedWorkArea workArea;
    if (!workArea.Applied()) GTEST_SKIP() << "this platform keeps its work area";
    WindowSpec form;
    form.x = 300, form.y = 260, form.width = 320, form.height = 220;
    CaptureAndRelease(form);
    form.show = SW_SHOWMAXIMIZED;
    CaptureAndRelease(form);
    form.show = SW_SHOWMINNOACTIVE;
    CaptureAndRelease(form);
}

// Given back, a window shows first where it belongs, never for a moment
// at the pane's place.
// Touched one right after the other, within a millisecond as a rule: the
// later is still the more recently used.
TEST_F(CapturedWindowTest, ARecordTouchedLaterIsAlwaysTheMoreRecentlyUsed) {
    CapturedWindow first(app.Open(WindowSpec{}), host.Area());
    CapturedWindow second(app.Open(WindowSpec{}), host.Area());
    for (int i = 0; i < 20; ++i) {
        first.Touch();
        second.Touch();
        ASSERT_GT(second.LastActivated(), first.LastActivated()) << i;
    }
}

TEST_F(CapturedWindowTest, AReleasedWindowShowsOnlyInItsPlace) {
    WindowSpec form;
    form.x = 310;
    form.y = 220;
    const HWND window = app.Open(form);
    ASSERT_NE(window, nullptr);
    RECT before{};
    GetWindowRect(window, &before);
    CapturedWindow record(window, host.Area());
    record.Place(RECT{0, 0, 600, 400});  // as its pane sizes it
    ASSERT_TRUE(app.WatchPlace(window));
    record.Release();
    ASSERT_TRUE(IsWindowVisible(window));
    const std::string at = "at " + testing_support::HandleText(window) + " ";
    const std::string inPlace = at + std::to_string(before.left) + " " + std::to_string(before.top);
    int shown = 0;
    for (const std::string& line : app.Log()) {
        if (line.compare(0, at.size(), at) != 0) continue;
        ++shown;
        EXPECT_EQ(line, inPlace);
    }
    EXPECT_GT(shown, 0);
}

TEST_F(CapturedWindowTest, DeletingTheRecordGivesTheWindowBack) {
    const HWND window = app.Open(WindowSpec{});
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    auto record = std::make_unique<CapturedWindow>(window, host.Area());
    record.reset();
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE), style);
}

TEST_F(CapturedWindowTest, TheRecordTellsWhetherItsWindowIsGoneShownOrHidden) {
    const HWND window = app.Open(WindowSpec{});
    CapturedWindow record(window, host.Area());
    EXPECT_EQ(record.CurrentState(), CapturedWindow::State::kShown);
    EXPECT_TRUE(record.Exists());
    record.Show(SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    EXPECT_EQ(record.CurrentState(), CapturedWindow::State::kHidden);
    ASSERT_TRUE(app.Destroy(window));
    EXPECT_EQ(record.CurrentState(), CapturedWindow::State::kGone);
    EXPECT_FALSE(record.Exists());
    record.Release();  // nothing left to restore; must not touch anything
    EXPECT_EQ(record.Window(), nullptr);
    EXPECT_EQ(record.CurrentState(), CapturedWindow::State::kGone);
}

TEST_F(CapturedWindowTest, AMovedWindowLivesInTheOtherAreaAndIsSizedThereAgain) {
    const HWND window = app.Open(WindowSpec{});
    CapturedWindow record(window, host.Area(0));
    record.Place({0, 0, 300, 200}, true);
    record.MoveTo(host.Area(1));
    EXPECT_EQ(GetAncestor(window, GA_PARENT), host.Area(1));
    SetWindowPos(window, nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    record.Place({0, 0, 300, 200}, true);
    EXPECT_TRUE(WaitUntil([&] {
        RECT r{};
        GetWindowRect(window, &r);
        return r.right - r.left == 300 && r.bottom - r.top == 200;
    })) << "a move forgets the size given in the first area";
}

// The watch reports new windows of other applications; during a release it
// is off, so that nothing that shows then is taken for new, and afterwards
// it is as it was. A window the application opens while the release is
// under way tells whether the watch was off.
TEST_F(CapturedWindowTest, TheWatchIsOffDuringAReleaseAndAsItWasAfter) {
    MessageRecorder reports;
    INPUTTAP_SetHWND(reports.Handle());
    struct Restore {
        ~Restore() {
            INPUTTAP_End();
            INPUTTAP_SetHWND(nullptr);
        }
    } restore;
    const auto reported = [&](HWND window) {
        for (const auto& m : reports.Of(PM_NEWWINDOW)) {
            if (reinterpret_cast<HWND>(m.lParam) == window) return true;
        }
        return false;
    };
    const HWND window = app.Open(WindowSpec{});
    for (bool watching : {true, false}) {
        CapturedWindow record(window, host.Area());
        if (watching) INPUTTAP_Start(); else INPUTTAP_End();
        ASSERT_TRUE(app.SpawnOnNextMove(window));
        record.Release();
        const HWND during = app.SpawnedBy(window);
        ASSERT_NE(during, nullptr) << "the release moved the window";
        EXPECT_EQ(INPUTTAP_IsAttached() != 0, watching);
        const HWND after = app.Open(WindowSpec{});
        if (watching) {
            EXPECT_TRUE(reports.WaitFor(PM_NEWWINDOW)) << "on again after the release";
            EXPECT_TRUE(WaitUntil([&] { return reported(after); }));
        } else {
            testing_support::PumpFor(300);
            EXPECT_FALSE(reported(after)) << "and off still when it was off";
        }
        EXPECT_FALSE(reported(during)) << "a window that showed during the release";
        app.Destroy(during);
        app.Destroy(after);
        reports.Clear();
    }
}

TEST_F(CapturedWindowTest, EverydayCallsDoNotWaitForAHungApplication) {
    const HWND window = app.Open(WindowSpec{});
    CapturedWindow record(window, host.Area());
    ASSERT_TRUE(app.Hang(8000));
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(WaitUntil([&] {
        return !SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored);
    }));
    record.Show(SW_HIDE);
    record.Show(SW_SHOWNOACTIVATE);
    record.Place({0, 0, 300, 200});
    record.CurrentState();
    record.Exists();
    WindowIcon(window);
    wchar_t title[64];
    record.Title(title, 64);
    record.CloseWindow(false);
    // Still hung: every call above came back without waiting for it.
    EXPECT_FALSE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored));
    app.End();
}

}  // namespace

// The wait on an application's process outlives its last captured window,
// so a capture after a release finds it again; it goes once the process
// has ended.
TEST(ProcessWatch, AWaitIsKeptWhileItsProcessLivesAndDroppedAfterItEnds) {
    SampleApp first;
    SampleApp second;
    std::weak_ptr<void> kept = process_watch::Watch(first.Open(WindowSpec{}));
    ASSERT_FALSE(kept.expired()) << "the table holds it with no window captured";
    const std::shared_ptr<void> again = process_watch::Watch(first.Open(WindowSpec{}));
    EXPECT_EQ(again, kept.lock()) << "the same wait for another window of that process";

    const unsigned long ended = process_watch::Ended();
    first.End();
    ASSERT_TRUE(WaitUntil([&] { return process_watch::Ended() != ended; }));
    EXPECT_NE(process_watch::Watch(second.Open(WindowSpec{})), nullptr);
    EXPECT_EQ(again.use_count(), 1) << "only this test holds the ended process's wait now";
}
