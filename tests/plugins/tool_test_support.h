// What the plug-in tests share: the plug-in files the build made, and
// choosing a tool from a real tool list as a user would.
#pragma once

#include "base/handles.h"
#include "base/messages.h"
#include "commands/tool_list_menu.h"
#include "plugins/host/tool_slots.h"

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
