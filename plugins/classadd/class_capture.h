// Capturing every top-level window of one class into Panelry's main window.
#pragma once

#include <windows.h>

// Asks mainWindow to capture, one after the other, the top-level windows of
// className in the order the system finds them, hidden ones too. Returns
// how many it reported captured.
int CaptureWindowsOfClass(HWND mainWindow, const char* className);
