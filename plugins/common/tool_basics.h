// What the delivered tools answer alike, compiled into each of them: the
// name and maker texts (strncpy's way), version 1.0, and (but for a tool
// whose item shows whether its window is open) never checked; and whether
// the window list holds any window.
#pragma once

#include "plugins/host/tool_plugin.h"

#include <cstring>

#define PANELRY_TOOL_TEXTS(name, maker)                                               \
    extern "C" {                                                                      \
    char* __cdecl pluginName(char* buffer, int length) {                              \
        std::strncpy(buffer, name, static_cast<std::size_t>(length));                 \
        return buffer;                                                                \
    }                                                                                 \
    char* __cdecl pluginCopyright(char* buffer, int length) {                         \
        std::strncpy(buffer, maker, static_cast<std::size_t>(length));                \
        return buffer;                                                                \
    }                                                                                 \
    WORD __cdecl pluginVersion(void) { return 0x0100; }                               \
    }

// The texts and version, and a menu item that is never checked.
#define PANELRY_TOOL_BASICS(name, maker)                                              \
    PANELRY_TOOL_TEXTS(name, maker)                                                   \
    extern "C" int __cdecl pluginIsMenuItemChecked(HWND*, int, HWND) { return 0; }

// Whether windows holds at least one window among its first count entries.
inline bool AnyWindowGiven(HWND* windows, int count) {
    if (!windows) return false;
    for (int i = 0; i < count; ++i) {
        if (windows[i]) return true;
    }
    return false;
}
