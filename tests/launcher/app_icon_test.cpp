// Launcher icons in a window of the test: the context menu read from the
// real menu, files dropped and chosen, shell links followed, the messages of
// a file without icon and of a failed launch, the tooltip, and a launch of
// the sample application.
#include "launcher/app_icon.h"

#include "base/messages.h"
#include "launcher/shortcut_window.h"
#include "tests/sampleapp/sample_protocol.h"
#include "tests/support/import_route.h"
#include "tests/support/launched_programs.h"
#include "tests/support/message_box_reader.h"
#include "tests/support/open_menu.h"
#include "tests/support/sample_app.h"
#include "tests/support/shell_link.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

using testing_support::MessageBoxReader;
using testing_support::SaveShellLink;
using testing_support::TempDir;
using testing_support::WriteFileText;

using testing_support::SampleAppPath;

namespace {

constexpr char kParentClass[] = "AppIconTestParent";
std::vector<std::string> g_preLaunched;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PM_PRELAUNCH) {
        g_preLaunched.push_back(reinterpret_cast<const char*>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string ThisFolder() {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self);
    return path.substr(0, path.find_last_of('\\'));
}

// A drop of files, as the shell hands it to a window.
HDROP MakeDrop(const std::vector<std::string>& files) {
    std::size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& file : files) size += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const std::string& file : files) {
        std::memcpy(names, file.c_str(), file.size() + 1);
        names += file.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class AppIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(cShortcutWnd::Init(GetModuleHandleA(nullptr)));
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kParentClass;
        RegisterClassA(&wc);
        parent_.reset(CreateWindowExA(0, kParentClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      10, 10, 300, 200, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(icon_.Create(parent_.get(), GetModuleHandleA(nullptr), 0));
        MoveWindow(icon_.Window(), 10, 10, 40, 40, TRUE);
        g_preLaunched.clear();
    }
    void TearDown() override { testing_support::EndLaunchedPrograms(); }

    // The context menu as a right press shows it, read and dismissed.
    testing_support::MenuItems ContextMenu() {
        testing_support::WithOpenMenu({}, [&] {
            return SendMessageA(icon_.Window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        });
        EXPECT_TRUE(testing_support::Opened().seen);
        return testing_support::Opened().items;
    }

    TempDir dir_;
    UniqueWindow parent_;
    cAppIcon icon_;
};

TEST_F(AppIconTest, TheContextMenuOffersOnlyRegistrationOnAnEmptySlot) {
    using Items = testing_support::MenuItems;
    const Items empty = ContextMenu();
    ASSERT_EQ(empty.size(), 7u);
    EXPECT_EQ(testing_support::IdsOf(empty), (std::vector<UINT>{4, 5, 0, 1, 2, 0, 3}));
    EXPECT_EQ(testing_support::TextsOf(empty),
              (std::vector<std::string>{"開く", "フォルダ", "", "登録解除", "新規登録", "", "情報"}));
    EXPECT_TRUE(empty[2].separator);
    EXPECT_TRUE(empty[5].separator);
    for (int i : {0, 1, 3, 6}) EXPECT_TRUE(empty[i].grey) << i;
    EXPECT_FALSE(empty[4].grey);

    ASSERT_TRUE(icon_.SetFile(SampleAppPath().c_str()));
    for (const auto& item : ContextMenu()) {
        if (!item.separator) {
            EXPECT_FALSE(item.grey) << item.text;
        }
    }
}

TEST_F(AppIconTest, ARegisteredFileHasItsIconNamesAndTooltip) {
    ASSERT_TRUE(icon_.SetFile(SampleAppPath().c_str()));
    EXPECT_STREQ(icon_.Path(), SampleAppPath().c_str());
    EXPECT_NE(icon_.Icon(), nullptr);
    SHFILEINFOA shell{};
    SHGetFileInfoA(SampleAppPath().c_str(), 0, &shell, sizeof shell,
                   SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
    EXPECT_STREQ(icon_.DisplayName(), shell.szDisplayName);
    EXPECT_STREQ(icon_.TypeName(), shell.szTypeName);

    ASSERT_NE(icon_.Tooltip(), nullptr);
    EXPECT_EQ(SendMessageA(icon_.Tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[MAX_PATH] = "";
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = icon_.Window();
    tool.uId = reinterpret_cast<UINT_PTR>(icon_.Window());
    tool.lpszText = text;
    SendMessageA(icon_.Tooltip(), TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, shell.szDisplayName);
    EXPECT_EQ(SendMessageA(icon_.Tooltip(), TTM_GETMAXTIPWIDTH, 0, 0), 640);

    // Unregistering leaves nothing behind.
    SendMessageA(icon_.Window(), WM_COMMAND, cAppIcon::kUnregister, 0);
    EXPECT_STREQ(icon_.Path(), "");
    EXPECT_EQ(icon_.Icon(), nullptr);
    EXPECT_EQ(icon_.Tooltip(), nullptr);
}

TEST_F(AppIconTest, ADropRegistersOnlyTheFirstFile) {
    const std::string second = dir_.File("second.txt"), third = dir_.File("third.txt");
    WriteFileText(second, "2");
    WriteFileText(third, "3");
    SendMessageA(icon_.Window(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({SampleAppPath(), second, third})), 0);
    EXPECT_STREQ(icon_.Path(), SampleAppPath().c_str());
}

TEST_F(AppIconTest, ShellLinksAreFollowedToTheirTargetAndABrokenOneIsKept) {
    const std::string toProgram = dir_.File("program.lnk");
    const std::string toLink = dir_.File("link to link.LNK");
    ASSERT_TRUE(SaveShellLink(toProgram, SampleAppPath()));
    ASSERT_TRUE(SaveShellLink(toLink, toProgram));
    EXPECT_TRUE(icon_.SetFile(toProgram.c_str()));
    EXPECT_STREQ(icon_.Path(), SampleAppPath().c_str());
    EXPECT_TRUE(icon_.SetFile(toLink.c_str()));
    EXPECT_STREQ(icon_.Path(), SampleAppPath().c_str()) << "followed twice";

    // Not a link at all: kept as the file it is, when the shell has an icon.
    const std::string fake = dir_.File("fake.lnk");
    WriteFileText(fake, "not a shell link");
    MessageBoxReader reader;
    if (icon_.SetFile(fake.c_str())) {
        EXPECT_STREQ(icon_.Path(), fake.c_str());
    } else {
        EXPECT_STREQ(icon_.Path(), "");
        ASSERT_EQ(reader.Seen().size(), 1u);
        EXPECT_EQ(reader.Seen()[0].caption, fake);
    }

    // Two links that point at each other end, kept as a link.
    const std::string a = dir_.File("a.lnk"), b = dir_.File("b.lnk");
    ASSERT_TRUE(SaveShellLink(a, b));
    ASSERT_TRUE(SaveShellLink(b, a));
    icon_.SetFile(a.c_str());
    const std::string kept = icon_.Path();
    EXPECT_TRUE(kept.empty() || kept == a || kept == b) << kept;
}

TEST_F(AppIconTest, AFileWithoutIconIsReportedWithItsPathAndLeavesTheSlotEmpty) {
    ASSERT_TRUE(icon_.SetFile(SampleAppPath().c_str()));
    const std::string missing = dir_.File("gone.exe");
    MessageBoxReader reader;
    EXPECT_FALSE(icon_.SetFile(missing.c_str()));
    ASSERT_EQ(reader.Seen().size(), 1u);
    EXPECT_EQ(reader.Seen()[0].text, "アイコンの取得に失敗しました");
    EXPECT_EQ(reader.Seen()[0].caption, missing);
    EXPECT_STREQ(icon_.Path(), "");
    EXPECT_EQ(icon_.Icon(), nullptr);
    EXPECT_FALSE(icon_.SetFile(""));
}

TEST_F(AppIconTest, TheInformationBoxNamesPlaceDisplayNameAndType) {
    ASSERT_TRUE(icon_.SetFile(SampleAppPath().c_str()));
    MessageBoxReader reader;
    SendMessageA(icon_.Window(), WM_COMMAND, cAppIcon::kInformation, 0);
    ASSERT_EQ(reader.Seen().size(), 1u);
    EXPECT_EQ(reader.Seen()[0].caption, "ファイル情報");
    EXPECT_EQ(reader.Seen()[0].text, std::string("場所：\t") + SampleAppPath() + "\n表示名：\t" +
                                         icon_.DisplayName() + "\nタイプ：\t" + icon_.TypeName());
}

std::vector<std::string> g_executed;
HINSTANCE WINAPI SeeShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
    g_executed.push_back(file ? file : "");
    return reinterpret_cast<HINSTANCE>(42);
}

TEST_F(AppIconTest, OpenFolderHandsTheShellTheFilesFolder) {
    void* real = reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("shell32.dll"), "ShellExecuteA"));
    HMODULE self = GetModuleHandleA(nullptr);
    ASSERT_GT(testing_support::RouteImport(self, "shell32.dll", real,
                                           reinterpret_cast<void*>(&SeeShellExecute)),
              0);
    g_executed.clear();
    ASSERT_TRUE(icon_.SetFile(SampleAppPath().c_str()));
    SendMessageA(icon_.Window(), WM_COMMAND, cAppIcon::kOpenFolder, 0);
    testing_support::RouteImport(self, "shell32.dll", reinterpret_cast<void*>(&SeeShellExecute),
                                 real);
    ASSERT_EQ(g_executed.size(), 1u);
    EXPECT_EQ(g_executed[0], ThisFolder() + "\\");
}

TEST_F(AppIconTest, AClickLaunchesTheFileAfterTellingTheParent) {
    ASSERT_TRUE(icon_.SetFile(SampleAppPath().c_str()));
    MessageBoxReader reader;
    EXPECT_EQ(SendMessageA(icon_.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)), 0);
    ASSERT_EQ(g_preLaunched, std::vector<std::string>{SampleAppPath()});
    EXPECT_TRUE(testing_support::WaitUntil(
        [] { return FindWindowA(sample::kLaunchedClass, "launched") != nullptr; }, 10000));
    EXPECT_TRUE(reader.Seen().empty());
    EXPECT_STREQ(icon_.Path(), SampleAppPath().c_str()) << "still registered";
}

TEST_F(AppIconTest, AFailedLaunchIsReportedTwiceAndEmptiesTheSlotOfAFileThatIsThere) {
    const std::string document = dir_.File("notes.panelryunknown");
    WriteFileText(document, "no program opens this");
    ASSERT_TRUE(icon_.SetFile(document.c_str()));
    MessageBoxReader reader;
    SendMessageA(icon_.Window(), WM_COMMAND, cAppIcon::kOpen, 0);
    ASSERT_EQ(reader.Seen().size(), 2u);
    EXPECT_EQ(reader.Seen()[0].text,
              "指定したファイルに関連づけられたアプリケーションが見つかりませんでした．");
    EXPECT_EQ(reader.Seen()[0].caption, document);
    EXPECT_EQ(reader.Seen()[1].text, "登録ファイルの起動に失敗しました");
    EXPECT_EQ(reader.Seen()[1].caption, document);
    EXPECT_STREQ(icon_.Path(), "");

    const std::string ini = dir_.File("shortcut.ini");
    icon_.Save(ini.c_str(), 4);
    EXPECT_EQ(testing_support::IniValue(ini, "SHORTCUT PATH", "No.4", "(none)"), "");
}

TEST_F(AppIconTest, AFailedLaunchOfAFileOutOfReachKeepsTheSlot) {
    const std::string copy = dir_.File("copy of sample.exe");
    ASSERT_TRUE(CopyFileA(SampleAppPath().c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(icon_.SetFile(copy.c_str()));
    DeleteFileA(copy.c_str());
    MessageBoxReader reader;
    SendMessageA(icon_.Window(), WM_COMMAND, cAppIcon::kOpen, 0);
    ASSERT_EQ(reader.Seen().size(), 2u);
    EXPECT_EQ(reader.Seen()[0].text, "ファイルが見つかりませんでした．");
    EXPECT_EQ(reader.Seen()[1].text, "登録ファイルの起動に失敗しました");
    EXPECT_EQ(reader.Seen()[1].caption, copy);
    EXPECT_STREQ(icon_.Path(), copy.c_str());
    EXPECT_TRUE(icon_.Unavailable());

    const std::string ini = dir_.File("shortcut.ini");
    icon_.Save(ini.c_str(), 4);
    EXPECT_EQ(testing_support::IniValue(ini, "SHORTCUT PATH", "No.4"), copy);
}

// The open-file dialog, filled in and confirmed as a user would.
std::string g_chosen;
void CALLBACK ChooseInDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowA("#32770", "ファイルの登録");
    if (!dialog || !IsWindowVisible(dialog)) return;
    const int fileName = cmb13;  // the file name box of the dialog
    SetDlgItemTextA(dialog, fileName, g_chosen.c_str());
    if (!GetDlgItem(dialog, fileName)) SetDlgItemTextA(dialog, edt1, g_chosen.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(AppIconTest, NewRegistrationTakesTheFileChosenInTheDialog) {
    g_chosen = SampleAppPath();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &ChooseInDialog);
    SendMessageA(icon_.Window(), WM_COMMAND, cAppIcon::kRegister, 0);
    KillTimer(nullptr, timer);
    EXPECT_STREQ(icon_.Path(), SampleAppPath().c_str());
}

TEST_F(AppIconTest, LoadAndSaveUseTheSlotsKey) {
    const std::string ini = dir_.File("shortcut.ini");
    WriteFileText(ini, "[SHORTCUT PATH]\r\nNo.7=" + SampleAppPath() + "\r\n");
    icon_.Load(ini.c_str(), 7);
    EXPECT_STREQ(icon_.Path(), SampleAppPath().c_str());
    icon_.Load(ini.c_str(), 8);
    EXPECT_STREQ(icon_.Path(), "") << "a missing key is an empty slot";
    ASSERT_TRUE(icon_.SetFile(SampleAppPath().c_str()));
    icon_.Save(ini.c_str(), 12);
    EXPECT_EQ(testing_support::IniValue(ini, "SHORTCUT PATH", "No.12"), SampleAppPath());
}

}  // namespace
