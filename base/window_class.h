// Registration of the program's window classes, and telling the program's
// own main windows from the windows of other programs.
#pragma once

#include <windows.h>

// A class with the arrow cursor and no extra bytes. A class registered
// before counts as success: panes and bars ask once each, and tests create
// the program's windows again and again in one process.
bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure,
                         HBRUSH background, HICON icon = nullptr);

// The system colour brush the classes use for their background.
inline HBRUSH MenuColorBrush() { return reinterpret_cast<HBRUSH>(COLOR_MENU + 1); }

// A window that may be captured or offered for capture: visible, with
// neither parent nor owner, and no main window of this program (of this
// instance or of another).
bool IsCapturableTopLevel(HWND window);
// The same whether shown or hidden.
bool IsTopLevelOfAnotherProgram(HWND window);
