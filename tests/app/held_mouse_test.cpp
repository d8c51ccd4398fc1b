// The program's own loops while the user holds the mouse down on the split
// bar or on a tab: they go on answering the hang watchdog, so holding longer
// than its ten seconds gives no window back, and they wait rather than spin.
#include "app/rescue.h"

#include "base/command_kinds.h"
#include "base/rescue_table.h"
#include "tabs/pane.h"
#include "tabs/split_bar.h"
#include "tests/support/desktop_input.h"
#include "tests/support/on_screen.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using testing_support::PaneTest;
using testing_support::RunXdotool;
using testing_support::WaitUntil;

namespace {

constexpr DWORD kHoldMs = Rescue::kHangMs + 2000;

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    const auto ms = [](const FILETIME& t) {
        return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

class HeldMouseTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        watchdog_ = std::make_unique<Rescue>();
        watchdog_->Watch(Main());
        held_ = OpenWindow("held");
        ASSERT_TRUE(Add(held_));
        passes_ = rescue::Passes();
    }
    void TearDown() override {
        watchdog_.reset();
        PaneTest::TearDown();
    }

    // Presses the left button at a point of the screen with the X server's
    // own mouse and lets go after kHoldMs, while this thread runs the loop
    // the press starts; the loop holds the thread inside one dispatch for as
    // long as the button is down. Returns this thread's CPU time meanwhile.
    double HoldAt(POINT at) {
        char command[160];
        std::snprintf(command, sizeof command, "mousemove %ld %ld mousedown 1 sleep %lu mouseup 1",
                      at.x, at.y, static_cast<unsigned long>(kHoldMs / 1000));
        const double before = ThreadCpuMs();
        const DWORD start = GetTickCount();
        DWORD lastLook = start, longestAway = 0;
        EXPECT_TRUE(RunXdotool(command));
        EXPECT_TRUE(WaitUntil(
            [&] {
                const DWORD now = GetTickCount();
                if (now - lastLook > longestAway) longestAway = now - lastLook;
                lastLook = now;
                return now - start > kHoldMs + 1000 && GetAsyncKeyState(VK_LBUTTON) >= 0;
            },
            kHoldMs + 8000));
        EXPECT_GT(longestAway, kHoldMs - 2000) << "the press never held this thread in a loop";
        return ThreadCpuMs() - before;
    }

    void ExpectStillCaptured() {
        EXPECT_EQ(rescue::Passes(), passes_) << "the watchdog gave windows back";
        EXPECT_EQ(GetAncestor(held_, GA_PARENT), Root().DisplayArea());
        EXPECT_EQ(TabWindows(Root()), std::vector<HWND>{held_});
    }

    std::unique_ptr<Rescue> watchdog_;
    HWND held_ = nullptr;
    LONG passes_ = 0;
};

TEST_F(HeldMouseTest, HoldingTheSplitBarKeepsEveryWindowCapturedAndTheThreadIdle) {
    ASSERT_EQ(Command(kSplitLeftRight), 1);
    // The middle of the bar is its grip.
    const double cpu = HoldAt(testing_support::CentreOnScreen(Root().SplitBar()->Window()));
    ExpectStillCaptured();
    EXPECT_LT(cpu, kHoldMs * 0.10) << "ms of CPU while the bar was held";
}

TEST_F(HeldMouseTest, HoldingATabKeepsEveryWindowCapturedAndTheThreadIdle) {
    const double cpu = HoldAt(TabCentre(Root(), 0));
    ExpectStillCaptured();
    EXPECT_LT(cpu, kHoldMs * 0.10) << "ms of CPU while the tab was held";
}

}  // namespace
