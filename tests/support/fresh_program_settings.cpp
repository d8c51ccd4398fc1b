#include "tests/support/fresh_program_settings.h"

#include "app/settings_files.h"
#include "commands/menu_settings.h"
#include "settings/settings_ids.h"

#include <cstring>

namespace testing_support {

void ResetProgramState() {
    ResetSettingsState();
    GetMenuSettings() = DefaultMenuSettings();
    std::strcpy(ToolFolderName(), settings_ids::kToolDirDefault);
}

}  // namespace testing_support
