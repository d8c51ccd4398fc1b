// The editor of the shortcut window's registered applications: one row per
// slot with the entry's path, a browse and a clear button. It edits the
// shortcut window's entries themselves rather than the settings dialog's
// values, so its OK writes at once, whatever becomes of the dialog after.
#pragma once

#include <windows.h>

// Runs the editor modally, owned by owner; true when it was closed with OK,
// by which time all sixteen entries have been written.
bool EditShortcutEntries(HWND owner);
