// The launcher in the main window: the shortcut window made and removed by
// the settings, docked beside the panes and saved at close, programs
// launched from a slot, the shortcut list and the start menu becoming tabs,
// and a slot whose file is out of reach.
#include "app/main_window.h"

#include "base/command_kinds.h"
#include "base/menu_data.h"
#include "base/messages.h"
#include "commands/menus.h"
#include "launcher/launcher_texts.h"
#include "launcher/shortcut_window.h"
#include "settings/conditions.h"
#include "settings/system_data.h"
#include "tests/sampleapp/sample_protocol.h"
#include "tests/support/icon_pixels.h"
#include "tests/support/launched_programs.h"
#include "tests/support/message_box_reader.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/shell_link.h"
#include "tests/support/wait.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

using testing_support::IniValue;
using testing_support::MessageBoxReader;
using testing_support::PaneTest;
using testing_support::WaitUntil;

using testing_support::SampleAppPath;

namespace {

HWND LaunchedWindow() { return FindWindowA(sample::kLaunchedClass, nullptr); }

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

// A shortcut in the user's start menu, removed when the test ends.
class StartMenuShortcut {
public:
    explicit StartMenuShortcut(const std::string& target) {
        char programs[MAX_PATH] = "";
        SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE);
        path_ = std::string(programs) + "\\Panelry test " +
                std::to_string(GetCurrentProcessId()) + ".lnk";
        saved_ = testing_support::SaveShellLink(path_, target);
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
