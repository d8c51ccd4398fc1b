// Shell launching with its messages, read from the real message boxes, and
// shell links made by the test and read back.
#include "launcher/shell_launch.h"

#include "tests/support/message_box_reader.h"
#include "tests/support/shell_link.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::MessageBoxReader;
using testing_support::SaveShellLink;
using testing_support::SeenBox;
using testing_support::TempDir;
using testing_support::WriteFileText;

namespace {

BOOL CALLBACK AddOthersWindow(HWND window, LPARAM list) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

// The top-level windows of other processes, to close what a launch opened.
std::vector<HWND> OthersWindows() {
    std::vector<HWND> windows;
    EnumWindows(&AddOthersWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

TEST(ShellLaunch, AMissingFileIsReportedCaptionedWithItsPath) {
    const TempDir dir;
    const std::string missing = dir.File("nothing here.exe");
    // Alike whether the caller asks for the started process or not.
    for (const bool telling : {false, true}) {
        SCOPED_TRACE(telling);
        MessageBoxReader reader;
        DWORD process = 1;
        EXPECT_FALSE(telling ? ShellLaunch(nullptr, missing.c_str(), &process)
                             : ShellLaunch(nullptr, missing.c_str()));
        ASSERT_EQ(reader.Seen().size(), 1u);
        EXPECT_EQ(reader.Seen()[0].text, "ファイルが見つかりませんでした．");
        EXPECT_EQ(reader.Seen()[0].caption, missing);
        if (telling) {
            EXPECT_EQ(process, 0u);
        }
    }
}

TEST(ShellLaunch, ADocumentNoApplicationOpensIsReported) {
    const TempDir dir;
    const std::string document = dir.File("notes.panelryunknown");
    WriteFileText(document, "text");
    MessageBoxReader reader;
    EXPECT_FALSE(ShellLaunch(nullptr, document.c_str()));
    ASSERT_EQ(reader.Seen().size(), 1u);
    EXPECT_EQ(reader.Seen()[0].text,
              "指定したファイルに関連づけられたアプリケーションが見つかりませんでした．");
    EXPECT_EQ(reader.Seen()[0].caption, document);
}

TEST(ShellLaunch, AFolderOpensWithoutAMessage) {
    const TempDir dir;
    const std::vector<HWND> before = OthersWindows();
    MessageBoxReader reader;
    EXPECT_TRUE(ShellLaunch(nullptr, dir.Path().c_str()));
    EXPECT_TRUE(reader.Seen().empty());
    // Whatever the shell opened for it goes again.
    testing_support::WaitUntil([&] { return OthersWindows().size() > before.size(); }, 3000);
    for (HWND window : OthersWindows()) {
        bool old = false;
        for (HWND seen : before) old |= seen == window;
        if (!old) PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

TEST(ResolveShortcut, ALinkGivesItsTargetFileOrFolderAndANonLinkFails) {
    const TempDir dir;
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string toProgram = dir.File("program.lnk");
    ASSERT_TRUE(SaveShellLink(toProgram, self, "/x"));
    char target[MAX_PATH] = "";
    char arguments[MAX_PATH] = "";
    EXPECT_TRUE(ResolveShortcut(toProgram.c_str(), target, arguments));
    EXPECT_STRCASEEQ(target, self);
    EXPECT_STREQ(arguments, "/x");

    const std::string toFolder = dir.File("folder.lnk");
    ASSERT_TRUE(SaveShellLink(toFolder, dir.Path(), "/x"));
    target[0] = '\0';
    EXPECT_TRUE(ResolveShortcut(toFolder.c_str(), target));
    EXPECT_STRCASEEQ(target, dir.Path().c_str());

    const std::string notALink = dir.File("fake.lnk");
    WriteFileText(notALink, "not a shell link");
    EXPECT_FALSE(ResolveShortcut(notALink.c_str(), target));
}

}  // namespace
