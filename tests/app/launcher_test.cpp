// The launcher in the main window: the shortcut window made and removed by
// the settings, docked beside the panes and saved at close, programs
// launched from a slot, the shortcut list and the start menu becoming tabs,
// and no more than the launched program's own window taken: not after a
// failed launch, not once the user switched the watch, not a splash, not
// another program's window. Two start-menu lists open at once, and a slot
// whose file is out of reach.
#include "app/main_window.h"

#include "base/command_kinds.h"
#include "base/menu_data.h"
#include "base/messages.h"
#include "commands/menus.h"
#include "inputtap/inputtap.h"
#include "launcher/launcher_texts.h"
#include "launcher/shortcut_window.h"
#include "settings/conditions.h"
#include "settings/system_data.h"
#include "tests/sampleapp/sample_protocol.h"
#include "tests/support/icon_pixels.h"
#include "tests/support/launched_programs.h"
#include "tests/support/message_box_reader.h"
#include "tests/support/on_screen.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/shell_link.h"
#include "tests/support/wait.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <set>
#include <string>
#include <vector>

using testing_support::IniValue;
using testing_support::MessageBoxReader;
using testing_support::PaneTest;
using testing_support::WaitUntil;

using testing_support::SampleAppPath;
using testing_support::WindowSpec;

namespace {

HWND LaunchedWindow() { return FindWindowA(sample::kLaunchedClass, nullptr); }

// A shortcut in the user's start menu, removed when the test ends.
class StartMenuShortcut {
public:
    explicit StartMenuShortcut(const std::string& target, const std::string& arguments = "",
                               const std::string& name = "Panelry test") {
        char programs[MAX_PATH] = "";
        SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE);
        path_ = std::string(programs) + "\\" + name + " " + std::to_string(GetCurrentProcessId()) +
                ".lnk";
        saved_ = testing_support::SaveShellLink(path_, target, arguments);
    }
    ~StartMenuShortcut() { DeleteFileA(path_.c_str()); }
    StartMenuShortcut(const StartMenuShortcut&) = delete;
    StartMenuShortcut& operator=(const StartMenuShortcut&) = delete;
    bool Saved() const { return saved_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool saved_ = false;
};

// The shortcut items of menu and its popups, depth first.
void CollectShortcuts(HMENU menu, testing_support::MenuItems& items) {
    for (const auto& item : testing_support::ItemsOf(menu)) {
        if (item.submenu) CollectShortcuts(item.submenu, items);
        else if (item.data) items.push_back(item);
    }
}

int WindowsOfClass(const char* className) {
    return static_cast<int>(testing_support::ShownTopLevelWindows(0, className).size());
}

bool AllGrey(const std::vector<COLORREF>& pixels) {
    for (COLORREF pixel : pixels) {
        if (GetRValue(pixel) != GetGValue(pixel) || GetGValue(pixel) != GetBValue(pixel)) {
            return false;
        }
    }
    return true;
}

// Read as UTF-16: the control gives at most 80 bytes of a text as ANSI.
std::string TooltipText(const cAppIcon& slot) {
    wchar_t text[INFOTIPSIZE] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = slot.Window();
    tool.uId = reinterpret_cast<UINT_PTR>(slot.Window());
    tool.lpszText = text;
    SendMessageW(slot.Tooltip(), TTM_GETTEXTW, INFOTIPSIZE, reinterpret_cast<LPARAM>(&tool));
    char narrow[INFOTIPSIZE * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

// The icon the shell gives for path: for the file itself, or for its type.
UniqueIcon ShellIcon(const std::string& path, bool ofType) {
    SHFILEINFOA info{};
    SHGetFileInfoA(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_ICON | (ofType ? SHGFI_USEFILEATTRIBUTES : 0u));
    return UniqueIcon(info.hIcon);
}

class LauncherTest : public PaneTest {
protected:
    void TearDown() override {
        PaneTest::TearDown();
        testing_support::EndLaunchedPrograms(app.ProcessId());
    }
    void ShowStrip(bool on, int position = 3) {
        GetSystemData().showShortcutWindow = on;
        GetSystemData().shortcutPosition = position;
        SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0);
    }
    RECT InMain(HWND window) const {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The conditions would never take the launched window by themselves.
    void RefuseLaunchedClass() {
        RemoveConditions().classOn = true;
        RemoveConditions().classes.Add(sample::kLaunchedClass);
    }
    // The launched program's window is the selected tab (and so no longer
    // a top-level window FindWindow sees).
    bool LaunchedBecomesTab() {
        return WaitUntil(
            [this] {
                char className[64] = "";
                GetClassNameA(SelectedWindow(Root()), className, sizeof className);
                return std::string(className) == sample::kLaunchedClass;
            },
            15000);
    }
    // An item of an open menu chosen the way a menu's choice arrives.
    void ChooseItem(HMENU menu, const testing_support::MenuItem& item) {
        SendMessageA(Main(), WM_MENUSELECT, MAKEWPARAM(item.id, MF_OWNERDRAW),
                     reinterpret_cast<LPARAM>(menu));
        EXPECT_EQ(Command(item.id), 1);
    }
    // A window of a class the conditions refuse, as a program opens it.
    HWND OpenRefused(const std::string& title) {
        WindowSpec form;
        form.className = sample::kLaunchedClass;
        form.title = title;
        return app.Open(form);
    }
    // A list entry chosen the way a menu's choice arrives.
    void Choose(int kind, const std::string& path) {
        UniqueMenu menu(CreatePopupMenu());
        AppendMenuEntry(menu.get(), kind, false);
        for (const auto& item : testing_support::ItemsOf(menu.get())) {
            const bool wanted = kind == kShortcutList
                                    ? item.ownerDrawn
                                    : item.data && path == reinterpret_cast<const char*>(item.data);
            if (!wanted) continue;
            SendMessageA(Main(), WM_MENUSELECT, MAKEWPARAM(item.id, MF_OWNERDRAW),
                         reinterpret_cast<LPARAM>(menu.get()));
            // The menu loop ends before its command arrives.
            menu.reset();
            SendMessageA(Main(), WM_EXITMENULOOP, FALSE, 0);
            EXPECT_EQ(Command(item.id), 1);
            return;
        }
        ADD_FAILURE() << "no item for " << path;
    }
};

TEST_F(LauncherTest, TheSettingsShowTheStripBesideThePanesAndTakeItAway) {
    EXPECT_FALSE(ShortcutWindow().IsShown()) << "off by default";
    ShowStrip(true, cShortcutWnd::kTop);
    ASSERT_TRUE(ShortcutWindow().IsShown());
    EXPECT_EQ(GetParent(ShortcutWindow().Window()), Main());
    RECT client{};
    GetClientRect(Main(), &client);
    const RECT strip = InMain(ShortcutWindow().Window());
    const RECT panes = InMain(Root().BaseWindow());
    EXPECT_EQ(strip.top, 0);
    EXPECT_EQ(panes.top, strip.bottom);
    EXPECT_EQ(panes.bottom, client.bottom);

    ShowStrip(true, cShortcutWnd::kLeft);
    EXPECT_EQ(InMain(Root().BaseWindow()).left, InMain(ShortcutWindow().Window()).right);
    EXPECT_EQ(InMain(Root().BaseWindow()).top, 0);

    ShortcutWindow().SetEntry(1, SampleAppPath().c_str());
    ShowStrip(false);
    EXPECT_FALSE(ShortcutWindow().IsShown());
    EXPECT_EQ(InMain(Root().BaseWindow()).left, 0);
    EXPECT_EQ(IniValue(settings.Dir().File("shortcut.ini"), "SHORTCUT PATH", "No.1"),
              SampleAppPath());
}

TEST_F(LauncherTest, ClosingTheMainWindowSavesTheStripsEntries) {
    ShowStrip(true);
    ShortcutWindow().SetEntry(11, SampleAppPath().c_str());
    testing_support::CloseMainWindow();
    EXPECT_FALSE(ShortcutWindow().IsShown());
    EXPECT_EQ(IniValue(settings.Dir().File("shortcut.ini"), "SHORTCUT PATH", "No.11"),
              SampleAppPath());
    EXPECT_EQ(IniValue(settings.Dir().File("shortcut.ini"), "SHORTCUT PATH", "No.0", "(none)"),
              "");
}

TEST_F(LauncherTest, AProgramLaunchedFromASlotBecomesATabWhateverTheConditions) {
    RefuseLaunchedClass();
    ShowStrip(true);
    ShortcutWindow().SetEntry(0, SampleAppPath().c_str());
    SendMessageA(ShortcutWindow().Icon(0).Window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(LaunchedBecomesTab());
    EXPECT_FALSE(cMain::Instance().LaunchCaptureArmed()) << "one shot";
}

TEST_F(LauncherTest, WithoutAddLaunchedWindowsTheLaunchedProgramStaysOnTheDesktop) {
    GetSystemData().addLaunchedWindows = 0;
    ShortcutWindow().SetEntry(2, SampleAppPath().c_str());
    Choose(kShortcutList, SampleAppPath());
    ASSERT_TRUE(WaitUntil([] { return LaunchedWindow() != nullptr; }, 15000));
    testing_support::PumpFor(500);
    EXPECT_TRUE(OnDesktop(LaunchedWindow()));
    EXPECT_EQ(Root().TabCount(), 0);
}

TEST_F(LauncherTest, AShortcutListItemLaunchesItsEntryIntoATab) {
    RefuseLaunchedClass();
    ShortcutWindow().SetEntry(5, SampleAppPath().c_str());
    Choose(kShortcutList, SampleAppPath());
    EXPECT_TRUE(LaunchedBecomesTab());

    // Its owner-drawn item is measured through the main window.
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = kShortcutList | 5 << 5;
    measure.itemData = 5;
    EXPECT_TRUE(SendMessageA(Main(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
    EXPECT_GT(measure.itemWidth, measure.itemHeight + 8);
}

TEST_F(LauncherTest, AStartMenuShortcutLaunchesItsTargetIntoATab) {
    RefuseLaunchedClass();
    GetSystemData().startMenuMaxItems = 1000;  // all of it on one level
    StartMenuShortcut shortcut(SampleAppPath());
    ASSERT_TRUE(shortcut.Saved());
    Choose(kStartMenuList, shortcut.Path());
    EXPECT_TRUE(LaunchedBecomesTab());
    // The paths the menu carried go a second after its loop ended.
    EXPECT_TRUE(WaitUntil([] { return MenuDataList::Count() == 0; }, 3000));
}

TEST_F(LauncherTest, AFailedLaunchLeavesNothingWaitingForTheNextWindow) {
    ShortcutWindow().SetEntry(4, settings.Dir().File("not there.exe").c_str());
    {
        MessageBoxReader reader;
        Choose(kShortcutList, "");
        EXPECT_EQ(reader.Seen().size(), 1u) << "the shell's reason";
    }
    EXPECT_FALSE(cMain::Instance().LaunchCaptureArmed());
    EXPECT_FALSE(INPUTTAP_IsAttached());
    // However much later it opens, a window of another kind stays out.
    const HWND later = OpenWindow("opened later");
    testing_support::PumpFor(1000);
    EXPECT_TRUE(OnDesktop(later));
    EXPECT_EQ(Root().TabCount(), 0);
}

TEST_F(LauncherTest, SwitchingTheWatchOnOrOffEndsTheWaitForALaunchedWindow) {
    RefuseLaunchedClass();
    cMain& main = cMain::Instance();
    for (unsigned command : {kWatchOn, kWatchOff}) {
        SCOPED_TRACE(command);
        Command(kWatchOff);
        main.ArmLaunchCapture();
        ASSERT_TRUE(main.LaunchCaptureArmed());
        Command(command);
        EXPECT_FALSE(main.LaunchCaptureArmed());
        EXPECT_EQ(INPUTTAP_IsAttached() != 0, command == kWatchOn);
    }
    // The user's own watch takes only what the conditions take, and goes on.
    main.ArmLaunchCapture();
    Command(kWatchOn);
    const HWND refused = OpenRefused("refused");
    const HWND taken = OpenWindow("taken");
    EXPECT_TRUE(WaitUntil([&] { return SelectedWindow(Root()) == taken; }));
    EXPECT_TRUE(OnDesktop(refused));
    EXPECT_TRUE(INPUTTAP_IsAttached());
}

TEST_F(LauncherTest, ALaunchThatOpensNoWindowStopsWaitingForOne) {
    cMain& main = cMain::Instance();
    // As a document handed to a program that runs already: started, and
    // no new window of a process the shell names.
    main.ArmLaunchCapture();
    main.LaunchFinished(true, 0);
    ASSERT_TRUE(main.LaunchCaptureArmed());
    EXPECT_TRUE(WaitUntil([&] { return !main.LaunchCaptureArmed(); },
                          LaunchedWindowCapture::kGiveUpMs + 10000));
    EXPECT_FALSE(INPUTTAP_IsAttached());
}

TEST_F(LauncherTest, AnOwnedSplashLeavesTheCaptureToTheProgramsOwnWindow) {
    RefuseLaunchedClass();
    GetSystemData().startMenuMaxItems = 1000;
    StartMenuShortcut shortcut(SampleAppPath(), "--owned-splash");
    ASSERT_TRUE(shortcut.Saved());
    Choose(kStartMenuList, shortcut.Path());
    ASSERT_TRUE(WaitUntil([] { return FindWindowA(sample::kSplashClass, nullptr) != nullptr; },
                          15000));
    EXPECT_TRUE(LaunchedBecomesTab());
    EXPECT_EQ(Root().TabCount(), 1);
}

TEST_F(LauncherTest, AnotherProgramsNewWindowLeavesTheCaptureToTheLaunchedOne) {
    RefuseLaunchedClass();
    ShowStrip(true);
    ShortcutWindow().SetEntry(0, SampleAppPath().c_str());
    SendMessageA(ShortcutWindow().Icon(0).Window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    // Opened while the launched program is still starting.
    const HWND other = OpenWindow("another program's");
    EXPECT_TRUE(LaunchedBecomesTab());
    EXPECT_TRUE(OnDesktop(other));
    EXPECT_EQ(Root().TabCount(), 1);
}

TEST_F(LauncherTest, TwoStartMenuListsInOnePopupEachLaunchTheirOwnProgram) {
    GetSystemData().startMenuMaxItems = 1000;
    GetSystemData().addLaunchedWindows = 0;
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    UniqueMenu menu(CreatePopupMenu());
    StartMenuShortcut sample(SampleAppPath(), "", "Panelry sample");
    AppendMenuEntry(menu.get(), kStartMenuList, false);
    const int firstList = GetMenuItemCount(menu.get());
    StartMenuShortcut notepad(std::string(windows) + "\\notepad.exe", "", "Panelry notepad");
    AppendMenuEntry(menu.get(), kStartMenuList, false);

    testing_support::MenuItems shortcuts;
    CollectShortcuts(menu.get(), shortcuts);
    std::set<UINT> ids;
    for (const auto& item : shortcuts) ids.insert(item.id);
    EXPECT_EQ(ids.size(), shortcuts.size()) << "every item its own id";
    const testing_support::MenuItems inFirst = testing_support::ItemsOf(menu.get());
    const auto itemOf = [&](const std::string& path, bool first) {
        for (int i = first ? 0 : firstList; i < (first ? firstList : GetMenuItemCount(menu.get()));
             ++i) {
            const auto& item = inFirst[i];
            if (item.data && path == reinterpret_cast<const char*>(item.data)) return item;
        }
        ADD_FAILURE() << "not listed: " << path;
        return testing_support::MenuItem{};
    };
    ChooseItem(menu.get(), itemOf(sample.Path(), true));
    EXPECT_TRUE(WaitUntil([] { return LaunchedWindow() != nullptr; }, 15000));
    EXPECT_EQ(WindowsOfClass("Notepad"), 0);
    ChooseItem(menu.get(), itemOf(notepad.Path(), false));
    EXPECT_TRUE(WaitUntil([] { return WindowsOfClass("Notepad") == 1; }, 15000));
    EXPECT_EQ(WindowsOfClass(sample::kLaunchedClass), 1);
    FreeMenuData(nullptr, WM_TIMER, kMenuDataTimer, 0);
}

TEST_F(LauncherTest, AnEntryOutOfReachAtStartKeepsItsSlotAndStartsOnceItIsBack) {
    RefuseLaunchedClass();
    const std::string drive = settings.Dir().File("drive");
    const std::string program = drive + "\\sample.exe";
    const std::string ini = settings.Dir().File("shortcut.ini");
    WritePrivateProfileStringA("SHORTCUT PATH", "No.0", program.c_str(), ini.c_str());
    {
        MessageBoxReader reader;
        ShowStrip(true);
        EXPECT_TRUE(reader.Seen().empty()) << "nothing asked at start";
    }
    const cAppIcon& slot = ShortcutWindow().Icon(0);
    EXPECT_STREQ(slot.Path(), program.c_str());
    EXPECT_TRUE(slot.Unavailable());
    EXPECT_EQ(TooltipText(slot), "sample.exe\n" + std::string(launcher_texts::kUnavailableUnreachable));
    ASSERT_NE(slot.Icon(), nullptr);
    // The icon of its type, in grey.
    const std::vector<COLORREF> greyed = testing_support::DrawnIcon(slot.Icon());
    EXPECT_TRUE(AllGrey(greyed));
    EXPECT_NE(greyed, testing_support::DrawnIcon(ShellIcon(program, true).get()));
    ShowStrip(false);
    EXPECT_EQ(IniValue(ini, "SHORTCUT PATH", "No.0"), program) << "written back as it was";

    // The drive is back.
    ShowStrip(true);
    ASSERT_TRUE(CreateDirectoryA(drive.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(SampleAppPath().c_str(), program.c_str(), FALSE));
    SendMessageA(ShortcutWindow().Icon(0).Window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(LaunchedBecomesTab());
    EXPECT_FALSE(ShortcutWindow().Icon(0).Unavailable());
    EXPECT_EQ(testing_support::DrawnIcon(ShortcutWindow().Icon(0).Icon()),
              testing_support::DrawnIcon(ShellIcon(program, false).get()));
}

}  // namespace
