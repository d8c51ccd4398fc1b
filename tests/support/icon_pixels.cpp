// Drawing image-list images and icons into pixels.
#include "tests/support/icon_pixels.h"

#include "base/handles.h"
#include "tabs/tab_icons.h"

namespace testing_support {

std::vector<COLORREF> DrawnImage(HIMAGELIST list, int image) {
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    HDC screen = GetDC(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, cx, cy));
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    RECT all{0, 0, cx, cy};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list, image, dc.get(), 0, 0, ILD_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
    }
    SelectObject(dc.get(), old);
    return pixels;
}

std::vector<COLORREF> DrawnIcon(HICON icon) {
    UniqueImageList alone(ImageList_Create(GetSystemMetrics(SM_CXSMICON),
                                           GetSystemMetrics(SM_CYSMICON), ILC_COLORDDB | ILC_MASK,
                                           1, 0));
    ImageList_AddIcon(alone.get(), icon);
    return DrawnImage(alone.get(), 0);
}

int TabImage(HWND tabControl, int index) {
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    item.iImage = -1;
    SendMessageA(tabControl, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

bool TabShowsIcon(HWND tabControl, int index, HICON icon) {
    const auto list =
        reinterpret_cast<HIMAGELIST>(SendMessageA(tabControl, TCM_GETIMAGELIST, 0, 0));
    const int image = TabImage(tabControl, index);
    return list && image >= 0 && DrawnImage(list, image) == DrawnIcon(icon);
}

}  // namespace testing_support
