// The tool plug-in host: sixteen slots, each holding one loaded plug-in or
// nothing, the registration in tools.ini, and the window list handed to the
// plug-ins.
#pragma once

#include "base/handles.h"
#include "commands/tool_list_menu.h"

#define PANELRY_PROGRAM
#include "plugins/host/tool_plugin.h"

#include <windows.h>

#include <vector>

class cTab;

// The tool folder's name (TOOLDIR of system.ini), below the executable's
// folder; at most kToolFolderSize - 1 bytes.
inline constexpr int kToolFolderSize = 32;
char* ToolFolderName();
// The absolute tool folder: the executable's folder joined with the name.
std::string ToolFolderPath();

class ToolSlot {
public:
    static constexpr int kFileNameSize = 64;

    ToolSlot() = default;
    virtual ~ToolSlot() { Unload(); }
    ToolSlot(const ToolSlot&) = delete;
    ToolSlot& operator=(const ToolSlot&) = delete;

    // Loads fileName (relative to the tool folder); true when the DLL loaded
    // and exports all six functions, otherwise the slot is left empty.
    bool Load(const char* fileName);
    // Empties the slot. Its module goes to ReleaseToolModule: a tool that was
    // asked more than its texts may still be running or have windows open.
    void Unload();
    bool IsLoaded() const { return static_cast<bool>(module_); }
    const char* FileName() const { return fileName_; }

    // The plug-in's functions; 0 (texts: nothing done) for an empty slot.
    char* Name(char* buffer, int length) const;
    char* Copyright(char* buffer, int length) const;
    WORD Version() const;
    int Checked(HWND* windows, int count, HWND mainWindow) const;
    int Enabled(HWND* windows, int count, HWND mainWindow) const;
    int Selected(HWND* windows, int count, HWND mainWindow) const;

    // Key "No.n" of [TOOL PLUGIN PATH]: read and loaded (a failure leaves
    // the slot empty and says nothing), or written.
    void ReadFrom(const char* toolsIni, int n);
    void WriteTo(const char* toolsIni, int n) const;

private:
    UniqueModule module_;
    char fileName_[kFileNameSize] = "";
    PluginNameFn name_ = nullptr;
    PluginCopyrightFn copyright_ = nullptr;
    PluginVersionFn version_ = nullptr;
    PluginQueryFn checked_ = nullptr;
    PluginQueryFn enabled_ = nullptr;
    PluginQueryFn selected_ = nullptr;
    // Whether a check mark, the enable state or the tool itself was asked for.
    mutable bool ran_ = false;
};

// The process-wide slots, constructed at first use and freed at exit.
ToolSlot* ToolSlots();
inline constexpr int kToolSlotCount = 16;

// tools.ini: every slot read (when the file exists) or written.
void LoadToolSlots(const char* toolsIni);
void SaveToolSlots(const char* toolsIni);

// The window list of one call sequence: one handle per pane of the chain
// from root, the selected tab's window or null.
class ActiveWindowList {
public:
    explicit ActiveWindowList(const cTab& root);
    HWND* Windows() { return windows_.empty() ? nullptr : windows_.data(); }
    int Count() const { return static_cast<int>(windows_.size()); }

private:
    std::vector<HWND> windows_;
};

// The slots as the menus' tool list sees them, asked with the root pane's
// window list and the main window.
class ToolHost : public ToolMenuSource {
public:
    ToolHost(const cTab& root, HWND mainWindow) : root_(root), main_(mainWindow) {}
    bool Loaded(int slot) const override;
    std::string Name(int slot) const override;
    bool Checked(int slot) const override;
    bool Enabled(int slot) const override;
    void Run(int slot) override;

private:
    const cTab& root_;
    HWND main_;
};
