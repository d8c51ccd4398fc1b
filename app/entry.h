// The program's start-up, message loop and shutdown, behind the thin WinMain.
#pragma once

#include "base/handles.h"

#include <windows.h>

// Brings an already running instance forward; true when there was one.
// Waits for nothing the instance does: a hung instance does not hold up the
// start that found it.
bool ActivateRunningInstance();

// The mark of the running instance: a named mutex created at the start and
// held until the end. A start that finds it taken waits at most
// kRunningInstanceWaitMs for the other instance's window, brings it forward
// and ends.
class InstanceMark {
public:
    InstanceMark();
    InstanceMark(const InstanceMark&) = delete;
    InstanceMark& operator=(const InstanceMark&) = delete;
    // True when another process made the mark first.
    bool TakenBefore() const { return takenBefore_; }

private:
    UniqueHandle mutex_;
    bool takenBefore_ = false;
};

inline constexpr DWORD kRunningInstanceWaitMs = 1500;

// The message loop; returns the WM_QUIT code.
int RunMessageLoop();

// The whole run: exit code 0 when another instance was found, -1 when the
// start failed, otherwise the WM_QUIT code.
int RunPanelry(HINSTANCE instance);
