// Input as a user gives it, for tests: keys typed on the X server's keyboard
// with xdotool (Wine takes them like any other key, low-level hooks
// included, and unlike SendInput's they survive a change of the foreground
// window), and which process has the keyboard focus.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// Starts "xdotool <arguments>" (Wine runs Unix programs too) and returns at
// once: a Unix process has no Windows handle to wait on, so callers wait for
// the keys' effect. False when it could not be started.
bool RunXdotool(const std::string& arguments);

// The process whose window has the keyboard focus (the foreground window's
// process when its thread names no focus).
DWORD FocusProcess();

// Sets the key state this thread's GetKeyState reads, as if key were held
// (down) or not; no input is sent.
void HoldKey(int key, bool down);

}  // namespace testing_support
