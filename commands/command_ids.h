// Identifiers of the commands subsystem: menu.ini's sections, keys and value
// forms, and the class of the window keys are translated against. Stored
// files rely on every spelling here.
#pragma once

namespace command_ids {
inline constexpr char kMenuIni[] = "menu.ini";
// Delivered with the release: the menus of a first start, read only while
// menu.ini does not exist, and never written.
inline constexpr char kMenuDefaultIni[] = "menu.default.ini";
inline constexpr char kMainSection[] = "MAIN";
inline constexpr char kMainItemsKey[] = "MAIN MENU ITEM";
inline constexpr char kPopupTitleKeyFormat[] = "POPUP.%d";
// In the section "TAB", tab_ids::kLayoutSection.
inline constexpr char kTabItemsKey[] = "TAB MENU ITEM";
inline constexpr char kHotkeySection[] = "HOTKEY";
inline constexpr char kDrawKey[] = "DRAW";
inline constexpr char kHookKey[] = "HOOK";
inline constexpr char kTrue[] = "true";
inline constexpr char kFalse[] = "false";

// The hidden window that accelerator keys are translated against, and its
// property: the accelerator table that runs it.
inline constexpr char kAcceleratorTargetClass[] = "panelry_accelerator_class";
inline constexpr char kAcceleratorTargetProp[] = "panelry_accelerator_prop";

// Accelerator slots: one key per slot number ("0" to "20") in each section.
inline constexpr char kModifiersSection[] = "MODIFIERS";
inline constexpr char kVirtualKeySection[] = "VIRTUALKEY";
inline constexpr char kSlotKeyFormat[] = "%d";
inline constexpr char kSlotValueFormat[] = "%d";

// Mouse gestures: the thresholds and one "No%d" per command (1 to 21).
inline constexpr char kGestureSection[] = "MOUSEGESTURE";
inline constexpr char kBorderKey[] = "BORDER";
inline constexpr char kElapseKey[] = "ELAPSE";
inline constexpr char kGestureKeyFormat[] = "No%d";
inline constexpr char kBorderFormat[] = "%d";
inline constexpr char kElapseFormat[] = "%u";
// Strokes up, down, left, right as the file writes them, and the key held
// during a gesture ("+16").
inline constexpr char kFileUp[] = "U";
inline constexpr char kFileDown[] = "D";
inline constexpr char kFileLeft[] = "L";
inline constexpr char kFileRight[] = "R";
inline constexpr char kFileHoldKeyFormat[] = "+%d";
}  // namespace command_ids
