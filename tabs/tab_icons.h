// The image list of a pane's tab control. It lives as long as the icons are
// shown and holds each distinct icon once: tabs whose windows share an icon
// share its image, an image goes when the last tab showing it goes, and a
// tab that comes or goes touches the list only for its own icon. The
// control moves the other tabs' image numbers itself (TCM_REMOVEIMAGE).
#pragma once

#include "base/handles.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

class TabStrip;

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListDeleter>;

class TabIcons {
public:
    // Puts a new, empty list on the control, destroying the one it replaces;
    // every tab shows no image until Show. False when no list could be made.
    bool Install(const TabStrip& tabs);
    // Takes the list off the control and destroys it.
    void Clear(HWND tabControl);
    bool Installed() const { return static_cast<bool>(list_); }
    HIMAGELIST List() const { return list_.get(); }

    // Shows icon (the system's application icon for null) on tab index,
    // adding it to the list only when no tab shows it yet, and lets go of the
    // image the tab showed before. Nothing without a list.
    void Show(const TabStrip& tabs, int index, HICON icon);
    // Tab index is about to be removed: lets go of its image.
    void Forget(const TabStrip& tabs, int index);

private:
    struct Image {
        HICON icon;
        int users;
    };
    int Acquire(HICON icon);
    void LetGo(const TabStrip& tabs, int image);

    UniqueImageList list_;
    std::vector<Image> images_;  // image i of the list
};
