// The tab control's image list: one image per distinct icon, shared by the
// tabs that show it, an image gone with its last tab while every other tab
// keeps its own icon, and the list put on and taken off the control.
#include "tabs/tab_icons.h"

#include "tabs/tab_strip.h"
#include "tests/support/icon_pixels.h"
#include "tests/support/strip_fixture.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <string>
#include <vector>

using testing_support::StripTest;
using testing_support::TabImage;

namespace {

HIMAGELIST Installed(HWND tabControl) {
    return reinterpret_cast<HIMAGELIST>(SendMessageA(tabControl, TCM_GETIMAGELIST, 0, 0));
}

// Three icons that differ in handle and in look.
HICON IconNumber(int n) {
    static const char* const kIds[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION};
    return LoadIconA(nullptr, kIds[n]);
}

class TabIconsTest : public StripTest {
protected:
    void SetUp() override {
        TabStrip strip = Strip();
        for (int i = 0; i < 4; ++i) strip.Insert(i, Capture("tab " + std::to_string(i)));
        ASSERT_TRUE(icons.Install(strip));
        // Otherwise comparing pictures could not tell the icons apart.
        ASSERT_NE(testing_support::DrawnIcon(IconNumber(0)),
                  testing_support::DrawnIcon(IconNumber(2)));
    }
    int Images() const { return ImageList_GetImageCount(icons.List()); }
    bool TabShows(int tab, HICON icon) {
        return testing_support::TabShowsIcon(TabControl(), tab, icon);
    }

    TabIcons icons;
};

TEST_F(TabIconsTest, TabsThatShareAnIconShareOneImage) {
    TabStrip strip = Strip();
    EXPECT_EQ(Installed(TabControl()), icons.List());
    EXPECT_EQ(Images(), 0) << "a new list is empty";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(TabImage(TabControl(), i), -1) << i;

    icons.Show(strip, 0, IconNumber(0));
    icons.Show(strip, 1, IconNumber(0));
    icons.Show(strip, 2, IconNumber(1));
    icons.Show(strip, 3, nullptr);  // the system's application icon
    EXPECT_EQ(Images(), 3);
    EXPECT_EQ(TabImage(TabControl(), 0), TabImage(TabControl(), 1));
    EXPECT_NE(TabImage(TabControl(), 0), TabImage(TabControl(), 2));
    EXPECT_TRUE(TabShows(3, LoadIconA(nullptr, IDI_APPLICATION)));

    icons.Show(strip, 2, IconNumber(1));
    EXPECT_EQ(Images(), 3) << "the same icon again adds nothing";
    int cx = 0, cy = 0;
    ImageList_GetIconSize(icons.List(), &cx, &cy);
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(cy, GetSystemMetrics(SM_CYSMICON));
}

// A tab that goes, or changes its icon, lets go of its image: the image goes
// with its last tab, and every other tab still shows its own icon although
// the images after it moved down.
TEST_F(TabIconsTest, AnImageGoesWithItsLastTabAndTheOthersKeepTheirIcons) {
    TabStrip strip = Strip();
    icons.Show(strip, 0, IconNumber(0));
    icons.Show(strip, 1, IconNumber(1));
    icons.Show(strip, 2, IconNumber(1));
    icons.Show(strip, 3, IconNumber(2));
    ASSERT_EQ(Images(), 3);

    icons.Forget(strip, 0);
    strip.Remove(0);
    EXPECT_EQ(Images(), 2) << "its last tab went";
    EXPECT_TRUE(TabShows(0, IconNumber(1)));
    EXPECT_TRUE(TabShows(1, IconNumber(1)));
    EXPECT_TRUE(TabShows(2, IconNumber(2)));

    icons.Forget(strip, 0);
    strip.Remove(0);
    EXPECT_EQ(Images(), 2) << "another tab still shows it";

    icons.Show(strip, 0, IconNumber(2));
    EXPECT_EQ(Images(), 1) << "its icon changed to one already shown";
    EXPECT_EQ(TabImage(TabControl(), 0), TabImage(TabControl(), 1));
    EXPECT_TRUE(TabShows(1, IconNumber(2)));
}

TEST_F(TabIconsTest, AnotherListReplacesTheImagesAndClearTakesItOff) {
    TabStrip strip = Strip();
    icons.Show(strip, 0, IconNumber(0));
    const HIMAGELIST first = icons.List();
    ASSERT_TRUE(icons.Install(strip));
    EXPECT_NE(icons.List(), first);
    EXPECT_EQ(Installed(TabControl()), icons.List());
    EXPECT_EQ(TabImage(TabControl(), 0), -1) << "no image of the list it replaced";
    icons.Show(strip, 0, IconNumber(0));
    EXPECT_EQ(Images(), 1);

    icons.Clear(TabControl());
    EXPECT_EQ(Installed(TabControl()), nullptr);
    EXPECT_FALSE(icons.Installed());
    icons.Show(strip, 1, IconNumber(0));  // nothing without a list
    EXPECT_EQ(TabImage(TabControl(), 1), -1);
}

}  // namespace
