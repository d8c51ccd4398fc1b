// The delivered date stamp tool, loaded by the real host and chosen from the
// real tool list: today's date alone on the clipboard, eleven bytes.
#include "plugins/datestamp/date_text.h"
#include "plugins/host/tool_slots.h"

#include "tests/plugins/tool_test_support.h"
#include "tests/support/open_menu.h"
#include "tests/support/pane_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using testing_support::PaneTest;

namespace {

TEST(DateText, MonthsAndDaysBelowTenHaveALeadingZero) {
    SYSTEMTIME fifthOfJanuary{};
    fifthOfJanuary.wYear = 2027;
    fifthOfJanuary.wMonth = 1;
    fifthOfJanuary.wDay = 5;
    char text[kDateTextSize];
    FormatDateText(fifthOfJanuary, text);
    EXPECT_STREQ(text, "2027/01/05");
}

class DateStampTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        ASSERT_TRUE(testing_support::InstallDeliveredTool(settings.Dir().Path(), "datestamp.ttl"));
    }
};

TEST_F(DateStampTest, TodaysDateAloneOnTheClipboardEvenWithEveryPaneEmpty) {
    const UINT mine = RegisterClipboardFormatA("PanelryTestFormat");
    ASSERT_TRUE(OpenClipboard(Main()));
    EmptyClipboard();
    HGLOBAL before = GlobalAlloc(GMEM_MOVEABLE, 4);
    SetClipboardData(mine, before);
    CloseClipboard();

    UniqueMenu menu(CreatePopupMenu());
    AppendToolList(menu.get());
    const testing_support::MenuItems items = testing_support::ItemsOf(menu.get());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "日付をクリップボードに貼り付ける");
    EXPECT_FALSE(items[0].grey) << "enabled with every pane empty";
    EXPECT_FALSE(items[0].checked);

    SYSTEMTIME now{};
    GetLocalTime(&now);
    char expected[kDateTextSize];
    std::snprintf(expected, sizeof expected, "%.4d/%.2d/%.2d", now.wYear, now.wMonth, now.wDay);
    testing_support::ChooseTool(Main(), 0 * 32 + 23);

    ASSERT_TRUE(OpenClipboard(Main()));
    EXPECT_FALSE(IsClipboardFormatAvailable(mine)) << "what was there before is gone";
    HGLOBAL text = GetClipboardData(CF_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(GlobalSize(text), static_cast<SIZE_T>(kDateTextSize));
    const char* data = static_cast<const char*>(GlobalLock(text));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, kDateTextSize), std::string(expected, kDateTextSize));
    GlobalUnlock(text);
    CloseClipboard();
}

}  // namespace
