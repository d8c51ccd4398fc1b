// The settings dialog: a tree of page names on the left and the chosen page
// on the right. All fifteen pages live as long as the dialog; they read the
// live settings when it opens and write them only when it closes with OK.
#pragma once

#include <windows.h>

// Runs the dialog modally, owned by owner; true when it was closed with OK
// (every page has written by then). Nothing is saved to a file here.
bool ShowSettingsDialog(HWND owner);
