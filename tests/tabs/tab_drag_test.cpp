// A tab dragged with the mouse: the drag holds the mouse until the button
// comes up and says where it did; a drop lands in the pane whose tab strip,
// header or empty display area lies there, and nowhere over other windows.
#include "tabs/tab_drag.h"

#include "base/command_kinds.h"
#include "tabs/pane.h"
#include "tabs/split_bar.h"
#include "tabs/tab_ids.h"
#include "tests/support/on_screen.h"
#include "tests/support/test_pane_host.h"
#include "tests/support/strip_fixture.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <thread>

using testing_support::CentreOnScreen;
using testing_support::MouseButton;
using testing_support::HostedPaneTest;
using testing_support::PlaceCursor;
using testing_support::StripTest;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

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
    const DWORD dragThread = GetCurrentThreadId();
    const HWND tabControl = TabControl();
    std::thread user([to, dragThread, tabControl] {
        EXPECT_TRUE(WaitUntil([&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(dragThread, &info) && info.hwndCapture == tabControl;
        }));
        SetCursorPos(to.x, to.y);
        EXPECT_TRUE(WaitUntil([&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == to.x && at.y == to.y;
        }));
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

TEST_F(HostedPaneTest, ADropLandsInThePaneUnderThePointer) {
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

    // Another program's window that carries a property of the same name,
    // even with the address of a real pane in it.
    WindowSpec form;
    form.title = "impostor";
    form.x = 900;
    form.y = 100;
    const HWND impostor = app.Open(form);
    ASSERT_NE(impostor, nullptr);
    ASSERT_TRUE(SetPropA(impostor, tab_ids::kPaneProperty, &Root()));
    ASSERT_EQ(WindowFromPoint(CentreOnScreen(impostor)), impostor);
    EXPECT_EQ(TabDrag::PaneAt(CentreOnScreen(impostor)), nullptr);
}

}  // namespace
