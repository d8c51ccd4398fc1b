// Waits on the processes of captured windows. When an application ends,
// its windows are gone at once; the panes learn of it from one counter
// instead of asking each of their windows, every tick, whether it still
// exists (under Wine each such question is a round trip to the server).
//
// The waits run on the system's thread pool and only count; everything else
// happens on the thread that captured the windows.
#pragma once

#include <windows.h>

#include <memory>

namespace process_watch {

// A watch on the process of window, shared by every window of that process
// and kept until the process ends. Null when the process cannot be opened
// (the pane's periodic check still finds its windows gone, only later).
std::shared_ptr<void> Watch(HWND window);

// Goes up by one each time a watched process ends. A pane that sees it
// change checks all of its windows once.
unsigned long Ended();

}  // namespace process_watch
