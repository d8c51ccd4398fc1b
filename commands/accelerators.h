// Accelerator keys: one key combination per built-in command (kinds 1 to
// 21), kept as one Win32 accelerator table that the message loop applies
// and that the input-hook library watches desktop-wide when asked to.
// Slot i belongs to command i + 1.
#pragma once

#include <windows.h>

#include <string>

class AcceleratorTable {
public:
    static constexpr int kSlots = 21;

    static AcceleratorTable& Instance();

    AcceleratorTable();
    virtual ~AcceleratorTable();
    AcceleratorTable(const AcceleratorTable&) = delete;
    AcceleratorTable& operator=(const AcceleratorTable&) = delete;

    // Every slot back to its built-in key with Ctrl.
    void SetDefaults();

    // FSHIFT, FCONTROL and FALT of the slot, and its virtual-key code; a key
    // of 0 means the command has none.
    BYTE Modifiers(int slot) const { return modifiers_[slot]; }
    WORD Key(int slot) const { return keys_[slot]; }
    void Set(int slot, BYTE modifiers, WORD key);

    HACCEL Handle() const { return handle_; }

private:
    HACCEL handle_ = nullptr;
    BYTE modifiers_[kSlots] = {};
    WORD keys_[kSlots] = {};
};

// "Ctrl + ", "Alt + ", "Shift + " as flagged, then the key's name; empty
// for key 0. One static buffer, valid until the next call.
const char* HotkeyText(BYTE modifiers, WORD key);

// The menu text of built-in command kind (1 to 21): the command text, and
// with withKey, a tab and the key text when the command has a key.
std::string CommandItemText(int kind, bool withKey);
