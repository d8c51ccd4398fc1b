// Giving a captured window back to the desktop as it was: the one sequence
// the release and the rescues share.
#pragma once

#include <windows.h>

// Takes window off its parent and gives it style and exStyle, its normal
// rectangle on the screen (screenRect) and its show command. The window
// stays hidden until it is in its place: shown earlier, it would appear for
// a moment at the pane's rectangle. The show command is checked after it
// is given, and given again if the window did not take it. Takes no focus.
void PutBackOnDesktop(HWND window, LONG style, LONG exStyle, const RECT& screenRect,
                      UINT showCmd);
