// What the system tells about another process: the file it runs and the
// command line it was started with. Both are read without the process's
// help, so a hung application answers like any other.
#pragma once

#include <windows.h>

#include <string>

// The full path of the executable of process id; empty when it cannot be
// opened.
std::wstring ProcessImagePath(DWORD processId);

// The command line of process id, for a process of either width; empty when
// the platform does not give it (a 64-bit process seen from a 32-bit
// Panelry on an older system; a process of another user, or an elevated
// one, before Windows 8.1, where only reading its memory tells).
std::wstring ProcessCommandLine(DWORD processId);
