/* The tool plug-in interface of Panelry.
 *
 * A tool plug-in is a Windows DLL of Panelry's width (32-bit x86 for the
 * 32-bit Panelry, x64 for the 64-bit one; this header serves both) with the
 * extension ".ttl" in Panelry's tool folder (or a folder below it) that
 * exports these six functions, cdecl, under exactly these undecorated names
 * (x64 has one calling convention, which cdecl then names). Panelry calls them
 * on its user-interface thread; a DLL that lacks any one is not a plug-in.
 *
 *   pluginName, pluginCopyright  copy a fixed text into buffer (at most length
 *                                bytes, the rest padded with NULs, as strncpy)
 *                                and return buffer
 *   pluginVersion                major version in the high byte, minor in the
 *                                low one
 *   pluginIsMenuItemChecked      nonzero: the menu item carries a check mark
 *   pluginIsMenuItemEnable       0: the menu item is greyed
 *   pluginSelected               carries the tool out; 1 on success, 0 on failure
 *
 * windows holds count window handles (count >= 1), one per pane: the root
 * pane first, then each pane split off from the one before; each is the
 * window of the pane's selected tab, or null for a pane without tabs. It is
 * valid only during the call, and may be null (treat the list as empty).
 * mainWindow is Panelry's main window: a plug-in may own its dialogs with it,
 * open the clipboard with it, and send it PM_ADDWINDOW (wParam 0, lParam a
 * top-level window) to have that window captured; the reply is nonzero when
 * it was. */
#ifndef PANELRY_TOOL_PLUGIN_H
#define PANELRY_TOOL_PLUGIN_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Panelry itself has the message among its own; a plug-in gets it here. */
#ifndef PANELRY_PROGRAM
#define PM_ADDWINDOW (WM_USER + 3)
#endif

typedef char*(__cdecl* PluginNameFn)(char* buffer, int length);
typedef char*(__cdecl* PluginCopyrightFn)(char* buffer, int length);
typedef WORD(__cdecl* PluginVersionFn)(void);
typedef int(__cdecl* PluginQueryFn)(HWND* windows, int count, HWND mainWindow);

#ifdef PANELRY_TOOL_PLUGIN_BUILD
#define PANELRY_TOOL_EXPORT __declspec(dllexport)
#else
#define PANELRY_TOOL_EXPORT
#endif

PANELRY_TOOL_EXPORT char* __cdecl pluginName(char* buffer, int length);
PANELRY_TOOL_EXPORT char* __cdecl pluginCopyright(char* buffer, int length);
PANELRY_TOOL_EXPORT WORD __cdecl pluginVersion(void);
PANELRY_TOOL_EXPORT int __cdecl pluginIsMenuItemChecked(HWND* windows, int count,
                                                        HWND mainWindow);
PANELRY_TOOL_EXPORT int __cdecl pluginIsMenuItemEnable(HWND* windows, int count,
                                                       HWND mainWindow);
PANELRY_TOOL_EXPORT int __cdecl pluginSelected(HWND* windows, int count, HWND mainWindow);

#ifdef __cplusplus
}
#endif

#endif /* PANELRY_TOOL_PLUGIN_H */
