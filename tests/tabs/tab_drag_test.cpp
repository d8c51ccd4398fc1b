// A tab dragged with the mouse: the drag holds the mouse until the button
// comes up and says where it did; a drop lands in the pane whose tab strip,
// header or empty display area lies there, and nowhere over other windows.
#include "tabs/tab_drag.h"

#include "base/command_kinds.h"
#include "tabs/pane.h"
#include "tabs/split_bar.h"
#include "tests/support/on_screen.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/strip_fixture.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <thread>

using testing_support::CentreOnScreen;
using testing_support::MouseButton;
using testing_support::PaneTest;
using testing_support::PlaceCursor;
using testing_support::StripTest;

namespace {

TEST_F(StripTest, ADragHoldsTheMouseUntilTheButtonComesUpAndSaysWhere) {
    TabStrip strip = Strip();
    strip.Insert(0, Capture("dragged"));
    strip.Insert(1, Capture("other"));
    RECT first{};
    SendMessageA(TabControl(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    POINT from{(first.left + first.right) / 2, (first.top + first.bottom) / 2};
    ClientToScreen(TabControl(), &from);
    const POINT to{from.x + 150, from.y + 200};
    ASSERT_TRUE(PlaceCursor(from));
    MouseButton(MOUSEEVENTF_LEFTDOWN);

    // The user moves on and lets go while the drag follows.
    std::thread user([to] {
        Sleep(300);
        SetCursorPos(to.x, to.y);
        Sleep(100);
        MouseButton(MOUSEEVENTF_LEFTUP);
    });
    POINT released{};
    {
        TabDrag drag(TabControl(), 0);
        EXPECT_EQ(GetCapture(), TabControl());
        released = drag.Follow();
    }
    user.join();
    EXPECT_EQ(released.x, to.x);
    EXPECT_EQ(released.y, to.y);
    EXPECT_NE(GetCapture(), TabControl()) << "the mouse is free once the drag is over";
}

TEST_F(PaneTest, ADropLandsInThePaneUnderThePointer) {
    ASSERT_TRUE(Add(OpenWindow("held")));
    ASSERT_EQ(Command(kSplitLeftRight), 1);
    cTab& child = *Root().Child();

    EXPECT_EQ(TabDrag::PaneAt(TabCentre(Root(), 0)), &Root()) << "a tab of the strip";
    EXPECT_EQ(TabDrag::PaneAt(CentreOnScreen(Root().Header().Window())), &Root());
    EXPECT_EQ(TabDrag::PaneAt(CentreOnScreen(child.Header().Window())), &child);
    EXPECT_EQ(TabDrag::PaneAt(CentreOnScreen(child.DisplayArea())), &child)
        << "an empty display area";
    EXPECT_EQ(TabDrag::PaneAt(CentreOnScreen(Root().SplitBar()->Window())), nullptr)
        << "the split bar is no pane";
    EXPECT_EQ(TabDrag::PaneAt({5, 790}), nullptr) << "the desktop below the main window";
}

}  // namespace
