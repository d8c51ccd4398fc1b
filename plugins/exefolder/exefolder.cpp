// The executable-folder tool: opens in the shell the folder of the program
// whose window is active in each pane. Launches as the program does: the
// shell launch is compiled in from the launcher's source.
#define PANELRY_TOOL_PLUGIN_BUILD
#include "plugins/host/tool_plugin.h"

#include "base/handles.h"
#include "launcher/shell_launch.h"
#include "plugins/common/tool_basics.h"
#include "plugins/common/tool_paths.h"
#include "plugins/exefolder/exefolder_texts.h"

#include <tlhelp32.h>

#include <cstring>

namespace {

using namespace exefolder_texts;

using QueryFullProcessImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

template <typename Fn>
Fn Find(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Since Vista the system names any process's file, of either width, to
// whoever may merely query it; PSAPI's module list cannot reach a 64-bit
// process from a 32-bit one, nor an elevated one.
bool ImagePathAsked(DWORD processId, char* path, DWORD size) {
    const auto query = Find<QueryFullProcessImageNameFn>(GetModuleHandleA(kKernel32),
                                                         kQueryFullProcessImageName);
    if (!query) return false;
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return false;
    DWORD length = size;
    return query(process.get(), 0, path, &length) != FALSE;
}

bool ImagePathNt(HWND window, char* path, DWORD size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (ImagePathAsked(processId, path, size)) return true;
    const UniqueModule psapi(LoadLibraryA(kPsapi));
    if (!psapi) {
        MessageBoxA(window, kPsapiMissing, kErrorCaption, MB_ICONERROR);
        return false;
    }
    const auto enumModules = Find<EnumProcessModulesFn>(psapi.get(), kEnumProcessModules);
    const auto moduleFileName = Find<GetModuleFileNameExFn>(psapi.get(), kGetModuleFileNameEx);
    if (!enumModules || !moduleFileName) return false;
    const UniqueHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return false;
    HMODULE first = nullptr;
    DWORD needed = 0;
    return enumModules(process.get(), &first, sizeof first, &needed) &&
           moduleFileName(process.get(), first, path, size) != 0;
}

bool ImagePath95(HWND window, char* path, DWORD size) {
    using SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
    using WalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
    HMODULE kernel = GetModuleHandleA(kKernel32);
    const auto snapshot = Find<SnapshotFn>(kernel, kCreateToolhelp32Snapshot);
    const auto first = Find<WalkFn>(kernel, kProcess32First);
    const auto next = Find<WalkFn>(kernel, kProcess32Next);
    if (!snapshot || !first || !next) return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const UniqueSnapshot all(snapshot(TH32CS_SNAPPROCESS, 0));
    if (!all) return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = first(all.get(), &entry); more; more = next(all.get(), &entry)) {
        if (entry.th32ProcessID != processId) continue;
        lstrcpynA(path, entry.szExeFile, static_cast<int>(size));
        return true;
    }
    return false;
}

// The full path of the executable of the process that owns window.
bool GetProcessImagePath(HWND window, char* path, DWORD size) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return ImagePathNt(window, path, size);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return ImagePath95(window, path, size);
    return false;
}

}  // namespace

PANELRY_TOOL_BASICS(exefolder_texts::kName, exefolder_texts::kMaker)

extern "C" {

int __cdecl pluginIsMenuItemEnable(HWND* windows, int count, HWND) {
    return AnyWindowGiven(windows, count) ? 1 : 0;
}

int __cdecl pluginSelected(HWND* windows, int count, HWND mainWindow) {
    if (!windows) return 0;
    for (int i = 0; i < count; ++i) {
        if (!windows[i]) continue;
        char path[MAX_PATH] = "";
        if (!GetProcessImagePath(windows[i], path, MAX_PATH)) return 0;
        if (!ShellLaunch(mainWindow, FolderOf(path).c_str())) return 0;
    }
    return 1;
}

}  // extern "C"
