// Opening a file with the shell's default action, and reading the target of
// a shell shortcut. Both use only the system, so that a plug-in can compile
// this source into itself and launch exactly as the program does.
#pragma once

#include <windows.h>

#include <string>

// Opens path (an application, a document or a folder) with the default
// action. On a failure the shell names, a message box owned by owner says
// why, captioned with the path; false then. Other results are true.
bool ShellLaunch(HWND owner, const char* path);
// The same, telling in processId (when not null) which process the shell
// started for it: 0 when it started none or did not say (a document handed
// to a program already running, a shell link under some shells).
bool ShellLaunch(HWND owner, const char* path, DWORD* processId);

// The path a program should be started from so that it is the file the user
// named. A 32-bit program on 64-bit Windows is shown the 32-bit copies of the
// system folder under the system folder's name; a file named there is then
// reached through the alias the system keeps for the real folder
// ("Sysnative"), when it exists there. Elsewhere the path as given.
std::wstring UnredirectedPath(const std::wstring& path);
std::string UnredirectedPath(const char* path);

// Reads the shortcut at path: its target (SLGP_UNCPRIORITY), its arguments,
// its icon location and index, each into a 260-character buffer when given.
// True when the last read made succeeded; false when the file is no link.
bool ResolveShortcut(const char* path, char* target, char* arguments = nullptr,
                     char* iconLocation = nullptr, int* iconIndex = nullptr);
