// A test's own settings: the process-wide settings state back at its
// built-in values and ModuleFilePath pointed at a fresh temporary folder.
// FreshSettings resets what the settings layer keeps; tests of the program
// above it use FreshProgramSettings (fresh_program_settings.h), which resets
// the state of every layer.
#pragma once

#include "base/module_path.h"
#include "settings/settings_ids.h"
#include "tests/support/temp_dir.h"

namespace testing_support {

// The settings record and both condition sets at their built-in values.
void ResetSettingsState();

class FreshSettings {
public:
    FreshSettings() : FreshSettings(&ResetSettingsState) {}
    ~FreshSettings() { reset_(); }
    FreshSettings(const FreshSettings&) = delete;
    FreshSettings& operator=(const FreshSettings&) = delete;

    const TempDir& Dir() const { return dir_; }
    std::string SystemIni() const { return dir_.File(settings_ids::kSystemIni); }

protected:
    using Reset = void (*)();
    explicit FreshSettings(Reset reset) : folderOverride_(dir_.Path().c_str()), reset_(reset) {
        reset_();
    }

private:
    TempDir dir_;
    ModuleFolderOverride folderOverride_;
    Reset reset_;
};

}  // namespace testing_support
