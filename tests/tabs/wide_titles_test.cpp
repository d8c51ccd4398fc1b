// Titles of other applications with characters the code page cannot write
// (Hangul, accented Latin, emoji) in a pane: its tab, its header and the list
// of captured windows show them exactly as written, and follow the
// application when it changes them.
#include "tabs/header_bar.h"
#include "tabs/pane.h"

#include "base/handles.h"
#include "settings/system_data.h"
#include "tests/support/on_screen.h"
#include "tests/support/test_pane_host.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::HostedPaneTest;
using testing_support::TabTextW;
using testing_support::WaitUntil;

namespace {

// Wide literals with characters the code page cannot write stay out of the
// assertions, which quote their arguments as narrow text.
const std::wstring kTitle = L"한국어 café 😀";
const std::wstring kTitleWithoutEmoji = L"한국어 café ";
const std::wstring kTwoSyllables = L"한국";
const std::wstring kNextTitle = L"Ölçü 🙂 日本";

std::wstring HeaderText(cTab& pane) {
    wchar_t text[512] = L"";
    GetWindowTextW(GetDlgItem(pane.Header().Window(), cHeader::kTitleId), text, 512);
    return text;
}

std::wstring Framed(const std::wstring& title) { return L"■[ " + title + L" ]"; }

TEST_F(HostedPaneTest, ATitleOutsideTheCodePageShowsAsWrittenInTabAndHeader) {
    const HWND window = OpenWindow("plain");
    ASSERT_TRUE(app.SetTitleW(window, kTitle));
    ASSERT_TRUE(Add(window));
    const HWND tabs = Root().TabControl();
    EXPECT_EQ(TabTextW(tabs, 0), kTitle);
    EXPECT_EQ(HeaderText(Root()), Framed(kTitle));
}

TEST_F(HostedPaneTest, ATitleChangeOutsideTheCodePageIsFollowed) {
    const HWND window = OpenWindow("plain");
    ASSERT_TRUE(Add(window));
    const HWND tabs = Root().TabControl();
    ASSERT_EQ(TabTextW(tabs, 0), L"plain");

    ASSERT_TRUE(app.SetTitleW(window, kTitle));
    EXPECT_TRUE(WaitUntil([&] { return TabTextW(tabs, 0) == kTitle; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return HeaderText(Root()) == Framed(kTitle); }, 5000));

    const std::wstring& next = kNextTitle;
    ASSERT_TRUE(app.SetTitleW(window, next));
    EXPECT_TRUE(WaitUntil([&] { return TabTextW(tabs, 0) == next; }, 5000))
        << "tab: " << TabTextW(tabs, 0).size() << " units";
    EXPECT_TRUE(WaitUntil([&] { return HeaderText(Root()) == Framed(next); }, 5000));
}

TEST_F(HostedPaneTest, TabTextsAreCutInColumnsWithoutSplittingACharacter) {
    const HWND window = OpenWindow("plain");
    ASSERT_TRUE(app.SetTitleW(window, kTitle));
    // At most tabTextLength - 1 half-width columns; the emoji would need two.
    GetSystemData().tabTextLength = 14;
    ASSERT_TRUE(Add(window));
    EXPECT_EQ(TabTextW(Root().TabControl(), 0), kTitleWithoutEmoji);
    EXPECT_EQ(HeaderText(Root()), Framed(kTitle)) << "the header is not cut";

    const HWND second = OpenWindow("plain");
    ASSERT_TRUE(app.SetTitleW(second, kTitle));
    GetSystemData().tabTextLength = 6;
    ASSERT_TRUE(Add(second));
    EXPECT_EQ(TabTextW(Root().TabControl(), 1), kTwoSyllables) << "5 columns hold two syllables";
}

TEST_F(HostedPaneTest, TheListOfCapturedWindowsShowsTitlesAsWritten) {
    const HWND window = OpenWindow("plain");
    ASSERT_TRUE(app.SetTitleW(window, kTitle));
    ASSERT_TRUE(Add(window));
    UniqueMenu menu(CreatePopupMenu());
    ASSERT_TRUE(Root().ListWindowsInMenu(menu.get(), 100));
    wchar_t text[256] = L"";
    GetMenuStringW(menu.get(), 0, text, 256, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), kTitle);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu.get(), 0, TRUE, &item);
    EXPECT_EQ(reinterpret_cast<HWND>(item.dwItemData), window);
}

}  // namespace
