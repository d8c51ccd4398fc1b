// The order in which every settings file is read at start and written at close.
#pragma once

#include <windows.h>

// The tool plug-ins' folder below the executable's folder; at most 31 characters.
char* ToolFolderName();
inline constexpr int kToolFolderSize = 32;

// Returns true when a stored main-window placement was read into placement.
bool LoadAllSettings(WINDOWPLACEMENT* placement);

// mainWindow supplies the placement to store. Always true.
bool SaveAllSettings(HWND mainWindow);
