// The tab control's image list: as many icons as tabs, image i on tab i,
// texts set with them, a rebuild replacing the list, and the list taken off.
#include "tabs/tab_icons.h"

#include "tabs/tab_strip.h"
#include "tests/support/on_screen.h"
#include "tests/support/strip_fixture.h"

#include <gtest/gtest.h>
#include <commctrl.h>

using testing_support::StripTest;
using testing_support::TabText;

namespace {

int ImageOf(HWND tabControl, int index) {
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    SendMessageA(tabControl, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

HIMAGELIST Installed(HWND tabControl) {
    return reinterpret_cast<HIMAGELIST>(SendMessageA(tabControl, TCM_GETIMAGELIST, 0, 0));
}

class TabIconsTest : public StripTest {
protected:
    TabIcons icons;
};

TEST_F(TabIconsTest, EveryTabGetsItsImageAndItsTextTogether) {
    TabStrip strip = Strip();
    strip.Insert(0, Capture("first window"));
    strip.Insert(1, Capture("second"));
    strip.Insert(2, Capture("third"));
    ASSERT_TRUE(icons.Rebuild(strip, 6));
    ASSERT_NE(icons.List(), nullptr);
    EXPECT_EQ(Installed(TabControl()), icons.List());
    EXPECT_EQ(ImageList_GetImageCount(icons.List()), 3);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(icons.List(), &cx, &cy);
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(cy, GetSystemMetrics(SM_CYSMICON));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ImageOf(TabControl(), i), i) << i;
    EXPECT_EQ(TabText(TabControl(), 0), "first") << "cut to the limit as any tab text";
    EXPECT_EQ(TabText(TabControl(), 2), "third");
}

TEST_F(TabIconsTest, ARebuildInstallsANewListSizedToTheTabsNow) {
    TabStrip strip = Strip();
    strip.Insert(0, Capture("one"));
    strip.Insert(1, Capture("two"));
    ASSERT_TRUE(icons.Rebuild(strip, 16));
    const HIMAGELIST first = icons.List();
    strip.Remove(0);
    ASSERT_TRUE(icons.Rebuild(strip, 16));
    EXPECT_NE(icons.List(), first);
    EXPECT_EQ(Installed(TabControl()), icons.List());
    EXPECT_EQ(ImageList_GetImageCount(icons.List()), 1);
    EXPECT_EQ(ImageOf(TabControl(), 0), 0) << "the remaining tab takes image 0";
}

TEST_F(TabIconsTest, ClearTakesTheListOffTheControl) {
    TabStrip strip = Strip();
    strip.Insert(0, Capture("one"));
    ASSERT_TRUE(icons.Rebuild(strip, 16));
    icons.Clear(TabControl());
    EXPECT_EQ(Installed(TabControl()), nullptr);
    EXPECT_EQ(icons.List(), nullptr);
}

}  // namespace
