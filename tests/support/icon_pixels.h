// What an image list draws, as pixels, so that a test can tell which icon a
// tab shows: an image and an icon put in a list of its own draw the same
// pixels on the same background exactly when they are the same picture.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace testing_support {

// The pixels of image of list drawn on white, at the small icon size.
std::vector<COLORREF> DrawnImage(HIMAGELIST list, int image);
// The pixels of icon put into a small-icon list of its own and drawn so.
std::vector<COLORREF> DrawnIcon(HICON icon);
// The image tab index of a tab control shows; -1 for none.
int TabImage(HWND tabControl, int index);
// Whether tab index of tabControl shows icon from the control's list.
bool TabShowsIcon(HWND tabControl, int index, HICON icon);

}  // namespace testing_support
