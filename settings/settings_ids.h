// Identifiers of the settings subsystem: the sections and keys of system.ini
// and the fixed class names the window conditions know. Stored files rely on
// every spelling here.
#pragma once

namespace settings_ids {
inline constexpr char kSystemIni[] = "system.ini";

inline constexpr char kSystemSection[] = "SYSTEMDATA";
inline constexpr char kToolDirKey[] = "TOOLDIR";
inline constexpr char kToolDirDefault[] = "tool";
inline constexpr char kStructKey[] = "STRUCT";
inline constexpr char kPlacementKey[] = "PLACEMENT";

inline constexpr char kAddConditionSection[] = "ADDWNDCONDITION";
inline constexpr char kRemoveConditionSection[] = "REMOVEWNDCONDITION";
inline constexpr char kStyleFlagKey[] = "STYLEFLAG";
inline constexpr char kStyleKey[] = "STYLE";
inline constexpr char kClassFlagKey[] = "CLASSFLAG";
inline constexpr char kSizeKey[] = "SIZE";
inline constexpr char kClassKeyFormat[] = "CLASS%d";
// How a flag of the file is written.
inline constexpr char kFlagOn[] = "1";
inline constexpr char kFlagOff[] = "0";

// Removed by default on a first start. "IDEOQwner" (sic) is what stored files
// hold; it is not the same name as the fixed exclusion below.
inline constexpr char kDefaultRemoveClass1[] = "Progman";
inline constexpr char kDefaultRemoveClass2[] = "IDEOQwner";
// Never captured automatically, whatever the conditions say.
inline constexpr char kExcludedClass[] = "IDEOwner";
}  // namespace settings_ids
