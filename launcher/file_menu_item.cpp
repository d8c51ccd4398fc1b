// The owner-drawn file items of the launcher's menus.
#include "launcher/file_menu_item.h"

#include "base/dpi.h"

#include <shellapi.h>

#include <cstring>

namespace {

constexpr int kTextLeft = 24;  // at 96 dpi, as the menu's own sizes are
constexpr int kWidthExtra = 8;

}  // namespace

void FileMenuLook::Refresh() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    const bool read = SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_.reset(read ? CreateFontIndirectA(&metrics.lfMenuFont) : nullptr);
    itemHeight_ = read ? metrics.iMenuHeight : GetSystemMetrics(SM_CYMENU);
    highlightBack_ = GetSysColor(COLOR_HIGHLIGHT);
    highlightText_ = GetSysColor(COLOR_HIGHLIGHTTEXT);
    // Menus take the system's scale: its small icon and the text beside it.
    iconSide_ = GetSystemMetrics(SM_CXSMICON);
    textLeft_ = dpi::Scale(kTextLeft, dpi::ScreenDpi());
}

void FileMenuLook::Measure(HWND window, const char* path, MEASUREITEMSTRUCT& item) const {
    SHFILEINFOA info{};
    SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    SIZE extent{};
    WindowDC dc(window);
    if (dc) {
        SelectedObject font(dc.get(), font_ ? font_.get() : GetStockObject(SYSTEM_FONT));
        GetTextExtentPoint32A(dc.get(), info.szDisplayName,
                              static_cast<int>(std::strlen(info.szDisplayName)), &extent);
    }
    item.itemWidth = static_cast<UINT>(extent.cx + itemHeight_ + kWidthExtra);
    item.itemHeight = static_cast<UINT>(itemHeight_);
}

void FileMenuLook::Draw(const DRAWITEMSTRUCT& item, const char* path) const {
    SHFILEINFOA info{};
    SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON | SHGFI_DISPLAYNAME);
    UniqueIcon icon(info.hIcon);
    HDC dc = item.hDC;
    SavedDCState state(dc);
    const RECT& r = item.rcItem;
    if (item.itemState & ODS_SELECTED) {
        UniqueBrush back(CreateSolidBrush(highlightBack_));
        FillRect(dc, &r, back.get());
        SetBkColor(dc, highlightBack_);
        SetTextColor(dc, highlightText_);
    } else {
        UniqueBrush back(CreateSolidBrush(GetBkColor(dc)));
        FillRect(dc, &r, back.get());
    }
    SetTextAlign(dc, TA_LEFT | TA_BOTTOM);
    TextOutA(dc, r.left + textLeft_, r.bottom, info.szDisplayName,
             static_cast<int>(std::strlen(info.szDisplayName)));
    if (icon) {
        DrawIconEx(dc, r.left, (r.top + r.bottom - iconSide_) / 2, icon.get(), iconSide_,
                   iconSide_, 0, nullptr, DI_NORMAL);
    }
}
