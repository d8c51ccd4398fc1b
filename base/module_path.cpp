// ModuleFilePath and its test override.
#include "base/module_path.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

char g_path[MAX_PATH];
char g_overrideFolder[MAX_PATH];  // empty: the executable's folder

}  // namespace

const char* ModuleFilePath(const char* fileName) {
    char drive[_MAX_DRIVE] = "";
    char folder[_MAX_DIR] = "";
    if (*g_overrideFolder) {
        std::snprintf(folder, sizeof folder, "%s\\", g_overrideFolder);
    } else {
        char module[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, module, MAX_PATH);
        _splitpath(module, drive, folder, nullptr, nullptr);
    }
    std::snprintf(g_path, sizeof g_path, "%s%s%s", drive, folder, fileName);
    return g_path;
}

ModuleFolderOverride::ModuleFolderOverride(const char* folder) {
    std::snprintf(g_overrideFolder, sizeof g_overrideFolder, "%s", folder);
}

ModuleFolderOverride::~ModuleFolderOverride() { g_overrideFolder[0] = '\0'; }
