// The sample application does what the other tests rely on.
#include "tests/support/sample_app.h"

#include "tests/support/wait.h"

#include <gtest/gtest.h>

using testing_support::HandleText;
using testing_support::SampleApp;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

TEST(TestEnvironment, AnsiCodePageIsJapanese) {
    EXPECT_EQ(GetACP(), 932u) << "tests must run with LC_ALL=ja_JP.UTF-8";
}

TEST(SampleApp, OpensWindowsAsAskedInItsOwnProcess) {
    SampleApp app;
    WindowSpec form;
    form.className = "SampleSpecClass";
    form.title = "タイトル表";
    form.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    form.exStyle = WS_EX_TOOLWINDOW;
    form.x = 40, form.y = 50, form.width = 200, form.height = 100;
    const HWND window = app.Open(form);
    ASSERT_NE(window, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    EXPECT_EQ(pid, app.ProcessId());
    char text[64] = "", className[64] = "";
    GetWindowTextA(window, text, sizeof text);
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(text, "タイトル表");
    EXPECT_STREQ(className, "SampleSpecClass");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & ~WS_CLIPSIBLINGS,
              form.style | WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.bottom, 150);

    form.owner = window;
    form.show = SW_HIDE;
    const HWND owned = app.Open(form);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), window);
    EXPECT_FALSE(IsWindowVisible(owned));

    form.show = SW_SHOWMAXIMIZED;
    form.owner = nullptr;
    form.style = WS_OVERLAPPEDWINDOW;
    EXPECT_TRUE(IsZoomed(app.Open(form)));
}

TEST(SampleApp, ChangesTitleAndDestroysOnRequest) {
    SampleApp app;
    const HWND window = app.Open(WindowSpec{});
    ASSERT_TRUE(app.SetTitle(window, "renamed"));
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "renamed");
    // Wine 8 answers WM_GETICON from another process with 0, so the sample
    // application reports the icon it now has itself.
    EXPECT_TRUE(app.SetIcon(window, 2));
    EXPECT_FALSE(app.SetIcon(window, 0));
    ASSERT_TRUE(app.Destroy(window));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(app.Logged("destroyed " + HandleText(window)));
}

TEST(SampleApp, RefusesCloseAndLogsTheRequest) {
    SampleApp app;
    const HWND window = app.Open(WindowSpec{});
    ASSERT_TRUE(app.RefuseClose(window));
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    const auto log = app.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "close " + HandleText(window)), 2);
    app.RefuseClose(window, false);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST(SampleApp, HangsThenAnswersAgain) {
    SampleApp app;
    const HWND window = app.Open(WindowSpec{});
    ASSERT_TRUE(app.Hang(1500));
    DWORD_PTR result = 0;
    EXPECT_FALSE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result));
    EXPECT_TRUE(WaitUntil([&] {
        return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result) != 0;
    }, 10000));
}

TEST(SampleApp, EndsWhenAsked) {
    SampleApp app;
    app.Open(WindowSpec{});
    EXPECT_TRUE(app.Running());
    app.End();
    EXPECT_FALSE(app.Running());
}

}  // namespace
