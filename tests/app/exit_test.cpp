// Ending the real program gives every captured window back to the desktop,
// or closes it; a window that will not close is never lost.
#include "base/messages.h"
#include "settings/profile_hex.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tests/support/panelry_process.h"
#include "tests/support/sample_app.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

using testing_support::PanelryProcess;
using testing_support::SampleApp;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

class ExitTest : public ::testing::Test {
protected:
    void StartWith(void (*adjust)(SystemData&)) {
        SystemData record = DefaultSystemData();
        adjust(record);
        profile_hex::WriteStruct(panelry.SystemIni().c_str(), settings_ids::kSystemSection,
                                 settings_ids::kStructKey, &record, sizeof record);
        main = panelry.Start();
        ASSERT_NE(main, nullptr);
    }

    HWND Capture(int show = SW_SHOWNORMAL) {
        WindowSpec form;
        form.show = show;
        form.title = "held " + std::to_string(windows.size());
        HWND window = app.Open(form);
        styles.push_back(GetWindowLongA(window, GWL_STYLE));
        EXPECT_EQ(SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)), 1);
        EXPECT_NE(GetAncestor(window, GA_PARENT), GetDesktopWindow());
        windows.push_back(window);
        return window;
    }

    static bool OnDesktop(HWND window) {
        return GetAncestor(window, GA_PARENT) == GetDesktopWindow();
    }

    PanelryProcess panelry;
    SampleApp app;
    HWND main = nullptr;
    std::vector<HWND> windows;
    std::vector<LONG> styles;
};

TEST_F(ExitTest, EveryWindowComesBackAsItWas) {
    StartWith([](SystemData&) {});
    Capture();
    const HWND maximised = Capture(SW_SHOWMAXIMIZED);
    Capture();
    EXPECT_EQ(panelry.Close(), 0);
    for (size_t i = 0; i < windows.size(); ++i) {
        EXPECT_TRUE(IsWindow(windows[i]));
        EXPECT_TRUE(OnDesktop(windows[i]));
        EXPECT_EQ(GetWindowLongA(windows[i], GWL_STYLE), styles[i]);
        EXPECT_FALSE(IsIconic(windows[i]));
    }
    EXPECT_TRUE(IsZoomed(maximised));
    EXPECT_TRUE(app.Running());
}

TEST_F(ExitTest, WindowsComeBackMinimisedWhenAsked) {
    StartWith([](SystemData& d) { d.minimizeAllOnExit = 1; });
    Capture();
    Capture();
    EXPECT_EQ(panelry.Close(), 0);
    for (HWND window : windows) {
        EXPECT_TRUE(OnDesktop(window));
        EXPECT_TRUE(IsIconic(window));
    }
}

TEST_F(ExitTest, ClosingAllAtExitGivesBackAWindowThatRefuses) {
    StartWith([](SystemData& d) { d.closeAllOnExit = 1; });
    const HWND closes = Capture();
    const HWND refuses = Capture();
    ASSERT_TRUE(app.RefuseClose(refuses));
    EXPECT_EQ(panelry.Close(), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(closes); }));
    ASSERT_TRUE(IsWindow(refuses)) << "a window with unsaved work is never destroyed";
    EXPECT_TRUE(OnDesktop(refuses));
    EXPECT_EQ(GetWindowLongA(refuses, GWL_STYLE), styles[1]);
    EXPECT_TRUE(app.Logged("close " + testing_support::HandleText(refuses)));
}

TEST_F(ExitTest, ClosingAllAtExitWaitsForEachAnswerWithTheWindowStillInItsTab) {
    StartWith([](SystemData& d) { d.closeAllOnExit = 1; });
    const HWND slow = Capture();
    const HWND quick = Capture();
    ASSERT_TRUE(app.AskOnClose(slow));
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !app.Questions().empty(); }));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(quick); })) << "asked first, closed at once";
    testing_support::PumpFor(500);  // a slow answer
    EXPECT_FALSE(OnDesktop(slow)) << "no flash back onto the desktop while its question is open";
    EXPECT_TRUE(panelry.Running()) << "Panelry waits for the answer";
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 500, &ignored))
        << "and answers meanwhile";
    for (HWND question : app.Questions()) SampleApp::Answer(question);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(slow); }));
    EXPECT_EQ(testing_support::WaitForExit(panelry.Process(), 15000), 0);
}

}  // namespace
