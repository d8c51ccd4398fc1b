// FreshSettings for tests of the whole program: besides the settings layer's
// state, the menu model and the tool folder go back to their built-in values.
#pragma once

#include "tests/support/fresh_settings.h"

namespace testing_support {

// ResetSettingsState, the menu model, the tool folder and the tool slots.
void ResetProgramState();

class FreshProgramSettings : public FreshSettings {
public:
    FreshProgramSettings() : FreshSettings(&ResetProgramState) {}
};

}  // namespace testing_support
