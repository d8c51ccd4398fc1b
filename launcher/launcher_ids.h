// The launcher's fixed names: the window classes and properties of the
// launcher icons and the shortcut window, and shortcut.ini, where the
// window's 16 entries live. Stored files and other programs rely on them.
#pragma once

namespace launcher_ids {

inline constexpr char kAppIconClass[] = "quill_appicon_class";
inline constexpr char kAppIconProp[] = "quill_appicon_prop";
inline constexpr char kShortcutClass[] = "panelry_shortcut_wnd_class";
inline constexpr char kShortcutProp[] = "panelry_shortcut_wnd_prop";
inline constexpr char kShortcutIni[] = "shortcut.ini";
inline constexpr char kShortcutSection[] = "SHORTCUT PATH";
inline constexpr char kSlotKeyFormat[] = "No.%d";

}  // namespace launcher_ids
