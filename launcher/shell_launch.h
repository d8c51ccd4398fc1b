// Opening a file with the shell's default action, and reading the target of
// a shell shortcut. Both use only the system, so that a plug-in can compile
// this source into itself and launch exactly as the program does.
#pragma once

#include <windows.h>

// Opens path (an application, a document or a folder) with the default
// action. On a failure the shell names, a message box owned by owner says
// why, captioned with the path; false then. Other results are true.
bool ShellLaunch(HWND owner, const char* path);

// Reads the shortcut at path: its target (SLGP_UNCPRIORITY), its arguments,
// its icon location and index, each into a 260-character buffer when given.
// True when the last read made succeeded; false when the file is no link.
bool ResolveShortcut(const char* path, char* target, char* arguments = nullptr,
                     char* iconLocation = nullptr, int* iconIndex = nullptr);
