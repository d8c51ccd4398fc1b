// What a plug-in file is when it cannot be loaded into this process: a DLL
// built for the other width (32-bit x86 in a 64-bit Panelry, x64 in a
// 32-bit one) still tells its machine and its exports in its file.
#pragma once

// True when path is a DLL of the other width that exports the six functions
// of a tool plug-in: a tool that a Panelry of that width would load.
bool IsToolOfOtherWidth(const char* path);

// The width of the Panelry such a tool is for, and of this one: 32 or 64.
int OtherWidthBits();
int OwnWidthBits();
