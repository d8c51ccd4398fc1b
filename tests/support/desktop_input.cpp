#include "tests/support/desktop_input.h"

#include "tests/support/process_start.h"

namespace testing_support {

bool RunXdotool(const std::string& arguments) {
    return static_cast<bool>(StartProcess("/usr/bin/xdotool " + arguments));
}

DWORD FocusProcess() {
    const HWND foreground = GetForegroundWindow();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND focus = foreground;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) && info.hwndFocus) {
        focus = info.hwndFocus;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(focus, &process);
    return process;
}

void HoldKey(int key, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace testing_support
