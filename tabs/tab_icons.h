// The image list of a pane's tab control: one small icon per tab, image i
// for tab i, made anew from the tabs' windows.
#pragma once

#include "base/handles.h"

#include <windows.h>
#include <commctrl.h>

class TabStrip;

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListDeleter>;

class TabIcons {
public:
    // A new list sized to the tab count with every tab's window icon (the
    // system's application icon for a window without one); sets each tab's
    // text (cut to textLimit - 1 bytes) and image together, installs the list
    // and destroys the one it replaces. False when no list could be made.
    bool Rebuild(const TabStrip& tabs, int textLimit);
    // Takes the list off the control and destroys it.
    void Clear(HWND tabControl);
    HIMAGELIST List() const { return list_.get(); }

private:
    UniqueImageList list_;
};
