// Accelerator keys and mouse gestures in the real panelry.exe, with real
// input on the virtual display: keys typed on the X server's keyboard
// (xdotool, started through Wine), the pointer moved with SetCursorPos.
// Panelry holds three windows of the sample application; which tab a
// command acted on is read from the outside (the tab control's selection,
// and which window a release gave back to the desktop).
//
// "Exactly once" is shown without a clock: once the command under test has
// shown its effect, a second input releases the selected tab. Everything the
// first input set off was queued in Panelry before the second input existed,
// so had the first command been carried out twice, the release would find
// another tab selected.
#include "base/command_kinds.h"
#include "base/messages.h"
#include "commands/command_ids.h"
#include "tabs/tab_ids.h"
#include "tests/support/desktop_input.h"
#include "tests/support/input_observer.h"
#include "tests/support/on_screen.h"
#include "tests/support/panelry_process.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

using testing_support::FocusProcess;
using testing_support::InputObserver;
using testing_support::PanelryProcess;
using testing_support::RunXdotool;
using testing_support::SampleApp;
using testing_support::WaitUntil;
using testing_support::WindowSpec;
using testing_support::WriteFileText;

namespace {

constexpr DWORD kDeadlineMs = 10000;
constexpr int kWindows = 3;

// Keys typed on the X server's keyboard, as a user would.
bool TypeOnKeyboard(const char* keys) { return RunXdotool(std::string("key ") + keys); }

class RunningPanelry : public ::testing::Test {
protected:
    void TearDown() override {
        if (panelry.Running()) {
            EXPECT_EQ(panelry.Close(), 0);
        }
    }

    // Starts Panelry with menuIni (none when empty) and captures three
    // windows; the last one is selected.
    void Start(const std::string& menuIni) {
        if (!menuIni.empty()) WriteFileText(panelry.Dir().File(command_ids::kMenuIni), menuIni);
        main = panelry.Start();
        ASSERT_NE(main, nullptr);
        MoveWindow(main, 100, 80, 700, 500, TRUE);
        // The root pane's, the only one before any split.
        tabs = FindWindowExA(FindWindowExA(main, nullptr, tab_ids::kBaseClass, nullptr), nullptr,
                             WC_TABCONTROLA, nullptr);
        ASSERT_NE(tabs, nullptr);
        for (int i = 0; i < kWindows; ++i) {
            WindowSpec form;
            form.title = "tab " + std::to_string(i);
            windows[i] = app.Open(form);
            ASSERT_NE(windows[i], nullptr);
            DWORD_PTR captured = 0;
            ASSERT_TRUE(SendMessageTimeoutA(main, PM_ADDWINDOW, 0,
                                            reinterpret_cast<LPARAM>(windows[i]), SMTO_NORMAL,
                                            kDeadlineMs, &captured));
            ASSERT_EQ(captured, 1u) << i;
        }
        ASSERT_EQ(TabCount(), kWindows);
        ASSERT_EQ(Selected(), kWindows - 1);
    }

    int Selected() const { return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)); }
    int TabCount() const { return static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)); }
    bool OnDesktop(HWND window) const {
        return GetAncestor(window, GA_PARENT) == GetDesktopWindow();
    }

    bool FocusPanelry() {
        RECT r{};
        GetWindowRect(tabs, &r);
        // Keys of the X server go where its pointer is, when nothing else
        // holds the X focus.
        SetCursorPos((r.left + r.right) / 2, r.top + 4);
        return WaitUntil([&] {
            if (GetForegroundWindow() != main) SetForegroundWindow(main);
            return GetForegroundWindow() == main && FocusProcess() == panelry.ProcessId();
        }, kDeadlineMs);
    }

    // The window of the selected tab takes the focus, as a click on the
    // pane's header bar would give it.
    bool FocusSelectedWindow() {
        PostMessageA(tabs, PM_FOREGROUNDACTIVE, 0, 0);
        return WaitUntil([&] { return FocusProcess() == app.ProcessId(); }, kDeadlineMs);
    }

    // After a command that selected the tab expected, with every tab still
    // there: marker() releases the selected tab; exactly that window comes
    // back to the desktop.
    template <typename Marker>
    void ExpectReleaseOf(int expected, Marker marker) {
        ASSERT_EQ(TabCount(), kWindows);
        ASSERT_TRUE(marker()) << "the marker could not be given";
        const auto released = [&] {
            int found = -1;
            for (int i = 0; i < kWindows; ++i) {
                if (OnDesktop(windows[i]) && IsWindowVisible(windows[i])) found = i;
            }
            return found;
        };
        ASSERT_TRUE(WaitUntil([&] { return released() >= 0; }, kDeadlineMs))
            << "the release never came";
        EXPECT_EQ(released(), expected);
        EXPECT_TRUE(WaitUntil([&] { return TabCount() == kWindows - 1; }, kDeadlineMs));
        for (int i = 0; i < kWindows; ++i) {
            EXPECT_EQ(OnDesktop(windows[i]), i == expected) << "window " << i;
        }
    }

    // Ctrl + Right, then the marker Ctrl + R (release the selected tab).
    void PressNextTabThenRelease() {
        const int before = Selected();
        const int next = (before + 1) % kWindows;
        ASSERT_TRUE(TypeOnKeyboard("ctrl+Right")) << "xdotool missing?";
        ASSERT_TRUE(WaitUntil([&] { return Selected() != before; }, kDeadlineMs))
            << "Ctrl + Right did nothing";
        EXPECT_EQ(Selected(), next);
        ExpectReleaseOf(next, [] { return TypeOnKeyboard("ctrl+r"); });
    }

    PanelryProcess panelry;
    SampleApp app{false};
    HWND main = nullptr;
    HWND tabs = nullptr;
    HWND windows[kWindows] = {};
};

// The hook library watches the keys of every slot given here; slot 1 is
// "next tab", slot 5 "release tab".
const char kGlobalKeys[] =
    "[HOTKEY]\r\nHOOK=true\r\n"
    "[MODIFIERS]\r\n1=8\r\n5=8\r\n"
    "[VIRTUALKEY]\r\n1=39\r\n5=82\r\n";

TEST_F(RunningPanelry, DefaultCtrlRightSelectsTheNextTabOnceWhilePanelryHasTheFocus) {
    Start("");
    ASSERT_TRUE(FocusPanelry());
    PressNextTabThenRelease();
}

TEST_F(RunningPanelry, WithTheGlobalHookOnAKeyInPanelryStillActsOnce) {
    Start(kGlobalKeys);
    ASSERT_TRUE(FocusPanelry());
    PressNextTabThenRelease();
}

TEST_F(RunningPanelry, WithTheGlobalHookOnAKeyInACapturedWindowActsOnce) {
    Start(kGlobalKeys);
    ASSERT_TRUE(FocusPanelry());
    ASSERT_TRUE(FocusSelectedWindow());
    PressNextTabThenRelease();
}


// The observer is made before Panelry starts, so its hooks come after
// Panelry's: a movement it sees has been reported to Panelry.
class RunningPanelryGestures : public RunningPanelry {
protected:
    InputObserver observer;
};

TEST_F(RunningPanelryGestures, ARealMouseGestureSelectsTheNextTabOnce) {
    ASSERT_TRUE(observer.Installed());
    // Right-left selects the next tab, up-down (the marker) releases the
    // selected tab. Nothing is forgotten during the test, however slow the
    // machine.
    Start("[MOUSEGESTURE]\r\nELAPSE=600000\r\nNo2=RL\r\nNo6=UD\r\n");
    RECT r{};
    GetWindowRect(main, &r);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ASSERT_TRUE(observer.MoveCursorTo(at));
    const int before = Selected();
    ASSERT_TRUE(observer.MoveCursorTo(POINT{at.x + 60, at.y}));
    ASSERT_TRUE(observer.MoveCursorTo(POINT{at.x + 60, at.y + 10}));  // short of the border
    ASSERT_TRUE(observer.MoveCursorTo(POINT{at.x, at.y + 10}));
    ASSERT_TRUE(WaitUntil([&] { return Selected() != before; }, kDeadlineMs))
        << "the gesture right-left did nothing";
    const int next = (before + 1) % kWindows;
    EXPECT_EQ(Selected(), next);

    ExpectReleaseOf(next, [&] {
        return observer.MoveCursorTo(POINT{at.x, at.y - 50}) &&
               observer.MoveCursorTo(POINT{at.x, at.y + 10});
    });
}

}  // namespace

namespace {

// Panelry's dialogs on the screen.
int OpenDialogsOf(DWORD process) {
    return static_cast<int>(testing_support::ShownTopLevelWindows(process, "#32770").size());
}

}  // namespace

// The settings command by gesture or message while the settings dialog is
// open opens no second dialog; a command on the tabs waits until the dialog
// has closed. A window offered with PM_ADDWINDOW after the commands (taken
// at once, dialog or not) shows when Panelry has handled them.
TEST_F(RunningPanelryGestures, WhileTheSettingsDialogIsOpenNoSecondOneOpensAndTabCommandsWait) {
    ASSERT_TRUE(observer.Installed());
    Start("[MOUSEGESTURE]\r\nELAPSE=600000\r\nNo21=RL\r\n");
    PostMessageA(main, WM_COMMAND, kSettings, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        dialog = GetLastActivePopup(main);
        return dialog != main && IsWindowVisible(dialog);
    }, kDeadlineMs));
    const auto handledSoFar = [&] {
        const HWND marker = app.Open(WindowSpec{});
        PostMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(marker));
        return WaitUntil([&] { return !OnDesktop(marker); }, kDeadlineMs);
    };

    PostMessageA(main, WM_COMMAND, kSettings, 0);
    PostMessageA(main, WM_COMMAND, kSettings, 0);
    ASSERT_TRUE(handledSoFar());
    EXPECT_EQ(OpenDialogsOf(panelry.ProcessId()), 1);

    RECT r{};
    GetWindowRect(dialog, &r);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ASSERT_TRUE(observer.MoveCursorTo(at));
    ASSERT_TRUE(observer.MoveCursorTo(POINT{at.x + 60, at.y}));
    ASSERT_TRUE(observer.MoveCursorTo(POINT{at.x, at.y + 10}));
    // The gesture's command is posted while Panelry handles the movement.
    ASSERT_TRUE(handledSoFar());
    ASSERT_TRUE(handledSoFar());
    EXPECT_EQ(OpenDialogsOf(panelry.ProcessId()), 1) << "the gesture over the dialog";

    PostMessageA(main, WM_COMMAND, kSelectNextTab, 0);
    ASSERT_TRUE(handledSoFar());
    const int last = TabCount() - 1;
    EXPECT_EQ(Selected(), last) << "a tab command acted under the dialog";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return Selected() == 0; }, kDeadlineMs))
        << "the held command was not carried out after the dialog closed";
    EXPECT_EQ(OpenDialogsOf(panelry.ProcessId()), 0);
}
