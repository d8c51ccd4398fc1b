// Single instance, start-up order, message loop and the hook shutdown.
#include "app/entry.h"

#include "app/app_ids.h"
#include "app/main_window.h"
#include "app/rescue.h"
#include "base/base_ids.h"
#include "commands/accelerators.h"
#include "inputtap/inputtap.h"
#include "launcher/shortcut_window.h"
#include "plugins/host/tool_modules.h"
#include "tabs/pane.h"

bool ActivateRunningInstance() {
    HWND running = FindWindowA(base_ids::kMainClassName, nullptr);
    if (!running) return false;
    // Asynchronous: a plain ShowWindow waits for the other instance's
    // thread, forever when that instance hangs.
    if (IsIconic(running)) {
        ShowWindowAsync(running, SW_RESTORE);
    } else if (!IsWindowVisible(running)) {
        ShowWindowAsync(running, SW_SHOWNORMAL);  // it sits hidden in the notification area
    }
    // An open dialog of that instance comes forward rather than its main window.
    SetForegroundWindow(GetLastActivePopup(running));
    return true;
}

InstanceMark::InstanceMark()
    : mutex_(CreateMutexA(nullptr, FALSE, app_ids::kInstanceMutex)),
      takenBefore_(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {}

int RunMessageLoop() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (AcceleratorTable::Instance().Translate(MainWindow(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // Between two messages of this loop no tool's code is running: the
        // one place where a tool that left its slot may be freed.
        ReleaseRetiredTools();
    }
    return static_cast<int>(msg.wParam);
}

int RunPanelry(HINSTANCE instance) {
    if (ActivateRunningInstance()) return 0;
    // Another start may be on its way to its window: the one that made the
    // mark goes on, this one brings that window forward once it is there.
    const InstanceMark mark;
    if (mark.TakenBefore()) {
        const DWORD start = GetTickCount();
        while (!ActivateRunningInstance() && GetTickCount() - start < kRunningInstanceWaitMs) {
            Sleep(50);
        }
        return 0;
    }
    // Before anything can be captured (the start may capture windows) and
    // until every window has been given back.
    Rescue rescue;
    if (!cTab::Init(instance)) return -1;
    if (!cShortcutWnd::Init(instance)) return -1;
    if (!cMain::Init(instance)) return -1;
    rescue.Watch(MainWindow());
    const int code = RunMessageLoop();
    // The window watch is stopped both first and last.
    INPUTTAP_End();
    INPUTTAP_AccelEnd();
    INPUTTAP_MouseEnd();
    INPUTTAP_End();
    return code;
}
