// A tool plug-in for the host's tests, built in several forms from this one
// source: TEST_TOOL_NAME names it; WITHOUT_COPYRIGHT or WITHOUT_SELECTED
// leaves one of the six functions out; FAULT_WHEN_SELECTED,
// LOOP_WHEN_SELECTED and FAULT_WHEN_ASKED make it fail as a plug-in beyond
// the program's control could; OPEN_WINDOW_WHEN_LOADED opens a window of
// class "PanelryToolWindow" in the program's process, as a tool's panel is. Besides the six it exports
// testToolAnswer, which sets what the menu queries answer, and
// testToolCalls, which tells how often pluginSelected ran and with what.
#define PANELRY_TOOL_PLUGIN_BUILD
#include "plugins/host/tool_plugin.h"

#include <cstring>

namespace {

int g_checked = 0;
int g_enabled = 1;
int g_selected = 0;
int g_lastCount = -1;
HWND g_lastFirst = nullptr;
HWND g_lastMain = nullptr;

}  // namespace

extern "C" {

char* __cdecl pluginName(char* buffer, int length) {
    std::strncpy(buffer, TEST_TOOL_NAME, static_cast<std::size_t>(length));
    return buffer;
}

#ifndef WITHOUT_COPYRIGHT
char* __cdecl pluginCopyright(char* buffer, int length) {
    std::strncpy(buffer, "test", static_cast<std::size_t>(length));
    return buffer;
}
#endif

WORD __cdecl pluginVersion(void) { return 0x0102; }

void Fault() {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

int __cdecl pluginIsMenuItemChecked(HWND*, int, HWND) {
#ifdef FAULT_WHEN_ASKED
    Fault();
#endif
    return g_checked;
}

int __cdecl pluginIsMenuItemEnable(HWND*, int, HWND) { return g_enabled; }

#ifndef WITHOUT_SELECTED
int __cdecl pluginSelected(HWND* windows, int count, HWND mainWindow) {
#ifdef FAULT_WHEN_SELECTED
    Fault();
#endif
#ifdef LOOP_WHEN_SELECTED
    for (volatile int forever = 1; forever;) {
    }
#endif
    ++g_selected;
    g_lastCount = count;
    g_lastFirst = windows && count > 0 ? windows[0] : nullptr;
    g_lastMain = mainWindow;
    return 1;
}
#endif

__declspec(dllexport) void __cdecl testToolAnswer(int checked, int enabled) {
    g_checked = checked;
    g_enabled = enabled;
}

__declspec(dllexport) int __cdecl testToolCalls(int* count, HWND* first, HWND* mainWindow) {
    *count = g_lastCount;
    *first = g_lastFirst;
    *mainWindow = g_lastMain;
    return g_selected;
}

}  // extern "C"

#ifdef OPEN_WINDOW_WHEN_LOADED
namespace {

HINSTANCE g_module;

// From the program's message loop, once it runs: not under the loader's lock.
void CALLBACK OpenToolWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = g_module;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "PanelryToolWindow";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, "tool window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60,
                    300, 200, nullptr, nullptr, g_module, nullptr);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
        SetTimer(nullptr, 0, 10, &OpenToolWindow);
    }
    return TRUE;
}
#endif
