// Fixed strings of the commands subsystem: menu.ini's sections and keys and
// the default popup titles. Stored files rely on every spelling here.
#pragma once

namespace menu_ini {
inline constexpr char kFileName[] = "menu.ini";
inline constexpr char kMainSection[] = "MAIN";
inline constexpr char kMainItemsKey[] = "MAIN MENU ITEM";
inline constexpr char kPopupTitleKeyFormat[] = "POPUP.%d";
inline constexpr char kTabSection[] = "TAB";
inline constexpr char kTabItemsKey[] = "TAB MENU ITEM";
inline constexpr char kHotkeySection[] = "HOTKEY";
inline constexpr char kDrawKey[] = "DRAW";
inline constexpr char kHookKey[] = "HOOK";
inline constexpr char kTrue[] = "true";
inline constexpr char kFalse[] = "false";

// Key texts of accelerators, in this order before the key's name.
inline constexpr char kCtrlPrefix[] = "Ctrl + ";
inline constexpr char kAltPrefix[] = "Alt + ";
inline constexpr char kShiftPrefix[] = "Shift + ";

// The hidden window that accelerator keys are translated against.
inline constexpr char kAcceleratorTargetClass[] = "panelry_accelerator_class";

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
// Strokes up, down, left, right: the file's letters and the ones shown.
inline constexpr char kFileUp[] = "U";
inline constexpr char kFileDown[] = "D";
inline constexpr char kFileLeft[] = "L";
inline constexpr char kFileRight[] = "R";
inline constexpr char kShownUp[] = "↑";
inline constexpr char kShownDown[] = "↓";
inline constexpr char kShownLeft[] = "←";
inline constexpr char kShownRight[] = "→";
// The key held during a gesture: "+16" in the file, "(Shift)" when shown.
inline constexpr char kFileHoldKeyFormat[] = "+%d";
inline constexpr char kShownLeftButton[] = "(左)";
inline constexpr char kShownRightButton[] = "(右)";
inline constexpr char kShownHoldKeyOpen[] = "(";
inline constexpr char kShownHoldKeyClose[] = ")";

inline constexpr char kDefaultTitle0[] = "タブ(&T)";
inline constexpr char kDefaultTitle1[] = "操作(&E)";
inline constexpr char kDefaultTitle2[] = "スタート(&S)";
inline constexpr char kDefaultTitle3[] = "追加(&A)";
}  // namespace menu_ini

// Texts of the menus themselves, beside the command table's.
namespace menu_text {
// Greyed in place of the window list when no window can be captured.
inline constexpr char kNoWindowToAdd[] = "追加可能なウィンドウはありません";
// Greyed in place of the tool list when no plug-in could be listed.
inline constexpr char kNoToolRegistered[] = "有効なツールが登録されていません";
}  // namespace menu_text
