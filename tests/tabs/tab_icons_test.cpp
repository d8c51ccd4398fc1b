// The tab control's image list: one image per distinct icon, shared by the
// tabs that show it, an image gone with its last tab while every other tab
// keeps its own icon, and the list put on and taken off the control.
#include "tabs/tab_icons.h"

#include "base/handles.h"
#include "tabs/tab_strip.h"
#include "tests/support/strip_fixture.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <string>
#include <vector>

using testing_support::StripTest;

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
        ASSERT_NE(Drawn([&](HDC dc) { ImageList_Draw(Alone(IconNumber(0)), 0, dc, 0, 0, 0); }),
                  Drawn([&](HDC dc) { ImageList_Draw(Alone(IconNumber(2)), 0, dc, 0, 0, 0); }));
    }
    int Images() const { return ImageList_GetImageCount(icons.List()); }
    // Whether tab shows the same picture as icon: its image and the icon in
    // a list of its own, drawn on the same background, give the same pixels.
    bool TabShows(int tab, HICON icon) {
        const int image = ImageOf(TabControl(), tab);
        if (image < 0) return false;
        return Drawn([&](HDC dc) { ImageList_Draw(icons.List(), image, dc, 0, 0, ILD_NORMAL); }) ==
               Drawn([&](HDC dc) { ImageList_Draw(Alone(icon), 0, dc, 0, 0, ILD_NORMAL); });
    }
    HIMAGELIST Alone(HICON icon) {
        alone_.reset(ImageList_Create(GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), ILC_COLORDDB | ILC_MASK, 1, 0));
        ImageList_AddIcon(alone_.get(), icon);
        return alone_.get();
    }
    template <typename Draw>
    static std::vector<COLORREF> Drawn(Draw draw) {
        const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
        HDC screen = GetDC(nullptr);
        UniqueDC dc(CreateCompatibleDC(screen));
        UniqueBitmap bitmap(CreateCompatibleBitmap(screen, cx, cy));
        ReleaseDC(nullptr, screen);
        const HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
        RECT all{0, 0, cx, cy};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        draw(dc.get());
        std::vector<COLORREF> pixels;
        for (int y = 0; y < cy; ++y) {
            for (int x = 0; x < cx; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
        }
        SelectObject(dc.get(), old);
        return pixels;
    }

    TabIcons icons;
    UniqueImageList alone_;
};

TEST_F(TabIconsTest, TabsThatShareAnIconShareOneImage) {
    TabStrip strip = Strip();
    EXPECT_EQ(Installed(TabControl()), icons.List());
    EXPECT_EQ(Images(), 0) << "a new list is empty";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ImageOf(TabControl(), i), -1) << i;

    icons.Show(strip, 0, IconNumber(0));
    icons.Show(strip, 1, IconNumber(0));
    icons.Show(strip, 2, IconNumber(1));
    icons.Show(strip, 3, nullptr);  // the system's application icon
    EXPECT_EQ(Images(), 3);
    EXPECT_EQ(ImageOf(TabControl(), 0), ImageOf(TabControl(), 1));
    EXPECT_NE(ImageOf(TabControl(), 0), ImageOf(TabControl(), 2));
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
    EXPECT_EQ(ImageOf(TabControl(), 0), ImageOf(TabControl(), 1));
    EXPECT_TRUE(TabShows(1, IconNumber(2)));
}

TEST_F(TabIconsTest, AnotherListReplacesTheImagesAndClearTakesItOff) {
    TabStrip strip = Strip();
    icons.Show(strip, 0, IconNumber(0));
    const HIMAGELIST first = icons.List();
    ASSERT_TRUE(icons.Install(strip));
    EXPECT_NE(icons.List(), first);
    EXPECT_EQ(Installed(TabControl()), icons.List());
    EXPECT_EQ(ImageOf(TabControl(), 0), -1) << "no image of the list it replaced";
    icons.Show(strip, 0, IconNumber(0));
    EXPECT_EQ(Images(), 1);

    icons.Clear(TabControl());
    EXPECT_EQ(Installed(TabControl()), nullptr);
    EXPECT_FALSE(icons.Installed());
    icons.Show(strip, 1, IconNumber(0));  // nothing without a list
    EXPECT_EQ(ImageOf(TabControl(), 1), -1);
}

}  // namespace
