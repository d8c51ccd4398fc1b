// Accelerator keys: one key combination per built-in command (kinds 1 to
// 21), kept as one Win32 accelerator table that the message loop applies
// and that the input-hook library watches desktop-wide when asked to.
// Slot i belongs to command i + 1.
#pragma once

#include "base/command_kinds.h"
#include "base/handles.h"
#include "base/window_binding.h"

#include <windows.h>

#include <string>

class AcceleratorTable {
public:
    static constexpr int kSlots = kBuiltInCommandCount;
    // What a slot read from menu.ini can hold.
    static constexpr BYTE kUsableModifiers = FSHIFT | FCONTROL | FALT;
    static constexpr UINT kLastVirtualKey = 0xFF;

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

    // Makes the Win32 table anew from the slots that have a key, in slot
    // order, slot i giving command firstId + i, and hands the same entries
    // to the input-hook library. False when no table was made (no key at
    // all, or the system refused).
    bool Build(WORD firstId);
    // For the message loop: false when the message was a key of the table
    // and has become the main window's WM_COMMAND, so it goes no further.
    bool Translate(HWND mainWindow, MSG* message);

    HACCEL Handle() const { return handle_.get(); }

    // [MODIFIERS] and [VIRTUALKEY] of menu.ini. Reading takes a missing
    // value as 0: once the file exists, only the keys it names are set.
    void Load(const char* menuIni);
    void Save(const char* menuIni) const;

private:
    static const MessageRoute<AcceleratorTable> kTargetRoutes[];
    LRESULT TargetMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnTargetCommand(WPARAM wParam, LPARAM lParam);
    HWND Target(HWND mainWindow);

    UniqueAccelerators handle_;
    // Keys are translated against this window, which hands each command on
    // to mainWindow_ (see Translate).
    UniqueWindow target_;
    HWND mainWindow_ = nullptr;
    BYTE modifiers_[kSlots] = {};
    WORD keys_[kSlots] = {};
};

// "Ctrl + ", "Alt + ", "Shift + " as flagged, then the key's name; empty
// for key 0. One static buffer, valid until the next call.
const char* HotkeyText(BYTE modifiers, WORD key);

// Whether key shares its scan code with a key of the numeric keypad and
// differs from it only by the extended-key flag (the arrows and their
// neighbours).
bool IsExtendedKey(WORD key);

// The keyboard layout's name of a virtual key, at most size - 1 bytes.
void KeyName(WORD key, char* name, int size);

// The menu text of built-in command kind (1 to 21): the command text, and
// with withKey, a tab and the key text when the command has a key.
std::string CommandItemText(int kind, bool withKey);
