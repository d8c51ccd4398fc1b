// Split panes with real windows of another process: splitting and
// unsplitting, the layout around the bar, tabs moved across it, and the
// layout of the chain kept in system.ini and restored at start.
#include "tabs/pane.h"

#include "base/command_kinds.h"
#include "base/messages.h"
#include "settings/system_data.h"
#include "tabs/split_bar.h"
#include "tabs/tab_ids.h"
#include "tests/support/on_screen.h"
#include "tests/support/test_pane_host.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using testing_support::ExpectRect;
using testing_support::HostedPaneTest;
using testing_support::PixelOf;
using testing_support::RectIn;
using testing_support::ReadFileText;
using testing_support::WaitUntil;
using testing_support::WriteFileText;

namespace {

using Windows = std::vector<HWND>;

class SplitPane : public HostedPaneTest {
protected:
    bool HeaderButtonsEnabled(cTab& pane) {
        for (int id = cHeader::kCloseId; id <= cHeader::kMinimizeId; ++id) {
            if (IsWindowEnabled(GetDlgItem(pane.Header().Window(), id))) return true;
        }
        return false;
    }
    // The root's base window at a known size, laid out again.
    void SizeRoot(int width, int height) { Root().MoveBaseWindow(0, 0, width, height); }
    std::string SavedLayout() {
        Root().SaveSplitLayout(settings.SystemIni().c_str());
        return RawLayout();
    }
    std::string RawLayout() { return testing_support::SplitRateAsWritten(settings.SystemIni()); }
    void StoreLayout(const std::string& value) {
        WriteFileText(settings.SystemIni(), "[TAB]\r\nSPLITRATE=" + value + "\r\n");
    }
};

TEST_F(SplitPane, TopBottomKeepsTheTabsAboveAndAddsAnEmptyPaneBelow) {
    const Windows windows = CaptureThree();
    ASSERT_TRUE(Root().Split(true));
    ASSERT_NE(Root().Child(), nullptr);
    ASSERT_NE(Root().SplitBar(), nullptr);
    EXPECT_TRUE(Root().SplitBar()->IsHorizontal());
    EXPECT_EQ(TabWindows(Root()), windows);
    EXPECT_EQ(SelectedWindow(Root()), windows[2]);
    cTab& lower = *Root().Child();
    EXPECT_EQ(lower.TabCount(), 0);
    EXPECT_EQ(GetParent(lower.BaseWindow()), Root().BaseWindow());
    EXPECT_EQ(GetParent(Root().SplitBar()->Window()), Root().BaseWindow());
    EXPECT_FALSE(HeaderButtonsEnabled(lower)) << "an empty pane's header has nothing to act on";
    for (HWND window : windows) EXPECT_EQ(GetAncestor(window, GA_PARENT), Root().DisplayArea());
}

TEST_F(SplitPane, AtHalfOf600By400TheBarAndBothPanesTakeTheirPlaces) {
    const struct {
        bool horizontal;
        RECT bar, first, child;
    } cases[] = {
        {true, {0, 200, 600, 216}, {0, 0, 600, 200}, {0, 216, 600, 400}},
        {false, {300, 0, 316, 400}, {0, 0, 300, 400}, {316, 0, 600, 400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.horizontal ? "top and bottom" : "side by side");
        ASSERT_TRUE(Root().Split(c.horizontal));
        SizeRoot(600, 400);
        const HWND base = Root().BaseWindow();
        ExpectRect(RectIn(Root().SplitBar()->Window(), base), c.bar, "bar");
        ExpectRect(RectIn(Root().TabControl(), base), c.first, "the pane's own tabs");
        ExpectRect(RectIn(Root().Child()->BaseWindow(), base), c.child, "the child");
    }
}

TEST(SplitHalves, NeitherHalfIsNegativeWhereverTheBarLies) {
    struct Case {
        const char* name;
        RECT client, bar;
        bool horizontal;
        RECT first, second;
    };
    const Case cases[] = {
        {"bar inside",
         {0, 0, 300, 100},
         {0, 20, 300, 36},
         true,
         {0, 0, 300, 20},
         {0, 36, 300, 100}},
        // Less room than both 64-pixel margins and the bar: the clamp puts
        // the bar at the first margin, past the container's end.
        {"bar past the bottom",
         {0, 0, 300, 40},
         {0, 64, 300, 80},
         true,
         {0, 0, 300, 64},
         {0, 80, 300, 80}},
        {"bar past the right",
         {0, 0, 40, 200},
         {64, 0, 80, 200},
         false,
         {0, 0, 64, 200},
         {80, 0, 80, 200}},
        {"bar before the top",
         {0, 0, 300, 40},
         {0, -40, 300, -24},
         true,
         {0, 0, 300, 0},
         {0, -24, 300, 40}},
        {"bar before the left",
         {0, 0, 40, 200},
         {-40, 0, -24, 200},
         false,
         {0, 0, 0, 200},
         {-24, 0, 40, 200}},
    };
    for (const Case& c : cases) {
        const SplitHalves halves = HalvesAround(c.client, c.bar, c.horizontal);
        ExpectRect(halves.first, c.first, std::string(c.name) + ": first");
        ExpectRect(halves.second, c.second, std::string(c.name) + ": second");
    }
}

TEST_F(SplitPane, AContainerTooSmallForTheBarLeavesNoNegativeHalves) {
    ASSERT_TRUE(Root().Split(true));
    SizeRoot(300, 40);
    const RECT bar = RectIn(Root().SplitBar()->Window(), Root().BaseWindow());
    ExpectRect(bar, {0, 64, 300, 80}, "the bar, at the first margin past the end");
    ExpectRect(RectIn(Root().TabControl(), Root().BaseWindow()), {0, 0, 300, 64}, "upper");
    ExpectRect(RectIn(Root().Child()->BaseWindow(), Root().BaseWindow()), {0, 80, 300, 80},
               "lower, empty");
}

TEST_F(SplitPane, SplittingAgainOnlyReplacesABarOfTheOtherOrientation) {
    const Windows windows = CaptureThree();
    ASSERT_TRUE(Root().Split(true));
    cTab* const child = Root().Child();
    ASSERT_TRUE(Root().MoveCurrentTabTo(*child));
    Root().SplitBar()->SetRatio(0.3);
    const HWND firstBar = Root().SplitBar()->Window();

    ASSERT_TRUE(Root().Split(true));
    EXPECT_EQ(Root().SplitBar()->Window(), firstBar) << "same orientation: nothing changes";
    EXPECT_NEAR(Root().SplitBar()->Ratio(), 0.3, 0.01);

    ASSERT_TRUE(Root().Split(false));
    EXPECT_FALSE(IsWindow(firstBar));
    EXPECT_FALSE(Root().SplitBar()->IsHorizontal());
    EXPECT_DOUBLE_EQ(Root().SplitBar()->Ratio(), 0.5);
    EXPECT_EQ(Root().Child(), child) << "the child and its tabs stay";
    EXPECT_EQ(TabWindows(*child), (Windows{windows[2]}));
    EXPECT_EQ(TabWindows(Root()), (Windows{windows[0], windows[1]}));
}

TEST_F(SplitPane, TheChildTakesOverThePanesLook) {
    Root().ApplyTabStyle(TCS_BUTTONS | TCS_BOTTOM, WS_EX_CLIENTEDGE);
    Root().ApplyHeaderExStyle(WS_EX_STATICEDGE);
    // Colours no header has unless it is given them.
    const COLORREF activeBack = RGB(10, 20, 30), inactiveBack = RGB(40, 50, 60);
    const COLORREF activeText = RGB(70, 80, 90), inactiveText = RGB(100, 110, 120);
    Root().Header().SetColors(activeBack, inactiveBack, activeText, inactiveText);
    ASSERT_TRUE(Root().Split(false));
    const cTab& child = *Root().Child();
    EXPECT_EQ(GetWindowLongA(child.TabControl(), GWL_STYLE) & (TCS_BUTTONS | TCS_BOTTOM),
              TCS_BUTTONS | TCS_BOTTOM);
    EXPECT_TRUE(GetWindowLongA(child.TabControl(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongA(Root().Child()->Header().Window(), GWL_EXSTYLE) &
                WS_EX_STATICEDGE);
    const cHeader& header = Root().Child()->Header();
    EXPECT_EQ(header.ActiveBack(), activeBack);
    EXPECT_EQ(header.InactiveBack(), inactiveBack);
    EXPECT_EQ(header.ActiveText(), activeText);
    EXPECT_EQ(header.InactiveText(), inactiveText);
}

TEST_F(SplitPane, TheSplitCommandsReachTheActivePane) {
    EXPECT_EQ(Command(kSplitTopBottom), 1);
    ASSERT_NE(Root().Child(), nullptr);
    EXPECT_TRUE(Root().SplitBar()->IsHorizontal());
    EXPECT_EQ(Command(kSplitLeftRight), 1);
    EXPECT_FALSE(Root().SplitBar()->IsHorizontal());
    EXPECT_EQ(Command(kUnsplit), 1);
    EXPECT_EQ(Root().Child(), nullptr);
    EXPECT_EQ(Root().SplitBar(), nullptr);
}

TEST_F(SplitPane, UnsplitGathersAChainOfThreeIntoTheRootInTheChildsSelectionOrder) {
    const HWND a = OpenWindow("a"), b = OpenWindow("b"), c = OpenWindow("c"),
               e = OpenWindow("e");
    ASSERT_TRUE(Root().Split(true));
    cTab& child = *Root().Child();
    ASSERT_TRUE(child.Split(false));
    cTab& grandchild = *child.Child();
    ASSERT_TRUE(Add(a));
    ActivePane() = &child;
    ASSERT_TRUE(Add(b));
    ASSERT_TRUE(Add(c));
    ActivePane() = &grandchild;
    ASSERT_TRUE(Add(e));
    // c is the child's selected tab, but b was used after it.
    child.RecordAt(0)->SetLastActivated(2000);
    child.RecordAt(1)->SetLastActivated(1000);

    Root().Unsplit();
    // The grandchild's e goes to the child and is selected there; the root
    // then takes the child's selection, then the most recently used.
    EXPECT_EQ(TabWindows(Root()), (Windows{a, e, b, c}));
    EXPECT_EQ(Root().Child(), nullptr);
    EXPECT_EQ(Root().SplitBar(), nullptr);
    EXPECT_EQ(ActivePane(), &Root()) << "the active pane went with the chain";
    for (HWND window : {a, b, c, e}) {
        EXPECT_EQ(GetAncestor(window, GA_PARENT), Root().DisplayArea());
    }
    RECT client{}, tabs{};
    GetClientRect(Root().BaseWindow(), &client);
    GetClientRect(Root().TabControl(), &tabs);
    EXPECT_EQ(tabs.bottom, client.bottom) << "the tab control fills the pane again";
}

TEST_F(SplitPane, MoveTabGoesBothWaysAndAnEmptySourceChangesNothing) {
    const Windows windows = CaptureThree();
    ASSERT_TRUE(Root().Split(true));
    cTab& lower = *Root().Child();
    const HWND base = Root().BaseWindow();

    SendMessageA(base, PM_MOVETAB, 0, 0);  // the lower pane has nothing to give
    EXPECT_EQ(Root().TabCount(), 3);
    EXPECT_EQ(lower.TabCount(), 0);

    SendMessageA(base, PM_MOVETAB, 0, 1);
    EXPECT_EQ(TabWindows(lower), (Windows{windows[2]}));
    EXPECT_EQ(GetAncestor(windows[2], GA_PARENT), lower.DisplayArea());
    EXPECT_EQ(Root().TabCount(), 2);

    // The bar's button at the right end of a horizontal bar brings the
    // lower pane's tab back up.
    const HWND endButton = GetDlgItem(Root().SplitBar()->Window(), cSplitbar::kEndButtonId);
    ASSERT_NE(endButton, nullptr);
    SendMessageA(endButton, BM_CLICK, 0, 0);
    EXPECT_EQ(lower.TabCount(), 0);
    EXPECT_EQ(Root().TabCount(), 3);
    EXPECT_EQ(SelectedWindow(Root()), windows[2]);
    SendMessageA(endButton, BM_CLICK, 0, 0);
    EXPECT_EQ(Root().TabCount(), 3);
}

TEST_F(SplitPane, ClosingTheMainWindowGivesBackTheWindowsOfEveryPane) {
    const Windows windows = CaptureThree();
    ASSERT_TRUE(Root().Split(true));
    ASSERT_TRUE(Root().Child()->Split(false));
    ASSERT_TRUE(Root().MoveCurrentTabTo(*Root().Child()));
    ASSERT_TRUE(Root().Child()->MoveCurrentTabTo(*Root().Child()->Child()));
    SendMessageA(Main(), WM_CLOSE, 0, 0);
    for (HWND window : windows) {
        EXPECT_TRUE(OnDesktop(window)) << "window " << window;
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    }
}

TEST_F(SplitPane, AppliedSettingsReachEveryPaneOfTheChain) {
    ASSERT_TRUE(Root().Split(true));
    ASSERT_TRUE(Root().Child()->Split(true));
    GetSystemData().tabStyle |= TCS_BUTTONS;
    SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0);
    for (cTab* pane = &Root(); pane; pane = pane->Child()) {
        EXPECT_TRUE(GetWindowLongA(pane->TabControl(), GWL_STYLE) & TCS_BUTTONS);
    }
}

TEST_F(SplitPane, AppliedSettingsRecolourEveryPanesHeader) {
    ASSERT_TRUE(Root().Split(true));
    ASSERT_TRUE(Root().Child()->Split(false));
    SystemData& settings = GetSystemData();
    settings.headerActiveBack = RGB(200, 30, 40);
    settings.headerInactiveBack = RGB(20, 130, 60);
    settings.headerActiveText = RGB(250, 250, 0);
    settings.headerInactiveText = RGB(0, 0, 90);
    SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0);
    for (cTab* pane = &Root(); pane; pane = pane->Child()) {
        cHeader& header = pane->Header();
        EXPECT_EQ(header.ActiveBack(), settings.headerActiveBack);
        EXPECT_EQ(header.InactiveBack(), settings.headerInactiveBack);
        EXPECT_EQ(header.ActiveText(), settings.headerActiveText);
        EXPECT_EQ(header.InactiveText(), settings.headerInactiveText);
        // No pane's window is the foreground window: each shows its inactive colour.
        const HWND title = GetDlgItem(header.Window(), cHeader::kTitleId);
        EXPECT_TRUE(WaitUntil([&] { return PixelOf(title, 1, 1) == settings.headerInactiveBack; }))
            << "pane header " << header.Window();
    }
}

// ---- The layout in system.ini ------------------------------------------------------

TEST_F(SplitPane, ATwoLevelSplitIsWrittenAsH50V30) {
    EXPECT_EQ(SavedLayout(), "") << "an unsplit root writes an empty value";
    ASSERT_TRUE(Root().Split(true));
    ASSERT_TRUE(Root().Child()->Split(false));
    Root().Child()->SplitBar()->SetRatio(0.3);
    EXPECT_EQ(SavedLayout(), "H50 V30 ");
}

TEST_F(SplitPane, V25H60IsRestoredSideBySideWithTheRightPaneSplitTopBottom) {
    StoreLayout("V25 H60 ");
    Root().LoadSplitLayout(settings.SystemIni().c_str());
    ASSERT_NE(Root().SplitBar(), nullptr);
    EXPECT_FALSE(Root().SplitBar()->IsHorizontal());
    EXPECT_NEAR(Root().SplitBar()->Ratio(), 0.25, 0.005);
    cTab* right = Root().Child();
    ASSERT_NE(right, nullptr);
    ASSERT_NE(right->SplitBar(), nullptr);
    EXPECT_TRUE(right->SplitBar()->IsHorizontal());
    EXPECT_NEAR(right->SplitBar()->Ratio(), 0.60, 0.005);
    EXPECT_EQ(right->Child()->SplitBar(), nullptr);
}

TEST_F(SplitPane, AThirdIsWrittenAs33AndRestoredAs033) {
    ASSERT_TRUE(Root().Split(true));
    Root().SplitBar()->SetRatio(0.333);
    EXPECT_EQ(SavedLayout(), "H33 ");
    Root().Unsplit();
    Root().LoadSplitLayout(settings.SystemIni().c_str());
    ASSERT_NE(Root().SplitBar(), nullptr);
    EXPECT_NEAR(Root().SplitBar()->Ratio(), 0.33, 0.005);
}

TEST_F(SplitPane, TextWithoutLettersOrALetterWithoutNumberRestoresNothingForIt) {
    StoreLayout("50 30 ");
    Root().LoadSplitLayout(settings.SystemIni().c_str());
    EXPECT_EQ(Root().Child(), nullptr);

    StoreLayout("h40 v");
    Root().LoadSplitLayout(settings.SystemIni().c_str());
    ASSERT_NE(Root().Child(), nullptr) << "lower case letters count";
    EXPECT_TRUE(Root().SplitBar()->IsHorizontal());
    EXPECT_EQ(Root().Child()->Child(), nullptr) << "a letter without a number ends the parse";
}

TEST_F(SplitPane, AnOverlongPercentageSaturatesAndTheBarClampsIt) {
    StoreLayout("V99999999999999999999999999 H50");
    SizeRoot(600, 400);
    Root().LoadSplitLayout(settings.SystemIni().c_str());
    ASSERT_NE(Root().SplitBar(), nullptr);
    // All the way right, held off the end by the bar's margin.
    const RECT bar = RectIn(Root().SplitBar()->Window(), Root().BaseWindow());
    EXPECT_EQ(bar.left, cSplitbar::ClampSplitPosition(600, 600));
    ASSERT_NE(Root().Child()->SplitBar(), nullptr) << "the parse goes on after it";
}

}  // namespace
