// The real panelry.exe on a display of 144 and 192 dpi: the parts it draws
// are 1.5 and 2 times their size at 96 dpi, and what it stores keeps its
// 96-dpi meaning. Wine takes the scale from the registry when a process
// starts, so the program is started after the test sets it.
#include "base/dpi.h"
#include "base/handles.h"
#include "launcher/launcher_ids.h"
#include "resources/resource_ids.h"
#include "settings/profile_hex.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tabs/header_bar.h"
#include "tabs/split_bar.h"
#include "tabs/tab_ids.h"
#include "tests/plugins/tool_test_support.h"
#include "tests/support/on_screen.h"
#include "tests/support/pane_test_base.h"
#include "tests/support/panelry_process.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using testing_support::PanelryProcess;
using testing_support::WaitUntil;

namespace {

constexpr DWORD kDeadlineMs = 15000;
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kLogPixels[] = "LogPixels";

// The display's dpi for processes started while it lives; the value the
// user had (or its absence) comes back after.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key_, nullptr);
        DWORD size = sizeof before_;
        had_ = RegQueryValueExA(key_, kLogPixels, nullptr, nullptr,
                                reinterpret_cast<BYTE*>(&before_), &size) == ERROR_SUCCESS;
        set_ = RegSetValueExA(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<BYTE*>(&dpi),
                              sizeof dpi) == ERROR_SUCCESS;
    }
    ~LogPixels() {
        if (had_) {
            RegSetValueExA(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<BYTE*>(&before_),
                           sizeof before_);
        } else {
            RegDeleteValueA(key_, kLogPixels);
        }
        RegCloseKey(key_);
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;
    bool Set() const { return set_; }

private:
    HKEY key_ = nullptr;
    DWORD before_ = 0;
    bool had_ = false;
    bool set_ = false;
};

struct ClassSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ClassSearch*>(param);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// The first descendant of parent of the window class className.
HWND Descendant(HWND parent, const char* className) {
    ClassSearch search{className, nullptr};
    EnumChildWindows(parent, &MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

class DisplayScale : public ::testing::TestWithParam<int> {
protected:
    // Settings of a user at 96 dpi: the shortcut window shown with large
    // icons, the pane split side by side, a tab width, a placement, and the
    // launcher panel as the menu bar's first tool.
    void WriteSettings() {
        record = DefaultSystemData();
        record.showShortcutWindow = 1;
        record.shortcutSmallIcons = 0;
        record.restoreSplit = 1;
        record.fixedTabWidth = 120;
        const std::string ini = panelry.SystemIni();
        ASSERT_TRUE(profile_hex::WriteStruct(ini.c_str(), settings_ids::kSystemSection,
                                             settings_ids::kStructKey, &record, sizeof record));
        placement.length = sizeof placement;
        placement.showCmd = SW_SHOWNORMAL;
        placement.ptMinPosition = placement.ptMaxPosition = {-1, -1};
        placement.rcNormalPosition = {40, 32, 600, 400};
        ASSERT_TRUE(profile_hex::WriteStruct(ini.c_str(), settings_ids::kSystemSection,
                                             settings_ids::kPlacementKey, &placement,
                                             sizeof placement));
        WritePrivateProfileStringA(tab_ids::kLayoutSection, tab_ids::kSplitRateKey, "V40 ",
                                   ini.c_str());

        ASSERT_TRUE(testing_support::RegisterToolInMenuBar(panelry.Dir().Path(), "link.ttl"));
    }

    int Scaled(int at96) const { return dpi::Scale(at96, GetParam()); }

    PanelryProcess panelry;
    SystemData record{};
    WINDOWPLACEMENT placement{};
};

TEST_P(DisplayScale, WhatPanelryDrawsFollowsTheScaleAndWhatItStoresDoesNot) {
    const LogPixels scale(static_cast<DWORD>(GetParam()));
    ASSERT_TRUE(scale.Set());
    WriteSettings();
    const HWND main = panelry.Start();
    ASSERT_NE(main, nullptr);

    HWND header = nullptr, bar = nullptr, shortcut = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            header = Descendant(main, tab_ids::kHeaderClassName);
            bar = Descendant(main, tab_ids::kSplitVBarClass);
            if (!bar) bar = Descendant(main, tab_ids::kSplitHBarClass);
            shortcut = Descendant(main, launcher_ids::kShortcutClass);
            return header && bar && shortcut;
        },
        kDeadlineMs));
    EXPECT_NEAR(ClientSize(header).cy, Scaled(16), 1);
    EXPECT_NEAR(WindowSize(GetDlgItem(header, cHeader::kCloseId)).cx, Scaled(16), 1);
    const SIZE barSize = WindowSize(bar);
    EXPECT_NEAR(std::min(barSize.cx, barSize.cy), Scaled(cSplitbar::kThickness), 1);
    const HWND icon = Descendant(shortcut, launcher_ids::kAppIconClass);
    ASSERT_NE(icon, nullptr);
    EXPECT_NEAR(ClientSize(icon).cx, Scaled(32), 1);

    // The launcher panel, from the menu bar's first popup with keys.
    PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, 0);
    PostMessageA(main, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(main, WM_KEYDOWN, VK_RETURN, 0);
    HWND panel = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto shown =
                testing_support::ShownTopLevelWindows(panelry.ProcessId(), "#32770", "ランチャ");
            panel = shown.empty() ? nullptr : shown.front();
            return panel != nullptr;
        },
        kDeadlineMs));
    const HWND cell = FindWindowExA(panel, nullptr, "Static", nullptr);
    ASSERT_NE(cell, nullptr);
    EXPECT_NEAR(ClientSize(cell).cx, Scaled(32), 1);
    EXPECT_NEAR(ClientSize(cell).cy, Scaled(32), 1);

    ASSERT_EQ(panelry.Close(), 0);
    const std::string ini = panelry.SystemIni();
    SystemData saved{};
    ASSERT_TRUE(profile_hex::ReadStruct(ini.c_str(), settings_ids::kSystemSection,
                                        settings_ids::kStructKey, &saved, sizeof saved));
    EXPECT_EQ(saved.fixedTabWidth, record.fixedTabWidth);
    WINDOWPLACEMENT savedPlacement{};
    ASSERT_TRUE(profile_hex::ReadStruct(ini.c_str(), settings_ids::kSystemSection,
                                        settings_ids::kPlacementKey, &savedPlacement,
                                        sizeof savedPlacement));
    const RECT& was = placement.rcNormalPosition;
    const RECT& is = savedPlacement.rcNormalPosition;
    EXPECT_TRUE(is.left == was.left && is.top == was.top && is.right == was.right &&
                is.bottom == was.bottom)
        << is.left << "," << is.top << "," << is.right << "," << is.bottom;
    EXPECT_EQ(testing_support::SplitRateAsWritten(ini), "V40 ");
}

// Each icon holds an image of every size asked for at 100, 125, 150 and
// 200 %, so none is a stretched smaller one: the header's faces (16 pixels
// at 96 dpi) and the program's icon (small and large).
TEST(IconImages, EveryIconHasItsOwnImageAtEachDisplayScale) {
    const std::vector<int> faceSides{16, 20, 24, 32};
    const std::vector<int> programSides{16, 24, 32, 48, 64};
    const HMODULE module = GetModuleHandleA(nullptr);
    for (int id = IDI_PANELRY; id <= IDI_MINIMIZE_PRESSED; ++id) {
        const HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
        ASSERT_TRUE(group) << id;
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
        for (int side : id == IDI_PANELRY ? programSides : faceSides) {
            const int image = LookupIconIdFromDirectoryEx(directory, TRUE, side, side,
                                                          LR_DEFAULTCOLOR);
            const HRSRC entry = FindResourceA(module, MAKEINTRESOURCEA(image), RT_ICON);
            ASSERT_TRUE(entry) << id << " at " << side;
            const auto* header =
                static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, entry)));
            EXPECT_EQ(header->biWidth, side) << id;
            EXPECT_EQ(header->biHeight, 2 * side) << id << ": image and mask";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, DisplayScale, ::testing::Values(144, 192));

}  // namespace
