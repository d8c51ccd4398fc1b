// The real panelry.exe, copied with its hook library into a folder of the
// test's own, so that its settings files land there.
#pragma once

#include "base/handles.h"
#include "settings/settings_ids.h"
#include "tests/support/temp_dir.h"

#include <windows.h>

#include <string>

namespace testing_support {

class PanelryProcess {
public:
    PanelryProcess();  // copies the program; does not start it
    ~PanelryProcess();
    PanelryProcess(const PanelryProcess&) = delete;
    PanelryProcess& operator=(const PanelryProcess&) = delete;

    const TempDir& Dir() const { return dir_; }
    std::string SystemIni() const { return dir_.File(settings_ids::kSystemIni); }

    // Starts the program and waits for its main window (null if none came).
    HWND Start();
    // Starts another process of the same program, suspended if asked.
    struct Launched {
        UniqueHandle process;
        UniqueHandle thread;
        DWORD processId = 0;
    };
    Launched StartAnother(bool suspended = false) const;

    HWND MainWindow() const { return main_; }
    DWORD ProcessId() const { return processId_; }
    HANDLE Process() const { return process_.get(); }
    bool Running() const;

    // Posts WM_CLOSE and waits for the process to end; returns its exit code,
    // or -1000 when it did not end in time (it is then ended by force).
    int Close(DWORD timeoutMs = 15000);
    void Kill();

private:
    Launched Launch(DWORD flags) const;

    TempDir dir_;
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

// Waits for a process to end; its exit code, or -1000 on timeout.
int WaitForExit(HANDLE process, DWORD timeoutMs);

// The main window of a process of the program; null when it has none.
HWND MainWindowOf(DWORD processId);

}  // namespace testing_support
