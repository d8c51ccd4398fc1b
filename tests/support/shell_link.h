// Shell shortcuts (.lnk) made by a test, as the shell's own "create shortcut"
// writes them.
#pragma once

#include <string>

namespace testing_support {

// Saves a shortcut at linkPath to target with arguments; whether it was saved.
bool SaveShellLink(const std::string& linkPath, const std::string& target,
                   const std::string& arguments = "");

}  // namespace testing_support
