// A test's own settings: the process-wide settings state back at its
// built-in values and ModuleFilePath pointed at a fresh temporary folder.
#pragma once

#include "app/module_path.h"
#include "tests/support/temp_dir.h"

namespace testing_support {

void ResetSettingsState();

class FreshSettings {
public:
    FreshSettings() : folderOverride_(dir_.Path().c_str()) { ResetSettingsState(); }
    ~FreshSettings() { ResetSettingsState(); }
    FreshSettings(const FreshSettings&) = delete;
    FreshSettings& operator=(const FreshSettings&) = delete;

    const TempDir& Dir() const { return dir_; }
    std::string SystemIni() const { return dir_.File("system.ini"); }

private:
    TempDir dir_;
    ModuleFolderOverride folderOverride_;
};

}  // namespace testing_support
