// Loading tool plug-ins into slots, tools.ini and the window list.
#include "plugins/host/tool_slots.h"

#include "base/module_path.h"
#include "plugins/host/host_ids.h"
#include "plugins/host/tool_modules.h"
#include "settings/settings_ids.h"
#include "tabs/pane.h"

#include <cstdio>
#include <string>

char* ToolFolderName() {
    static char name[kToolFolderSize] = "";
    static const bool initialised = [] {
        std::snprintf(name, sizeof name, "%s", settings_ids::kToolDirDefault);
        return true;
    }();
    (void)initialised;
    return name;
}

std::string ToolFolderPath() { return ModuleFilePath(ToolFolderName()); }

bool ToolSlot::Load(const char* fileName) {
    Unload();
    if (!fileName || !*fileName) return false;
    char path[MAX_PATH * 2] = "";
    std::snprintf(path, sizeof path, "%s\\%s", ToolFolderPath().c_str(), fileName);
    UniqueModule module(LoadLibraryA(path));
    if (!module) return false;
    auto find = [&](const char* name) { return GetProcAddress(module.get(), name); };
    name_ = reinterpret_cast<PluginNameFn>(find(host_ids::kNameExport));
    copyright_ = reinterpret_cast<PluginCopyrightFn>(find(host_ids::kCopyrightExport));
    version_ = reinterpret_cast<PluginVersionFn>(find(host_ids::kVersionExport));
    checked_ = reinterpret_cast<PluginQueryFn>(find(host_ids::kCheckedExport));
    enabled_ = reinterpret_cast<PluginQueryFn>(find(host_ids::kEnabledExport));
    selected_ = reinterpret_cast<PluginQueryFn>(find(host_ids::kSelectedExport));
    if (!name_ || !copyright_ || !version_ || !checked_ || !enabled_ || !selected_) {
        Unload();
        return false;  // module freed here
    }
    module_ = std::move(module);
    lstrcpynA(fileName_, fileName, kFileNameSize);
    return true;
}

void ToolSlot::Unload() {
    name_ = nullptr;
    copyright_ = nullptr;
    version_ = nullptr;
    checked_ = enabled_ = selected_ = nullptr;
    fileName_[0] = '\0';
    ReleaseToolModule(std::move(module_), ran_);
    ran_ = false;
}

char* ToolSlot::Name(char* buffer, int length) const {
    return name_ ? name_(buffer, length) : nullptr;
}

char* ToolSlot::Copyright(char* buffer, int length) const {
    return copyright_ ? copyright_(buffer, length) : nullptr;
}

WORD ToolSlot::Version() const { return version_ ? version_() : 0; }

int ToolSlot::Checked(HWND* windows, int count, HWND mainWindow) const {
    ran_ = true;
    return checked_ ? checked_(windows, count, mainWindow) : 0;
}

int ToolSlot::Enabled(HWND* windows, int count, HWND mainWindow) const {
    ran_ = true;
    return enabled_ ? enabled_(windows, count, mainWindow) : 0;
}

int ToolSlot::Selected(HWND* windows, int count, HWND mainWindow) const {
    ran_ = true;
    return selected_ ? selected_(windows, count, mainWindow) : 0;
}

void ToolSlot::ReadFrom(const char* toolsIni, int n) {
    Unload();
    char key[16];
    std::snprintf(key, sizeof key, host_ids::kSlotKeyFormat, n);
    char value[kFileNameSize] = "";
    GetPrivateProfileStringA(host_ids::kToolsSection, key, "", value, sizeof value, toolsIni);
    if (value[0]) Load(value);
}

void ToolSlot::WriteTo(const char* toolsIni, int n) const {
    char key[16];
    std::snprintf(key, sizeof key, host_ids::kSlotKeyFormat, n);
    WritePrivateProfileStringA(host_ids::kToolsSection, key, fileName_, toolsIni);
}

ToolSlot* ToolSlots() {
    // The list of kept modules is made first, so that it outlives the
    // slots, whose modules go to it when they are destroyed at exit.
    static const bool keptListFirst = KeptToolModules() >= 0;
    (void)keptListFirst;
    static ToolSlot slots[kToolSlotCount];
    return slots;
}

void LoadToolSlots(const char* toolsIni) {
    // Kept, since finding each plug-in's file may reuse the buffer the
    // caller's path lives in.
    const std::string ini(toolsIni);
    if (GetFileAttributesA(ini.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    for (int n = 0; n < kToolSlotCount; ++n) ToolSlots()[n].ReadFrom(ini.c_str(), n);
}

void SaveToolSlots(const char* toolsIni) {
    for (int n = 0; n < kToolSlotCount; ++n) ToolSlots()[n].WriteTo(toolsIni, n);
}

ActiveWindowList::ActiveWindowList(const cTab& root) {
    for (const cTab* pane = &root; pane; pane = pane->Child()) {
        const CapturedWindow* record = pane->RecordAt(pane->Selected());
        windows_.push_back(record ? record->Window() : nullptr);
    }
}

bool ToolHost::Loaded(int slot) const {
    return slot >= 0 && slot < kToolSlotCount && ToolSlots()[slot].IsLoaded();
}

std::string ToolHost::Name(int slot) const {
    char name[host_ids::kMenuNameSize] = "";
    if (Loaded(slot)) ToolSlots()[slot].Name(name, sizeof name);
    name[sizeof name - 1] = '\0';
    return name;
}

bool ToolHost::Checked(int slot) const {
    ActiveWindowList list(root_);
    return Loaded(slot) && ToolSlots()[slot].Checked(list.Windows(), list.Count(), main_) != 0;
}

bool ToolHost::Enabled(int slot) const {
    ActiveWindowList list(root_);
    return Loaded(slot) && ToolSlots()[slot].Enabled(list.Windows(), list.Count(), main_) != 0;
}

void ToolHost::Run(int slot) {
    if (!Loaded(slot)) return;
    ActiveWindowList list(root_);
    ToolSlots()[slot].Selected(list.Windows(), list.Count(), main_);
}
