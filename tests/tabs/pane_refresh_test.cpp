// What a pane does with many tabs: a switch asks other applications the
// same few things with fifty tabs as with ten, the periodic refresh brings
// background titles and icons up to date within its bound, a destroyed
// window's tab goes within its deadline with a hundred tabs held, a window
// its application showed behind another tab is hidden again, and a hung
// application does not hold up switching.
#include "tabs/pane.h"

#include "base/command_kinds.h"
#include "base/handles.h"
#include "settings/system_data.h"
#include "tests/support/foreign_calls.h"
#include "tests/support/icon_pixels.h"
#include "tests/support/on_screen.h"
#include "tests/support/test_pane_host.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::ForeignCallCounter;
using testing_support::HostedPaneTest;
using testing_support::PumpFor;
using testing_support::SampleApp;
using testing_support::TabShowsIcon;
using testing_support::TabText;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

// How long the refresh takes at most to look at every tab once with n tabs
// (a few tabs per tick, one tick per watchInterval), and to ask every
// window's icon once (one window every fifth tick).
DWORD TitleBound(int tabs) { return static_cast<DWORD>((tabs + 3) / 4) * 100; }
DWORD IconBound(int tabs) { return static_cast<DWORD>(tabs) * 500; }
// Time for the machine's own delays on top of a bound.
constexpr DWORD kSlack = 1500;

class PaneRefreshTest : public HostedPaneTest {
protected:
    // Opens and captures count more windows of app; returns them.
    std::vector<HWND> Hold(int count, SampleApp& from) {
        std::vector<HWND> windows;
        for (int i = 0; i < count; ++i) {
            WindowSpec form;
            form.title = "window " + std::to_string(Root().TabCount());
            const HWND window = from.Open(form);
            EXPECT_TRUE(Add(window)) << form.title;
            windows.push_back(window);
        }
        return windows;
    }
    std::vector<HWND> Hold(int count) { return Hold(count, app); }
    int TabOf(HWND window) {
        for (int i = 0; i < Root().TabCount(); ++i) {
            if (Root().RecordAt(i) && Root().RecordAt(i)->Holds(window)) return i;
        }
        return -1;
    }
    bool Held(HWND window) { return TabOf(window) >= 0; }
};

TEST_F(PaneRefreshTest, ASwitchAsksOtherApplicationsTheSameWithFiftyTabsAsWithTen) {
    Hold(10);
    ForeignCallCounter counter;
    ASSERT_TRUE(counter.Active());
    // The calls that reach another application's window for one command.
    auto cost = [&](unsigned command) {
        counter.Reset();
        Command(command);
        return counter.Count();
    };
    const long atTen = cost(kSelectNextTab);
    EXPECT_EQ(counter.CountOf("ShowWindowAsync"), 2) << "hides one window and shows one";
    const long atTenBack = cost(kSelectPrevTab);
    EXPECT_LE(atTen, 8) << "and reads the title for the tab and the header";

    Hold(40);
    ASSERT_EQ(Root().TabCount(), 50);
    const long atFifty = cost(kSelectNextTab);
    const long atFiftyBack = cost(kSelectPrevTab);
    EXPECT_EQ(atFifty, atTen);
    EXPECT_EQ(atFiftyBack, atTenBack);
}

// Ten ticks take two icon turns; each reads the selected title once, for the
// tab and the header alike, and four others in turn (fewer when the turn
// comes to the selected tab).
TEST_F(PaneRefreshTest, TheRefreshAsksOtherApplicationsNoMoreWithFiftyTabsThanWithTen) {
    ForeignCallCounter counter;
    ASSERT_TRUE(counter.Active());
    constexpr long kBound = 10 * (2 + 4 * 2) + 2 * 2 * 4;  // two calls per title, four per icon
    auto tenTicks = [&] {
        counter.Reset();
        for (int i = 0; i < 10; ++i) {
            SendMessageA(Root().TabControl(), WM_TIMER, cTab::kRefreshTimer, 0);
        }
        EXPECT_LE(counter.CountOf("GetWindowTextW"), 10 * (1 + 4));
        return counter.Count();
    };
    Hold(10);
    EXPECT_LE(tenTicks(), kBound);
    Hold(40);
    EXPECT_LE(tenTicks(), kBound);
}

TEST_F(PaneRefreshTest, NewTitlesShowWithinTheRefreshBound) {
    const std::vector<HWND> windows = Hold(20);
    const HWND tabs = Root().TabControl();
    ASSERT_TRUE(app.SetTitle(windows[3], "behind"));
    EXPECT_TRUE(WaitUntil([&] { return TabText(tabs, 3) == "behind"; },
                          TitleBound(20) + kSlack))
        << "a background tab, within (tabs / 4) * watchInterval: " << TabText(tabs, 3);
    ASSERT_TRUE(app.SetTitle(windows.back(), "in front"));
    EXPECT_TRUE(WaitUntil([&] { return TabText(tabs, 19) == "in front"; }, 100 + kSlack))
        << "the selected tab, within one watchInterval";
}

// A hundred tabs; each way a window can go is seen within its deadline:
// about one tick for the selected window, a window asked to close and the
// windows of an application that ended, the refresh's round for a background
// window its living application destroyed.
TEST_F(PaneRefreshTest, WithAHundredTabsADestroyedWindowsTabGoesWithinItsDeadline) {
    SampleApp other;
    std::vector<HWND> windows = Hold(97);
    const HWND ending = Hold(1, other)[0];
    windows.push_back(Hold(1)[0]);
    const HWND selected = Hold(1)[0];
    ASSERT_EQ(Root().TabCount(), 100);
    constexpr DWORD kOneTick = 100 + 900;

    ASSERT_TRUE(app.Destroy(selected));
    EXPECT_TRUE(WaitUntil([&] { return !Held(selected); }, kOneTick)) << "the selected window";

    other.End();
    EXPECT_TRUE(WaitUntil([&] { return !Held(ending); }, kOneTick)) << "its application ended";

    GetSystemData().releaseBeforeClose = 0;
    const HWND closed = windows[10];
    Command(kSelectNextTab);
    Root().CloseTab(TabOf(closed));
    EXPECT_TRUE(WaitUntil([&] { return !Held(closed); }, kOneTick)) << "asked to close";

    const HWND behind = windows[50];
    ASSERT_TRUE(app.Destroy(behind));
    EXPECT_TRUE(WaitUntil([&] { return !Held(behind); }, TitleBound(97) + kSlack))
        << "destroyed behind another tab";
    EXPECT_EQ(Root().TabCount(), 96);
}

TEST_F(PaneRefreshTest, AWindowItsApplicationShowsBehindAnotherTabIsHiddenAgain) {
    const std::vector<HWND> windows = Hold(8);
    ASSERT_TRUE(app.Show(windows[2], SW_SHOWNOACTIVATE));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(windows[2]); }, TitleBound(8) + kSlack));
    EXPECT_TRUE(IsWindowVisible(windows.back())) << "the selected window stays";
}

// Icons are asked of the window, which another process under Wine does not
// answer; a window of this process does.
TEST_F(PaneRefreshTest, IconsAreTheWindowsOwnAndFollowItsChanges) {
    const HICON warning = LoadIconA(nullptr, IDI_WARNING);
    const HICON error = LoadIconA(nullptr, IDI_ERROR);
    ASSERT_NE(testing_support::DrawnIcon(warning), testing_support::DrawnIcon(error));
    auto ownWindow = [](const char* title) {
        return UniqueWindow(CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                            50, 50, 300, 200, nullptr, nullptr, nullptr, nullptr));
    };
    UniqueWindow first = ownWindow("first"), second = ownWindow("second");
    SendMessageA(first.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(warning));
    ASSERT_TRUE(Add(first.get()));
    const HWND tabs = Root().TabControl();
    EXPECT_TRUE(TabShowsIcon(tabs, 0, warning)) << "asked when it was captured";
    ASSERT_TRUE(Add(second.get()));
    Hold(2);
    EXPECT_TRUE(TabShowsIcon(tabs, 1, LoadIconA(nullptr, IDI_APPLICATION))) << "none of its own";

    SendMessageA(first.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(error));
    EXPECT_TRUE(WaitUntil([&] { return TabShowsIcon(tabs, 0, error); }, IconBound(4) + kSlack))
        << "a background tab's icon, in turn";
    EXPECT_TRUE(TabShowsIcon(tabs, 1, LoadIconA(nullptr, IDI_APPLICATION)));

    Command(kSelectPrevTab);
    Command(kSelectPrevTab);
    ASSERT_EQ(Root().Selected(), 1);
    SendMessageA(second.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(warning));
    EXPECT_TRUE(WaitUntil([&] { return TabShowsIcon(tabs, 1, warning); }, 500 + kSlack))
        << "the selected tab's icon, within half a second";
    EXPECT_TRUE(TabShowsIcon(tabs, 0, error));
    Root().ReleaseEveryWindow();
}

TEST_F(PaneRefreshTest, AHungApplicationsTabsStillSwitch) {
    const std::vector<HWND> windows = Hold(5);
    ASSERT_TRUE(app.Hang(8000));
    DWORD_PTR ignored = 0;
    auto hung = [&] {
        return !SendMessageTimeoutA(windows[0], WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored);
    };
    ASSERT_TRUE(WaitUntil(hung));
    for (int i = 0; i < 5; ++i) {
        const int before = Root().Selected();
        Command(kSelectNextTab);
        EXPECT_EQ(Root().Selected(), (before + 1) % 5);
    }
    PumpFor(300);  // the refresh runs on meanwhile
    EXPECT_TRUE(hung()) << "still hung: nothing above waited for it";
    app.End();
}

}  // namespace
