// Windows that arrive on their own: the new-window watch, its queue and the
// report that a queued window shows, the add-all command, launch capture,
// and the main window's reactions.
#include "app/main_window.h"
#include "base/command_kinds.h"
#include "base/messages.h"
#include "inputtap/inputtap.h"
#include "settings/conditions.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tabs/pane.h"
#include "tests/support/desktop_input.h"
#include "tests/support/dropped_messages.h"
#include "tests/support/on_screen.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

using testing_support::DroppedMessages;
using testing_support::HoldKey;
using testing_support::OpenHidden;
using testing_support::PaneTest;
using testing_support::PlaceCursor;
using testing_support::PumpFor;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

bool Holds(cTab& pane, HWND window) { return pane.IndexOfWindow(window) >= 0; }

// Tabs of every pane holding window.
int TimesHeld(cTab& root, HWND window) {
    int n = 0;
    for (cTab* pane = &root; pane; pane = pane->Child()) {
        for (int i = 0; i < pane->TabCount(); ++i) {
            if (pane->RecordAt(i) && pane->RecordAt(i)->Holds(window)) ++n;
        }
    }
    return n;
}

// Captured, and nothing left in the queue that could take it again.
bool HeldOnceAndSettled(cTab& root, HWND window) {
    return TimesHeld(root, window) == 1 && root.PendingCount() == 0;
}

// Captures of window as its application saw them: left the desktop.
long TimesTaken(const testing_support::SampleApp& app, HWND window) {
    const std::vector<std::string> log = app.Log();
    return std::count(log.begin(), log.end(), "taken " + testing_support::HandleText(window));
}

// window made hidden, and queued by the watch longer ago than the brisk look
// at young windows lasts.
HWND QueuedLongAgo(testing_support::SampleApp& app, cTab& root) {
    const HWND window = OpenHidden(app, "late");
    EXPECT_TRUE(WaitUntil([&] { return root.PendingCount() == 1; }));
    PumpFor(CaptureQueue::kYoungMs + 500);
    EXPECT_EQ(root.TabCount(), 0) << "not while it is hidden";
    return window;
}

TEST_F(PaneTest, AWindowCreatedHiddenIsCapturedOnceShown) {
    Command(kWatchOn);
    ASSERT_TRUE(INPUTTAP_IsAttached());
    const HWND window = QueuedLongAgo(app, Root());
    app.Show(window, SW_SHOWNORMAL);
    EXPECT_TRUE(WaitUntil([&] { return HeldOnceAndSettled(Root(), window); }));
    EXPECT_EQ(TimesTaken(app, window), 1);
}

TEST_F(PaneTest, AWindowShownAtOnceIsCapturedOnce) {
    Command(kWatchOn);
    const HWND window = OpenWindow("at once");
    EXPECT_TRUE(WaitUntil([&] { return HeldOnceAndSettled(Root(), window); }));
    EXPECT_EQ(TimesTaken(app, window), 1);
}

TEST_F(PaneTest, WithoutTheShowReportTheQueueTimerStillCaptures) {
    DroppedMessages reports(Main(), PM_WINDOWSHOWN);
    Command(kWatchOn);
    const HWND window = QueuedLongAgo(app, Root());
    app.Show(window, SW_SHOWNORMAL);
    EXPECT_TRUE(WaitUntil([&] { return HeldOnceAndSettled(Root(), window); }));
    EXPECT_TRUE(WaitUntil([&] { return reports.Count() > 0; })) << "the report came and was lost";
}

TEST_F(PaneTest, TheShowReportAloneCapturesAWindowThatShowsLate) {
    DroppedMessages ticks(Root().TabControl(), WM_TIMER, cTab::kPendingTimer);
    Command(kWatchOn);
    const HWND window = QueuedLongAgo(app, Root());
    app.Show(window, SW_SHOWNORMAL);
    EXPECT_TRUE(WaitUntil([&] { return HeldOnceAndSettled(Root(), window); }));
    EXPECT_GT(ticks.Count(), 0u) << "the queue's timer ran, and was lost";
}

TEST_F(PaneTest, AWindowHiddenForMoreThanTenSecondsIsForgotten) {
    Command(kWatchOn);
    const HWND window = OpenHidden(app, "never shown");
    ASSERT_TRUE(WaitUntil([&] { return Root().PendingCount() == 1; }));
    EXPECT_TRUE(WaitUntil([&] { return Root().PendingCount() == 0; }, 15000));
    app.Show(window, SW_SHOWNORMAL);
    PumpFor(400);
    EXPECT_FALSE(Holds(Root(), window));
    EXPECT_TRUE(OnDesktop(window));
}

TEST_F(PaneTest, AHotTrackingTabStripDoesNotStopTheQueue) {
    GetSystemData().tabStyle |= TCS_HOTTRACK;
    SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0);
    ASSERT_TRUE(Add(OpenWindow("hovered")));
    const HWND late = OpenHidden(app, "late");
    SendMessageA(Main(), PM_NEWWINDOW, 0, reinterpret_cast<LPARAM>(late));
    ASSERT_EQ(Root().PendingCount(), 1u);
    // The control runs its hot-tracking timer while the pointer is over a
    // tab, and stops it once the pointer has left.
    const POINT tab = TabCentre(Root(), 0);
    for (int dx : {0, 3, 6, 9}) {
        ASSERT_TRUE(PlaceCursor({tab.x + dx, tab.y}));
        PumpFor(60);
    }
    ASSERT_TRUE(PlaceCursor({5, 790}));
    // Past the brisk look at young windows too: the queue's timer takes it.
    PumpFor(CaptureQueue::kYoungMs);
    app.Show(late, SW_SHOWNORMAL);
    EXPECT_TRUE(WaitUntil([&] { return Holds(Root(), late); }));
}

TEST_F(PaneTest, AWindowReportedTwiceIsQueuedOnce) {
    const HWND window = OpenHidden(app, "twice");
    SendMessageA(Main(), PM_NEWWINDOW, 0, reinterpret_cast<LPARAM>(window));
    SendMessageA(Main(), PM_NEWWINDOW, 0, reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(Root().PendingCount(), 1u);
    app.Show(window, SW_SHOWNORMAL);
    EXPECT_TRUE(WaitUntil([&] { return Holds(Root(), window); }));
    EXPECT_EQ(Root().TabCount(), 1);
}

TEST_F(PaneTest, TheConditionsDecideWhatTheWatchCaptures) {
    Command(kWatchOn);
    WindowSpec form;
    form.className = settings_ids::kDefaultRemoveClass1;  // removed by default
    const HWND removed = app.Open(form);
    form.className = "SampleFrame";
    const HWND taken = app.Open(form);
    EXPECT_TRUE(WaitUntil([&] { return Holds(Root(), taken); }));
    PumpFor(300);
    EXPECT_FALSE(Holds(Root(), removed));
}

TEST_F(PaneTest, ReleasingWhileWatchingLeavesTheWindowOutAndTheWatchOn) {
    Command(kWatchOn);
    const HWND window = OpenWindow("watched");
    ASSERT_TRUE(WaitUntil([&] { return Holds(Root(), window); }));
    // A window the application opens while the release is under way is no
    // new window to capture: the watch is off meanwhile.
    ASSERT_TRUE(app.SpawnOnNextMove(window));
    Command(kReleaseTab);
    EXPECT_TRUE(OnDesktop(window));
    EXPECT_TRUE(INPUTTAP_IsAttached());
    const HWND during = app.SpawnedBy(window);
    ASSERT_NE(during, nullptr);
    // And the watch goes on capturing what opens afterwards.
    const HWND after = OpenWindow("opened after the release");
    EXPECT_TRUE(WaitUntil([&] { return Holds(Root(), after); }));
    EXPECT_FALSE(Holds(Root(), during));
    EXPECT_FALSE(Holds(Root(), window)) << "nor is the released window taken back";
}

TEST_F(PaneTest, ALaunchedWindowIsCapturedWhateverTheConditions) {
    ASSERT_FALSE(INPUTTAP_IsAttached());
    cMain::Instance().ArmLaunchCapture();
    ASSERT_TRUE(INPUTTAP_IsAttached());
    WindowSpec form;
    form.className = settings_ids::kDefaultRemoveClass1;
    const HWND launched = app.Open(form);
    EXPECT_TRUE(WaitUntil([&] { return Holds(Root(), launched); }));
    EXPECT_FALSE(INPUTTAP_IsAttached()) << "the watch was on for that one window only";
}

TEST_F(PaneTest, AddAllTakesTitledWindowsThatPassTheConditions) {
    // Only the sample's own class, so nothing else on the desktop is taken.
    AddConditions().classOn = true;
    AddConditions().classes.Add("AddAllFrame");
    WindowSpec form;
    form.className = "AddAllFrame";
    form.title = "titled";
    const HWND titled = app.Open(form);
    form.title = "";
    const HWND untitled = app.Open(form);
    form.className = "OtherFrame";
    form.title = "other";
    const HWND other = app.Open(form);
    Command(kAddAllWindows);
    EXPECT_TRUE(Holds(Root(), titled));
    EXPECT_FALSE(Holds(Root(), untitled)) << "an empty title is skipped";
    EXPECT_FALSE(Holds(Root(), other));
    EXPECT_EQ(Root().TabCount(), 1);
}

TEST_F(PaneTest, CapturingRestoresAMinimisedMainWindowOnlyWhenAsked) {
    GetSystemData().trayOnMinimize = 0;
    ShowWindow(Main(), SW_MINIMIZE);
    Add(OpenWindow("one"));
    EXPECT_TRUE(IsIconic(Main()));
    GetSystemData().restoreOnAdd = 1;
    Add(OpenWindow("two"));
    EXPECT_FALSE(IsIconic(Main()));
}

TEST_F(PaneTest, TheWheelSwitchesTabsWhileTheModifierIsHeld) {
    const HWND a = OpenWindow("a"), b = OpenWindow("b"), c = OpenWindow("c");
    Add(a), Add(b), Add(c);
    GetSystemData().wheelModifierKey = VK_SHIFT;
    const WPARAM away = MAKEWPARAM(0, WHEEL_DELTA);
    const WPARAM toward = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
    SendMessageA(Main(), PM_HOOKWHEEL, away, 0);
    EXPECT_EQ(SelectedWindow(Root()), c) << "nothing without the key";

    HoldKey(VK_SHIFT, true);
    SendMessageA(Main(), PM_HOOKWHEEL, away, 0);
    EXPECT_EQ(SelectedWindow(Root()), b);
    SendMessageA(Main(), PM_HOOKWHEEL, toward, 0);
    SendMessageA(Main(), PM_HOOKWHEEL, toward, 0);
    EXPECT_EQ(SelectedWindow(Root()), a) << "past the last comes the first";
    HoldKey(VK_SHIFT, false);
    SendMessageA(Main(), PM_HOOKWHEEL, away, 0);
    EXPECT_EQ(SelectedWindow(Root()), a) << "nothing once the key is up";
}

TEST_F(PaneTest, AHungApplicationDoesNotFreezeThePane) {
    testing_support::SampleApp other;
    const HWND hung1 = OpenWindow("hung one");
    const HWND hung2 = OpenWindow("hung two");
    WindowSpec form;
    form.title = "lively";
    const HWND lively = other.Open(form);
    Add(hung1), Add(hung2), Add(lively);
    ASSERT_TRUE(app.Hang(8000));
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(WaitUntil([&] {
        return !SendMessageTimeoutA(hung1, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored);
    }));
    for (int i = 0; i < 6; ++i)
        Command(kSelectNextTab);  // switching shows and hides the hung windows
    SendMessageA(Root().TabControl(), WM_SIZE, 0, 0);
    // The periodic refresh goes on: another application's new title shows.
    other.SetTitle(lively, "renamed");
    EXPECT_TRUE(WaitUntil(
        [&] { return testing_support::TabText(Root().TabControl(), 2) == "renamed"; }));
    // All of it happened while the application was still hung.
    EXPECT_FALSE(SendMessageTimeoutA(hung1, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored));
    app.End();
}

}  // namespace
