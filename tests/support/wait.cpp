#include "tests/support/wait.h"

namespace testing_support {

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (condition()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        // Wakes early for any message; the short cap also catches changes in
        // other processes, which send us nothing.
        const DWORD slice = timeoutMs - elapsed < 10 ? timeoutMs - elapsed : 10;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    WaitUntil([] { return false; }, ms);
}

}  // namespace testing_support
