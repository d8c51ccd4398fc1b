// The order in which every settings file is read at start and written at close.
#pragma once

#include "plugins/host/tool_slots.h"

#include <windows.h>

// Returns true when a stored main-window placement was read into placement.
bool LoadAllSettings(WINDOWPLACEMENT* placement);

// mainWindow supplies the placement to store. Always true.
bool SaveAllSettings(HWND mainWindow);
