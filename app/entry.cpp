// Single instance, start-up order, message loop and the hook shutdown.
#include "app/entry.h"

#include "app/main_window.h"
#include "app/rescue.h"
#include "base/base_ids.h"
#include "commands/accelerators.h"
#include "inputtap/inputtap.h"
#include "tabs/pane.h"

bool ActivateRunningInstance() {
    HWND running = FindWindowA(base_ids::kMainClassName, nullptr);
    if (!running) return false;
    if (IsIconic(running)) {
        ShowWindow(running, SW_RESTORE);
    } else if (!IsWindowVisible(running)) {
        ShowWindow(running, SW_SHOWNORMAL);  // it sits hidden in the notification area
    }
    // An open dialog of that instance comes forward rather than its main window.
    SetForegroundWindow(GetLastActivePopup(running));
    return true;
}

int RunMessageLoop() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!AcceleratorTable::Instance().Translate(MainWindow(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int RunPanelry(HINSTANCE instance) {
    if (ActivateRunningInstance()) return 0;
    // Before anything can be captured (the start may capture windows) and
    // until every window has been given back.
    Rescue rescue;
    if (!cTab::Init(instance)) return -1;
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
