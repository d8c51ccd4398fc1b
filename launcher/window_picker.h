// The window picker: a modal dialog where the user types a window class
// name or takes it from one of the windows on the desktop, listed by title
// and class. The class-name pages of the settings dialog open it to add a
// name to their list.
#pragma once

#include <windows.h>

// The longest class name the picker hands back, without its terminator.
inline constexpr int kPickedClassLength = 255;

// Runs the picker from instance's template, owned by owner. OK gives the
// class name in one process-wide buffer (it may be empty) that the next
// picker overwrites; CANCEL and the close box give null.
const char* PickWindowClass(HWND owner, HINSTANCE instance);
