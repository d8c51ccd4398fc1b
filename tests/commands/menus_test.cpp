// The menus as the main window shows them: the bar and its popup variant
// built from the model, the tab menu, the window list with real windows of
// another process, the greying by the pane's state, and the list commands
// carried out after their menu has gone. Open menus are read and driven
// with keys from a timer while TrackPopupMenu runs.
#include "commands/menus.h"

#include "app/main_window.h"
#include "base/command_kinds.h"
#include "base/menu_data.h"
#include "base/messages.h"
#include "commands/accelerators.h"
#include "commands/command_texts.h"
#include "commands/menu_settings.h"
#include "commands/tool_list_menu.h"
#include "inputtap/inputtap.h"
#include "settings/system_data.h"
#include "tests/support/desktop_input.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

using testing_support::HoldKey;
using testing_support::IdsOf;
using testing_support::ItemsOf;
using testing_support::Opened;
using testing_support::PaneTest;
using testing_support::PumpPending;
using testing_support::TextsOf;
using testing_support::WaitUntil;
using testing_support::WindowSpec;
using testing_support::WithOpenMenu;

namespace {

using Item = testing_support::MenuItem;
using Items = testing_support::MenuItems;
using Ids = std::vector<UINT>;

const Item* WithData(const Items& items, HWND window) {
    for (const Item& item : items) {
        if (item.data == reinterpret_cast<ULONG_PTR>(window)) return &item;
    }
    return nullptr;
}

// Class and title of a listed window, for the failure messages.
std::string Describe(ULONG_PTR data) {
    HWND window = reinterpret_cast<HWND>(data);
    char className[128] = "", title[128] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return std::string(className) + " \"" + title + "\" of process " + std::to_string(process) +
           (process == GetCurrentProcessId() ? " (this one)" : "");
}

class MenusTest : public PaneTest {
protected:
    void TearDown() override {
        HoldKey(VK_CONTROL, false);
        SetToolMenuSource(nullptr);
        AcceleratorTable::Instance().SetDefaults();
        PaneTest::TearDown();
    }

    // An entry list of the model: the codes, end markers after them.
    static void Fill(std::int8_t* entries, int size, const std::vector<int>& codes) {
        std::memset(entries, kEndCode, size);
        int i = 0;
        for (int code : codes) entries[i++] = static_cast<std::int8_t>(code);
    }
    void SetPopup(int n, const char* title, const std::vector<int>& codes) {
        Fill(GetMenuSettings().mainMenuItems[n], MenuSettings::kEntries, codes);
        std::strcpy(GetMenuSettings().popupTitles[n], title);
    }
    void SetTabMenu(const std::vector<int>& codes) {
        Fill(GetMenuSettings().tabMenuItems, MenuSettings::kTabEntries, codes);
    }
    void OnlyPopup(const char* title, const std::vector<int>& codes) {
        for (int n = 1; n < MenuSettings::kPopups; ++n) SetPopup(n, "", {});
        SetPopup(0, title, codes);
        Apply();
    }
    void Apply() { SendMessageA(Main(), PM_APPLYSETTINGS, 0, 0); }

    HMENU Bar() const { return GetMenu(main_); }
    // Opens the bar's popup at position as the system does, and reads it.
    Items OpenBarPopup(UINT position) {
        HMENU popup = GetSubMenu(Bar(), static_cast<int>(position));
        EXPECT_NE(popup, nullptr) << position;
        SendMessageA(Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                     MAKELPARAM(position, 0));
        return ItemsOf(popup);
    }

    // Opens the bar's first popup and returns which of the commands first to
    // last it shows greyed.
    Ids GreyedInFirstPopup(UINT first, UINT last) {
        OpenBarPopup(0);
        Ids ids;
        for (UINT id = first; id <= last; ++id) {
            if (GetMenuState(GetSubMenu(Bar(), 0), id, MF_BYCOMMAND) & MF_GRAYED) ids.push_back(id);
        }
        return ids;
    }
    // A list command carried out with the bar to look it up in.
    LRESULT ExecFromBar(WPARAM id) {
        return SendMessageA(Main(), PM_EXECCOMMAND, id, reinterpret_cast<LPARAM>(Bar()));
    }

    // A menu closes when its owner loses the activation, as it does when a
    // window just opened by the sample application comes forward late; a
    // click in the main window would have brought it forward first.
    void BringMainForward() {
        SetForegroundWindow(Main());
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Main(); }));
        PumpPending();
    }

    LRESULT PopupMainMenu(std::vector<WPARAM> keys = {}) {
        BringMainForward();
        return WithOpenMenu(std::move(keys),
                            [&] { return SendMessageA(Main(), PM_POPUPMAINMENU, 0, 0); });
    }
    // A right press on the first tab (or the empty strip) of pane, the root
    // unless named, as the mouse gives it; the menu opens at the pointer.
    void RightClickTabStrip(std::vector<WPARAM> keys = {}, cTab* pane = nullptr,
                            std::function<void()> whileOpen = {}) {
        const HWND strip = (pane ? *pane : Root()).TabControl();
        RECT r{};
        if (!SendMessageA(strip, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r))) {
            r = {10, 5, 30, 15};
        }
        POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        POINT screen = at;
        ClientToScreen(strip, &screen);
        SetCursorPos(screen.x, screen.y);
        BringMainForward();
        WithOpenMenu(
            std::move(keys),
            [&] { return SendMessageA(strip, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y)); },
            std::move(whileOpen));
    }
};

// ---- The bar and the popup variant -----------------------------------------

TEST_F(MenusTest, OnlyTitledPopupsThatStartWithAKnownCodeAppearUnderTheirModelNumbers) {
    SetPopup(0, "", {kSelectPrevTab, kSelectNextTab});  // no title: absent
    SetPopup(1, "一", {0, kReleaseTab});                // shown, opens empty
    SetPopup(2, "二", {});  // starts with the end marker: absent
    SetPopup(3, "三", {kMinimizeTab, kCloseTab});
    SetPopup(4, "四", {27});  // 26 to 31 still show the popup
    SetPopup(5, "五", {kSeparatorCode, kReleaseAllTabs});
    SetPopup(6, "六", {-3});  // below the separator: absent
    SetPopup(7, "七", {kMinimizeAllTabs});
    Apply();

    const Items bar = ItemsOf(Bar());
    EXPECT_EQ(IdsOf(bar), (Ids{1, 3, 4, 5, 7}));
    EXPECT_EQ(TextsOf(bar), (std::vector<std::string>{"一", "三", "四", "五", "七"}));

    // Each fills from its own list, whatever its place on the bar.
    EXPECT_TRUE(OpenBarPopup(0).empty());
    EXPECT_EQ(IdsOf(OpenBarPopup(1)), (Ids{kMinimizeTab, kCloseTab}));
    EXPECT_TRUE(OpenBarPopup(2).empty());
    const Items fifth = OpenBarPopup(3);
    ASSERT_EQ(fifth.size(), 2u);
    EXPECT_TRUE(fifth[0].separator);
    EXPECT_EQ(fifth[1].id, static_cast<UINT>(kReleaseAllTabs));
    EXPECT_EQ(IdsOf(OpenBarPopup(4)), (Ids{kMinimizeAllTabs}));

    // The popup variant: the same popups, filled before it shows.
    EXPECT_EQ(PopupMainMenu(), 0) << "dismissed";
    ASSERT_TRUE(Opened().seen);
    EXPECT_EQ(IdsOf(Opened().items), (Ids{1, 3, 4, 5, 7}));
    ASSERT_EQ(Opened().popups.size(), 5u);
    EXPECT_TRUE(Opened().popups[0].empty());
    EXPECT_EQ(IdsOf(Opened().popups[1]), (Ids{kMinimizeTab, kCloseTab}));
    EXPECT_TRUE(Opened().popups[2].empty());
    EXPECT_EQ(IdsOf(Opened().popups[4]), (Ids{kMinimizeAllTabs}));
}

TEST_F(MenusTest, AnEntryListEndsAtAnUnknownCodeOrAfterItsThirtyTwoPlaces) {
    MenuSettings& m = GetMenuSettings();
    for (int i = 0; i < MenuSettings::kEntries; ++i) {
        // Every built-in command in turn, and no end marker.
        m.mainMenuItems[0][i] = static_cast<std::int8_t>(i % kBuiltInCommandCount + 1);
    }
    std::strcpy(m.popupTitles[0], "満");
    SetPopup(1, "零", {kSelectPrevTab, kSelectNextTab, 0, kAddAllWindows});
    SetPopup(2, "二六", {kWatchOn, 26, kWatchOff});
    SetPopup(3, "三一", {kReleaseTab, kSeparatorCode, 31, kMinimizeTab});
    Apply();

    Ids full;
    for (int i = 0; i < MenuSettings::kEntries; ++i) {
        full.push_back(static_cast<UINT>(i % kBuiltInCommandCount + 1));
    }
    EXPECT_EQ(IdsOf(OpenBarPopup(0)), full);
    EXPECT_EQ(IdsOf(OpenBarPopup(1)), (Ids{kSelectPrevTab, kSelectNextTab}));
    EXPECT_EQ(IdsOf(OpenBarPopup(2)), (Ids{kWatchOn}));
    EXPECT_EQ(IdsOf(OpenBarPopup(3)), (Ids{kReleaseTab, 0})) << "the separator's id is 0";

    PopupMainMenu();
    ASSERT_EQ(Opened().popups.size(), 4u);
    EXPECT_EQ(IdsOf(Opened().popups[0]), full);
    EXPECT_EQ(IdsOf(Opened().popups[2]), (Ids{kWatchOn}));

    // A popup that is not the bar's at that position is left alone.
    UniqueMenu stranger(CreatePopupMenu());
    SendMessageA(Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(stranger.get()),
                 MAKELPARAM(0, 0));
    EXPECT_EQ(GetMenuItemCount(stranger.get()), 0);
    // Nor is the window menu filled, even with the bar's popup.
    HMENU first = GetSubMenu(Bar(), 0);
    DeleteMenu(first, 0, MF_BYPOSITION);
    SendMessageA(Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(first), MAKELPARAM(0, 1));
    EXPECT_EQ(GetMenuItemCount(first), MenuSettings::kEntries - 1);
}

TEST_F(MenusTest, OnlyTheMainMenuShowsKeysAndOnlyForCommandsThatHaveOne) {
    AcceleratorTable::Instance().Set(kReleaseTab - 1, 0, 0);  // its slot without a key
    OnlyPopup("鍵", {kSelectPrevTab, kSettings, kReleaseTab});
    SetTabMenu({kSelectPrevTab, kSettings, kReleaseTab});
    ASSERT_TRUE(Add(OpenWindow("held")));  // a tab, so the pane's commands are enabled

    Items items = OpenBarPopup(0);
    ASSERT_EQ(items.size(), 3u);
    const std::string withKey =
        std::string(CommandText(kSelectPrevTab)) + "\t" + command_texts::kCtrlPrefix;
    EXPECT_EQ(items[0].text.rfind(withKey, 0), 0u) << items[0].text;
    EXPECT_GT(items[0].text.size(), withKey.size()) << "and the key's name";
    EXPECT_EQ(items[1].text, CommandText(kSettings));
    EXPECT_EQ(items[2].text, CommandText(kReleaseTab));

    RightClickTabStrip();
    ASSERT_TRUE(Opened().seen);
    const std::vector<std::string> plain{CommandText(kSelectPrevTab), CommandText(kSettings),
                                         CommandText(kReleaseTab)};
    EXPECT_EQ(TextsOf(Opened().items), plain);

    GetMenuSettings().drawHotkeys = false;
    items = OpenBarPopup(0);
    EXPECT_EQ(TextsOf(items), plain);
}

TEST_F(MenusTest, PopupVariantReturnsTheChosenIdWithoutCarryingItOut) {
    INPUTTAP_End();
    OnlyPopup("操作", {kWatchOn, kWatchOff});
    EXPECT_EQ(PopupMainMenu({VK_DOWN, VK_RIGHT, VK_RETURN}), kWatchOn);
    EXPECT_FALSE(INPUTTAP_IsAttached()) << "the caller carries it out";
    PumpPending();
    EXPECT_FALSE(INPUTTAP_IsAttached()) << "and nothing was sent";
}

TEST_F(MenusTest, TheBarFollowsShowMenuAndHidingFreesTheMenuData) {
    HMENU first = Bar();
    ASSERT_NE(first, nullptr) << "shown by default";
    EXPECT_EQ(TextsOf(ItemsOf(first)),
              (std::vector<std::string>(std::begin(command_texts::kDefaultPopupTitles),
                                        std::end(command_texts::kDefaultPopupTitles))));

    Apply();
    HMENU second = Bar();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsMenu(first)) << "the replaced bar is destroyed";

    ASSERT_NE(MenuDataList::Allocate(16), nullptr);
    StartMenuDataTimer(Main());
    GetSystemData().showMenu = 0;
    Apply();
    EXPECT_EQ(Bar(), nullptr);
    EXPECT_FALSE(IsMenu(second));
    EXPECT_EQ(MenuDataList::Count(), 0u) << "freed at once, not a second later";

    GetSystemData().showMenu = 1;
    Apply();
    EXPECT_NE(Bar(), nullptr);
}

// ---- The window list -----------------------------------------------------------

TEST_F(MenusTest, TheWindowListOffersTheWindowsThatCanBeCapturedAndCapturesTheChosenOne) {
    const HWND plain = OpenWindow("plain");
    WindowSpec form;
    form.title = "hidden";
    form.show = SW_HIDE;
    const HWND hidden = app.Open(form);
    form.title = "owned";
    form.show = SW_SHOWNORMAL;
    form.owner = plain;
    const HWND owned = app.Open(form);
    form.title = "";
    form.owner = nullptr;
    const HWND untitled = app.Open(form);
    form.title = "twin";
    form.className = "PanelryClass";  // Panelry's class, in other letters
    const HWND twin = app.Open(form);
    const HWND last = OpenWindow("last");

    // The default "追加(&A)": add all, a separator, the list.
    const Items items = OpenBarPopup(3);
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(items[0].id, static_cast<UINT>(kAddAllWindows));
    EXPECT_TRUE(items[1].separator);
    const Items listed(items.begin() + 2, items.end());
    for (size_t n = 0; n < listed.size(); ++n) {
        EXPECT_TRUE(listed[n].ownerDrawn);
        EXPECT_EQ(listed[n].id, ListCommandId(static_cast<unsigned>(n), kWindowList));
    }
    for (HWND refused : {Main(), hidden, owned, untitled, twin}) {
        EXPECT_EQ(WithData(listed, refused), nullptr) << refused;
    }
    ASSERT_NE(WithData(listed, plain), nullptr);
    const Item* chosen = WithData(listed, last);
    ASSERT_NE(chosen, nullptr);
    EXPECT_LT(chosen - listed.data(), WithData(listed, plain) - listed.data())
        << "in z-order, the newest on top";

    // Chosen on the bar: WM_COMMAND with the item's id.
    SendMessageA(Main(), WM_COMMAND, chosen->id, 0);
    EXPECT_EQ(TabWindows(Root()), std::vector<HWND>{last});
    EXPECT_NE(WithData(ItemsOf(GetSubMenu(Bar(), 3)), last), nullptr)
        << "the bar keeps the items of its last opening";
    const Items reopened = OpenBarPopup(3);
    EXPECT_EQ(WithData(reopened, last), nullptr) << "a captured window is no longer offered";
    EXPECT_NE(WithData(reopened, plain), nullptr);
}

// Wide literals with characters the code page cannot write stay out of the
// assertions, which quote their arguments as narrow text.
const std::wstring kWideTitle = L"한국어 café 😀";

TEST_F(MenusTest, TheWindowListShowsATitleOutsideTheCodePageAsWritten) {
    const HWND window = OpenWindow("plain");
    ASSERT_TRUE(app.SetTitleW(window, kWideTitle));
    const Items items = OpenBarPopup(3);
    const Item* listed = WithData(items, window);
    ASSERT_NE(listed, nullptr);
    const HMENU popup = GetSubMenu(Bar(), 3);
    const int position = static_cast<int>(listed - items.data());
    wchar_t text[256] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    ASSERT_TRUE(GetMenuItemInfoW(popup, static_cast<UINT>(position), TRUE, &info));
    EXPECT_EQ(std::wstring(text), kWideTitle);

    // Measured by the title as written: as wide as the title in the menu font.
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, listed->id, 0, 0, reinterpret_cast<ULONG_PTR>(window)};
    ASSERT_TRUE(SendMessageA(Main(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    UniqueFont font(CreateFontIndirectA(&metrics.lfMenuFont));
    WindowDC screen(nullptr);
    SelectedObject chosen(screen.get(), font.get());
    SIZE wide{};
    GetTextExtentPoint32W(screen.get(), kWideTitle.c_str(), static_cast<int>(kWideTitle.size()),
                          &wide);
    EXPECT_EQ(measure.itemWidth, static_cast<UINT>(wide.cx + GetSystemMetrics(SM_CXSMICON) + 8));
}

TEST_F(MenusTest, WithNothingToCaptureTheWindowListShowsItsPlaceholder) {
    // Under Wine on an X server without a notification area, the area is a
    // top-level window of its own, "Wine System Tray", shown while it holds
    // an icon: a window the list rightly offers. Without Panelry's icon
    // nothing else is left.
    NOTIFYICONDATAA tray{};
    tray.cbSize = sizeof tray;
    tray.hWnd = Main();
    tray.uID = 1;
    Shell_NotifyIconA(NIM_DELETE, &tray);
    const HWND only = OpenWindow("only");
    ASSERT_TRUE(Add(only));
    Items items;
    EXPECT_TRUE(WaitUntil([&] {
        items = OpenBarPopup(3);
        return items.size() == 3 && !items[2].ownerDrawn;
    }));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].id, static_cast<UINT>(kWindowList));
    EXPECT_EQ(items[2].text, command_texts::kNoWindowToAdd);
    EXPECT_TRUE(items[2].grey);
    EXPECT_FALSE(items[2].ownerDrawn);
    EXPECT_EQ(items[2].data, 0u) << Describe(items[2].data);
}

TEST_F(MenusTest, WindowItemsMeasureByTheirTitleAndDrawTheirSelection) {
    const HWND brief = OpenWindow("a");
    const HWND wordy = OpenWindow("a much longer title than the other one");
    MEASUREITEMSTRUCT a{ODT_MENU, 0, ListCommandId(0, kWindowList), 0, 0,
                        reinterpret_cast<ULONG_PTR>(brief)};
    MEASUREITEMSTRUCT b{ODT_MENU, 0, ListCommandId(1, kWindowList), 0, 0,
                        reinterpret_cast<ULONG_PTR>(wordy)};
    OpenBarPopup(3);  // the list takes the menu font
    EXPECT_TRUE(SendMessageA(Main(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&a)));
    EXPECT_TRUE(SendMessageA(Main(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&b)));
    EXPECT_EQ(a.itemHeight, static_cast<UINT>(GetSystemMetrics(SM_CYMENU)));
    EXPECT_EQ(b.itemHeight, a.itemHeight);
    EXPECT_GT(a.itemWidth, static_cast<UINT>(GetSystemMetrics(SM_CXSMICON) + 8));
    EXPECT_GT(b.itemWidth, a.itemWidth + 100);
    MEASUREITEMSTRUCT plain{ODT_MENU, 0, kAddAllWindows, 0, 0, 0};
    EXPECT_FALSE(SendMessageA(Main(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&plain)))
        << "a built-in command draws nothing of its own";

    // Drawn into a bitmap of our own: the selection in the highlight colours.
    const int width = 300, height = GetSystemMetrics(SM_CYMENU);
    WindowDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    SelectedObject chosen(dc.get(), bitmap.get());
    auto draw = [&](UINT state) {
        DRAWITEMSTRUCT d{ODT_MENU, 0, ListCommandId(1, kWindowList), ODA_DRAWENTIRE, state,
                         nullptr, dc.get(),
                         {0, 0, width, height}, reinterpret_cast<ULONG_PTR>(wordy)};
        return SendMessageA(Main(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    };
    auto count = [&](COLORREF colour) {
        int n = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) n += GetPixel(dc.get(), x, y) == colour;
        }
        return n;
    };
    // Pixels other than colour, from x = left on.
    auto unlike = [&](COLORREF colour, int left) {
        int n = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = left; x < width; ++x) n += GetPixel(dc.get(), x, y) != colour;
        }
        return n;
    };
    // Glyph edges may be smoothed: the title shows as pixels unlike the fill.
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const int titleLeft = GetSystemMetrics(SM_CXSMICON) + 8;
    ASSERT_TRUE(draw(ODS_SELECTED));
    EXPECT_EQ(GetPixel(dc.get(), width - 1, 0), highlight);
    EXPECT_GT(unlike(highlight, titleLeft), 0) << "the title";

    const COLORREF back = RGB(10, 200, 30);
    SetBkColor(dc.get(), back);
    ASSERT_TRUE(draw(0));
    EXPECT_EQ(GetPixel(dc.get(), width - 1, 0), back) << "the current background";
    EXPECT_GT(unlike(back, titleLeft), 0) << "the title";
    EXPECT_EQ(count(highlight), 0);
}

// ---- Greying ---------------------------------------------------------------------

TEST_F(MenusTest, CommandsThePaneOrTheWatchCannotCarryOutAreGreyed) {
    std::vector<int> all;
    for (int kind = kSelectPrevTab; kind <= kSettings; ++kind) all.push_back(kind);
    OnlyPopup("全部", all);
    const auto greyed = [&] { return GreyedInFirstPopup(kSelectPrevTab, kSettings); };
    // The tab commands 1, 2 and 6 to 17.
    Ids tabCommands{kSelectPrevTab, kSelectNextTab};
    for (UINT kind = kReleaseTab; kind <= kCloseRightTabs; ++kind) tabCommands.push_back(kind);
    const auto with = [&](std::initializer_list<UINT> more) {
        Ids ids = tabCommands;
        ids.insert(ids.end(), more);
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    INPUTTAP_End();
    // An empty pane, not split, the watch off.
    EXPECT_EQ(greyed(), with({kWatchOff, kUnsplit}));

    ASSERT_TRUE(INPUTTAP_Start());
    EXPECT_EQ(greyed(), with({kWatchOn, kUnsplit}));
    INPUTTAP_End();

    ASSERT_TRUE(Add(OpenWindow("held")));
    EXPECT_EQ(greyed(), (Ids{kWatchOff, kUnsplit}));

    // The tab menu is greyed for its own pane.
    SetTabMenu({kReleaseTab, kWatchOn, kWatchOff});
    RightClickTabStrip();
    ASSERT_EQ(Opened().items.size(), 3u);
    EXPECT_FALSE(Opened().items[0].grey);
    EXPECT_FALSE(Opened().items[1].grey);
    EXPECT_TRUE(Opened().items[2].grey);
}

TEST_F(MenusTest, SplitCommandsAreGreyedByTheActivePanesSplit) {
    OnlyPopup("分割", {kUnsplit, kSplitLeftRight, kSplitTopBottom});
    const auto greyed = [&] { return GreyedInFirstPopup(kUnsplit, kSplitTopBottom); };
    EXPECT_EQ(greyed(), Ids{kUnsplit}) << "nothing to undo";
    ASSERT_TRUE(Root().Split(true));
    EXPECT_EQ(greyed(), Ids{kSplitTopBottom}) << "top and bottom already";
    ActivePane() = Root().Child();
    EXPECT_EQ(greyed(), Ids{kUnsplit}) << "the child pane is not split";
    ActivePane() = &Root();
    ASSERT_TRUE(Root().Split(false));
    EXPECT_EQ(greyed(), Ids{kSplitLeftRight}) << "left and right now";
    Root().Unsplit();
    EXPECT_EQ(greyed(), Ids{kUnsplit});
}

// ---- List commands after their menu is gone ------------------------------------

TEST_F(MenusTest, CtrlRightClickOnTheTabStripCapturesAWindowChosenFromTheMainMenu) {
    const HWND wanted = OpenWindow("wanted");
    OnlyPopup("追加", {kWindowList});
    HoldKey(VK_CONTROL, true);
    RightClickTabStrip({VK_DOWN, VK_RIGHT, VK_RETURN});
    HoldKey(VK_CONTROL, false);

    ASSERT_TRUE(Opened().seen) << "the main menu opened";
    EXPECT_EQ(TextsOf(Opened().items), std::vector<std::string>{"追加"});
    ASSERT_FALSE(Opened().popups[0].empty());
    EXPECT_EQ(Opened().popups[0][0].data, reinterpret_cast<ULONG_PTR>(wanted))
        << "the newest window heads the list";
    // Found through the last highlighted item: the menu was destroyed
    // before the command was carried out.
    EXPECT_EQ(LastMenuSelection().id, ListCommandId(0, kWindowList));
    EXPECT_EQ(TabWindows(Root()), std::vector<HWND>{wanted});
    EXPECT_EQ(GetAncestor(wanted, GA_PARENT), Root().DisplayArea());
}

TEST_F(MenusTest, CtrlRightClickCarriesOutAPaneCommandOrTheMainWindowsOne) {
    const HWND held = OpenWindow("held");
    ASSERT_TRUE(Add(held));
    INPUTTAP_End();
    OnlyPopup("操作", {kReleaseTab, kWatchOn});
    // The pane's own command: the selected tab goes back.
    HoldKey(VK_CONTROL, true);
    RightClickTabStrip({VK_DOWN, VK_RIGHT, VK_RETURN});
    HoldKey(VK_CONTROL, false);
    ASSERT_TRUE(Opened().seen);
    EXPECT_TRUE(WaitUntil([&] { return OnDesktop(held); }));
    EXPECT_EQ(Root().TabCount(), 0);
    // One the pane passes on to the main window: the window watch.
    HoldKey(VK_CONTROL, true);
    RightClickTabStrip({VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    HoldKey(VK_CONTROL, false);
    ASSERT_TRUE(Opened().seen);
    EXPECT_TRUE(WaitUntil([] { return INPUTTAP_IsAttached() != 0; }));
    INPUTTAP_End();
}

TEST_F(MenusTest, RightClickOnTheTabStripShowsTheTabMenuWhoseChoiceReachesTheMainWindow) {
    const HWND held = OpenWindow("held");
    ASSERT_TRUE(Add(held));
    RightClickTabStrip({VK_DOWN, VK_RETURN});  // the first entry: "タブ項目を解放"
    ASSERT_TRUE(Opened().seen);
    EXPECT_EQ(IdsOf(Opened().items), (Ids{kReleaseTab, kMinimizeTab, kCloseTab, 0, kUnsplit,
                                          kSplitLeftRight, kSplitTopBottom}))
        << "the default tab menu, a separator with id 0";
    EXPECT_TRUE(WaitUntil([&] { return OnDesktop(held); })) << "released";
    EXPECT_EQ(Root().TabCount(), 0);

    // A tab menu that starts with the end marker shows nothing.
    SetTabMenu({});
    RightClickTabStrip();
    EXPECT_FALSE(Opened().seen);
}

TEST_F(MenusTest, TheTabMenuActsOnThePaneItWasOpenedForWhicheverIsActiveWhenItCloses) {
    HWND upper = nullptr, lower = nullptr;
    ASSERT_TRUE(SplitWithOneWindowEach(&upper, &lower));
    cTab& child = *Root().Child();
    // "タブ項目を解放" in the lower pane's menu, while a command from
    // elsewhere has made the upper pane the active one.
    RightClickTabStrip({VK_DOWN, VK_RETURN}, &child, [&] { ActivePane() = &Root(); });
    ASSERT_TRUE(Opened().seen);
    EXPECT_TRUE(WaitUntil([&] { return OnDesktop(lower); }));
    EXPECT_EQ(child.TabCount(), 0);
    EXPECT_EQ(TabWindows(Root()), std::vector<HWND>{upper});
}

TEST_F(MenusTest, AWindowChosenInTheTabMenuIsCapturedEvenWhenTheBarListedAnotherUnderItsId) {
    const HWND older = OpenWindow("older");
    // The first window item of the bar: the same id as the tab menu's below.
    ASSERT_EQ(OpenBarPopup(3)[2].data, reinterpret_cast<ULONG_PTR>(older));
    const HWND newer = OpenWindow("newer");
    SetTabMenu({kWindowList});
    RightClickTabStrip({VK_DOWN, VK_RETURN});
    ASSERT_TRUE(Opened().seen);
    ASSERT_EQ(Opened().items[0].data, reinterpret_cast<ULONG_PTR>(newer));
    ASSERT_EQ(Opened().items[0].id, ListCommandId(0, kWindowList));
    // The chosen item is found in the tab menu, not under its id in the bar.
    EXPECT_TRUE(WaitUntil([&] { return Root().TabCount() == 1; }));
    EXPECT_EQ(TabWindows(Root()), std::vector<HWND>{newer});
    EXPECT_TRUE(OnDesktop(older));
}

// ---- Lists of other subsystems ---------------------------------------------------

TEST_F(MenusTest, ListsWithoutTheirProviderShowNothingAndTheirCommandsAreNotHandled) {
    // The main window gave the launcher's lists their provider.
    RegisterMenuList(kStartMenuList, {});
    RegisterMenuList(kShortcutList, {});
    OnlyPopup("他", {kStartMenuList, kSelectPrevTab, kShortcutList, kSelectNextTab, kToolList});
    const Items items = OpenBarPopup(0);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].id, static_cast<UINT>(kSelectPrevTab));
    EXPECT_EQ(items[1].id, static_cast<UINT>(kSelectNextTab));
    EXPECT_EQ(items[2].id, static_cast<UINT>(kToolList)) << "the placeholder";
    EXPECT_EQ(items[2].text, command_texts::kNoToolRegistered);
    EXPECT_TRUE(items[2].grey);
    for (WPARAM id : {ListCommandId(0, kToolList), ListCommandId(0, kStartMenuList),
                      ListCommandId(0, kShortcutList), ListCommandId(1, kToolList),
                      ListCommandId(1, kStartMenuList), ListCommandId(1, kShortcutList)}) {
        EXPECT_EQ(ExecFromBar(id), 0) << id;
    }
}

// The plug-in host's side of the tool list, slots 2 and 5 loaded.
class TwoTools : public ToolMenuSource {
public:
    bool Loaded(int slot) const override { return slot == 2 || slot == 5; }
    std::string Name(int slot) const override { return slot == 2 ? "日付" : "写真"; }
    bool Checked(int slot) const override { return slot == 5; }
    bool Enabled(int slot) const override { return slot == 2; }
    void Run(int slot) override { ran.push_back(slot); }
    std::vector<int> ran;
};

TEST_F(MenusTest, TheToolListShowsTheSlotsItsSourceHoldsAndRunsTheChosenOne) {
    TwoTools tools;
    SetToolMenuSource(&tools);
    OnlyPopup("道具", {kToolList});
    const Items items = OpenBarPopup(0);
    SetToolMenuSource(nullptr);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, ListCommandId(2, kToolList));
    EXPECT_EQ(items[0].text, "日付");
    EXPECT_EQ(items[0].data, 2u);
    EXPECT_FALSE(items[0].checked);
    EXPECT_FALSE(items[0].grey);
    EXPECT_EQ(items[1].id, ListCommandId(5, kToolList));
    EXPECT_TRUE(items[1].checked);
    EXPECT_TRUE(items[1].grey);

    SetToolMenuSource(&tools);
    EXPECT_EQ(ExecFromBar(ListCommandId(2, kToolList)), 1);
    EXPECT_EQ(ExecFromBar(ListCommandId(3, kToolList)), 0) << "no such item";
    SetToolMenuSource(nullptr);
    EXPECT_EQ(ExecFromBar(ListCommandId(2, kToolList)), 0) << "the slot's plug-in is gone";
    EXPECT_EQ(tools.ran, std::vector<int>{2});
}

}  // namespace
