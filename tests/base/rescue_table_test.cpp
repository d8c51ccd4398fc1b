// The rescue table kept by real captures of the sample application's
// windows, and a give-back pass run in this process as the hang watchdog
// runs it: what it restores, what it leaves alone, and how the panes go on.
#include "base/rescue_table.h"

#include "base/command_kinds.h"
#include "tabs/captured_window.h"
#include "tabs/pane.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/sample_app.h"
#include "tests/support/wait.h"
#include "tests/support/window_snapshot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

using testing_support::SampleApp;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

bool OnDesktop(HWND window) { return GetAncestor(window, GA_PARENT) == GetDesktopWindow(); }

using State = testing_support::WindowSnapshot;
constexpr auto Take = testing_support::TakeSnapshot;
constexpr auto ExpectSame = testing_support::ExpectSameSnapshot;

// Two display areas of our own, as two panes would have.
class Areas {
public:
    Areas() {
        frame_ = CreateWindowExA(0, "STATIC", "areas", WS_OVERLAPPEDWINDOW | WS_VISIBLE |
                                 WS_CLIPCHILDREN, 0, 0, 700, 500, nullptr, nullptr, nullptr,
                                 nullptr);
        for (HWND& area : areas_) {
            area = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                   0, 600, 400, frame_, nullptr, nullptr, nullptr);
        }
    }
    ~Areas() { DestroyWindow(frame_); }
    HWND operator[](int i) const { return areas_[i]; }

private:
    HWND frame_;
    HWND areas_[2];
};

class RescueTableTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(rescue::HeldCount(), 0); }

    HWND Open(int x, int y, int show = SW_SHOWNORMAL) {
        WindowSpec form;
        form.x = x, form.y = y, form.width = 330, form.height = 230;
        form.show = show;
        const HWND window = app.Open(form);
        EXPECT_NE(window, nullptr);
        return window;
    }

    SampleApp app;
    Areas areas;
};

TEST_F(RescueTableTest, ACaptureEntersItsWindowAndAReleaseWithdrawsIt) {
    const HWND window = Open(100, 110);
    CapturedWindow record(window, areas[0]);
    EXPECT_EQ(rescue::HeldCount(), 1);
    EXPECT_FALSE(record.Rescued());
    record.Release();
    EXPECT_EQ(rescue::HeldCount(), 0);
    EXPECT_TRUE(OnDesktop(window));
}

TEST_F(RescueTableTest, APassGivesBackWhatTheCaptureSaved) {
    const HWND normal = Open(100, 110);
    const HWND maximised = Open(140, 90, SW_SHOWMAXIMIZED);
    const State normalBefore = Take(app, normal);
    const State maximisedBefore = Take(app, maximised);
    CapturedWindow first(normal, areas[0]);
    CapturedWindow second(maximised, areas[0]);
    ASSERT_FALSE(OnDesktop(normal));

    EXPECT_EQ(rescue::GiveBackAll(), 2);
    EXPECT_TRUE(OnDesktop(normal));
    EXPECT_TRUE(OnDesktop(maximised));
    ExpectSame(normalBefore, Take(app, normal));
    ExpectSame(maximisedBefore, Take(app, maximised));
    EXPECT_TRUE(first.Rescued());
    EXPECT_TRUE(second.Rescued());
    EXPECT_EQ(rescue::HeldCount(), 0);
    EXPECT_EQ(rescue::GiveBackAll(), 0) << "a window is given back once";
}

TEST_F(RescueTableTest, ARescuedWindowAwaitsItsDropUntilItsRecordLetsGo) {
    const int before = rescue::AwaitingDrop();
    CapturedWindow record(Open(100, 110), areas[0]);
    EXPECT_EQ(rescue::AwaitingDrop(), before);
    ASSERT_EQ(rescue::GiveBackAll(), 1);
    EXPECT_EQ(rescue::AwaitingDrop(), before + 1);
    record.Release();  // only forgets it
    EXPECT_EQ(rescue::AwaitingDrop(), before);
}

// A capture halfway: window entered (and so claimed), and changed.
int EnterHalfway(HWND window, const State& before, HWND area) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int slot = rescue::Enter(window, before.style, before.exStyle, rect, SW_SHOWNORMAL);
    EXPECT_GE(slot, 0);
    SetParent(window, area);
    return slot;
}

TEST_F(RescueTableTest, AWindowThePaneIsChangingIsTakenOnlyOnceTheChangeIsDone) {
    const HWND window = Open(100, 110);
    const State before = Take(app, window);
    const int slot = EnterHalfway(window, before, areas[0]);
    EXPECT_EQ(rescue::GiveBackAll(), 0) << "not while the pane is changing it";
    EXPECT_FALSE(rescue::Taken(slot));

    rescue::Settle(slot);
    {
        const rescue::Use use(slot);
        EXPECT_TRUE(use);
        EXPECT_EQ(rescue::GiveBackAll(), 0) << "nor during a later change";
    }
    EXPECT_EQ(rescue::GiveBackAll(), 1);
    EXPECT_TRUE(OnDesktop(window));
    ExpectSame(before, Take(app, window));
    EXPECT_FALSE(rescue::Claim(slot)) << "the pane's next change finds it taken";
    EXPECT_TRUE(rescue::Withdraw(slot));
}

TEST_F(RescueTableTest, ACrashRescueTakesAlsoTheWindowTheFailedThreadWasChanging) {
    const HWND window = Open(100, 110);
    const State before = Take(app, window);
    const int slot = EnterHalfway(window, before, areas[0]);
    EXPECT_EQ(rescue::GiveBackAll(true), 1);
    EXPECT_TRUE(OnDesktop(window));
    ExpectSame(before, Take(app, window));
    rescue::Settle(slot);
    EXPECT_TRUE(rescue::Taken(slot)) << "a late settle does not take it back";
    EXPECT_TRUE(rescue::Withdraw(slot));
}

// Rescue passes still at work while the user-interface thread runs again:
// they look at the table again and again, and meanwhile this thread captures
// windows and shows, hides, sizes and moves them as a pane does. Whichever
// side gets a window first, it ends in its pane or on the desktop as it was.
TEST_F(RescueTableTest, APassRacingThePaneLeavesEveryWindowInItsPaneOrRestored) {
    int rescuedWindows = 0, keptWindows = 0;
    for (int round = 0; round < 8; ++round) {
        std::vector<HWND> windows;
        std::vector<State> before;
        for (int i = 0; i < 3; ++i) {
            const int show = i == 1 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
            windows.push_back(Open(80 + 40 * i, 90 + 30 * i, show));
            before.push_back(Take(app, windows.back()));
        }
        std::vector<std::unique_ptr<CapturedWindow>> records;
        std::atomic<bool> stop{false};
        // Even rounds: passes until the pane is done. Odd rounds: one pass,
        // later in each round, which skips what the pane is changing then.
        std::thread watchdog([&, round] {
            if (round % 2 == 0) {
                while (!stop) rescue::GiveBackAll();
                return;
            }
            Sleep(static_cast<DWORD>(round * 4));
            rescue::GiveBackAll();
        });
        for (int i = 0; i < 3; ++i) {
            records.push_back(std::make_unique<CapturedWindow>(windows[i], areas[0]));
        }
        for (int k = 0; k < 8; ++k) {
            for (const auto& record : records) {
                record->Show(k % 2 ? SW_HIDE : SW_SHOWNOACTIVATE);
                record->Place({0, 0, 300, 200});
                record->MoveTo(areas[k % 2]);
            }
        }
        stop = true;
        watchdog.join();
        testing_support::PumpFor(200);  // what was sent without waiting arrives
        for (size_t i = 0; i < windows.size(); ++i) {
            if (records[i]->Rescued()) {
                ++rescuedWindows;
                EXPECT_TRUE(OnDesktop(windows[i])) << "round " << round << ", window " << i;
                ExpectSame(before[i], Take(app, windows[i]));
            } else {
                ++keptWindows;
                const HWND parent = GetAncestor(windows[i], GA_PARENT);
                EXPECT_TRUE(parent == areas[0] || parent == areas[1])
                    << "round " << round << ", window " << i;
            }
        }
        records.clear();
        for (size_t i = 0; i < windows.size(); ++i) {
            EXPECT_TRUE(OnDesktop(windows[i]));
            app.Destroy(windows[i]);
        }
    }
    EXPECT_GT(rescuedWindows, 0) << "the passes took nothing: no race was run";
    EXPECT_EQ(rescue::HeldCount(), 0);
    std::printf("%d windows given back, %d kept\n", rescuedWindows, keptWindows);
}

TEST_F(RescueTableTest, ARescuedWindowIsLeftAloneByItsRecord) {
    const HWND window = Open(100, 110);
    CapturedWindow record(window, areas[0]);
    const LONG passes = rescue::Passes();
    ASSERT_EQ(rescue::GiveBackAll(), 1);
    EXPECT_EQ(rescue::Passes(), passes + 1);
    // Its user moves it on the desktop; the record, still in its pane, is
    // asked what a pane asks of it.
    MoveWindow(window, 420, 380, 300, 200, TRUE);
    const State moved = Take(app, window);
    record.Show(SW_HIDE);
    record.Place({0, 0, 600, 400});
    record.MoveTo(areas[1]);
    record.Release();
    EXPECT_EQ(record.Window(), nullptr);
    // Hiding and sizing are asynchronous: time for them to arrive, had they
    // been sent.
    testing_support::PumpFor(300);
    EXPECT_TRUE(OnDesktop(window));
    ExpectSame(moved, Take(app, window));
    EXPECT_EQ(rescue::HeldCount(), 0);
}

TEST_F(RescueTableTest, AMoveToAnotherPaneKeepsTheEntry) {
    const HWND window = Open(100, 110, SW_SHOWMAXIMIZED);
    const State before = Take(app, window);
    CapturedWindow record(window, areas[0]);
    record.MoveTo(areas[1]);
    ASSERT_EQ(GetAncestor(window, GA_PARENT), areas[1]);
    EXPECT_EQ(rescue::HeldCount(), 1);
    EXPECT_EQ(rescue::GiveBackAll(), 1);
    ExpectSame(before, Take(app, window));
}

TEST_F(RescueTableTest, AReleasedWindowIsNotTouchedByALaterPass) {
    const HWND released = Open(100, 110);
    const HWND kept = Open(200, 150);
    const State keptBefore = Take(app, kept);
    CapturedWindow first(released, areas[0]);
    CapturedWindow second(kept, areas[0]);
    first.Release();
    MoveWindow(released, 450, 400, 280, 190, TRUE);
    const State moved = Take(app, released);
    EXPECT_EQ(rescue::GiveBackAll(), 1);
    ExpectSame(moved, Take(app, released));
    ExpectSame(keptBefore, Take(app, kept));
}

TEST_F(RescueTableTest, AFullTableDoesNotStopACapture) {
    // Every slot taken by a window of our own that no pass will see.
    struct Occupied {
        std::vector<int> slots;
        ~Occupied() {
            for (int slot : slots) rescue::Withdraw(slot);
        }
    } occupied;
    const RECT nowhere{0, 0, 10, 10};
    for (int i = 0; i < rescue::kSlots; ++i) {
        occupied.slots.push_back(rescue::Enter(areas[0], WS_CHILD, 0, nowhere, SW_SHOWNORMAL));
        ASSERT_GE(occupied.slots.back(), 0);
    }
    ASSERT_EQ(rescue::Enter(areas[0], WS_CHILD, 0, nowhere, SW_SHOWNORMAL), -1);

    const HWND window = Open(100, 110);
    const State before = Take(app, window);
    {
        CapturedWindow record(window, areas[1]);
        EXPECT_EQ(GetAncestor(window, GA_PARENT), areas[1]);
        EXPECT_FALSE(record.Rescued());
        EXPECT_EQ(rescue::HeldCount(), rescue::kSlots);
    }
    EXPECT_TRUE(OnDesktop(window));
    ExpectSame(before, Take(app, window));
    for (int slot : occupied.slots) EXPECT_FALSE(rescue::Withdraw(slot));
    occupied.slots.clear();
    EXPECT_EQ(rescue::HeldCount(), 0);
}

// The panes, after a pass that happened while their thread was away.
class RescuePaneTest : public testing_support::PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        ASSERT_EQ(rescue::HeldCount(), 0);
    }
};

TEST_F(RescuePaneTest, AWindowDestroyedByItsApplicationLeavesTheTable) {
    const HWND window = OpenWindow("short-lived");
    ASSERT_TRUE(Add(window));
    EXPECT_EQ(rescue::HeldCount(), 1);
    ASSERT_TRUE(app.Destroy(window));
    ASSERT_TRUE(WaitUntil([&] { return Root().TabCount() == 0; }));
    EXPECT_EQ(rescue::HeldCount(), 0);
}

TEST_F(RescuePaneTest, ARescuedTabMovedToAnotherPaneIsDroppedThere) {
    const HWND window = OpenWindow("moved");
    ASSERT_TRUE(Add(window));
    ASSERT_EQ(Command(kSplitLeftRight), 1);
    cTab& child = *Root().Child();
    ASSERT_EQ(rescue::GiveBackAll(), 1);
    // The child pane's refresh has looked before the tab arrives there.
    SendMessageA(child.TabControl(), WM_TIMER, cTab::kRefreshTimer, 0);
    ASSERT_TRUE(Root().MoveCurrentTabTo(child));
    ASSERT_EQ(child.TabCount(), 1);
    EXPECT_TRUE(WaitUntil([&] { return child.TabCount() == 0; })) << "dropped where it is";
    EXPECT_TRUE(OnDesktop(window));
    EXPECT_EQ(rescue::AwaitingDrop(), 0);
}

TEST_F(RescuePaneTest, TheRescuedTabsGoAndTheRestWorkOn) {
    const HWND a = OpenWindow("a");
    const HWND b = OpenWindow("b");
    const State aBefore = Take(app, a);
    ASSERT_TRUE(Add(a));
    ASSERT_TRUE(Add(b));
    ASSERT_EQ(rescue::GiveBackAll(), 2);

    // The thread comes back and gets on with its work before the refresh:
    // two captures (each showing its own tab and hiding the others) and a
    // switch to the older of the two new tabs.
    const HWND c = OpenWindow("c");
    const HWND d = OpenWindow("d");
    ASSERT_TRUE(Add(c));
    ASSERT_TRUE(Add(d));
    Root().SelectPrevTab();
    ASSERT_EQ(SelectedWindow(Root()), c);

    ASSERT_TRUE(WaitUntil([&] { return Root().TabCount() == 2; }));
    EXPECT_EQ(TabWindows(Root()), (std::vector<HWND>{c, d}));
    // The most recently used of what is left, as after any release.
    EXPECT_EQ(SelectedWindow(Root()), c);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(c) && !IsWindowVisible(d); }));
    EXPECT_EQ(rescue::HeldCount(), 2);

    // The rescued windows were left as the pass gave them back.
    for (HWND rescued : {a, b}) {
        EXPECT_TRUE(OnDesktop(rescued));
        EXPECT_TRUE(IsWindowVisible(rescued));
    }
    ExpectSame(aBefore, Take(app, a));

    Command(kReleaseAllTabs);
    EXPECT_EQ(Root().TabCount(), 0);
    EXPECT_TRUE(OnDesktop(c));
    EXPECT_TRUE(OnDesktop(d));
    EXPECT_EQ(rescue::HeldCount(), 0);
}

}  // namespace
