// Owner-drawn menu items that stand for a file or folder: the shell's display
// name beside its small icon. The start-menu list and the shortcut-window
// entries draw their items alike with this.
#pragma once

#include "base/handles.h"

#include <windows.h>

// What a list takes from the system each time it is built: the menu font,
// the height of a menu item, and the highlight colours.
class FileMenuLook {
public:
    void Refresh();

    // Width: the display name in the menu font on window's DC, plus the item
    // height and 8; height: the menu item height.
    void Measure(HWND window, const char* path, MEASUREITEMSTRUCT& item) const;
    // The name bottom-aligned at (left + 24, bottom), the small icon
    // centred vertically at the left (16 x 16 at 96 dpi, both scaled with
    // the system); selected items on the highlight.
    void Draw(const DRAWITEMSTRUCT& item, const char* path) const;

private:
    UniqueFont font_;
    int itemHeight_ = 0;
    int iconSide_ = 16;
    int textLeft_ = 24;
    COLORREF highlightBack_ = 0;
    COLORREF highlightText_ = 0;
};
