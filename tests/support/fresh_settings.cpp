#include "tests/support/fresh_settings.h"

#include "app/settings_files.h"
#include "commands/menu_settings.h"
#include "settings/conditions.h"
#include "settings/system_data.h"

#include <cstring>

namespace testing_support {

void ResetSettingsState() {
    GetSystemData() = DefaultSystemData();
    GetMenuSettings() = DefaultMenuSettings();
    AddConditions().Reset();
    RemoveConditions().Reset();
    std::strcpy(ToolFolderName(), "tool");
}

}  // namespace testing_support
