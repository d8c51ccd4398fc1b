// The tab control as the list of a pane's records: order, lookup, selection,
// hit tests, and tab texts that change only when the title really does.
#include "tabs/tab_strip.h"

#include "tests/support/on_screen.h"
#include "tests/support/strip_fixture.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

using testing_support::StripTest;
using testing_support::TabText;

namespace {

using Records = std::vector<CapturedWindow*>;

Records InOrder(const TabStrip& strip) {
    Records records;
    for (int i = 0; i < strip.Count(); ++i) records.push_back(strip.RecordAt(i));
    return records;
}

TEST_F(StripTest, ItemsKeepTheirRecordsInTabOrder) {
    CapturedWindow* a = Capture("a");
    CapturedWindow* b = Capture("b");
    CapturedWindow* c = Capture("c");
    TabStrip strip = Strip();
    strip.Insert(0, b);
    strip.Insert(1, c);
    strip.Insert(0, a);
    EXPECT_EQ(InOrder(strip), (Records{a, b, c}));
    EXPECT_EQ(strip.IndexOf(c), 2);
    EXPECT_EQ(strip.RecordAt(-1), nullptr);
    EXPECT_EQ(strip.RecordAt(3), nullptr);

    strip.SetRecord(0, c);
    strip.Remove(2);
    EXPECT_EQ(InOrder(strip), (Records{c, b}));
    EXPECT_EQ(strip.IndexOf(a), -1) << "no tab holds it any more";
}

TEST_F(StripTest, SelectingATabTellsTheParent) {
    TabStrip strip = Strip();
    strip.Insert(0, Capture("a"));
    strip.Insert(1, Capture("b"));
    Notices().clear();
    strip.Select(1);
    EXPECT_EQ(strip.Selected(), 1);
    const std::vector<UINT>& notices = Notices();
    EXPECT_NE(std::find(notices.begin(), notices.end(), static_cast<UINT>(TCN_SELCHANGE)),
              notices.end());
}

TEST_F(StripTest, TheTabUnderAPointOnTheStripOrTheScreen) {
    TabStrip strip = Strip();
    strip.Insert(0, Capture("first"));
    strip.Insert(1, Capture("second"));
    strip.RefreshText(0, 16);
    strip.RefreshText(1, 16);
    RECT second{};
    SendMessageA(TabControl(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    POINT centre{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
    EXPECT_EQ(strip.TabAt(centre), 1);
    ClientToScreen(TabControl(), &centre);
    EXPECT_EQ(strip.TabAtScreen(centre), 1);
    EXPECT_EQ(strip.TabAt({590, second.top + 2}), -1) << "beyond the last tab";
}

TEST_F(StripTest, ATabsTextChangesOnlyWithARealChangeOfTheTitle) {
    CapturedWindow* record = Capture("Alpha");
    TabStrip strip = Strip();
    strip.Insert(0, record);
    EXPECT_TRUE(strip.RefreshText(0, 16));
    EXPECT_EQ(TabText(TabControl(), 0), "Alpha");
    EXPECT_FALSE(strip.RefreshText(0, 16)) << "the same title is not written again";

    ASSERT_TRUE(app.SetTitle(record->Window(), "ALPHA"));
    EXPECT_FALSE(strip.RefreshText(0, 16)) << "nor one that differs in letter case only";
    EXPECT_EQ(TabText(TabControl(), 0), "Alpha");

    ASSERT_TRUE(app.SetTitle(record->Window(), "Beta version"));
    EXPECT_TRUE(strip.RefreshText(0, 16));
    EXPECT_EQ(TabText(TabControl(), 0), "Beta version");
    strip.Insert(1, record);
    EXPECT_TRUE(strip.RefreshText(1, 5));
    EXPECT_EQ(TabText(TabControl(), 1), "Beta") << "at most limit - 1 bytes";
}

TEST(TabStrip, WithoutAControlItHasNoTabs) {
    const TabStrip strip(nullptr);
    EXPECT_EQ(strip.Count(), 0);
    EXPECT_EQ(strip.Selected(), -1);
    EXPECT_EQ(strip.RecordAt(0), nullptr);
    EXPECT_FALSE(strip.RefreshText(0, 16));
}

}  // namespace
