// The program's start-up, message loop and shutdown, behind the thin WinMain.
#pragma once

#include <windows.h>

// Brings an already running instance forward; true when there was one.
bool ActivateRunningInstance();

// The message loop; returns the WM_QUIT code.
int RunMessageLoop();

// The whole run: exit code 0 when another instance was found, -1 when the
// start failed, otherwise the WM_QUIT code.
int RunPanelry(HINSTANCE instance);
