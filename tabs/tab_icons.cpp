// The tab control's image list, one image per distinct icon.
#include "tabs/tab_icons.h"

#include "base/dpi.h"
#include "tabs/tab_strip.h"

namespace {

int ImageOf(const TabStrip& tabs, int index) {
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    item.iImage = -1;
    if (!SendMessageA(tabs.Control(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item))) {
        return -1;
    }
    return item.iImage;
}

void SetImage(const TabStrip& tabs, int index, int image) {
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    item.iImage = image;
    SendMessageA(tabs.Control(), TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

bool TabIcons::Install(const TabStrip& tabs) {
    // Small icons of the monitor the tabs are on.
    const int scale = dpi::ForWindow(tabs.Control());
    UniqueImageList list(ImageList_Create(dpi::SystemMetric(SM_CXSMICON, scale),
                                          dpi::SystemMetric(SM_CYSMICON, scale),
                                          ILC_COLORDDB | ILC_MASK, 4, 4));
    if (!list) return false;
    for (int i = 0, count = tabs.Count(); i < count; ++i) SetImage(tabs, i, -1);
    SendMessageA(tabs.Control(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list.get()));
    list_ = std::move(list);  // the list it replaces goes here
    images_.clear();
    return true;
}

void TabIcons::Clear(HWND tabControl) {
    if (tabControl) SendMessageA(tabControl, TCM_SETIMAGELIST, 0, 0);
    list_.reset();
    images_.clear();
}

void TabIcons::Show(const TabStrip& tabs, int index, HICON icon) {
    if (!list_ || index < 0 || index >= tabs.Count()) return;
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    const int before = ImageOf(tabs, index);
    if (before >= 0 && before < static_cast<int>(images_.size()) &&
        images_[static_cast<size_t>(before)].icon == icon) {
        return;
    }
    const int image = Acquire(icon);
    if (image < 0) return;
    SetImage(tabs, index, image);
    if (before >= 0) LetGo(tabs, before);
}

void TabIcons::Forget(const TabStrip& tabs, int index) {
    if (!list_) return;
    const int image = ImageOf(tabs, index);
    if (image < 0) return;
    SetImage(tabs, index, -1);
    LetGo(tabs, image);
}

int TabIcons::Acquire(HICON icon) {
    for (size_t i = 0; i < images_.size(); ++i) {
        if (images_[i].icon == icon) {
            ++images_[i].users;
            return static_cast<int>(i);
        }
    }
    const int image = ImageList_AddIcon(list_.get(), icon);
    if (image < 0) return -1;
    images_.push_back({icon, 1});
    return image;
}

void TabIcons::LetGo(const TabStrip& tabs, int image) {
    if (image < 0 || image >= static_cast<int>(images_.size())) return;
    if (--images_[static_cast<size_t>(image)].users > 0) return;
    images_.erase(images_.begin() + image);
    // Removes the image from the list and moves down the number of every
    // tab's image after it.
    SendMessageA(tabs.Control(), TCM_REMOVEIMAGE, image, 0);
}
