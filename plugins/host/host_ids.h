// The fixed names of the plug-in host: the six exports, tools.ini's section
// and keys, the plug-in files' extension.
#pragma once

namespace host_ids {

inline constexpr char kNameExport[] = "pluginName";
inline constexpr char kCopyrightExport[] = "pluginCopyright";
inline constexpr char kVersionExport[] = "pluginVersion";
inline constexpr char kCheckedExport[] = "pluginIsMenuItemChecked";
inline constexpr char kEnabledExport[] = "pluginIsMenuItemEnable";
inline constexpr char kSelectedExport[] = "pluginSelected";

inline constexpr char kToolsIni[] = "tools.ini";
inline constexpr char kToolsSection[] = "TOOL PLUGIN PATH";
inline constexpr char kSlotKeyFormat[] = "No.%d";
inline constexpr char kToolExtension[] = ".ttl";

// The buffer the menu asks a plug-in's name with.
inline constexpr int kMenuNameSize = 256;

}  // namespace host_ids
