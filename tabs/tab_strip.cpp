// The tab control's items as records.
#include "tabs/tab_strip.h"

#include "base/wide_text.h"
#include "tabs/captured_window.h"

#include <commctrl.h>

#include <cwchar>

int TabStrip::Count() const {
    return control_ ? static_cast<int>(SendMessageA(control_, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

int TabStrip::Rows() const {
    return control_ ? static_cast<int>(SendMessageA(control_, TCM_GETROWCOUNT, 0, 0)) : 0;
}

int TabStrip::Selected() const {
    return control_ ? static_cast<int>(SendMessageA(control_, TCM_GETCURSEL, 0, 0)) : -1;
}

CapturedWindow* TabStrip::RecordAt(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (!SendMessageA(control_, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return reinterpret_cast<CapturedWindow*>(item.lParam);
}

int TabStrip::IndexOf(const CapturedWindow* record) const {
    for (int i = 0, count = Count(); i < count; ++i) {
        if (RecordAt(i) == record) return i;
    }
    return -1;
}

void TabStrip::Insert(int index, CapturedWindow* record) {
    TCITEMA item{};
    item.mask = TCIF_PARAM | TCIF_IMAGE;
    item.iImage = -1;
    item.lParam = reinterpret_cast<LPARAM>(record);
    SendMessageA(control_, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

void TabStrip::SetRecord(int index, CapturedWindow* record) {
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    item.lParam = reinterpret_cast<LPARAM>(record);
    SendMessageA(control_, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
}

void TabStrip::Remove(int index) { SendMessageA(control_, TCM_DELETEITEM, index, 0); }

void TabStrip::Select(int index) { SendMessageA(control_, TCM_SETCURFOCUS, index, 0); }

int TabStrip::TabAt(POINT client) const {
    TCHITTESTINFO hit{};
    hit.pt = client;
    return static_cast<int>(SendMessageA(control_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

int TabStrip::TabAtScreen(POINT screen) const {
    ScreenToClient(control_, &screen);
    return TabAt(screen);
}

bool TabStrip::RefreshText(int index, int limit) const {
    const CapturedWindow* record = RecordAt(index);
    if (!record) return false;
    // Wide throughout: other applications' titles may hold characters the
    // code page cannot, which the ANSI messages would turn into "?".
    wchar_t title[kTitleSize] = L"";
    record->Title(title, kTitleSize);
    return RefreshText(index, title, limit);
}

bool TabStrip::RefreshText(int index, const wchar_t* title, int limit) const {
    if (!RecordAt(index)) return false;
    wchar_t cut[kTitleSize] = L"";
    wcsncpy(cut, title, kTitleSize - 1);
    cut[WholeColumns(cut, limit > 0 ? static_cast<std::size_t>(limit - 1) : 0)] = L'\0';
    wchar_t shown[kTitleSize] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = shown;
    item.cchTextMax = kTitleSize;
    SendMessageW(control_, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    if (_wcsnicmp(cut, shown, kTitleSize - 1) == 0) return false;
    item.pszText = cut;
    SendMessageW(control_, TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return true;
}
