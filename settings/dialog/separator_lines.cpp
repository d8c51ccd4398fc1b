// Etched separator lines laid between groups of a page's controls.
#include "settings/dialog/separator_lines.h"

namespace {

// A control's rectangle in its page's client coordinates.
RECT PlaceInPage(HWND page, int id) {
    RECT place{};
    GetWindowRect(GetDlgItem(page, id), &place);
    MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

}  // namespace

void SeparatorLines::Create(HWND page, const Between* pairs, int count) {
    page_ = page;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(page, GWLP_HINSTANCE));
    for (int i = 0; i < count; ++i) {
        // No id of their own: nothing addresses a line but its owner.
        const HWND line = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ,
                                          0, 0, 0, kHeight, page,
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                                          instance, nullptr);
        if (line) lines_.push_back(Line{pairs[i], UniqueWindow(line)});
    }
    Layout();
}

void SeparatorLines::Layout() const {
    RECT client{};
    GetClientRect(page_, &client);
    for (const Line& line : lines_) {
        const int middle = (PlaceInPage(page_, line.between.upper).bottom +
                            PlaceInPage(page_, line.between.lower).top) /
                           2;
        MoveWindow(line.window.get(), 0, middle - kHeight / 2, client.right, kHeight, TRUE);
    }
}
