// Rebuilding the tab control's image list.
#include "tabs/tab_icons.h"

#include "tabs/captured_window.h"
#include "tabs/tab_strip.h"

namespace {

constexpr int kTitleSize = 257;

}  // namespace

bool TabIcons::Rebuild(const TabStrip& tabs, int textLimit) {
    const int count = tabs.Count();
    UniqueImageList list(ImageList_Create(GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), ILC_COLORDDB | ILC_MASK,
                                          count, 0));
    if (!list) return false;
    for (int i = 0; i < count; ++i) {
        const CapturedWindow* record = tabs.RecordAt(i);
        if (!record) continue;
        HICON icon = record->Icon();
        ImageList_AddIcon(list.get(), icon ? icon : LoadIconA(nullptr, IDI_APPLICATION));
        char title[kTitleSize] = "";
        record->Title(title, textLimit);
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = title;
        item.iImage = i;
        SendMessageA(tabs.Control(), TCM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(tabs.Control(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list.get()));
    list_ = std::move(list);  // the list it replaces goes here
    return true;
}

void TabIcons::Clear(HWND tabControl) {
    if (tabControl) SendMessageA(tabControl, TCM_SETIMAGELIST, 0, 0);
    list_.reset();
}
