// A tab dragged with the mouse: the drag holds the mouse until the button
// comes up and says where it did; a drop lands in the pane whose tab strip,
// header or empty display area lies there, and nowhere over other windows.
#include "tabs/tab_drag.h"

#include "base/command_kinds.h"
#include "resources/resource_ids.h"
#include "tabs/pane.h"
#include "tabs/split_bar.h"
#include "tabs/tab_ids.h"
#include "tests/support/desktop_input.h"
#include "tests/support/on_screen.h"
#include "tests/support/test_pane_host.h"
#include "tests/support/strip_fixture.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <cstdio>
#include <optional>
#include <string>
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
    std::optional<POINT> released;
    {
        TabDrag drag(TabControl(), 0);
        EXPECT_EQ(GetCapture(), TabControl());
        released = drag.Follow();
    }
    user.join();
    ASSERT_TRUE(released.has_value());
    EXPECT_EQ(released->x, to.x);
    EXPECT_EQ(released->y, to.y);
    EXPECT_NE(GetCapture(), TabControl()) << "the mouse is free once the drag is over";
}

// Drags with the X server's own mouse (and keys): the press reaches the
// pane's tab control, whose drag loop then holds this thread until the
// button is up.
class RealDrag : public HostedPaneTest {
protected:
    // Drags tab index of pane from its centre to a screen point, typing
    // keys (if any) before letting go; returns once the drag is over.
    bool Drag(cTab& pane, int index, POINT to, const char* keys = "") {
        const POINT from = TabCentre(pane, index);
        char command[256];
        std::snprintf(command, sizeof command,
                      "mousemove %ld %ld mousedown 1 sleep 0.3 mousemove %ld %ld mousemove %ld %ld "
                      "sleep 0.3 %s%s mouseup 1",
                      from.x, from.y, from.x + 30, from.y + 10, to.x, to.y,
                      *keys ? "key " : "", keys);
        pressed_ = false;
        const UniqueHook watch(
            SetWindowsHookExA(WH_GETMESSAGE, &Watch, nullptr, GetCurrentThreadId()));
        return watch && testing_support::RunXdotool(command) &&
               WaitUntil([] {
                   return pressed_ && GetAsyncKeyState(VK_LBUTTON) >= 0 && !GetCapture();
               }, 15000);
    }

private:
    // The press is taken off the queue and dispatched at once: the drag is
    // over when this thread next looks.
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && msg->message == WM_LBUTTONDOWN) pressed_ = true;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline bool pressed_ = false;
};

TEST_F(RealDrag, ATabDroppedOnTheDesktopGivesItsWindowBackThereOnTheWorkArea) {
    const HWND first = OpenWindow("first");
    const HWND second = OpenWindow("second");
    RECT before{};
    GetWindowRect(first, &before);
    const LONG style = GetWindowLongA(first, GWL_STYLE);
    ASSERT_TRUE(Add(first));
    ASSERT_TRUE(Add(second));

    // Right of the host window, with room for the whole window.
    const POINT drop{1280 - (before.right - before.left) - 40, 60};
    ASSERT_TRUE(TabDrag::OutsideProgram(drop));
    // The cursor says where the drop goes while the drag is out there.
    const HCURSOR out = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_TABDRAGOUT));
    ASSERT_NE(out, nullptr);
    bool sawOut = false;
    std::thread look([&] {
        WaitUntil([&] {
            CURSORINFO info{};
            info.cbSize = sizeof info;
            sawOut = GetCursorInfo(&info) && info.hCursor == out;
            return sawOut;
        }, 10000);
    });
    ASSERT_TRUE(Drag(Root(), 0, drop));
    look.join();
    EXPECT_TRUE(sawOut);
    EXPECT_TRUE(OnDesktop(first));
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_EQ(GetWindowLongA(first, GWL_STYLE), style) << "restored as a release restores it";
    RECT after{};
    GetWindowRect(first, &after);
    EXPECT_EQ(after.left, drop.x);
    EXPECT_EQ(after.top, drop.y);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(TabWindows(Root()), std::vector<HWND>{second});

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromPoint(drop, MONITOR_DEFAULTTONEAREST), &monitor);
    ASSERT_EQ(monitor.rcWork.right, 1280) << "the test display";
    const POINT corner{monitor.rcWork.right - 5, monitor.rcWork.bottom - 5};
    ASSERT_TRUE(Drag(Root(), 0, corner));
    ASSERT_TRUE(OnDesktop(second));
    GetWindowRect(second, &after);
    EXPECT_EQ(after.right, monitor.rcWork.right) << "moved back onto the work area";
    EXPECT_EQ(after.bottom, monitor.rcWork.bottom);
}

TEST_F(RealDrag, EscapeDuringADragLeavesTheTabInPlace) {
    const HWND held = OpenWindow("held");
    ASSERT_TRUE(Add(held));
    ASSERT_TRUE(Add(OpenWindow("other")));
    ASSERT_TRUE(Drag(Root(), 0, POINT{1000, 200}, "Escape"));
    EXPECT_EQ(GetAncestor(held, GA_PARENT), Root().DisplayArea());
    EXPECT_EQ(TabWindows(Root()).front(), held);
}

TEST_F(RealDrag, ATabDroppedOnAnotherPanesHeaderMovesThere) {
    const HWND moved = OpenWindow("moved");
    ASSERT_TRUE(Add(moved));
    ASSERT_TRUE(Add(OpenWindow("stays")));
    ASSERT_EQ(Command(kSplitLeftRight), 1);
    cTab& child = *Root().Child();
    ASSERT_TRUE(Drag(Root(), 0, CentreOnScreen(child.Header().Window())));
    EXPECT_EQ(TabWindows(child), std::vector<HWND>{moved});
    EXPECT_EQ(GetAncestor(moved, GA_PARENT), child.DisplayArea());
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
