// The search of the tool folder for plug-in files. The folder is whatever
// TOOLDIR names below the executable's folder: ".." makes it the folder
// above with everything in it, and a junction or symbolic link that leads
// back up makes it endless. So the search follows no reparse point (the tool
// folder itself may be one), goes at most kToolSearchDepth folders down and
// ends after kToolSearchMs with what it has found by then. It walks on a
// thread of its own while the user-interface thread answers sent messages:
// a thread that does not answer for long counts as hung, and the hang
// rescue gives every captured window back.
#pragma once

#include <windows.h>

inline constexpr int kToolSearchDepth = 8;
inline constexpr DWORD kToolSearchMs = 5000;

// Sends message (lParam the full path) to page for every ".ttl" file in
// folder and, after them, in the folders below it, in the order the file
// system lists them; the count found.
int EnumerateToolFiles(const char* folder, HWND page, UINT message);
