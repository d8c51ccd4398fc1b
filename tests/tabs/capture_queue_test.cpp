// The windows a pane waits for: each once, taken in the order they came as
// soon as they are visible, forgotten once they have waited too long, also
// across the clock's wrap-around; the young ones looked at alone.
#include "tabs/capture_queue.h"

#include "base/handles.h"
#include "tests/support/sample_app.h"

#include <gtest/gtest.h>

#include <vector>

using testing_support::SampleApp;

namespace {

using Windows = std::vector<HWND>;

Windows WindowsOf(const std::vector<CaptureQueue::Queued>& taken) {
    Windows windows;
    for (const CaptureQueue::Queued& queued : taken) windows.push_back(queued.window);
    return windows;
}

class CaptureQueueTest : public ::testing::Test {
protected:
    HWND OpenHidden(const char* title) { return testing_support::OpenHidden(app, title); }

    SampleApp app;
    CaptureQueue queue;
};

TEST_F(CaptureQueueTest, AWindowWaitsOnceHoweverOftenItIsReported) {
    const HWND window = OpenHidden("twice");
    EXPECT_TRUE(queue.Add(window, 1000));
    EXPECT_FALSE(queue.Add(window, 1050));
    EXPECT_EQ(queue.Size(), 1u);
    ASSERT_TRUE(app.Show(window, SW_SHOWNORMAL));
    EXPECT_EQ(WindowsOf(queue.TakeVisible(1100)), Windows{window});
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(queue.Add(window, 1200)) << "once taken, it may come again";
}

TEST_F(CaptureQueueTest, VisibleWindowsLeaveInTheOrderTheyCameAndHiddenOnesWait) {
    const HWND first = OpenHidden("first"), second = OpenHidden("second");
    const HWND third = OpenHidden("third");
    for (HWND window : {first, second, third}) queue.Add(window, 1000);
    ASSERT_TRUE(app.Show(third, SW_SHOWNORMAL));
    ASSERT_TRUE(app.Show(first, SW_SHOWMINIMIZED));  // minimised, but visible
    EXPECT_EQ(WindowsOf(queue.TakeVisible(1100)), (Windows{first, third}));
    EXPECT_EQ(queue.Size(), 1u);
    EXPECT_EQ(WindowsOf(queue.TakeVisible(1200)), Windows{}) << "the hidden one goes on waiting";
    ASSERT_TRUE(app.Show(second, SW_SHOWNORMAL));
    EXPECT_EQ(WindowsOf(queue.TakeVisible(1300)), Windows{second});
}

TEST_F(CaptureQueueTest, AWindowHiddenForLongerThanTheGiveUpTimeIsForgotten) {
    const HWND window = OpenHidden("never shown");
    queue.Add(window, 5000);
    queue.TakeVisible(5000 + CaptureQueue::kGiveUpMs);
    EXPECT_EQ(queue.Size(), 1u) << "exactly the give-up time is not yet too long";
    queue.TakeVisible(5000 + CaptureQueue::kGiveUpMs + 1);
    EXPECT_TRUE(queue.Empty());
    ASSERT_TRUE(app.Show(window, SW_SHOWNORMAL));
    EXPECT_EQ(WindowsOf(queue.TakeVisible(20000)), Windows{}) << "nor is it taken later";
}

TEST_F(CaptureQueueTest, TheWaitIsMeasuredAcrossTheClocksWrapAround) {
    const HWND window = OpenHidden("at the wrap");
    const DWORD justBeforeWrap = 0xFFFFF000u;
    queue.Add(window, justBeforeWrap);
    queue.TakeVisible(justBeforeWrap + 5000);  // past zero
    EXPECT_EQ(queue.Size(), 1u) << "5 s after the report, across the wrap";
    queue.TakeVisible(justBeforeWrap + CaptureQueue::kGiveUpMs + 1);
    EXPECT_TRUE(queue.Empty());
}

TEST_F(CaptureQueueTest, AWindowDestroyedWhileWaitingIsNeverTaken) {
    const HWND window = OpenHidden("destroyed");
    queue.Add(window, 0);
    ASSERT_TRUE(app.Destroy(window));
    EXPECT_EQ(WindowsOf(queue.TakeVisible(100)), Windows{});
    queue.TakeVisible(CaptureQueue::kGiveUpMs + 1);
    EXPECT_TRUE(queue.Empty());
}

TEST_F(CaptureQueueTest, AWindowReportedForALaunchKeepsItsMark) {
    const HWND helper = OpenHidden("helper"), launched = OpenHidden("launched");
    const HWND other = OpenHidden("other");
    queue.Add(helper, 100, true);
    queue.Add(launched, 110, true);
    queue.Add(other, 120);
    ASSERT_TRUE(app.Show(launched, SW_SHOWNORMAL));
    ASSERT_TRUE(app.Show(other, SW_SHOWNORMAL));
    const auto taken = queue.TakeVisible(200);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].window, launched);
    EXPECT_TRUE(taken[0].launched);
    EXPECT_EQ(taken[1].window, other);
    EXPECT_FALSE(taken[1].launched);
    EXPECT_EQ(queue.Size(), 1u) << "the hidden helper goes on waiting";
}

TEST_F(CaptureQueueTest, TheBriskLookTakesOnlyYoungWindows) {
    const HWND old = OpenHidden("old"), young = OpenHidden("young");
    queue.Add(old, 1000);
    queue.Add(young, 1500);
    ASSERT_TRUE(app.Show(old, SW_SHOWNORMAL));
    ASSERT_TRUE(app.Show(young, SW_SHOWNORMAL));
    const DWORD now = 1000 + CaptureQueue::kYoungMs;
    EXPECT_TRUE(queue.HasYoung(now));
    EXPECT_EQ(WindowsOf(queue.TakeVisibleYoung(now)), Windows{young});
    EXPECT_FALSE(queue.HasYoung(now)) << "the old one is left to the queue's timer";
    EXPECT_EQ(WindowsOf(queue.TakeVisible(now)), Windows{old});
}

}  // namespace
