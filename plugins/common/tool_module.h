// A delivered tool's own module and the one DllMain they all use: the
// module is what finds the files beside the tool and its resources.
// Compiled into each tool that needs them.
#pragma once

#include "plugins/common/tool_paths.h"

#include <windows.h>

#include <string>

// This tool's module, as its DllMain was given it; null before.
inline HMODULE g_self = nullptr;

// name with extension (none when null) in this tool's folder; empty when the
// folder is unknown.
inline std::string FileBesideTool(const char* name, const char* extension) {
    return PathBesideModule(g_self, name, extension);
}

// What each tool's DllMain does. No tool keeps anything per thread, so it
// asks for no thread notices. beforeUnload (may be null) runs when the tool
// is freed while the process goes on: whatever it keeps open that runs on
// its code (a window) must go first. When the process ends, it all goes
// without the tool.
inline BOOL ToolDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved,
                        void (*beforeUnload)()) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        DisableThreadLibraryCalls(instance);
    }
    if (reason == DLL_PROCESS_DETACH && !reserved && beforeUnload) beforeUnload();
    return TRUE;
}

#define PANELRY_TOOL_DLLMAIN(beforeUnload)                                            \
    extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) { \
        return ToolDllMain(instance, reason, reserved, beforeUnload);                 \
    }
