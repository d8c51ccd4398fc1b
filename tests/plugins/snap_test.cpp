// The delivered snapshot tool, loaded by the real host: a window of this
// process painted in known colours saved as snap\00000.bmp beside the tool,
// its headers byte by byte, its rows bottom first and padded to four bytes,
// the first free number taken, one file per pane.
#include "plugins/host/tool_slots.h"

#include "tests/plugins/tool_test_support.h"
#include "tests/support/import_route.h"
#include "tests/support/message_box_reader.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using testing_support::FileExists;
using testing_support::PaneTest;
using testing_support::ReadFileText;
using testing_support::WriteFileText;

namespace {

// The top half blue, the bottom half green.
LRESULT CALLBACK TwoColours(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    RECT top = client, bottom = client;
    top.bottom = bottom.top = client.bottom / 2;
    UniqueBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
    UniqueBrush green(CreateSolidBrush(RGB(0, 255, 0)));
    FillRect(dc, &top, blue.get());
    FillRect(dc, &bottom, green.get());
    EndPaint(window, &paint);
    return 0;
}

UniqueWindow PaintedWindow(int clientWidth, int clientHeight) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TwoColours;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SnapTestColours";
    RegisterClassA(&wc);
    UniqueWindow window(CreateWindowExA(0, "SnapTestColours", "painted", WS_POPUP | WS_VISIBLE,
                                        10, 10, clientWidth, clientHeight, nullptr, nullptr,
                                        nullptr, nullptr));
    UpdateWindow(window.get());
    return window;
}

// The folder cannot be made, for the reason the test puts here.
DWORD g_createDirectoryError = 0;

BOOL WINAPI FailCreateDirectory(LPCSTR, LPSECURITY_ATTRIBUTES) {
    SetLastError(g_createDirectoryError);
    return FALSE;
}

template <typename T>
T At(const std::string& bytes, std::size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

class SnapTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        tools_ = settings.Dir().File("tool");
        ASSERT_TRUE(testing_support::InstallDeliveredTool(settings.Dir().Path(), "snap.ttl"));
    }
    std::string Snap(int n) const {
        char name[16];
        std::snprintf(name, sizeof name, "%.5d.bmp", n);
        return tools_ + "\\snap\\" + name;
    }
    int Run(std::vector<HWND> windows) {
        return ToolSlots()[0].Selected(windows.data(), static_cast<int>(windows.size()), Main());
    }

    std::string tools_;
};

TEST_F(SnapTest, AWindowIsSavedWithTheHeadersAndItsRowsBottomFirst) {
    UniqueWindow window = PaintedWindow(10, 6);
    ASSERT_EQ(Run({window.get()}), 1);
    ASSERT_TRUE(FileExists(Snap(0)));
    const std::string bytes = ReadFileText(Snap(0));
    const std::size_t rowSize = 32;  // 10 pixels of three bytes, padded to 32
    ASSERT_EQ(bytes.size(), 54 + rowSize * 6);
    EXPECT_EQ(At<WORD>(bytes, 0), 0x4D42);
    EXPECT_EQ(At<DWORD>(bytes, 2), 54 + rowSize * 6);
    EXPECT_EQ(At<DWORD>(bytes, 6), 0u) << "both reserved words";
    EXPECT_EQ(At<DWORD>(bytes, 10), 54u);
    EXPECT_EQ(At<DWORD>(bytes, 14), 40u);
    EXPECT_EQ(At<LONG>(bytes, 18), 10);
    EXPECT_EQ(At<LONG>(bytes, 22), 6);
    EXPECT_EQ(At<WORD>(bytes, 26), 1);
    EXPECT_EQ(At<WORD>(bytes, 28), 24);
    EXPECT_EQ(At<DWORD>(bytes, 30), 0u);
    EXPECT_EQ(At<DWORD>(bytes, 34), rowSize * 6);
    for (std::size_t offset : {38u, 42u, 46u, 50u}) EXPECT_EQ(At<DWORD>(bytes, offset), 0u);
    // Blue, green, red bytes: the first row stored is the bottom one (green).
    const std::size_t bottom = 54, top = 54 + rowSize * 5;
    EXPECT_EQ(bytes.substr(bottom, 3), std::string("\x00\xff\x00", 3));
    EXPECT_EQ(bytes.substr(top, 3), std::string("\xff\x00\x00", 3));
}

TEST_F(SnapTest, TheFirstFreeNumberIsTakenAndAOnePixelRowIsFourBytes) {
    CreateDirectoryA((tools_ + "\\snap").c_str(), nullptr);
    WriteFileText(Snap(0), "taken");
    WriteFileText(Snap(2), "taken");
    UniqueWindow narrow = PaintedWindow(1, 4);
    ASSERT_EQ(Run({narrow.get()}), 1);
    ASSERT_TRUE(FileExists(Snap(1)));
    EXPECT_EQ(ReadFileText(Snap(0)), "taken") << "never overwritten";
    const std::string bytes = ReadFileText(Snap(1));
    EXPECT_EQ(At<DWORD>(bytes, 34), 4u * 4) << "rows of four bytes";
}

TEST_F(SnapTest, TwoPanesGiveTwoFilesFromTheToolList) {
    ASSERT_TRUE(Add(OpenWindow("left")));
    ASSERT_TRUE(Add(OpenWindow("right")));
    ASSERT_TRUE(Root().Split(true));
    if (Root().Child()->TabCount() == 0) {
        ASSERT_TRUE(Root().MoveCurrentTabTo(*Root().Child()));
    }
    ASSERT_EQ(Root().TabCount(), 1);
    ASSERT_EQ(Root().Child()->TabCount(), 1);
    testing_support::ChooseTool(Main(), 23);
    EXPECT_TRUE(FileExists(Snap(0)));
    EXPECT_TRUE(FileExists(Snap(1)));
    EXPECT_FALSE(FileExists(Snap(2)));
}

// Running as an administrator, a real folder cannot be refused: the plug-in's
// own call is made to fail with the error each message is for.
TEST_F(SnapTest, AFolderThatCannotBeMadeIsReportedWithItsPathAndNoFileIsWritten) {
    void* createDirectory = reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateDirectoryA"));
    ASSERT_EQ(testing_support::RouteImport(GetModuleHandleA("snap.ttl"), "kernel32.dll",
                                           createDirectory,
                                           reinterpret_cast<void*>(&FailCreateDirectory)),
              1);
    UniqueWindow window = PaintedWindow(4, 4);
    const std::string folder = tools_ + "\\snap";
    const struct {
        DWORD error;
        const char* text;
    } cases[] = {
        {ERROR_ACCESS_DENIED, "Error@CreateDirectory:\n未知のエラー"},
        {ERROR_PATH_NOT_FOUND,
         "Error@CreateDirectory:\n存在しないフォルダ内に snap フォルダを作成しようとしました"},
        {ERROR_FILENAME_EXCED_RANGE, "Error@CreateDirectory:\nフォルダ名が長すぎます"},
    };
    for (const auto& c : cases) {
        g_createDirectoryError = c.error;
        testing_support::MessageBoxReader reader;
        Run({window.get()});
        ASSERT_EQ(reader.Seen().size(), 1u) << c.error;
        EXPECT_EQ(reader.Seen()[0].text, c.text);
        EXPECT_EQ(reader.Seen()[0].caption, folder);
    }
    EXPECT_FALSE(FileExists(folder)) << "no folder and so no file";

    // The folder being there already is no failure.
    CreateDirectoryA(folder.c_str(), nullptr);
    g_createDirectoryError = ERROR_ALREADY_EXISTS;
    testing_support::MessageBoxReader quiet;
    EXPECT_EQ(Run({window.get()}), 1);
    EXPECT_TRUE(quiet.Seen().empty());
    EXPECT_TRUE(FileExists(Snap(0)));
}

// A tool folder 250 characters long leaves the snapshot's file name no room
// in MAX_PATH (the plug-in's own path, 259 characters, just fits). The tool
// says so instead of writing past a buffer: with the system's text for the
// file ("Error"), or, where the folder cannot be made either, with the
// folder's message under its path.
TEST_F(SnapTest, InAFolderOf250CharactersTheToolSavesOrSaysWhyNot) {
    std::string deep = tools_, relative;
    while (deep.size() < 250) {
        const std::size_t left = 250 - deep.size();
        const std::string name(left > 150 ? 100 : left - 1, 'f');
        deep += "\\" + name;
        relative += name + "\\";
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
    }
    ASSERT_EQ(deep.size(), 250u);
    ASSERT_TRUE(CopyFileA(testing_support::BuiltFile("tool", "snap.ttl").c_str(),
                          (deep + "\\snap.ttl").c_str(), FALSE));
    ASSERT_TRUE(ToolSlots()[1].Load((relative + "snap.ttl").c_str()));
    UniqueWindow window = PaintedWindow(4, 4);
    HWND windows[] = {window.get()};
    testing_support::MessageBoxReader reader;
    if (ToolSlots()[1].Selected(windows, 1, Main()) == 1) {
        EXPECT_TRUE(reader.Seen().empty());
        return;
    }
    ASSERT_EQ(reader.Seen().size(), 1u);
    const std::string caption = reader.Seen()[0].caption;
    EXPECT_TRUE(caption == "Error" || caption == deep + "\\snap") << caption;
}

}  // namespace
