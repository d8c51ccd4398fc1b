// What the plug-in tests share: the plug-in files the build made, and
// choosing a tool from a real tool list as a user would.
#pragma once

#include "base/command_kinds.h"
#include "base/handles.h"
#include "base/messages.h"
#include "commands/command_ids.h"
#include "commands/menu_settings.h"
#include "commands/tool_list_menu.h"
#include "plugins/host/host_ids.h"
#include "plugins/host/tool_slots.h"
#include "settings/profile_hex.h"
#include "settings/settings_ids.h"
#include "tests/support/temp_dir.h"

#include <windows.h>

#include <string>

namespace testing_support {

// A file the build put in folder beside this test program ("tool" for the
// delivered plug-ins, "testtools" for the suite's own).
inline std::string BuiltFile(const char* folder, const char* name) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string path(self);
    path.resize(path.find_last_of('\\'));
    return path + "\\" + folder + "\\" + name;
}

// A delivered tool (bin/tool/name) copied into the tool folder of the
// settings folder settingsDir and loaded into slot 0; whether it loaded.
inline bool InstallDeliveredTool(const std::string& settingsDir, const char* name) {
    const std::string folder = settingsDir + "\\tool";
    CreateDirectoryA(folder.c_str(), nullptr);
    return CopyFileA(BuiltFile("tool", name).c_str(), (folder + "\\" + name).c_str(), FALSE) &&
           ToolSlots()[0].Load(name);
}

// For a program started with its settings in settingsDir: a delivered tool
// in the tool folder, registered in slot 0, with the tool list as the menu
// bar's first (and only) popup, "tools". False when a file could not be
// written.
inline bool RegisterToolInMenuBar(const std::string& settingsDir, const char* tool) {
    const std::string folder = settingsDir + "\\" + settings_ids::kToolDirDefault;
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!CopyFileA(BuiltFile("tool", tool).c_str(), (folder + "\\" + tool).c_str(), FALSE)) {
        return false;
    }
    WriteFileText(settingsDir + "\\" + host_ids::kToolsIni,
                  std::string("[TOOL PLUGIN PATH]\r\nNo.0=") + tool + "\r\n");
    MenuSettings menus = DefaultMenuSettings();
    for (auto& popup : menus.mainMenuItems) popup[0] = kEndCode;
    menus.mainMenuItems[0][0] = kToolList;
    const std::string menuIni = settingsDir + "\\" + command_ids::kMenuIni;
    return profile_hex::WriteStruct(menuIni.c_str(), command_ids::kMainSection,
                                    command_ids::kMainItemsKey, menus.mainMenuItems,
                                    sizeof menus.mainMenuItems) &&
           WritePrivateProfileStringA(command_ids::kMainSection, "POPUP.0", "tools",
                                      menuIni.c_str());
}

// The tool list built into a menu, the item id highlighted in it, the menu
// gone, then the command carried out: the way a chosen menu item arrives.
inline void ChooseTool(HWND mainWindow, UINT id) {
    UniqueMenu menu(CreatePopupMenu());
    AppendToolList(menu.get());
    SendMessageA(mainWindow, WM_MENUSELECT, MAKEWPARAM(id, MF_STRING),
                 reinterpret_cast<LPARAM>(menu.get()));
    menu.reset();
    SendMessageA(mainWindow, PM_EXECCOMMAND, id, 0);
}

}  // namespace testing_support
