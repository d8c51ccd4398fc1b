// The dialog that edits one row of the accelerator-key page: the key with
// its modifiers as the hot-key control keeps them, up to eight gesture
// strokes, and the key or button the gesture needs held.
#pragma once

#include <windows.h>

struct AcceleratorRow {
    WORD hotkey;    // virtual key in the low byte, HOTKEYF_* in the high byte
    DWORD gesture;  // one stroke per 4-bit group, the last in the lowest
    BYTE holdKey;
};

// The row's hot-key word from the accelerator slot's FSHIFT/FCONTROL/FALT.
WORD HotkeyWord(BYTE modifiers, WORD key);
// And back: the slot's modifiers and key of a hot-key word.
BYTE HotkeyModifiers(WORD hotkey);
inline WORD HotkeyKey(WORD hotkey) { return LOBYTE(hotkey); }

// The gesture code without its empty 4-bit groups, the strokes in order.
DWORD CompactGesture(DWORD code);

// Runs the editor on row modally, owned by owner; true when it ended with
// OK, and row holds what it said. A held key the editor does not offer
// becomes none, even when it ends with CANCEL.
bool EditAcceleratorRow(HWND owner, AcceleratorRow& row);
