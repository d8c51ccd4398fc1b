// The one-shot capture of a launched program's window.
#include "launcher/launch_capture.h"

#include "base/handles.h"
#include "inputtap/inputtap.h"
#include "settings/system_data.h"

#include <tlhelp32.h>

namespace {

// Whether process is ancestor or was started by it (a program may start
// through a stub that starts the real one). A few generations are enough.
bool StartedBy(DWORD process, DWORD ancestor) {
    if (process == ancestor) return true;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return false;
    constexpr int kGenerations = 4;
    for (int generation = 0; generation < kGenerations && process; ++generation) {
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        DWORD parent = 0;
        for (BOOL more = Process32First(snapshot.get(), &entry); more;
             more = Process32Next(snapshot.get(), &entry)) {
            if (entry.th32ProcessID == process) {
                parent = entry.th32ParentProcessID;
                break;
            }
        }
        if (parent == ancestor) return true;
        process = parent;
    }
    return false;
}

}  // namespace

LaunchedWindowCapture& TheLaunchedWindowCapture() {
    static LaunchedWindowCapture capture;
    return capture;
}

void LaunchedWindowCapture::Arm() {
    if (!armed_) {
        if (!GetSystemData().addLaunchedWindows || INPUTTAP_IsAttached() || !INPUTTAP_Start()) {
            return;
        }
        armed_ = true;
    }
    processId_ = 0;
    StopTimer();
    timer_ = SetTimer(nullptr, 0, kGiveUpMs, &LaunchedWindowCapture::GiveUp);
}

void LaunchedWindowCapture::Finished(bool started, DWORD processId) {
    if (!armed_) return;
    if (!started) {
        Disarm();
        return;
    }
    processId_ = processId;
}

bool LaunchedWindowCapture::Awaits(HWND window) const {
    if (!armed_ || !window || GetWindow(window, GW_OWNER)) return false;
    if (!processId_) return true;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process && StartedBy(process, processId_);
}

bool LaunchedWindowCapture::Consume(HWND window) {
    if (!Awaits(window)) return false;
    Disarm();
    return true;
}

void LaunchedWindowCapture::Disarm() {
    if (!armed_) return;
    INPUTTAP_End();
    Forget();
}

void LaunchedWindowCapture::Forget() {
    armed_ = false;
    processId_ = 0;
    StopTimer();
}

void LaunchedWindowCapture::StopTimer() {
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
}

void CALLBACK LaunchedWindowCapture::GiveUp(HWND, UINT, UINT_PTR, DWORD) {
    TheLaunchedWindowCapture().Disarm();
}
