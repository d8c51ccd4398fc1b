// Programs a test started through the shell (a launcher's click, a menu
// item): they are this process's children, and one left running would hold
// the test's output open and keep the test from ending.
#pragma once

#include <windows.h>

namespace testing_support {

// Ends every child process of this one except keep (a SampleApp the test
// still drives), and waits for each to go.
void EndLaunchedPrograms(DWORD keep = 0);

}  // namespace testing_support
