// Settings load and save, step by step in their fixed order.
#include "app/settings_files.h"

#include "app/module_path.h"
#include "commands/command_strings.h"
#include "commands/menu_settings.h"
#include "settings/settings_strings.h"
#include "settings/system_data.h"
#include "tabs/pane.h"
#include "tabs/split_bar.h"

#include <string>

char* ToolFolderName() {
    static char folder[kToolFolderSize] = "tool";
    return folder;
}

bool LoadAllSettings(WINDOWPLACEMENT* placement) {
    const std::string systemIni = ModuleFilePath(ini::kSystemIni);
    GetPrivateProfileStringA(ini::kSystemSection, ini::kToolDirKey, ini::kToolDirDefault,
                             ToolFolderName(), kToolFolderSize, systemIni.c_str());
    LoadMenuSettings(ModuleFilePath(menu_ini::kFileName));
    cSplitbar::LoadSettings(systemIni.c_str());
    return LoadSystemData(systemIni.c_str(), placement);
}

bool SaveAllSettings(HWND mainWindow) {
    SaveMenuSettings(ModuleFilePath(menu_ini::kFileName));
    const std::string systemIni = ModuleFilePath(ini::kSystemIni);
    WritePrivateProfileStringA(ini::kSystemSection, ini::kToolDirKey, ToolFolderName(),
                               systemIni.c_str());
    SaveSystemData(systemIni.c_str(), mainWindow);
    cSplitbar::SaveSettings(systemIni.c_str());
    RootPane().SaveSplitLayout(systemIni.c_str());
    return true;
}
