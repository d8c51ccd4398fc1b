// Paths the tools build: files beside a tool's own module (its settings,
// its snapshots) and the folder of a program's file; compiled into each tool
// that needs them. Paths are joined as strings: a tool may lie in a folder
// so deep that a file's name no longer fits a MAX_PATH buffer beside it, and
// whoever uses such a path refuses it rather than cut it or write past a
// buffer.
#pragma once

#include <windows.h>

#include <string>

// The drive and folder of path, with the closing backslash: everything up
// to the last separator. The trail byte of a double-byte character (表, ソ)
// may be 0x5C and is none.
inline std::string FolderOf(const char* path) {
    std::size_t end = 0;
    for (std::size_t i = 0; path[i]; ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && path[i + 1]) {
            ++i;
        } else if (path[i] == '\\' || path[i] == '/' || path[i] == ':') {
            end = i + 1;
        }
    }
    return std::string(path, end);
}

// The module's drive and folder with the closing backslash; empty when its
// file name cannot be had whole.
inline std::string ModuleFolder(HMODULE module) {
    char self[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(module, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    return FolderOf(self);
}

// name with extension (none when null) in the module's folder; empty when
// the folder is unknown.
inline std::string PathBesideModule(HMODULE module, const char* name, const char* extension) {
    const std::string folder = ModuleFolder(module);
    if (folder.empty()) return "";
    std::string path = folder + name;
    if (extension) path += std::string(".") + extension;
    return path;
}

// Whether the file functions of the code page take path: MAX_PATH
// characters with the terminator.
inline bool PathFits(const std::string& path) {
    return !path.empty() && path.size() < MAX_PATH;
}
