// Giving captured windows back when the program fails. A captured window is
// a child of ours: when our process ends it is destroyed with us, while its
// application runs on without it. So on every fatal failure (hardware
// exception, stack overflow, std::terminate, abort, a pure virtual call, an
// invalid-parameter report) a rescue thread started in advance gives every
// window in the rescue table back before the process ends with its original
// failure; and a watchdog gives them back when the user-interface thread has
// not answered for kHangMs, after which the program goes on without them.
//
// A process ended by force while it is healthy (TerminateProcess, the task
// manager) runs none of this: that cannot be caught.
#pragma once

#include "base/handles.h"

#include <windows.h>

class Rescue {
public:
    // Starts the rescue threads and installs the failure handlers, and keeps
    // kStackKeptForFailures of the calling (user-interface) thread's stack
    // for them. One at a time per process: a second object while one lives
    // does nothing.
    Rescue();
    // Stops the threads and puts the previous handlers back.
    ~Rescue();
    Rescue(const Rescue&) = delete;
    Rescue& operator=(const Rescue&) = delete;

    // Starts watching the thread of mainWindow for hangs; on a crash its
    // notification-area icon (id 1) is removed too. Once, after the main
    // window exists.
    void Watch(HWND mainWindow);

    // Silence of the user-interface thread that counts as a hang.
    static constexpr DWORD kHangMs = 10000;
    // How often the watchdog asks while the thread answers, and how long one
    // ask waits for the answer.
    static constexpr DWORD kAskEveryMs = 1000;
    static constexpr DWORD kAskTimeoutMs = 500;
    // How long a failing thread waits for the rescue before it lets the
    // process end anyway.
    static constexpr DWORD kFaultWaitMs = 10000;
    // What a stack overflow leaves of the stack for the handlers, which run
    // on it. The system's default is a page or two, less than a 64-bit
    // exception's dispatch takes on its way to them.
    static constexpr ULONG kStackKeptForFailures = 64 * 1024;

private:
    bool active_ = false;
    UniqueHandle stop_;
    UniqueHandle startRescue_;
    UniqueHandle startSpare_;
    UniqueHandle rescueDone_;
    UniqueHandle rescuer_;
    UniqueHandle spare_;
    UniqueHandle watchdog_;
};
