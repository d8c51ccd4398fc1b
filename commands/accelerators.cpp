// The accelerator slots, their defaults, the Win32 table built from them,
// their place in menu.ini and the key texts menus show.
#include "commands/accelerators.h"

#include "base/command_kinds.h"
#include "base/window_class.h"
#include "commands/command_ids.h"
#include "commands/command_texts.h"
#include "inputtap/inputtap.h"

#include <cstdio>
#include <cstring>

namespace {

// Ctrl with these keys, by slot; "設定" (slot 20) has none.
constexpr WORD kDefaultKeys[AcceleratorTable::kSlots] = {
    VK_LEFT, VK_RIGHT, 'A', VK_F1, VK_F2, 'R', 'I', 'C', VK_F3, VK_F4, VK_F5,
    VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, 'N', 'H', 'V', 0,
};

static_assert(AcceleratorTable::kSlots == INPUTTAP_ACCEL_SLOTS,
              "the hook library takes exactly one entry per slot");

}  // namespace

AcceleratorTable& AcceleratorTable::Instance() {
    static AcceleratorTable table;
    return table;
}

AcceleratorTable::AcceleratorTable() { SetDefaults(); }

// The Win32 table goes with handle_.
AcceleratorTable::~AcceleratorTable() = default;

void AcceleratorTable::SetDefaults() {
    for (int slot = 0; slot < kSlots; ++slot) Set(slot, FCONTROL, kDefaultKeys[slot]);
}

void AcceleratorTable::Set(int slot, BYTE modifiers, WORD key) {
    if (slot < 0 || slot >= kSlots) return;
    modifiers_[slot] = modifiers;
    keys_[slot] = key;
}

bool AcceleratorTable::Build(WORD firstId) {
    handle_.reset();
    ACCEL entries[kSlots] = {};
    int count = 0;
    for (int slot = 0; slot < kSlots; ++slot) {
        if (keys_[slot] == 0) continue;
        entries[count++] = ACCEL{static_cast<BYTE>(modifiers_[slot] | FVIRTKEY), keys_[slot],
                                 static_cast<WORD>(firstId + slot)};
    }
    // The library gets the whole array, also when it holds no key, so that
    // keys taken away stop working desktop-wide too.
    INPUTTAP_SetAccelKey(entries);
    if (count == 0) return false;
    handle_.reset(CreateAcceleratorTableA(entries, count));
    return static_cast<bool>(handle_);
}

// Not against the main window itself: when a command's id is also the id
// of a popup in the window's menu bar (the bar's popups are numbered 0 to 7
// and stay empty until opened), Wine 8 crashes inside TranslateAccelerator
// while it looks the command up in that menu. A window without a menu takes
// the keys exactly the same way and passes the WM_COMMAND on unchanged.
bool AcceleratorTable::Translate(HWND mainWindow, MSG* message) {
    if (!handle_ || !mainWindow) return true;
    return !TranslateAcceleratorA(Target(mainWindow), handle_.get(), message);
}

HWND AcceleratorTable::Target(HWND mainWindow) {
    mainWindow_ = mainWindow;
    if (!target_) {
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        // The table keeps the window in target_ rather than through the binding.
        constexpr WNDPROC procedure =
            BoundWindowProc<AcceleratorTable, command_ids::kAcceleratorTargetProp, nullptr,
                            &AcceleratorTable::TargetMessage>;
        if (RegisterWindowClass(instance, command_ids::kAcceleratorTargetClass, procedure,
                                nullptr)) {
            target_.reset(CreateWindowExA(0, command_ids::kAcceleratorTargetClass, "", 0, 0, 0, 0,
                                          0, HWND_MESSAGE, nullptr, instance, this));
        }
        // Without it, the main window it is, as it would be anyway.
        if (!target_) return mainWindow;
    }
    return target_.get();
}

const MessageRoute<AcceleratorTable> AcceleratorTable::kTargetRoutes[] = {
    {WM_COMMAND, &AcceleratorTable::OnTargetCommand},
};

LRESULT AcceleratorTable::TargetMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, kTargetRoutes, target_.get(), message, wParam, lParam,
                        DefWindowProcA);
}

LRESULT AcceleratorTable::OnTargetCommand(WPARAM wParam, LPARAM lParam) {
    return mainWindow_ ? SendMessageA(mainWindow_, WM_COMMAND, wParam, lParam) : 0;
}

void AcceleratorTable::Load(const char* menuIni) {
    for (int slot = 0; slot < kSlots; ++slot) {
        char key[8];
        std::snprintf(key, sizeof key, command_ids::kSlotKeyFormat, slot);
        const UINT modifiers =
            GetPrivateProfileIntA(command_ids::kModifiersSection, key, 0, menuIni);
        const UINT vk = GetPrivateProfileIntA(command_ids::kVirtualKeySection, key, 0, menuIni);
        // What the key editor can give: Shift, Ctrl and Alt, and a virtual
        // key; a number beyond a key's byte (an edited file's) is no key.
        Set(slot, static_cast<BYTE>(modifiers & kUsableModifiers),
            static_cast<WORD>(vk <= kLastVirtualKey ? vk : 0));
    }
}

void AcceleratorTable::Save(const char* menuIni) const {
    for (int slot = 0; slot < kSlots; ++slot) {
        char key[8], value[16];
        std::snprintf(key, sizeof key, command_ids::kSlotKeyFormat, slot);
        std::snprintf(value, sizeof value, command_ids::kSlotValueFormat, modifiers_[slot]);
        WritePrivateProfileStringA(command_ids::kModifiersSection, key, value, menuIni);
        std::snprintf(value, sizeof value, command_ids::kSlotValueFormat, keys_[slot]);
        WritePrivateProfileStringA(command_ids::kVirtualKeySection, key, value, menuIni);
    }
}

bool IsExtendedKey(WORD key) {
    switch (key) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_INSERT: case VK_DELETE: case VK_DIVIDE: case VK_NUMLOCK:
        return true;
    default:
        return false;
    }
}

void KeyName(WORD key, char* name, int size) {
    if (size <= 0) return;
    name[0] = '\0';
    // The scan code in bits 16 to 23. Without the extended-key flag (bit
    // 24) the arrows and their neighbours would be named as the keypad's
    // keys ("Num 6" for Right).
    LONG argument = static_cast<LONG>(MapVirtualKeyA(key, 0) & 0xFF) << 16;
    if (IsExtendedKey(key)) argument |= 1L << 24;
    GetKeyNameTextA(argument, name, size);
}

const char* HotkeyText(BYTE modifiers, WORD key) {
    static char text[64];
    text[0] = '\0';
    if (key == 0) return text;
    if (modifiers & FCONTROL) std::strcat(text, command_texts::kCtrlPrefix);
    if (modifiers & FALT) std::strcat(text, command_texts::kAltPrefix);
    if (modifiers & FSHIFT) std::strcat(text, command_texts::kShiftPrefix);
    char name[32];
    KeyName(key, name, sizeof name);
    std::strncat(text, name, sizeof text - std::strlen(text) - 1);
    return text;
}

std::string CommandItemText(int kind, bool withKey) {
    std::string text = CommandText(kind);
    if (!withKey || kind < 1 || kind > AcceleratorTable::kSlots) return text;
    const AcceleratorTable& table = AcceleratorTable::Instance();
    const int slot = SlotOf(kind);
    if (table.Key(slot) == 0) return text;
    text += '\t';
    text += HotkeyText(table.Modifiers(slot), table.Key(slot));
    return text;
}
