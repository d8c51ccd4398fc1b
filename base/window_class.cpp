// Window class registration and the check for windows of other programs.
#include "base/window_class.h"

#include "base/base_ids.h"

#include <cstring>

bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure,
                         HBRUSH background, HICON icon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool IsCapturableTopLevel(HWND window) {
    return window && IsWindowVisible(window) && IsTopLevelOfAnotherProgram(window);
}

bool IsTopLevelOfAnotherProgram(HWND window) {
    if (!IsWindow(window) || GetParent(window) || GetWindow(window, GW_OWNER)) return false;
    char className[256] = "";
    GetClassNameA(window, className, sizeof className);
    return _stricmp(className, base_ids::kMainClassName) != 0;
}
