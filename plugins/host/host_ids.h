// The fixed names of the plug-in host: the six exports, tools.ini (and the
// delivered tools.default.ini), its section and keys, the plug-in files'
// extension.
#pragma once

namespace host_ids {

inline constexpr char kNameExport[] = "pluginName";
inline constexpr char kCopyrightExport[] = "pluginCopyright";
inline constexpr char kVersionExport[] = "pluginVersion";
inline constexpr char kCheckedExport[] = "pluginIsMenuItemChecked";
inline constexpr char kEnabledExport[] = "pluginIsMenuItemEnable";
inline constexpr char kSelectedExport[] = "pluginSelected";

inline constexpr char kToolsIni[] = "tools.ini";
// The tools delivered with the program, registered in the same form. It is
// read only while no tools.ini exists and never written: a release unpacked
// over an older folder may replace it without touching the user's own file.
inline constexpr char kToolsDefaultIni[] = "tools.default.ini";
inline constexpr char kToolsSection[] = "TOOL PLUGIN PATH";
inline constexpr char kSlotKeyFormat[] = "No.%d";
inline constexpr char kToolExtension[] = ".ttl";

// The buffer the menu asks a plug-in's name with.
inline constexpr int kMenuNameSize = 256;

}  // namespace host_ids
