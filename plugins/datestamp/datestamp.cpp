// The date stamp tool: today's date as text on the clipboard, to paste into
// any captured application. No settings, no files, no window.
#define PANELRY_TOOL_PLUGIN_BUILD
#include "plugins/host/tool_plugin.h"

#include "plugins/common/tool_basics.h"
#include "plugins/datestamp/date_text.h"
#include "plugins/datestamp/datestamp_texts.h"

#include <cstring>

PANELRY_TOOL_BASICS(datestamp_texts::kName, datestamp_texts::kMaker)

extern "C" {

int __cdecl pluginIsMenuItemEnable(HWND*, int, HWND) { return 1; }

int __cdecl pluginSelected(HWND*, int, HWND mainWindow) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[kDateTextSize];
    FormatDateText(now, text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kDateTextSize);
    if (!memory) return 0;
    if (void* locked = GlobalLock(memory)) {
        std::memcpy(locked, text, kDateTextSize);
        GlobalUnlock(memory);
    }
    if (!OpenClipboard(mainWindow)) {
        GlobalFree(memory);
        return 0;
    }
    EmptyClipboard();
    // From here the memory is the clipboard's.
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
    CloseClipboard();
    return 1;
}

}  // extern "C"
