// The rescue table and the give-back routine shared by the crash rescue and
// the hang watchdog.
#include "base/rescue_table.h"

#include "base/put_back.h"

#include <initializer_list>

namespace rescue {
namespace {

// A slot's life. Only the user-interface thread moves a slot out of kFree
// (Enter, into kInUse), between kInUse and kHeld (Claim, Settle) and back to
// kFree (Withdraw). A rescue moves kHeld (with alsoInUse also kInUse) to
// kTaking with one compare-exchange, so each window is taken exactly once and
// never while the pane is changing it.
enum SlotState : LONG {
    kFree = 0,
    kHeld = 1,       // the pane's, at rest
    kTaking = 2,     // a rescue is giving the window back
    kGivenBack = 3,  // the rescue is done; the owner has not withdrawn it yet
    kOrphaned = 4,   // withdrawn while a rescue was at work: the rescue frees it
    kInUse = 5,      // the pane is changing the window right now
};

struct Slot {
    volatile LONG state;
    HWND volatile window;
    LONG style;
    LONG exStyle;
    RECT screenRect;
    UINT showCmd;
};

// Static storage, zero (all kFree) before any code runs.
Slot g_slots[kSlots];
volatile LONG g_passes;
volatile LONG g_awaitingDrop;
GiveBackProbe volatile g_probe;

bool Valid(int slot) { return slot >= 0 && slot < kSlots; }

LONG Load(const volatile LONG& value) {
    return InterlockedCompareExchange(const_cast<volatile LONG*>(&value), 0, 0);
}

bool Answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, 500,
                               &ignored) != 0;
}

// As CapturedWindow::Release, less taking the focus.
void GiveBack(const Slot& slot, HWND window) {
    if (!IsWindow(window)) return;  // its application destroyed it
    // While its parent is ours, the window's thread shares its input with
    // our thread. Taken off the parent, the window is hidden first, and if it
    // is the active window its thread activates the next window in line,
    // often our main window; with the input shared it does that itself,
    // waiting on our (stuck or failed) thread for an answer that never
    // comes, which hangs the application and this rescue. Apart, the thread
    // only notifies ours.
    const DWORD appThread = GetWindowThreadProcessId(window, nullptr);
    const DWORD ourThread = GetWindowThreadProcessId(GetAncestor(window, GA_PARENT), nullptr);
    if (appThread && ourThread && appThread != ourThread) {
        AttachThreadInput(appThread, ourThread, FALSE);
    }
    PutBackOnDesktop(window, slot.style, slot.exStyle, slot.screenRect, slot.showCmd);
}

void Free(Slot& slot) {
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&slot.window), nullptr);
    InterlockedExchange(&slot.state, kFree);
}

bool TakeAndGiveBack(Slot& slot, bool alsoInUse) {
    if (InterlockedCompareExchange(&slot.state, kTaking, kHeld) != kHeld &&
        !(alsoInUse && InterlockedCompareExchange(&slot.state, kTaking, kInUse) == kInUse)) {
        return false;
    }
    InterlockedIncrement(&g_awaitingDrop);
    // Marked before touching anything: a thread that takes over after a
    // fault here skips this window rather than fault on it again.
    const HWND window = slot.window;
    if (const GiveBackProbe probe = g_probe) probe(window);
    GiveBack(slot, window);
    if (InterlockedCompareExchange(&slot.state, kGivenBack, kTaking) == kOrphaned) Free(slot);
    return true;
}

}  // namespace

int Enter(HWND window, LONG style, LONG exStyle, const RECT& screenRect, UINT showCmd) {
    for (int i = 0; i < kSlots; ++i) {
        Slot& slot = g_slots[i];
        if (Load(slot.state) != kFree) continue;
        slot.style = style;
        slot.exStyle = exStyle;
        slot.screenRect = screenRect;
        slot.showCmd = showCmd;
        InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&slot.window), window);
        // Published last, with a full barrier: a rescue that sees the slot in
        // any state but kFree sees the whole entry.
        InterlockedExchange(&slot.state, kInUse);
        return i;
    }
    return -1;
}

bool Claim(int slot) {
    if (!Valid(slot)) return true;
    return InterlockedCompareExchange(&g_slots[slot].state, kInUse, kHeld) == kHeld;
}

void Settle(int slot) {
    if (Valid(slot)) InterlockedCompareExchange(&g_slots[slot].state, kHeld, kInUse);
}

bool Withdraw(int slot) {
    if (!Valid(slot)) return false;
    Slot& s = g_slots[slot];
    for (LONG resting : {kInUse, kHeld}) {
        if (InterlockedCompareExchange(&s.state, kFree, resting) == resting) {
            InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&s.window), nullptr);
            return false;
        }
    }
    const LONG was = Load(s.state);
    if (was == kFree) return false;
    InterlockedDecrement(&g_awaitingDrop);
    if (was == kTaking &&
        InterlockedCompareExchange(&s.state, kOrphaned, kTaking) == kTaking) {
        return true;
    }
    // kGivenBack (possibly reached just now): the rescue is done with it.
    if (Load(s.state) == kGivenBack) Free(s);
    return true;
}

bool Taken(int slot) {
    if (!Valid(slot)) return false;
    const LONG state = Load(g_slots[slot].state);
    return state == kTaking || state == kGivenBack || state == kOrphaned;
}

int HeldCount() {
    int held = 0;
    for (const Slot& slot : g_slots) {
        const LONG state = Load(slot.state);
        held += state == kHeld || state == kInUse ? 1 : 0;
    }
    return held;
}

int AwaitingDrop() { return static_cast<int>(Load(g_awaitingDrop)); }

int GiveBackAll(bool alsoInUse) {
    int taken = 0;
    for (Slot& slot : g_slots) {
        const LONG state = Load(slot.state);
        if ((state == kHeld || (alsoInUse && state == kInUse)) && Answers(slot.window)) {
            taken += TakeAndGiveBack(slot, alsoInUse);
        }
    }
    for (Slot& slot : g_slots) taken += TakeAndGiveBack(slot, alsoInUse);
    if (taken > 0) InterlockedIncrement(&g_passes);
    return taken;
}

LONG Passes() { return Load(g_passes); }

void SetGiveBackProbe(GiveBackProbe probe) {
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_probe),
                               reinterpret_cast<void*>(probe));
}

}  // namespace rescue
