// The executable-folder tool's fixed strings: its name and maker, its error
// message, and the names of the system's libraries and functions it looks
// up (each may be missing on an old system).
#pragma once

namespace exefolder_texts {

inline constexpr char kName[] = "実行ファイルのフォルダを開く";
inline constexpr char kMaker[] = "Panelry";

inline constexpr char kPsapiMissing[] = "PSAPI.DLL が見つかりません.";
inline constexpr char kErrorCaption[] = "Error";

inline constexpr char kKernel32[] = "kernel32.dll";
inline constexpr char kQueryFullProcessImageName[] = "QueryFullProcessImageNameA";
inline constexpr char kCreateToolhelp32Snapshot[] = "CreateToolhelp32Snapshot";
inline constexpr char kProcess32First[] = "Process32First";
inline constexpr char kProcess32Next[] = "Process32Next";

inline constexpr char kPsapi[] = "PSAPI.DLL";
inline constexpr char kEnumProcessModules[] = "EnumProcessModules";
inline constexpr char kGetModuleFileNameEx[] = "GetModuleFileNameExA";

}  // namespace exefolder_texts
