// Command ids: the low five bits are the kind; list entries number their
// items above the kind (id = number * 32 + kind) and keep the target in the
// menu item's data.
#pragma once

#include <cstdint>

enum CommandKind : int {
    kSelectPrevTab = 1,
    kSelectNextTab = 2,
    kAddAllWindows = 3,
    kWatchOn = 4,
    kWatchOff = 5,
    kReleaseTab = 6,
    kMinimizeTab = 7,
    kCloseTab = 8,
    kReleaseAllTabs = 9,
    kMinimizeAllTabs = 10,
    kCloseAllTabs = 11,
    kReleaseLeftTabs = 12,
    kMinimizeLeftTabs = 13,
    kCloseLeftTabs = 14,
    kReleaseRightTabs = 15,
    kMinimizeRightTabs = 16,
    kCloseRightTabs = 17,
    kUnsplit = 18,
    kSplitLeftRight = 19,
    kSplitTopBottom = 20,
    kSettings = 21,
    kWindowList = 22,
    kToolList = 23,
    kStartMenuList = 24,
    kShortcutList = 25,
};

inline constexpr int kCommandKindCount = 25;
// Kinds 1 to 21 are single commands; each can have a key and a gesture.
inline constexpr int kBuiltInCommandCount = kSettings;
// The key and gesture tables keep one slot per single command, in kind order.
inline constexpr int SlotOf(int kind) { return kind - 1; }
inline constexpr int KindOfSlot(int slot) { return slot + 1; }

inline constexpr int CommandKindOf(unsigned id) { return static_cast<int>(id & 0x1F); }
inline constexpr unsigned ListCommandId(unsigned number, CommandKind kind) {
    return number << 5 | static_cast<unsigned>(kind);
}

