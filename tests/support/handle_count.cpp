#include "tests/support/handle_count.h"

#include "tests/support/import_route.h"

#include <shellapi.h>

#include <set>

namespace testing_support {
namespace {

struct Counts {
    int gdiMade = 0, iconsMade = 0, menusMade = 0, windowsMade = 0;
    std::set<HGDIOBJ> gdiLive;
    std::set<HICON> iconsLive;
    std::set<HMENU> menus;
    std::set<HWND> windows;
};
Counts g_counts;

// The function itself, past this program's import slot that is routed to
// the counting one.
template <typename Function>
Function Real(const char* dll, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name)));
}
#define REAL(dll, name) static const auto real##name = Real<decltype(&name)>(dll, #name)

HFONT WINAPI CountFont(const LOGFONTA* font) {
    REAL("gdi32.dll", CreateFontIndirectA);
    HFONT made = realCreateFontIndirectA(font);
    if (made) ++g_counts.gdiMade, g_counts.gdiLive.insert(made);
    return made;
}
HBRUSH WINAPI CountBrush(COLORREF colour) {
    REAL("gdi32.dll", CreateSolidBrush);
    HBRUSH made = realCreateSolidBrush(colour);
    if (made) ++g_counts.gdiMade, g_counts.gdiLive.insert(made);
    return made;
}
BOOL WINAPI CountDelete(HGDIOBJ object) {
    REAL("gdi32.dll", DeleteObject);
    const BOOL deleted = realDeleteObject(object);
    if (deleted) g_counts.gdiLive.erase(object);
    return deleted;
}
DWORD_PTR WINAPI CountFileInfo(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size,
                               UINT flags) {
    REAL("shell32.dll", SHGetFileInfoA);
    const DWORD_PTR result = realSHGetFileInfoA(path, attributes, info, size, flags);
    if (info && (flags & SHGFI_ICON) && info->hIcon) {
        ++g_counts.iconsMade, g_counts.iconsLive.insert(info->hIcon);
    }
    return result;
}
BOOL WINAPI CountIconGone(HICON icon) {
    REAL("user32.dll", DestroyIcon);
    const BOOL destroyed = realDestroyIcon(icon);
    if (destroyed) g_counts.iconsLive.erase(icon);
    return destroyed;
}
HMENU WINAPI CountPopup() {
    REAL("user32.dll", CreatePopupMenu);
    HMENU made = realCreatePopupMenu();
    if (made) ++g_counts.menusMade, g_counts.menus.insert(made);
    return made;
}
HWND WINAPI CountWindow(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y,
                        int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                        LPVOID parameter) {
    REAL("user32.dll", CreateWindowExA);
    HWND made = realCreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                                    menu, instance, parameter);
    if (made) ++g_counts.windowsMade, g_counts.windows.insert(made);
    return made;
}

struct Import {
    const char* dll;
    const char* name;
    void* counter;
};
const Import kImports[] = {
    {"gdi32.dll", "CreateFontIndirectA", reinterpret_cast<void*>(&CountFont)},
    {"gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(&CountBrush)},
    {"gdi32.dll", "DeleteObject", reinterpret_cast<void*>(&CountDelete)},
    {"shell32.dll", "SHGetFileInfoA", reinterpret_cast<void*>(&CountFileInfo)},
    {"user32.dll", "DestroyIcon", reinterpret_cast<void*>(&CountIconGone)},
    {"user32.dll", "CreatePopupMenu", reinterpret_cast<void*>(&CountPopup)},
    {"user32.dll", "CreateWindowExA", reinterpret_cast<void*>(&CountWindow)},
};

void* RealOf(const Import& import) {
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(import.dll), import.name));
}

}  // namespace

HandleCount::HandleCount() {
    g_counts = Counts{};
    for (const Import& import : kImports) {
        if (RouteImport(GetModuleHandleA(nullptr), import.dll, RealOf(import), import.counter) ==
            0) {
            routed_ = false;
        }
    }
}

HandleCount::~HandleCount() {
    for (const Import& import : kImports) {
        RouteImport(GetModuleHandleA(nullptr), import.dll, import.counter, RealOf(import));
    }
}

int HandleCount::GdiMade() const { return g_counts.gdiMade; }
int HandleCount::IconsMade() const { return g_counts.iconsMade; }
int HandleCount::MenusMade() const { return g_counts.menusMade; }
int HandleCount::WindowsMade() const { return g_counts.windowsMade; }
std::size_t HandleCount::GdiLive() const { return g_counts.gdiLive.size(); }
std::size_t HandleCount::IconsLive() const { return g_counts.iconsLive.size(); }

std::size_t HandleCount::MenusLive() const {
    std::size_t live = 0;
    for (HMENU menu : g_counts.menus) live += IsMenu(menu) ? 1 : 0;
    return live;
}

std::size_t HandleCount::WindowsLive() const {
    std::size_t live = 0;
    for (HWND window : g_counts.windows) live += IsWindow(window) ? 1 : 0;
    return live;
}

}  // namespace testing_support
