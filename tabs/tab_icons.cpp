// Rebuilding the tab control's image list.
#include "tabs/tab_icons.h"

#include "tabs/captured_window.h"
#include "tabs/tab_strip.h"

#include <vector>

bool TabIcons::Rebuild(const TabStrip& tabs, int textLimit) {
    // The icons first: asking another application for one lets messages
    // other threads send in meanwhile, so no record is held across it.
    std::vector<HWND> windows;
    for (int i = 0, count = tabs.Count(); i < count; ++i) {
        const CapturedWindow* record = tabs.RecordAt(i);
        windows.push_back(record ? record->Window() : nullptr);
    }
    std::vector<HICON> icons;
    for (HWND window : windows) icons.push_back(window ? WindowIcon(window) : nullptr);

    const int count = tabs.Count();
    UniqueImageList list(ImageList_Create(GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), ILC_COLORDDB | ILC_MASK,
                                          count, 0));
    if (!list) return false;
    for (int i = 0; i < count; ++i) {
        const CapturedWindow* record = tabs.RecordAt(i);
        if (!record) continue;
        // A tab that is not the one asked about (the tabs changed meanwhile)
        // shows the standard icon until the next rebuild.
        const bool asked = static_cast<size_t>(i) < windows.size() && record->Holds(windows[i]);
        HICON icon = asked ? icons[static_cast<size_t>(i)] : nullptr;
        ImageList_AddIcon(list.get(), icon ? icon : LoadIconA(nullptr, IDI_APPLICATION));
        char title[TabStrip::kTitleSize] = "";
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
