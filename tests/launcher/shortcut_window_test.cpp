// The shortcut window in a window of the test: shortcut.ini read at creation
// and written whole when the strip goes, entries live or through the file,
// docking on the four sides, the menu list and a launch from it.
#include "launcher/shortcut_window.h"

#include "base/command_kinds.h"
#include "launcher/launch_capture.h"
#include "tests/sampleapp/sample_protocol.h"
#include "tests/support/fresh_settings.h"
#include "tests/support/handle_count.h"
#include "tests/support/launched_programs.h"
#include "tests/support/message_box_reader.h"
#include "tests/support/open_menu.h"
#include "tests/support/sample_app.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using testing_support::FreshSettings;
using testing_support::IniValue;
using testing_support::WriteFileText;

using testing_support::SampleAppPath;

namespace {

struct CountingCapture : LaunchCapture {
    void ArmLaunchCapture() override { ++armed; }
    void LaunchFinished(bool started, DWORD process) override {
        finished.push_back({started, process});
    }
    int armed = 0;
    std::vector<std::pair<bool, DWORD>> finished;
};

class ShortcutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(cShortcutWnd::Init(GetModuleHandleA(nullptr)));
        parent_.reset(CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      640, 480, nullptr, nullptr, nullptr, nullptr));
        strip_.SetLaunchCapture(&capture_);
    }
    void TearDown() override {
        strip_.Destroy();
        testing_support::EndLaunchedPrograms();
    }
    std::string Ini() const { return settings_.Dir().File("shortcut.ini"); }
    bool Show(int position = cShortcutWnd::kRight, bool small = false) {
        return strip_.Create(parent_.get(), GetModuleHandleA(nullptr), 0, WS_EX_CLIENTEDGE,
                             position, small);
    }
    // The strip's rectangle in the parent's client coordinates.
    RECT StripRect() const {
        RECT r{};
        GetWindowRect(strip_.Window(), &r);
        MapWindowPoints(nullptr, parent_.get(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    testing_support::MenuItems Menu(UINT id = kShortcutList) {
        UniqueMenu menu(CreatePopupMenu());
        strip_.AppendMenuItems(menu.get(), id);
        return testing_support::ItemsOf(menu.get());
    }

    FreshSettings settings_;
    UniqueWindow parent_;
    CountingCapture capture_;
    cShortcutWnd strip_;
};

TEST_F(ShortcutWindowTest, CreationLoadsTheFileAndDestructionWritesAllSixteenKeys) {
    WriteFileText(Ini(), "[SHORTCUT PATH]\r\nNo.2=" + SampleAppPath() + "\r\nNo.15=" +
                             SampleAppPath() + "\r\n");
    ASSERT_TRUE(Show());
    EXPECT_TRUE(strip_.IsShown());
    EXPECT_EQ(GetParent(strip_.Window()), parent_.get());
    EXPECT_STREQ(strip_.Icon(2).Path(), SampleAppPath().c_str());
    EXPECT_STREQ(strip_.Icon(15).Path(), SampleAppPath().c_str());
    EXPECT_STREQ(strip_.Icon(3).Path(), "");
    for (int i = 0; i < cShortcutWnd::kSlots; ++i) {
        EXPECT_EQ(GetParent(strip_.Icon(i).Window()), strip_.Window()) << i;
    }
    char className[64] = "";
    GetClassNameA(strip_.Window(), className, sizeof className);
    EXPECT_STREQ(className, "panelry_shortcut_wnd_class");
    EXPECT_EQ(GetPropA(strip_.Window(), "panelry_shortcut_wnd_prop"), &strip_);
    GetClassNameA(strip_.Icon(0).Window(), className, sizeof className);
    EXPECT_STREQ(className, "quill_appicon_class");
    EXPECT_EQ(GetPropA(strip_.Icon(0).Window(), "quill_appicon_prop"), &strip_.Icon(0));

    strip_.Icon(2).Clear();
    strip_.Destroy();
    EXPECT_FALSE(strip_.IsShown());
    EXPECT_EQ(strip_.Icon(0).Window(), nullptr);
    for (int i = 0; i < cShortcutWnd::kSlots; ++i) {
        const std::string key = "No." + std::to_string(i);
        EXPECT_EQ(IniValue(Ini(), "SHORTCUT PATH", key.c_str(), "(none)"),
                  i == 15 ? SampleAppPath() : "")
            << key;
    }
}

TEST_F(ShortcutWindowTest, EntriesGoToTheFileAtOnceWhileHiddenAndAtDestructionWhileShown) {
    ASSERT_TRUE(strip_.SetEntry(4, SampleAppPath().c_str()));
    EXPECT_EQ(IniValue(Ini(), "SHORTCUT PATH", "No.4"), SampleAppPath());
    char entry[MAX_PATH];
    EXPECT_TRUE(strip_.GetEntry(4, entry, MAX_PATH));
    EXPECT_EQ(std::string(entry), SampleAppPath());
    EXPECT_FALSE(strip_.GetEntry(5, entry, MAX_PATH));
    EXPECT_STREQ(entry, "");
    for (int outside : {-1, 16}) {
        EXPECT_FALSE(strip_.SetEntry(outside, SampleAppPath().c_str()));
        EXPECT_FALSE(strip_.GetEntry(outside, entry, MAX_PATH));
    }

    ASSERT_TRUE(Show());
    EXPECT_TRUE(strip_.GetEntry(4, entry, MAX_PATH)) << "the icon holds it now";
    ASSERT_TRUE(strip_.SetEntry(9, SampleAppPath().c_str()));
    ASSERT_TRUE(strip_.SetEntry(4, ""));
    EXPECT_STREQ(strip_.Icon(9).Path(), SampleAppPath().c_str());
    EXPECT_FALSE(strip_.GetEntry(4, entry, MAX_PATH));
    EXPECT_EQ(IniValue(Ini(), "SHORTCUT PATH", "No.9", "(none)"), "(none)") << "not yet";
    EXPECT_EQ(IniValue(Ini(), "SHORTCUT PATH", "No.4"), SampleAppPath()) << "not yet";
    strip_.Destroy();
    EXPECT_EQ(IniValue(Ini(), "SHORTCUT PATH", "No.9"), SampleAppPath());
    EXPECT_EQ(IniValue(Ini(), "SHORTCUT PATH", "No.4", "(none)"), "");
}

TEST_F(ShortcutWindowTest, TheStripDocksOnEachSideAndCutsItsThicknessOff) {
    const RECT client{0, 0, 600, 400};
    RECT area = client;
    EXPECT_FALSE(strip_.Layout(area)) << "not shown";
    EXPECT_TRUE(EqualRect(&area, &client));

    int thickness[4] = {};
    for (int position = 0; position < 4; ++position) {
        ASSERT_TRUE(Show(position));
        area = client;
        ASSERT_TRUE(strip_.Layout(area));
        const RECT strip = StripRect();
        switch (position) {
        case cShortcutWnd::kTop:
            EXPECT_EQ(strip.top, 0);
            EXPECT_EQ(strip.right - strip.left, 600);
            EXPECT_EQ(area.top, strip.bottom);
            thickness[position] = strip.bottom - strip.top;
            break;
        case cShortcutWnd::kBottom:
            EXPECT_EQ(strip.bottom, 400);
            EXPECT_EQ(area.bottom, strip.top);
            thickness[position] = strip.bottom - strip.top;
            break;
        case cShortcutWnd::kLeft:
            EXPECT_EQ(strip.left, 0);
            EXPECT_EQ(strip.bottom - strip.top, 400);
            EXPECT_EQ(area.left, strip.right);
            thickness[position] = strip.right - strip.left;
            break;
        default:
            EXPECT_EQ(strip.right, 600);
            EXPECT_EQ(area.right, strip.left);
            thickness[position] = strip.right - strip.left;
            break;
        }
        EXPECT_GT(thickness[position], GetSystemMetrics(SM_CXICON)) << position;
        // Slot 1 follows slot 0 along the strip.
        RECT first{}, second{};
        GetWindowRect(strip_.Icon(0).Window(), &first);
        GetWindowRect(strip_.Icon(1).Window(), &second);
        if (position <= cShortcutWnd::kBottom) {
            EXPECT_EQ(second.left, first.right);
            EXPECT_EQ(second.top, first.top);
        } else {
            EXPECT_EQ(second.top, first.bottom);
            EXPECT_EQ(second.left, first.left);
        }
    }

    // Any other side is the right, and stays the right.
    ASSERT_TRUE(Show(7));
    area = client;
    ASSERT_TRUE(strip_.Layout(area));
    EXPECT_EQ(strip_.StoredPosition(), cShortcutWnd::kRight);
    EXPECT_EQ(StripRect().right, 600);
    EXPECT_EQ(area.right, 600 - thickness[cShortcutWnd::kRight]);

    // Small icons make it thinner at the next layout.
    strip_.SetLayout(cShortcutWnd::kRight, true);
    area = client;
    ASSERT_TRUE(strip_.Layout(area));
    EXPECT_LT(600 - area.right, thickness[cShortcutWnd::kRight]);
    RECT slot{};
    GetClientRect(strip_.Icon(0).Window(), &slot);
    EXPECT_EQ(slot.right, GetSystemMetrics(SM_CXSMICON));
}

TEST_F(ShortcutWindowTest, SetStyleChangesTheStripsFrame) {
    ASSERT_TRUE(Show());
    strip_.SetStyle(WS_BORDER, 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(strip_.Window(), GWL_STYLE)) &
                  (WS_BORDER | WS_CHILD | WS_VISIBLE),
              static_cast<DWORD>(WS_BORDER | WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(GetWindowLongA(strip_.Window(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(ShortcutWindowTest, TheMenuListsEachEntryWithItsSlotOrThePlaceholder) {
    auto none = Menu();
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].text, "ショートカットが登録されていません");
    EXPECT_TRUE(none[0].grey);
    EXPECT_EQ(none[0].id, static_cast<UINT>(kShortcutList));
    EXPECT_EQ(none[0].data, static_cast<ULONG_PTR>(-1));

    strip_.SetEntry(3, SampleAppPath().c_str());
    strip_.SetEntry(9, SampleAppPath().c_str());
    for (bool shown : {false, true}) {
        if (shown) {
            ASSERT_TRUE(Show());
        }
        const auto items = Menu();
        ASSERT_EQ(items.size(), 2u) << shown;
        EXPECT_TRUE(items[0].ownerDrawn);
        EXPECT_EQ(items[0].data, 3u);
        EXPECT_EQ(items[0].id, static_cast<UINT>(kShortcutList | 96));
        EXPECT_EQ(items[1].data, 9u);
        EXPECT_EQ(items[1].id, static_cast<UINT>(kShortcutList | 288));
    }

    // Measured with the shell's name of the file, one menu line high.
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = 3;
    strip_.MeasureMenuItem(parent_.get(), measure);
    EXPECT_GT(measure.itemWidth, static_cast<UINT>(8 + measure.itemHeight));
    EXPECT_GT(measure.itemHeight, 0u);
    MEASUREITEMSTRUCT empty{};
    empty.itemData = 5;
    strip_.MeasureMenuItem(parent_.get(), empty);
    EXPECT_EQ(empty.itemWidth, 0u) << "an empty entry is not measured";
}

TEST_F(ShortcutWindowTest, ALaunchAsksForTheCaptureFirstAndStartsTheEntry) {
    EXPECT_FALSE(strip_.LaunchEntry(parent_.get(), 6));
    EXPECT_EQ(capture_.armed, 0) << "nothing launched, nothing armed";
    strip_.SetEntry(6, SampleAppPath().c_str());
    EXPECT_TRUE(strip_.LaunchEntry(parent_.get(), 6));
    EXPECT_EQ(capture_.armed, 1);
    HWND launched = nullptr;
    EXPECT_TRUE(testing_support::WaitUntil(
        [&] { return (launched = FindWindowA(sample::kLaunchedClass, nullptr)) != nullptr; },
        10000));
    // Then it tells how the start went, and which process it started.
    DWORD process = 0;
    GetWindowThreadProcessId(launched, &process);
    ASSERT_EQ(capture_.finished.size(), 1u);
    EXPECT_TRUE(capture_.finished[0].first);
    EXPECT_EQ(capture_.finished[0].second, process);

    // A slot's own launch asks through the strip, and so does its failure.
    ASSERT_TRUE(Show());
    SendMessageA(strip_.Icon(6).Window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(capture_.armed, 2);
    ASSERT_EQ(capture_.finished.size(), 2u);
    EXPECT_TRUE(capture_.finished[1].first);
    strip_.SetEntry(3, settings_.Dir().File("gone.exe").c_str());
    testing_support::MessageBoxReader reader;
    SendMessageA(strip_.Icon(3).Window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(capture_.armed, 3);
    ASSERT_EQ(capture_.finished.size(), 3u);
    EXPECT_FALSE(capture_.finished[2].first);
    EXPECT_EQ(reader.Seen().size(), 2u);
}

TEST_F(ShortcutWindowTest, MenusAndRegistrationsLeaveNoMenuIconWindowOrGdiObjectBehind) {
    ASSERT_TRUE(Show());
    strip_.SetEntry(0, SampleAppPath().c_str());
    strip_.SetEntry(7, SampleAppPath().c_str());
    WindowDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 200, 20));
    SelectedObject canvas(dc.get(), bitmap.get());

    testing_support::HandleCount count;
    ASSERT_TRUE(count.Routed());
    for (int i = 0; i < 100; ++i) {
        UniqueMenu menu(CreatePopupMenu());
        ASSERT_TRUE(strip_.AppendMenuItems(menu.get(), kShortcutList));
        for (const auto& item : testing_support::ItemsOf(menu.get())) {
            MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.id, 0, 0, item.data};
            strip_.MeasureMenuItem(parent_.get(), measure);
            DRAWITEMSTRUCT draw{ODT_MENU, 0, item.id, ODA_DRAWENTIRE,
                                i % 2 ? ODS_SELECTED : 0u, nullptr, dc.get(), {0, 0, 200, 20},
                                item.data};
            strip_.DrawMenuItem(draw);
        }
        // A slot registered and cleared, its icon and tooltip made and gone.
        ASSERT_TRUE(strip_.Icon(3).SetFile(SampleAppPath().c_str()));
        strip_.Icon(3).Clear();
    }
    EXPECT_EQ(count.MenusMade(), 100);
    EXPECT_EQ(count.IconsMade(), 100 * 3) << "two drawn items and the slot each round";
    EXPECT_EQ(count.WindowsMade(), 100) << "the slot's tooltip";
    EXPECT_EQ(count.MenusLive(), 0u);
    EXPECT_EQ(count.IconsLive(), 0u);
    EXPECT_EQ(count.WindowsLive(), 0u);
    EXPECT_LE(count.GdiLive(), 1u) << "only the menu look's current font";
}

}  // namespace
