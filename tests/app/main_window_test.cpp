// The main window in this process: placement at start, the notification-area
// icon and menu, the built-in commands and the deferred menu data release.
#include "app/main_window.h"

#include "app/app_ids.h"
#include "app/app_texts.h"
#include "base/base_ids.h"
#include "base/command_kinds.h"
#include "base/menu_data.h"
#include "base/messages.h"
#include "inputtap/inputtap.h"
#include "settings/profile_hex.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tabs/pane.h"
#include "tests/support/fresh_program_settings.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

using testing_support::FreshProgramSettings;
using testing_support::PumpFor;
using testing_support::PumpPending;
using testing_support::StartMainWindow;
using testing_support::WaitUntil;

namespace {

WINDOWPLACEMENT Placement(UINT showCmd, RECT normal) {
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    p.showCmd = showCmd;
    p.rcNormalPosition = normal;
    return p;
}

class MainWindowTest : public ::testing::Test {
protected:
    void TearDown() override { testing_support::CloseMainWindow(); }

    void StorePlacement(const WINDOWPLACEMENT& p) {
        profile_hex::WriteStruct(settings.SystemIni().c_str(), settings_ids::kSystemSection,
                                 settings_ids::kPlacementKey, &p, sizeof p);
    }

    WINDOWPLACEMENT StoredPlacement() {
        WINDOWPLACEMENT p{};
        EXPECT_TRUE(profile_hex::ReadStruct(settings.SystemIni().c_str(),
                                            settings_ids::kSystemSection,
                                            settings_ids::kPlacementKey, &p, sizeof p));
        return p;
    }

    FreshProgramSettings settings;
};

TEST_F(MainWindowTest, FirstStartShowsNormallyEvenWhenStartMinimizedIsSet) {
    GetSystemData().startMinimized = 1;  // no placement stored yet: ignored
    HWND main = StartMainWindow();
    ASSERT_NE(main, nullptr);
    char title[32] = "", className[32] = "";
    GetWindowTextA(main, title, sizeof title);
    GetClassNameA(main, className, sizeof className);
    EXPECT_STREQ(title, app_texts::kMainTitle);
    EXPECT_STREQ(className, base_ids::kMainClassName);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(GetWindowLongA(main, GWL_STYLE) & WS_CLIPCHILDREN);
    EXPECT_EQ(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
}

TEST_F(MainWindowTest, StoredPlacementGivesPositionSizeAndShowCommand) {
    StorePlacement(Placement(SW_SHOWNORMAL, {60, 70, 560, 470}));
    HWND main = StartMainWindow();
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 70);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 400);
    EXPECT_FALSE(IsIconic(main));
}

// Moved to a monitor of another scale, the window takes the rectangle
// Windows suggests and its panes fill it again.
TEST_F(MainWindowTest, ADpiChangeTakesTheSuggestedRectangleAndLaysThePanesOut) {
    StorePlacement(Placement(SW_SHOWNORMAL, {60, 70, 560, 470}));
    HWND main = StartMainWindow();
    ASSERT_NE(main, nullptr);
    RECT suggested{40, 50, 700, 520};
    SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_TRUE(EqualRect(&r, &suggested)) << r.left << "," << r.top << "," << r.right << ","
                                           << r.bottom;
    RECT client{}, base{}, header{}, tabs{};
    GetClientRect(main, &client);
    GetClientRect(RootPane().BaseWindow(), &base);
    EXPECT_EQ(base.right, client.right);
    EXPECT_EQ(base.bottom, client.bottom);
    GetClientRect(RootPane().TabControl(), &tabs);
    RootPane().Header().WindowRect(&header);
    EXPECT_NEAR(header.right - header.left, tabs.right, 8) << "the header spans the tabs";
}

TEST_F(MainWindowTest, OffScreenPlacementIsIgnoredButItsShowCommandKept) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    StorePlacement(Placement(SW_SHOWMAXIMIZED, {width + 10, 10, width + 400, 300}));
    HWND main = StartMainWindow();
    EXPECT_TRUE(IsZoomed(main));
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    GetWindowPlacement(main, &p);
    EXPECT_LT(p.rcNormalPosition.left, width) << "the default position, not the stored one";
}

TEST_F(MainWindowTest, ShowCommandZeroOrStartMinimizedStartsMinimized) {
    GetSystemData().trayOnMinimize = 0;
    StorePlacement(Placement(0, {10, 10, 300, 300}));
    EXPECT_TRUE(IsIconic(StartMainWindow()));
    SendMessageA(MainWindow(), WM_CLOSE, 0, 0);

    testing_support::ResetProgramState();
    StorePlacement(Placement(SW_SHOWNORMAL, {10, 10, 300, 300}));
    // The stored record must carry the flag: the load replaces the record.
    SystemData record = GetSystemData();
    record.startMinimized = 1;
    record.trayOnMinimize = 0;
    profile_hex::WriteStruct(settings.SystemIni().c_str(), settings_ids::kSystemSection,
                             settings_ids::kStructKey, &record, sizeof record);
    EXPECT_TRUE(IsIconic(StartMainWindow()));
}

TEST_F(MainWindowTest, MinimisingHidesToTheTrayOnlyWhenAsked) {
    HWND main = StartMainWindow();
    GetSystemData().trayOnMinimize = 0;
    ShowWindow(main, SW_MINIMIZE);
    EXPECT_TRUE(IsWindowVisible(main));
    ShowWindow(main, SW_RESTORE);

    GetSystemData().trayOnMinimize = 1;
    ShowWindow(main, SW_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(main));
}

TEST_F(MainWindowTest, TrayDoubleClickShowsAHiddenWindowAndMinimisesAShownOne) {
    HWND main = StartMainWindow();
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_FALSE(IsWindowVisible(main));
    SendMessageA(main, PM_TRAYNOTIFY, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(GetForegroundWindow(), main);

    SendMessageA(main, PM_TRAYNOTIFY, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsIconic(main));
    EXPECT_FALSE(IsWindowVisible(main)) << "trayOnMinimize hides it again";
}

TEST_F(MainWindowTest, ClosingWhileHiddenStoresShowCommandTwo) {
    HWND main = StartMainWindow();
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_FALSE(IsWindowVisible(main));
    SendMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_EQ(StoredPlacement().showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
}

TEST_F(MainWindowTest, ClosingStoresThePlacementOfTheWindow) {
    StorePlacement(Placement(SW_SHOWNORMAL, {60, 70, 560, 470}));
    HWND main = StartMainWindow();
    MoveWindow(main, 80, 90, 400, 300, TRUE);
    SendMessageA(main, WM_CLOSE, 0, 0);
    const WINDOWPLACEMENT p = StoredPlacement();
    EXPECT_EQ(p.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(p.rcNormalPosition.left, 80);
    EXPECT_EQ(p.rcNormalPosition.bottom, 390);
}

// The tray icon's menu, read while it is open; then dismissed, or its item
// choose chosen with the keyboard.
std::vector<std::pair<UINT, std::string>> OpenTrayMenu(HWND main, int choose = -1) {
    std::vector<WPARAM> keys;
    if (choose >= 0) {
        keys.assign(choose + 1, VK_DOWN);
        keys.push_back(VK_RETURN);
    }
    testing_support::WithOpenMenu(keys, [&] {
        return SendMessageA(main, PM_TRAYNOTIFY, 1, WM_RBUTTONDOWN);
    });
    std::vector<std::pair<UINT, std::string>> shown;
    for (const auto& item : testing_support::Opened().items) shown.emplace_back(item.id, item.text);
    return shown;
}

bool TrayIconExists(HWND main) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;  // the first form, as the program uses
    data.hWnd = main;
    data.uID = 1;
    data.uFlags = NIF_TIP;
    std::strcpy(data.szTip, app_texts::kMainTitle);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

TEST_F(MainWindowTest, TheTrayIconComesBackWhenTheShellRestarts) {
    HWND main = StartMainWindow();
    ASSERT_TRUE(TrayIconExists(main));
    // What a shell that went away leaves: no icon.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = main;
    data.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(TrayIconExists(main));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA(app_ids::kTaskbarCreated), 0, 0,
                        SMTO_ABORTIFHUNG, 2000, &ignored);
    EXPECT_TRUE(TrayIconExists(main));
}

TEST_F(MainWindowTest, TrayMenuOffersHideOrShowAndExit) {
    HWND main = StartMainWindow();
    using Items = std::vector<std::pair<UINT, std::string>>;
    EXPECT_EQ(OpenTrayMenu(main), (Items{{2, app_texts::kTrayHide}, {1, app_texts::kTrayExit}}));
    ShowWindow(main, SW_HIDE);
    EXPECT_EQ(OpenTrayMenu(main), (Items{{2, app_texts::kTrayShow}, {1, app_texts::kTrayExit}}));
}

TEST_F(MainWindowTest, TrayMenuChoicesShowHideAndExit) {
    HWND main = StartMainWindow();
    OpenTrayMenu(main, 0);  // "隠す"
    EXPECT_FALSE(IsWindowVisible(main));
    OpenTrayMenu(main, 0);  // "表示する"
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    OpenTrayMenu(main, 1);  // "終了する"
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(testing_support::FileExists(settings.SystemIni()));
}

TEST_F(MainWindowTest, CommandsSwitchTheWindowWatch) {
    HWND main = StartMainWindow();
    INPUTTAP_End();
    EXPECT_EQ(SendMessageA(main, PM_EXECCOMMAND, kWatchOn, 0), 1);
    EXPECT_TRUE(INPUTTAP_IsAttached());
    EXPECT_EQ(SendMessageA(main, PM_EXECCOMMAND, kWatchOff, 0), 1);
    EXPECT_FALSE(INPUTTAP_IsAttached());

    SendMessageA(main, WM_COMMAND, kWatchOn, 0);
    EXPECT_TRUE(INPUTTAP_IsAttached());
    SendMessageA(main, WM_COMMAND, kWatchOff, 0);
    EXPECT_FALSE(INPUTTAP_IsAttached());

    // A desktop-wide accelerator comes back as a posted WM_COMMAND.
    SendMessageA(main, PM_HOOKCOMMAND, kWatchOn, 0);
    EXPECT_FALSE(INPUTTAP_IsAttached());
    PumpPending();
    EXPECT_TRUE(INPUTTAP_IsAttached());
    SendMessageA(main, WM_HOTKEY, kWatchOff, 0);
    EXPECT_FALSE(INPUTTAP_IsAttached());
}

TEST_F(MainWindowTest, UnknownCommandIsNotHandled) {
    HWND main = StartMainWindow();
    EXPECT_EQ(SendMessageA(main, PM_EXECCOMMAND, 0, 0), 0);
    EXPECT_EQ(SendMessageA(main, PM_EXECCOMMAND, 26, 0), 0);
    EXPECT_EQ(SendMessageA(main, PM_EXECCOMMAND, 31, 0), 0);
}

TEST_F(MainWindowTest, ClosingStopsTheWatch) {
    HWND main = StartMainWindow();
    SendMessageA(main, WM_COMMAND, kWatchOn, 0);
    ASSERT_TRUE(INPUTTAP_IsAttached());
    SendMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(INPUTTAP_IsAttached());
}

TEST_F(MainWindowTest, ApplyingSettingsSetsTheMainExtendedStyle) {
    HWND main = StartMainWindow();
    GetSystemData().mainExStyle = WS_EX_TOOLWINDOW;
    SendMessageA(main, PM_APPLYSETTINGS, 0, 0);
    const LONG exStyle = GetWindowLongA(main, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_CLIENTEDGE);
}

TEST_F(MainWindowTest, LaunchCaptureIsOneShot) {
    HWND main = StartMainWindow();
    INPUTTAP_End();
    cMain& m = cMain::Instance();
    m.ArmLaunchCapture();
    EXPECT_TRUE(m.LaunchCaptureArmed());
    EXPECT_TRUE(INPUTTAP_IsAttached());
    EXPECT_TRUE(m.ConsumeLaunchCapture(main));
    EXPECT_FALSE(INPUTTAP_IsAttached());
    EXPECT_FALSE(m.ConsumeLaunchCapture(main));

    SendMessageA(main, WM_COMMAND, kWatchOn, 0);  // watch already on: nothing to arm
    m.ArmLaunchCapture();
    EXPECT_FALSE(m.LaunchCaptureArmed());
    GetSystemData().addLaunchedWindows = 0;
    SendMessageA(main, WM_COMMAND, kWatchOff, 0);
    m.ArmLaunchCapture();
    EXPECT_FALSE(m.LaunchCaptureArmed());
}

TEST_F(MainWindowTest, TwoMenuLoopsFreeTheMenuDataOnceASecondAfterTheLast) {
    HWND main = StartMainWindow();
    ASSERT_NE(MenuDataList::Allocate(16), nullptr);
    SendMessageA(main, WM_EXITMENULOOP, 0, 0);
    const DWORD first = GetTickCount();
    PumpFor(400);
    ASSERT_EQ(MenuDataList::Count(), 1u);
    ASSERT_NE(MenuDataList::Allocate(16), nullptr);
    SendMessageA(main, WM_EXITMENULOOP, 0, 0);
    const DWORD second = GetTickCount();
    ASSERT_TRUE(WaitUntil([] { return MenuDataList::Count() == 0; }, 5000));
    const DWORD freedAt = GetTickCount();
    // The second loop restarted the timer: nothing went at first + 1000.
    EXPECT_GE(freedAt - second, 950u);
    EXPECT_GE(freedAt - first, 1350u);
}

}  // namespace
