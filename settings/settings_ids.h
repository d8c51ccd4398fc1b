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

// session.ini: the windows to bring back at the next start. The file is
// UTF-16, so its names are wide.
inline constexpr char kSessionIni[] = "session.ini";
inline constexpr wchar_t kSessionSection[] = L"SESSION";
inline constexpr wchar_t kRestoreKey[] = L"RESTORE";
inline constexpr wchar_t kCountKey[] = L"COUNT";
inline constexpr wchar_t kSessionLayoutSection[] = L"TAB";
inline constexpr wchar_t kSessionSplitRateKey[] = L"SPLITRATE";
inline constexpr wchar_t kWindowSectionPrefix[] = L"WINDOW";
inline constexpr wchar_t kWindowSectionFormat[] = L"WINDOW%d";
inline constexpr wchar_t kPaneKey[] = L"PANE";
inline constexpr wchar_t kProcessKey[] = L"PROCESS";
inline constexpr wchar_t kSelectedKey[] = L"SELECTED";
inline constexpr wchar_t kPathKey[] = L"PATH";
inline constexpr wchar_t kCommandLineKey[] = L"COMMANDLINE";
inline constexpr wchar_t kWindowClassKey[] = L"CLASS";
inline constexpr wchar_t kTitleKey[] = L"TITLE";
inline constexpr wchar_t kCheckKey[] = L"CHECK";
// An entry's check as it is written: eight upper-case hexadecimal digits.
inline constexpr wchar_t kCheckFormat[] = L"%08X";
}  // namespace settings_ids
