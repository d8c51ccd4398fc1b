// Starting a program from a test. Wine now and then loses a new process
// while its loader is still setting it up, before a line of the program
// runs; the start then fails with ERROR_INTERNAL_ERROR. Such a start is made
// again, a few times, so that a test fails only for what it tests.
#pragma once

#include "base/handles.h"

#include <windows.h>

#include <string>

namespace testing_support {

struct StartedProcess {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD processId = 0;
    DWORD error = 0;  // GetLastError of the last try when nothing started
    bool started = false;
    // Wine starts a Unix program (xdotool) without giving back a handle, so a
    // start is told by CreateProcess's answer, not by the handle.
    explicit operator bool() const { return started; }
};

// commandLine as CreateProcessA takes it, with flags and a working folder
// (null: this process's).
StartedProcess StartProcess(std::string commandLine, DWORD flags = 0,
                            const char* folder = nullptr);

}  // namespace testing_support
