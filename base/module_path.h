// Paths beside the executable, where every settings file and the tool folder live.
#pragma once

// Joins the executable's drive and folder with fileName in one process-wide
// 260-byte buffer; the next call overwrites it, so a caller that keeps the
// path copies it.
const char* ModuleFilePath(const char* fileName);

// Tests point ModuleFilePath at a folder of their own for as long as the
// object lives, so no test touches the files of a real installation.
class ModuleFolderOverride {
public:
    explicit ModuleFolderOverride(const char* folder);
    ~ModuleFolderOverride();
    ModuleFolderOverride(const ModuleFolderOverride&) = delete;
    ModuleFolderOverride& operator=(const ModuleFolderOverride&) = delete;
};
