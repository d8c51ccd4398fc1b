// The tool list of the menus (kind 23): one item per plug-in slot that holds
// a loaded tool, checked and enabled as the tool says; choosing one runs it.
// The plug-in host supplies the slots through ToolMenuSource; while none is
// set the list shows only its greyed placeholder.
#pragma once

#include "commands/menus.h"

#include <windows.h>

#include <string>

class ToolMenuSource {
public:
    static constexpr int kSlots = 16;

    virtual ~ToolMenuSource() = default;
    // Whether slot (0 to kSlots - 1) holds a loaded plug-in.
    virtual bool Loaded(int slot) const = 0;
    // The plug-in's name, asked for with a 256-byte buffer.
    virtual std::string Name(int slot) const = 0;
    // pluginIsMenuItemChecked and pluginIsMenuItemEnable, asked with the
    // active window list and the main window.
    virtual bool Checked(int slot) const = 0;
    virtual bool Enabled(int slot) const = 0;
    // pluginSelected with a freshly built active window list and the main
    // window.
    virtual void Run(int slot) = 0;
};

// The source the tool list asks from now on; null for none. Not owned.
void SetToolMenuSource(ToolMenuSource* source);

// Items id slot * 32 + 23 and data the slot, or the greyed placeholder with
// id 23 when no item could be inserted.
void AppendToolList(HMENU menu);
// Runs the slot in the item's data; false when it holds no loaded plug-in.
bool RunListedTool(const MenuContext& context, const MenuListItem& item);
