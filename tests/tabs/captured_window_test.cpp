// Capturing real windows of another process and giving them back exactly as
// they were; the watch that notices a window destroyed by its application.
#include "tabs/captured_window.h"

#include "app/messages.h"
#include "inputtap/inputtap.h"
#include "tests/support/sample_app.h"
#include "tests/support/wait.h"
#include "tests/support/window_snapshot.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using testing_support::SampleApp;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

// A stand-in for a pane's display area that records PM_CHILDGONE.
std::vector<std::pair<HWND, WPARAM>> g_gone;

LRESULT CALLBACK AreaProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PM_CHILDGONE) g_gone.emplace_back(window, wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

class Host {
public:
    Host() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = AreaProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "test_display_area";
        RegisterClassA(&wc);
        frame_ = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE |
                                 WS_CLIPCHILDREN, 0, 0, 700, 500, nullptr, nullptr, nullptr, nullptr);
        for (HWND& area : areas_) {
            area = CreateWindowExA(0, "test_display_area", "", WS_CHILD | WS_VISIBLE |
                                   WS_CLIPCHILDREN, 0, 0, 600, 400, frame_, nullptr, nullptr, nullptr);
        }
        g_gone.clear();
    }
    ~Host() { DestroyWindow(frame_); }
    HWND Area(int i = 0) const { return areas_[i]; }

private:
    HWND frame_;
    HWND areas_[2];
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

TEST_F(CapturedWindowTest, NormalWindowComesBackAsItWas) {
    WindowSpec form;
    form.x = 120, form.y = 130, form.width = 400, form.height = 300;
    CaptureAndRelease(form);
}

TEST_F(CapturedWindowTest, MaximisedWindowComesBackMaximisedWithItsNormalPosition) {
    WindowSpec form;
    form.x = 150, form.y = 90, form.width = 350, form.height = 250;
    form.show = SW_SHOWMAXIMIZED;
    CaptureAndRelease(form);
}

TEST_F(CapturedWindowTest, MinimisedVisibleWindowComesBackMinimised) {
    WindowSpec form;
    form.x = 60, form.y = 70, form.width = 300, form.height = 200;
    form.show = SW_SHOWMINNOACTIVE;
    CaptureAndRelease(form);
}

TEST_F(CapturedWindowTest, PopupWindowRunsWithoutItsFrameAndGetsItBack) {
    WindowSpec form;
    form.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    form.exStyle = WS_EX_TOOLWINDOW;
    form.x = 200, form.y = 210, form.width = 260, form.height = 180;
    CaptureAndRelease(form);
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

TEST_F(CapturedWindowTest, DeletingTheRecordGivesTheWindowBack) {
    const HWND window = app.Open(WindowSpec{});
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    auto record = std::make_unique<CapturedWindow>(window, host.Area());
    record.reset();
    EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE), style);
}

TEST_F(CapturedWindowTest, AWindowDestroyedByItsApplicationIsReported) {
    const HWND window = app.Open(WindowSpec{});
    CapturedWindow record(window, host.Area());
    ASSERT_TRUE(app.Destroy(window));
    ASSERT_TRUE(WaitUntil([] { return !g_gone.empty(); }, 5000));
    EXPECT_EQ(g_gone[0].first, host.Area());
    EXPECT_EQ(g_gone[0].second, reinterpret_cast<WPARAM>(&record));
    record.Release();  // nothing left to restore; must not touch anything
    EXPECT_EQ(record.Window(), nullptr);
    testing_support::PumpFor(300);
    EXPECT_EQ(g_gone.size(), 1u) << "reported once";
}

TEST_F(CapturedWindowTest, TheWatchFollowsAMoveToAnotherArea) {
    const HWND window = app.Open(WindowSpec{});
    CapturedWindow record(window, host.Area(0));
    record.MoveTo(host.Area(1));
    EXPECT_EQ(GetAncestor(window, GA_PARENT), host.Area(1));
    ASSERT_TRUE(app.Destroy(window));
    ASSERT_TRUE(WaitUntil([] { return !g_gone.empty(); }, 5000));
    EXPECT_EQ(g_gone[0].first, host.Area(1));
    testing_support::PumpFor(300);
    EXPECT_EQ(g_gone.size(), 1u) << "the first area's timer was stopped";
}

TEST_F(CapturedWindowTest, ReleaseKeepsTheWindowWatchAsItWas) {
    const HWND window = app.Open(WindowSpec{});
    {
        CapturedWindow record(window, host.Area());
        INPUTTAP_Start();
        record.Release();
        EXPECT_TRUE(INPUTTAP_IsAttached());
    }
    {
        CapturedWindow record(window, host.Area());
        INPUTTAP_End();
        record.Release();
        EXPECT_FALSE(INPUTTAP_IsAttached());
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
    record.Icon();
    char title[64];
    record.Title(title, sizeof title);
    record.CloseWindow(false);
    // Still hung: every call above came back without waiting for it.
    EXPECT_FALSE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored));
    app.End();
}

}  // namespace
