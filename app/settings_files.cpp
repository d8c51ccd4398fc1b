// Settings load and save, step by step in their fixed order.
#include "app/settings_files.h"

#include "base/module_path.h"
#include "commands/command_ids.h"
#include "commands/menu_settings.h"
#include "plugins/host/host_ids.h"
#include "settings/profile_text.h"
#include "settings/session_file.h"
#include "settings/settings_ids.h"
#include "settings/system_data.h"
#include "tabs/pane.h"
#include "tabs/split_bar.h"

#include <cstdio>
#include <string>

bool LoadAllSettings(WINDOWPLACEMENT* placement) {
    const std::string systemIni = ModuleFilePath(settings_ids::kSystemIni);
    ReadProfileText(systemIni.c_str(), settings_ids::kSystemSection, settings_ids::kToolDirKey,
                    settings_ids::kToolDirDefault, ToolFolderName(), kToolFolderSize);
    // Until the first close writes the user's own menu.ini, the menus come
    // from the one the release brings along, which adds the tool list.
    const std::string menuIni = ModuleFilePath(command_ids::kMenuIni);
    LoadMenuSettings(menuIni.c_str(), ModuleFilePath(command_ids::kMenuDefaultIni));
    // The registered tools, looked for in the folder just read. Until the
    // first close writes the user's own tools.ini, the delivered tools
    // register from the file the release brings along.
    const std::string toolsIni = ModuleFilePath(host_ids::kToolsIni);
    const bool ownTools = GetFileAttributesA(toolsIni.c_str()) != INVALID_FILE_ATTRIBUTES;
    LoadToolSlots(ownTools ? toolsIni.c_str() : ModuleFilePath(host_ids::kToolsDefaultIni));
    cSplitbar::LoadSettings(systemIni.c_str());
    LoadRestoreSessionOption(ModuleFilePath(settings_ids::kSessionIni));
    return LoadSystemData(systemIni.c_str(), placement);
}

bool SaveAllSettings(HWND mainWindow) {
    SaveMenuSettings(ModuleFilePath(command_ids::kMenuIni));
    SaveToolSlots(ModuleFilePath(host_ids::kToolsIni));
    const std::string systemIni = ModuleFilePath(settings_ids::kSystemIni);
    WritePrivateProfileStringA(settings_ids::kSystemSection, settings_ids::kToolDirKey,
                               ToolFolderName(), systemIni.c_str());
    SaveSystemData(systemIni.c_str(), mainWindow);
    cSplitbar::SaveSettings(systemIni.c_str());
    RootPane().SaveSplitLayout(systemIni.c_str());
    return true;
}
