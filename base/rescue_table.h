// The rescue table: every captured window with what giving it back needs,
// in fixed storage that a crashed or hung process can still read, and the
// routine that gives every window in it back to the desktop.
//
// The user-interface thread enters and withdraws windows; any other thread
// (the rescue threads, the hang watchdog) may give them back at any moment,
// without allocating, locking or touching the panes' heap structures, which
// a crash may have corrupted. Each window is given back at most once.
#pragma once

#include <windows.h>

namespace rescue {

inline constexpr int kSlots = 256;

// Enters a captured window; called before the capture changes anything.
// Returns its slot, or -1 when the table is full: the capture goes on, the
// window is then only unprotected.
int Enter(HWND window, LONG style, LONG exStyle, const RECT& screenRect, UINT showCmd);

// Takes slot's window out of the table (nothing happens for -1). True when a
// rescue gave it back meanwhile: the caller must then not touch it again.
bool Withdraw(int slot);

// True when a rescue has taken slot's window (given back or being given back).
bool Taken(int slot);

// Windows in the table that no rescue has taken.
int HeldCount();

// Gives every window still held back to the desktop as it was before its
// capture: parent, style, extended style, normal position on the screen and
// show command. Each slot is marked taken before it is touched, so a second
// call (from a thread that replaces one that faulted) skips it. Windows of
// applications that answer go first, so one hung application does not hold
// up the others. Returns how many it took.
int GiveBackAll();

// How many give-back passes have finished; the panes compare it to drop the
// tabs of windows given back while the program lived on.
LONG Passes();

// Tells whether a give-back pass finished since it last looked: one
// comparison between passes.
class PassWatch {
public:
    bool NewPassFinished() {
        const LONG passes = Passes();
        if (passes == seen_) return false;
        seen_ = passes;
        return true;
    }

private:
    LONG seen_ = 0;
};

// Called with each window after its slot is taken and before it is touched;
// null (the default) calls nothing. Only tests set it, to make a rescue
// thread fault in the middle of its work.
using GiveBackProbe = void (*)(HWND window);
void SetGiveBackProbe(GiveBackProbe probe);

}  // namespace rescue
