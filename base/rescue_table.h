// The rescue table: every captured window with what giving it back needs,
// in fixed storage that a crashed or hung process can still read, and the
// routine that gives every window in it back to the desktop.
//
// The user-interface thread enters and withdraws windows; any other thread
// (the rescue threads, the hang watchdog) may give them back at any moment,
// without allocating, locking or touching the panes' heap structures, which
// a crash may have corrupted. Each window's slot is one atomic state that
// both sides claim before they touch the window: the pane acts only on a
// window it has claimed, a rescue gives back only a window it has taken, so
// every window ends either in its tab or on the desktop as it was, never
// changed by both.
#pragma once

#include <windows.h>

namespace rescue {

inline constexpr int kSlots = 256;

// Enters a captured window, claimed for the capture that goes on: called
// before the capture changes anything, and settled (Settle) when it is done.
// Returns its slot, or -1 when the table is full: the capture goes on, the
// window is then only unprotected.
int Enter(HWND window, LONG style, LONG exStyle, const RECT& screenRect, UINT showCmd);

// Claims slot's window for the pane for a moment: true when the pane may
// touch the window now (always for -1, a window the table could not take),
// false when a rescue has taken it. A claim that succeeded is settled.
bool Claim(int slot);
void Settle(int slot);

// A claim for as long as the object lives.
class Use {
public:
    explicit Use(int slot) : slot_(slot), claimed_(Claim(slot)) {}
    ~Use() {
        if (claimed_) Settle(slot_);
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    explicit operator bool() const { return claimed_; }

private:
    int slot_;
    bool claimed_;
};

// Takes slot's window out of the table (nothing happens for -1), from the
// claim of a release or from its rest. True when a rescue took it: the
// caller must then not touch it again.
bool Withdraw(int slot);

// True when a rescue has taken slot's window (given back or being given back).
bool Taken(int slot);

// Windows in the table that no rescue has taken (in use by the pane or not).
int HeldCount();

// Windows a rescue took whose records have not yet withdrawn them: while
// there are any, the panes look for their tabs and drop them, wherever the
// tabs went since.
int AwaitingDrop();

// Gives every window the pane is not using right now back to the desktop as
// it was before its capture: parent, style, extended style, normal position
// on the screen and show command. Each slot is taken before it is touched, so
// a second call (from a thread that replaces one that faulted) skips it.
// Windows of applications that answer go first, so one hung application does
// not hold up the others. With alsoInUse (a crash: the thread that was using
// a window will not come back), windows the pane left claimed are taken too.
// Returns how many it took.
int GiveBackAll(bool alsoInUse = false);

// How many give-back passes have finished (that took at least one window).
LONG Passes();

// Called with each window after its slot is taken and before it is touched;
// null (the default) calls nothing. Only tests set it, to make a rescue
// thread fault, or dawdle, in the middle of its work.
using GiveBackProbe = void (*)(HWND window);
void SetGiveBackProbe(GiveBackProbe probe);

}  // namespace rescue
