// Keys typed on the X server's keyboard with xdotool, as a user would type
// them: Wine takes them like any other key, low-level hooks included, and
// unlike SendInput's they survive a change of the foreground window.
#pragma once

#include <string>

namespace testing_support {

// Starts "xdotool <arguments>" (Wine runs Unix programs too) and returns at
// once: a Unix process has no Windows handle to wait on, so callers wait for
// the keys' effect. False when it could not be started.
bool RunXdotool(const std::string& arguments);

}  // namespace testing_support
