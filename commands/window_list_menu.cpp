// The window list: which windows it offers, how an item is measured and
// drawn, and the capture of the chosen one.
#include "commands/window_list_menu.h"

#include "base/command_kinds.h"
#include "base/handles.h"
#include "base/window_class.h"
#include "commands/command_texts.h"
#include "tabs/captured_window.h"
#include "tabs/pane.h"


namespace {

constexpr int kTitleSize = 256;
constexpr int kTextGap = 8;    // between the icon column and the title
constexpr int kBaselineLift = 4;  // the title's baseline above the bottom
constexpr int kIconInset = 2;  // the icon's distance from the top, and half its shrink

// What the list took from the system when it was last built; its items are
// measured and drawn with it while the menu is open.
struct ListLook {
    UniqueFont font;
    int iconWidth = 16;
    COLORREF highlight = 0;
    COLORREF highlightText = 0;
};

ListLook& Look() {
    static ListLook look;
    return look;
}

void TakeLook() {
    ListLook& look = Look();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    look.font.reset(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
                        ? CreateFontIndirectA(&metrics.lfMenuFont)
                        : nullptr);
    look.iconWidth = GetSystemMetrics(SM_CXSMICON);
    look.highlight = GetSysColor(COLOR_HIGHLIGHT);
    look.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
}

struct Listing {
    HMENU menu;
    UINT count;
};

// Titles are read wide throughout: other applications' titles may hold
// characters the code page cannot, which the ANSI functions turn into "?".
int TitleOf(ULONG_PTR data, wchar_t (&title)[kTitleSize]) {
    title[0] = L'\0';
    return GetWindowTextW(reinterpret_cast<HWND>(data), title, kTitleSize);
}

BOOL CALLBACK ListWindow(HWND window, LPARAM param) {
    auto* listing = reinterpret_cast<Listing*>(param);
    if (!IsCapturableTopLevel(window)) return TRUE;
    wchar_t title[kTitleSize];
    if (TitleOf(reinterpret_cast<ULONG_PTR>(window), title) <= 0) return TRUE;
    // Drawn by the list itself; the item keeps the title as its string too,
    // for whatever reads menus aloud or by text.
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    item.fType = MFT_OWNERDRAW;
    item.wID = ListCommandId(listing->count, kWindowList);
    item.dwItemData = reinterpret_cast<ULONG_PTR>(window);
    item.dwTypeData = title;
    if (InsertMenuItemW(listing->menu, GetMenuItemCount(listing->menu), TRUE, &item)) {
        ++listing->count;
    }
    return TRUE;
}

}  // namespace

void AppendWindowList(HMENU menu) {
    TakeLook();
    Listing listing{menu, 0};
    EnumWindows(&ListWindow, reinterpret_cast<LPARAM>(&listing));
    if (listing.count == 0) {
        AppendMenuA(menu, MF_STRING | MF_GRAYED, kWindowList, command_texts::kNoWindowToAdd);
    }
}

bool CaptureListedWindow(const MenuContext& context, const MenuListItem& item) {
    context.pane.AddNewWindow(reinterpret_cast<HWND>(item.data));
    return true;
}

bool MeasureWindowItem(MEASUREITEMSTRUCT& item) {
    wchar_t title[kTitleSize];
    const int length = TitleOf(item.itemData, title);
    SIZE extent{};
    WindowDC dc(nullptr);
    if (dc) {
        const ListLook& look = Look();
        SelectedObject font(dc.get(), look.font ? look.font.get() : GetStockObject(SYSTEM_FONT));
        GetTextExtentPoint32W(dc.get(), title, length, &extent);
    }
    item.itemWidth = static_cast<UINT>(extent.cx + Look().iconWidth + kTextGap);
    item.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
    return true;
}

bool DrawWindowItem(const DRAWITEMSTRUCT& item) {
    const ListLook& look = Look();
    HDC dc = item.hDC;
    SavedDCState state(dc);
    const RECT& r = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    UniqueBrush back(CreateSolidBrush(selected ? look.highlight : GetBkColor(dc)));
    FillRect(dc, &r, back.get());
    if (selected) SetTextColor(dc, look.highlightText);

    wchar_t title[kTitleSize];
    const int length = TitleOf(item.itemData, title);
    SelectedObject font(dc, look.font ? look.font.get() : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    TextOutW(dc, r.left + look.iconWidth + kTextGap, r.bottom - kBaselineLift, title, length);

    if (HICON icon = WindowIcon(reinterpret_cast<HWND>(item.itemData))) {
        const int side = GetSystemMetrics(SM_CYMENU) - 2 * kIconInset;
        DrawIconEx(dc, r.left, r.top + kIconInset, icon, side, side, 0, nullptr, DI_NORMAL);
    }
    return true;
}
