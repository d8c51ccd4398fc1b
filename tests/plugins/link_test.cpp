// The delivered launcher panel, loaded by the real host into a real main
// window: the grid and its place at the cursor, $link byte for byte as it is
// written and as cut or overlong files are read, the check box that makes
// the panel a tab, the menu item's check mark however the panel goes, a
// double click that starts the sample application, a failed launch, slots
// whose file is out of reach kept, and the background's pattern read back
// from the panel's own windows.
#include "plugins/host/tool_slots.h"

#include "launcher/launcher_texts.h"
#include "plugins/host/tool_modules.h"
#include "tests/plugins/tool_test_support.h"
#include "tests/support/launched_programs.h"
#include "tests/support/message_box_reader.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/shell_link.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

using testing_support::FileExists;
using testing_support::MessageBoxReader;
using testing_support::PaneTest;
using testing_support::ReadFileText;
using testing_support::SampleAppPath;
using testing_support::WaitUntil;
using testing_support::WriteFileText;

namespace {

constexpr char kPanelTitle[] = "ランチャ";
constexpr char kSlotProp[] = "cAppIconClass";
constexpr int kAutoTabCheck = 1003;
// A folder has an icon too, and this one's path is ten bytes long.
constexpr char kTenBytes[] = "C:\\windows";

std::string Record(const std::string& path) {
    const auto length = static_cast<DWORD>(path.size());
    return std::string(reinterpret_cast<const char*>(&length), 4) + path;
}

// A $link: the check box byte, then a record per path given.
std::string LinkFile(bool autoTab, const std::vector<std::string>& paths) {
    std::string bytes(1, autoTab ? '\1' : '\0');
    for (const std::string& path : paths) bytes += Record(path);
    return bytes;
}

// What a panel with these slots and the rest empty writes.
std::string Written(bool autoTab, std::vector<std::string> paths) {
    paths.resize(64);
    return LinkFile(autoTab, paths);
}

std::vector<HWND> SlotWindows(HWND panel) {
    std::vector<HWND> slots;
    for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetPropA(child, kSlotProp)) slots.push_back(child);
    }
    return slots;
}

// A drop of one file, as the shell hands it to a window.
HDROP MakeDrop(const std::string& file) {
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + file.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(drop + 1, file.c_str(), file.size() + 1);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

struct TooltipSearch {
    HWND slot;
    std::string text;
    int found = 0;
};

// A tooltip window is owned by the panel, whichever slot it serves: each is
// asked whether it has the slot's tool.
BOOL CALLBACK FindTooltip(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TooltipSearch*>(param);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0) return TRUE;
    char text[INFOTIPSIZE * 2] = "";
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = search->slot;
    tool.uId = reinterpret_cast<UINT_PTR>(search->slot);
    if (!SendMessageA(window, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool))) return TRUE;
    // Read as UTF-16: the control gives at most 80 bytes of a text as ANSI.
    wchar_t wide[INFOTIPSIZE] = L"";
    TTTOOLINFOW asked{};
    asked.cbSize = TTTOOLINFOW_V2_SIZE;
    asked.hwnd = search->slot;
    asked.uId = reinterpret_cast<UINT_PTR>(search->slot);
    asked.lpszText = wide;
    SendMessageW(window, TTM_GETTEXTW, INFOTIPSIZE, reinterpret_cast<LPARAM>(&asked));
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    search->text = text;
    ++search->found;
    return TRUE;
}

// The text of the slot's tooltip; empty when it has none.
std::string TooltipOf(HWND slot) {
    TooltipSearch search{slot, ""};
    EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&search));
    EXPECT_LE(search.found, 1) << "one tooltip a slot";
    return search.text;
}

BOOL CALLBACK FindHeldPanel(HWND window, LPARAM found) {
    char name[16] = "", title[32] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(name, "#32770") != 0 || std::strcmp(title, kPanelTitle) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The panel where it is: on the desktop, or held somewhere inside main.
HWND FindPanel(HWND main) {
    if (HWND alone = FindWindowA("#32770", kPanelTitle)) return alone;
    HWND held = nullptr;
    EnumChildWindows(main, FindHeldPanel, reinterpret_cast<LPARAM>(&held));
    return held;
}

class LinkTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        ASSERT_TRUE(testing_support::InstallDeliveredTool(settings.Dir().Path(), "link.ttl"));
        data_ = settings.Dir().File("tool") + "\\$link";
        SetCursorPos(120, 90);
    }
    void TearDown() override {
        // A panel left open would outlive its tool into the next test.
        if (HWND panel = Panel()) SendMessageA(panel, WM_CLOSE, 0, 0);
        testing_support::EndLaunchedPrograms(app.ProcessId());
        PaneTest::TearDown();
    }

    HWND Panel() const { return FindPanel(Main()); }
    // Chooses the tool as the menu does; the panel afterwards (null: closed).
    HWND Choose() {
        testing_support::ChooseTool(Main(), 23);
        return Panel();
    }
    bool MenuItemChecked() {
        UniqueMenu menu(CreatePopupMenu());
        AppendToolList(menu.get());
        const testing_support::MenuItems items = testing_support::ItemsOf(menu.get());
        EXPECT_EQ(items.size(), 1u);
        if (!items.empty()) {
            EXPECT_EQ(items[0].text, "登録アプリの起動");
        }
        return !items.empty() && items[0].checked;
    }

    std::string data_;
};

TEST_F(LinkTest, FirstUseShowsAnEmptyGridAtTheCursorAndClosingWritesAllSlotsEmpty) {
    ASSERT_FALSE(FileExists(data_));
    const HWND panel = Choose();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(GetWindow(panel, GW_OWNER), nullptr);
    EXPECT_EQ(IsDlgButtonChecked(panel, kAutoTabCheck), BST_UNCHECKED);
    char text[64] = "";
    GetDlgItemTextA(panel, kAutoTabCheck, text, sizeof text);
    EXPECT_STREQ(text, "自動的にタブ化する");

    const std::vector<HWND> slots = SlotWindows(panel);
    ASSERT_EQ(slots.size(), 64u);
    RECT slotFrame{}, checkFrame{};
    GetWindowRect(slots[0], &slotFrame);
    GetWindowRect(GetDlgItem(panel, kAutoTabCheck), &checkFrame);
    const LONG w = slotFrame.right - slotFrame.left, h = slotFrame.bottom - slotFrame.top;
    const LONG b = checkFrame.bottom - checkFrame.top;
    for (int i = 0; i < 64; ++i) {
        RECT client{}, frame{};
        GetClientRect(slots[i], &client);
        EXPECT_EQ(client.right, 32) << i;
        EXPECT_EQ(client.bottom, 32) << i;
        GetWindowRect(slots[i], &frame);
        POINT at{frame.left, frame.top};
        ScreenToClient(panel, &at);
        EXPECT_EQ(at.x, (i % 8) * w) << i;
        EXPECT_EQ(at.y, b + (i / 8) * h) << i;
        EXPECT_EQ(TooltipOf(slots[i]), "") << "an empty slot has no tooltip";
    }
    RECT client{};
    GetClientRect(panel, &client);
    EXPECT_EQ(client.right, 8 * w);
    EXPECT_EQ(client.bottom, 8 * h + b);
    POINT corner{0, 0};
    ClientToScreen(panel, &corner);
    EXPECT_EQ(corner.x, 120);
    EXPECT_EQ(corner.y, 90);

    EXPECT_EQ(Choose(), nullptr);
    EXPECT_FALSE(IsWindow(panel));
    const std::string written = ReadFileText(data_);
    EXPECT_EQ(written.size(), 257u);
    EXPECT_EQ(written, std::string(257, '\0'));
}

TEST_F(LinkTest, MovedToAMonitorAtTwiceTheScaleItsCellsDoubleWhereWindowsSuggests) {
    const HWND panel = Choose();
    ASSERT_NE(panel, nullptr);
    const RECT suggested{300, 200, 900, 800};
    SendMessageA(panel, WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));

    const std::vector<HWND> slots = SlotWindows(panel);
    ASSERT_EQ(slots.size(), 64u);
    RECT cell{}, last{}, frame{}, client{};
    GetClientRect(slots[0], &cell);
    EXPECT_EQ(cell.right, 64);
    EXPECT_EQ(cell.bottom, 64);
    GetWindowRect(slots[63], &last);
    GetWindowRect(panel, &frame);
    EXPECT_EQ(frame.left, suggested.left);
    EXPECT_EQ(frame.top, suggested.top);
    GetClientRect(panel, &client);
    MapWindowPoints(panel, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(last.right, client.right) << "the grid fills the panel";
    EXPECT_EQ(last.bottom, client.bottom);
}

TEST_F(LinkTest, ASlotStoresTheLengthThenThePathAndAShortcutAsItsTarget) {
    const testing_support::TempDir links;
    const std::string shortcut = links.File("sample.lnk");
    ASSERT_TRUE(testing_support::SaveShellLink(shortcut, SampleAppPath()));
    const HWND panel = Choose();
    ASSERT_NE(panel, nullptr);
    const std::vector<HWND> slots = SlotWindows(panel);
    ASSERT_EQ(slots.size(), 64u);
    SendMessageA(slots[0], WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(kTenBytes)), 0);
    SendMessageA(slots[9], WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(shortcut)), 0);
    // The tooltip names the file without folder and extension.
    EXPECT_EQ(TooltipOf(slots[9]), "sampleapp");
    EXPECT_EQ(TooltipOf(slots[0]), "windows");
    Choose();
    ASSERT_FALSE(IsWindow(panel));

    const std::string written = ReadFileText(data_);
    ASSERT_GE(written.size(), 15u);
    EXPECT_EQ(written.substr(1, 4), std::string("\x0A\x00\x00\x00", 4));
    EXPECT_EQ(written.substr(5, 10), kTenBytes);
    std::vector<std::string> expected(10);
    expected[0] = kTenBytes;
    expected[9] = SampleAppPath();
    EXPECT_EQ(written, Written(false, expected));
}

TEST_F(LinkTest, AFileCutInARecordOrWithAnOverlongPathLoadsTheSlotsBeforeIt) {
    const std::string sample = SampleAppPath();
    const struct {
        const char* what;
        std::string file;
    } cases[] = {
        {"cut in the path", LinkFile(false, {sample, kTenBytes}) + Record(sample).substr(0, 12)},
        {"cut in the length", LinkFile(false, {sample, kTenBytes}) + std::string("\x05\x00", 2)},
        {"a length of 260", LinkFile(false, {sample, kTenBytes}) + Record(std::string(260, 'a')) +
                                Record(sample)},
        {"a length of 4 GB", LinkFile(false, {sample, kTenBytes}) +
                                 std::string("\xFF\xFF\xFF\xFF", 4) + Record(sample)},
    };
    for (const auto& c : cases) {
        WriteFileText(data_, c.file);
        MessageBoxReader reader;
        const HWND panel = Choose();
        ASSERT_NE(panel, nullptr) << c.what;
        const std::vector<HWND> slots = SlotWindows(panel);
        ASSERT_EQ(slots.size(), 64u);
        EXPECT_EQ(TooltipOf(slots[0]), "sampleapp") << c.what;
        EXPECT_EQ(TooltipOf(slots[1]), "windows") << c.what;
        EXPECT_EQ(TooltipOf(slots[2]), "") << c.what;
        EXPECT_EQ(TooltipOf(slots[3]), "") << c.what;
        Choose();
        EXPECT_TRUE(reader.Seen().empty()) << c.what;
        EXPECT_EQ(ReadFileText(data_), Written(false, {sample, kTenBytes})) << c.what;
    }

    // A path of 259 bytes, the longest, is read whole; being no file that
    // can be reached, it keeps its slot, unavailable, and nothing is asked.
    const std::string longest = "C:\\" + std::string(256, 'x');
    WriteFileText(data_, LinkFile(true, {longest, sample}));
    MessageBoxReader reader;
    ASSERT_NE(Choose(), nullptr);
    EXPECT_EQ(IsDlgButtonChecked(Panel(), kAutoTabCheck), BST_CHECKED);
    EXPECT_TRUE(reader.Seen().empty());
    EXPECT_EQ(TooltipOf(SlotWindows(Panel())[0]).substr(0, 257), std::string(256, 'x') + "\n");
    EXPECT_EQ(TooltipOf(SlotWindows(Panel())[1]), "sampleapp");
    Choose();
    EXPECT_EQ(ReadFileText(data_), Written(true, {longest, sample}));
}

TEST_F(LinkTest, WithTheCheckBoxOnTheReopenedPanelIsATabOfTheActivePaneAtOnce) {
    HWND panel = Choose();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Root().TabCount(), 0) << "off: the panel stays on its own";
    SendDlgItemMessageA(panel, kAutoTabCheck, BM_CLICK, 0, 0);
    ASSERT_EQ(IsDlgButtonChecked(panel, kAutoTabCheck), BST_CHECKED);
    Choose();
    EXPECT_EQ(ReadFileText(data_), Written(true, {}));

    panel = Choose();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(Root().TabCount(), 1);
    EXPECT_EQ(TabWindows(Root())[0], panel);
    EXPECT_FALSE(OnDesktop(panel));

    // Turned off again, the next panel is left on the desktop.
    SendDlgItemMessageA(panel, kAutoTabCheck, BM_CLICK, 0, 0);
    Choose();
    ASSERT_TRUE(WaitUntil([&] { return Root().TabCount() == 0; }));
    panel = Choose();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Root().TabCount(), 0);
    EXPECT_EQ(ReadFileText(data_).substr(0, 1), std::string(1, '\0'));
}

TEST_F(LinkTest, TheCheckMarkFollowsThePanelHoweverItCloses) {
    EXPECT_FALSE(MenuItemChecked());
    HWND panel = Choose();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(MenuItemChecked());
    EXPECT_TRUE(ToolSlots()[0].Enabled(nullptr, 1, Main()));

    // Its system menu's close.
    SendMessageA(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_FALSE(MenuItemChecked());
    EXPECT_EQ(ReadFileText(data_).size(), 257u) << "saved as by the menu";

    // As a tab: the pane asks the panel to close.
    WriteFileText(data_, Written(true, {}));
    panel = Choose();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(Root().TabCount(), 1);
    EXPECT_TRUE(MenuItemChecked());
    Root().CloseTab(0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(panel); }));
    EXPECT_FALSE(MenuItemChecked());
    EXPECT_TRUE(WaitUntil([&] { return Root().TabCount() == 0; }));

    // Chosen again it opens again.
    EXPECT_NE(Choose(), nullptr);
    EXPECT_TRUE(MenuItemChecked());
}

// The program frees a tool that left its slot between the messages of its
// outermost loop (ReleaseRetiredTools), once no window runs on it.
TEST_F(LinkTest, AToolThatLeavesItsSlotStaysLoadedUntilItsPanelIsClosed) {
    const HWND panel = Choose();
    ASSERT_NE(panel, nullptr);
    SendMessageA(SlotWindows(panel)[3], WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop(SampleAppPath())), 0);
    ToolSlots()[0].Unload();
    ReleaseRetiredTools();
    ASSERT_TRUE(IsWindow(panel));
    EXPECT_NE(GetModuleHandleA("link.ttl"), nullptr) << "its panel still runs on it";
    EXPECT_EQ(TooltipOf(SlotWindows(panel)[3]), "sampleapp") << "and works";

    SendMessageA(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(ReadFileText(data_), Written(false, {"", "", "", SampleAppPath()}));
    EXPECT_TRUE(WaitUntil([] {
        ReleaseRetiredTools();
        return GetModuleHandleA("link.ttl") == nullptr;
    }));
}

TEST_F(LinkTest, ADoubleClickStartsTheSlotsProgramAndAFailedStartKeepsASlotOutOfReach) {
    const testing_support::TempDir dir;
    const std::string doomed = dir.File("doomed.exe");
    ASSERT_TRUE(CopyFileA(SampleAppPath().c_str(), doomed.c_str(), FALSE));
    WriteFileText(data_, LinkFile(false, {"", SampleAppPath(), doomed}));
    const HWND panel = Choose();
    ASSERT_NE(panel, nullptr);
    const std::vector<HWND> slots = SlotWindows(panel);
    ASSERT_EQ(slots.size(), 64u);

    SendMessageA(slots[1], WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(WaitUntil([] { return FindWindowA("PanelrySampleLaunched", "launched"); }));

    DeleteFileA(doomed.c_str());
    {
        MessageBoxReader reader;
        SendMessageA(slots[2], WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        ASSERT_EQ(reader.Seen().size(), 2u);
        EXPECT_EQ(reader.Seen()[0].text, "ファイルが見つかりませんでした．");
        EXPECT_EQ(reader.Seen()[0].caption, doomed);
        EXPECT_EQ(reader.Seen()[1].text, "登録ファイルの起動に失敗しました");
        EXPECT_EQ(reader.Seen()[1].caption, doomed);
    }
    // Gone for now, perhaps back tomorrow: kept, and said so.
    EXPECT_EQ(TooltipOf(slots[2]), std::string("doomed\n") +
                                       launcher_texts::kUnavailableUnreachable);
    Choose();
    EXPECT_EQ(ReadFileText(data_), Written(false, {"", SampleAppPath(), doomed}));
}

TEST_F(LinkTest, TheBackgroundIsTheGroundColourWithAOnePixelDiagonal) {
    const HWND panel = Choose();
    ASSERT_NE(panel, nullptr);
    SetForegroundWindow(panel);
    RedrawWindow(panel, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const HWND slot = SlotWindows(panel)[10];
    WindowDC dc(slot);
    ASSERT_TRUE(dc);
    int diagonal = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool onDiagonal = (x % 8) + (y % 8) == 7;
            const COLORREF expected = onDiagonal ? RGB(202, 220, 226) : RGB(216, 235, 242);
            const COLORREF seen = GetPixel(dc.get(), x, y);
            if (seen != expected) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << seen;
                return;
            }
            diagonal += onDiagonal ? 1 : 0;
        }
    }
    EXPECT_EQ(diagonal, 4 * 4 * 8);
}

}  // namespace
