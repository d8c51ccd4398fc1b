#include "tests/support/fresh_settings.h"

#include "settings/conditions.h"
#include "settings/system_data.h"

namespace testing_support {

void ResetSettingsState() {
    GetSystemData() = DefaultSystemData();
    AddConditions().Reset();
    RemoveConditions().Reset();
}

}  // namespace testing_support
