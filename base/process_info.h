// What the system tells about another process: the file it runs and the
// command line it was started with. Both are read without the process's
// help, so a hung application answers like any other.
#pragma once

#include <windows.h>

#include <string>

// The full path of the executable of process id; empty when it cannot be
// opened.
std::wstring ProcessImagePath(DWORD processId);

// The command line of process id; empty when the platform does not give it
// (a 64-bit process seen from this 32-bit one, a process of another user).
std::wstring ProcessCommandLine(DWORD processId);
