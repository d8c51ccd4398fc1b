// The accelerator slots, their defaults and the key texts menus show.
#include "commands/accelerators.h"

#include "commands/command_kinds.h"
#include "commands/command_strings.h"

#include <cstdio>
#include <cstring>

namespace {

// Ctrl with these keys, by slot; "設定" (slot 20) has none.
constexpr WORD kDefaultKeys[AcceleratorTable::kSlots] = {
    VK_LEFT, VK_RIGHT, 'A', VK_F1, VK_F2, 'R', 'I', 'C', VK_F3, VK_F4, VK_F5,
    VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, 'N', 'H', 'V', 0,
};

}  // namespace

AcceleratorTable& AcceleratorTable::Instance() {
    static AcceleratorTable table;
    return table;
}

AcceleratorTable::AcceleratorTable() { SetDefaults(); }

AcceleratorTable::~AcceleratorTable() {
    if (handle_) DestroyAcceleratorTable(handle_);
}

void AcceleratorTable::SetDefaults() {
    for (int slot = 0; slot < kSlots; ++slot) Set(slot, FCONTROL, kDefaultKeys[slot]);
}

void AcceleratorTable::Set(int slot, BYTE modifiers, WORD key) {
    if (slot < 0 || slot >= kSlots) return;
    modifiers_[slot] = modifiers;
    keys_[slot] = key;
}

const char* HotkeyText(BYTE modifiers, WORD key) {
    static char text[64];
    text[0] = '\0';
    if (key == 0) return text;
    if (modifiers & FCONTROL) std::strcat(text, menu_ini::kCtrlPrefix);
    if (modifiers & FALT) std::strcat(text, menu_ini::kAltPrefix);
    if (modifiers & FSHIFT) std::strcat(text, menu_ini::kShiftPrefix);
    char name[32] = "";
    const LONG scanCode = static_cast<LONG>(MapVirtualKeyA(key, 0));
    GetKeyNameTextA(scanCode << 16, name, sizeof name);
    std::strncat(text, name, sizeof text - std::strlen(text) - 1);
    return text;
}

std::string CommandItemText(int kind, bool withKey) {
    std::string text = CommandText(kind);
    if (!withKey || kind < 1 || kind > AcceleratorTable::kSlots) return text;
    const AcceleratorTable& table = AcceleratorTable::Instance();
    const int slot = kind - 1;
    if (table.Key(slot) == 0) return text;
    text += '\t';
    text += HotkeyText(table.Modifiers(slot), table.Key(slot));
    return text;
}
