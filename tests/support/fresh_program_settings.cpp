#include "tests/support/fresh_program_settings.h"

#include "app/settings_files.h"
#include "commands/menu_settings.h"
#include "plugins/host/tool_slots.h"
#include "settings/settings_ids.h"

#include <cstring>

namespace testing_support {

void ResetProgramState() {
    ResetSettingsState();
    GetMenuSettings() = DefaultMenuSettings();
    std::strcpy(ToolFolderName(), settings_ids::kToolDirDefault);
    for (int slot = 0; slot < kToolSlotCount; ++slot) ToolSlots()[slot].Unload();
}

}  // namespace testing_support
