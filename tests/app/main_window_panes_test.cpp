// What the main window does with its panes: the notification-area menu
// lists the windows of every pane and gives back the one chosen, and the
// split layout is saved at close and restored at the next start.
#include "app/main_window.h"

#include "base/command_kinds.h"
#include "base/handles.h"
#include "base/messages.h"
#include "settings/system_data.h"
#include "tabs/pane.h"
#include "tabs/split_bar.h"
#include "tabs/tab_ids.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::PaneTest;
using testing_support::WaitUntil;

namespace {

using Windows = std::vector<HWND>;

class MainWindowPanes : public PaneTest {
protected:
    std::string RawLayout() { return testing_support::SplitRateAsWritten(settings.SystemIni()); }
};

TEST_F(MainWindowPanes, TrayMenuListsCapturedWindowsAndGivesOneBack) {
    const HWND a = OpenWindow("first window");
    const HWND b = OpenWindow("second window");
    Add(a), Add(b);
    UniqueMenu menu = cMain::Instance().BuildTrayMenu();
    ASSERT_GE(GetMenuItemCount(menu.get()), 5);
    char text[64] = "";
    GetMenuStringA(menu.get(), 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "first window");
    EXPECT_EQ(GetMenuItemID(menu.get(), 0), 3u);
    EXPECT_EQ(GetMenuItemID(menu.get(), 1), 4u);
    EXPECT_EQ(GetMenuState(menu.get(), 2, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    GetMenuItemInfoA(menu.get(), 4, FALSE, &item);
    EXPECT_EQ(item.dwItemData, reinterpret_cast<ULONG_PTR>(b));
    Root().ReleaseByWindow(reinterpret_cast<HWND>(item.dwItemData));
    EXPECT_TRUE(OnDesktop(b));
    EXPECT_EQ(TabWindows(Root()), (Windows{a}));
}

TEST_F(MainWindowPanes, TheWindowChosenInTheTrayMenuGoesBack) {
    const HWND a = OpenWindow("first window");
    const HWND b = OpenWindow("second window");
    Add(a), Add(b);
    // A menu closes when its owner loses the activation, as it would to a
    // captured window that comes forward late.
    SetForegroundWindow(Main());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Main(); }));
    testing_support::PumpPending();
    testing_support::WithOpenMenu({VK_DOWN, VK_DOWN, VK_RETURN}, [&] {
        return SendMessageA(Main(), PM_TRAYNOTIFY, 1, WM_RBUTTONDOWN);
    });
    ASSERT_TRUE(testing_support::Opened().seen);
    EXPECT_TRUE(OnDesktop(b));
    EXPECT_EQ(TabWindows(Root()), (Windows{a}));
}

TEST_F(MainWindowPanes, ATrayEntryOfAWindowThatWentReleasesNoOtherWindow) {
    const HWND gone = OpenWindow("gone");
    const HWND stays = OpenWindow("stays");
    Add(gone);
    UniqueMenu menu = cMain::Instance().BuildTrayMenu();
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoA(menu.get(), 3, FALSE, &item));
    // While the menu is open, its window's tab goes and another window is
    // captured, whose record may take the address of the one that went.
    Command(kReleaseTab);
    Add(stays);
    Root().ReleaseByWindow(reinterpret_cast<HWND>(item.dwItemData));
    EXPECT_EQ(TabWindows(Root()), (Windows{stays}));
}

TEST_F(MainWindowPanes, TheTrayMenuListsEveryPaneOfTheChainAndGivesBackFromAnyOfThem) {
    const Windows windows = CaptureThree();
    ASSERT_TRUE(Root().Split(true));
    ASSERT_TRUE(Root().Child()->Split(false));
    cTab& lowest = *Root().Child()->Child();
    ASSERT_TRUE(Root().MoveCurrentTabTo(lowest));  // "three" goes to the bottom of the chain
    UniqueMenu menu = cMain::Instance().BuildTrayMenu();
    char text[64] = "";
    const char* const expected[] = {"one", "two", "three"};
    for (int i = 0; i < 3; ++i) {
        GetMenuStringA(menu.get(), i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, expected[i]);
        EXPECT_EQ(GetMenuItemID(menu.get(), i), static_cast<UINT>(3 + i));
    }
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoA(menu.get(), 5, FALSE, &item));
    EXPECT_EQ(item.dwItemData, reinterpret_cast<ULONG_PTR>(windows[2]));
    Root().ReleaseByWindow(reinterpret_cast<HWND>(item.dwItemData));
    EXPECT_TRUE(OnDesktop(windows[2]));
    EXPECT_EQ(lowest.TabCount(), 0);
    EXPECT_EQ(Root().TabCount(), 2);
}

TEST_F(MainWindowPanes, TheTrayMenuListsTitlesAsWritten) {
    // Hangul, accented Latin and an emoji: outside the code page.
    const std::wstring kTitle = L"한국어 café 😀";
    const HWND window = OpenWindow("plain");
    ASSERT_TRUE(app.SetTitleW(window, kTitle));
    ASSERT_TRUE(Add(window));
    UniqueMenu menu = cMain::Instance().BuildTrayMenu();
    ASSERT_TRUE(menu);
    wchar_t text[256] = L"";
    GetMenuStringW(menu.get(), 0, text, 256, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), kTitle);
}

TEST_F(MainWindowPanes, TheMainWindowSavesTheLayoutAtCloseAndRestoresItWithRestoreSplit) {
    ASSERT_TRUE(Root().Split(false));
    Root().SplitBar()->SetRatio(0.4);
    SendMessageA(Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(RawLayout(), "V40 ");

    // system.ini now holds the settings record too; restoreSplit decides.
    GetSystemData().restoreSplit = 0;
    SaveSystemData(settings.SystemIni().c_str(), nullptr);
    ASSERT_TRUE(cMain::Init(GetModuleHandleA(nullptr)));
    main_ = MainWindow();
    EXPECT_EQ(Root().Child(), nullptr);
    SendMessageA(Main(), WM_CLOSE, 0, 0);

    GetSystemData().restoreSplit = 1;
    SaveSystemData(settings.SystemIni().c_str(), nullptr);
    WritePrivateProfileStringA(tab_ids::kLayoutSection, tab_ids::kSplitRateKey, "V40 ",
                               settings.SystemIni().c_str());
    ASSERT_TRUE(cMain::Init(GetModuleHandleA(nullptr)));
    main_ = MainWindow();
    ASSERT_NE(Root().SplitBar(), nullptr);
    EXPECT_FALSE(Root().SplitBar()->IsHorizontal());
    EXPECT_NEAR(Root().SplitBar()->Ratio(), 0.4, 0.005);
    EXPECT_EQ(Root().Child()->TabCount(), 0) << "captured windows are not part of the layout";
}

}  // namespace
