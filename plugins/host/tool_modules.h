// When the module of a tool that left its slot may be freed. A tool's code
// can still be running when its slot is emptied: the settings dialog whose
// OK empties it may have been reached from inside the tool (its message box,
// its dialog, the menu or open-file dialog of one of its windows: each runs a
// message loop, and a desktop-wide key opens the settings dialog from any
// loop), and windows of its own may still be open. Freeing it then sends the
// return, or the window's next message, into freed code. So a module that
// ran more than its texts is kept until no window of this process runs on
// it, and is freed only where no tool's code can be on the stack: between
// the messages of the program's outermost loop.
#pragma once

#include "base/handles.h"

#include <windows.h>

// Takes a module a slot lets go of. ranTool: the module was asked more than
// its name, notice and version (a check mark, the enable state, its tool
// carried out), which may have left its code on the stack or windows open;
// such a module is kept. One that only told its texts is freed at once when
// no window runs on it.
void ReleaseToolModule(UniqueModule module, bool ranTool);

// Frees every kept module that no window of this process runs on any more.
// Call it only where no tool's code can be on the stack: between the messages
// of the outermost message loop. It looks when a look is due: right after a
// module was kept, then at each tick of a timer of the thread that kept it
// (which also keeps that loop coming back); otherwise it returns at once.
void ReleaseRetiredTools();

// How many modules are kept.
int KeptToolModules();

// Whether a window of this process (top-level, child or message-only) runs
// on module: its window procedure, its class's procedure, its dialog
// procedure or its instance lies inside the module's image.
bool WindowsRunOn(HMODULE module);
