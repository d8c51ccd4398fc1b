// The tool list: the plug-in slots as menu items, and running the chosen one.
#include "commands/tool_list_menu.h"

#include "base/command_kinds.h"
#include "commands/command_texts.h"

namespace {

ToolMenuSource*& Source() {
    static ToolMenuSource* source = nullptr;
    return source;
}

bool InsertTool(HMENU menu, const ToolMenuSource& source, int slot) {
    std::string name = source.Name(slot);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA;
    info.fType = MFT_STRING;
    info.fState = (source.Checked(slot) ? MFS_CHECKED : 0u) |
                  (source.Enabled(slot) ? 0u : MFS_GRAYED);
    info.wID = ListCommandId(static_cast<unsigned>(slot), kToolList);
    info.dwItemData = static_cast<ULONG_PTR>(slot);
    info.dwTypeData = name.data();
    const UINT end = static_cast<UINT>(GetMenuItemCount(menu));
    return InsertMenuItemA(menu, end, TRUE, &info) != FALSE;
}

}  // namespace

void SetToolMenuSource(ToolMenuSource* source) { Source() = source; }

void AppendToolList(HMENU menu) {
    int inserted = 0;
    if (const ToolMenuSource* source = Source()) {
        for (int slot = 0; slot < ToolMenuSource::kSlots; ++slot) {
            if (source->Loaded(slot) && InsertTool(menu, *source, slot)) ++inserted;
        }
    }
    if (inserted == 0) {
        AppendMenuA(menu, MF_STRING | MF_GRAYED, kToolList, command_texts::kNoToolRegistered);
    }
}

bool RunListedTool(const MenuContext&, const MenuListItem& item) {
    ToolMenuSource* source = Source();
    if (!source || item.data >= static_cast<ULONG_PTR>(ToolMenuSource::kSlots)) return false;
    const int slot = static_cast<int>(item.data);
    if (!source->Loaded(slot)) return false;
    source->Run(slot);
    return true;
}
