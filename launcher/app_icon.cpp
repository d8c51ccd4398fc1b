// cAppIcon: the shortcut window's slot as a window of its own class, which
// launches on a single click and tells its parent before it does.
#include "launcher/app_icon.h"

#include "base/base_texts.h"
#include "base/messages.h"
#include "base/window_binding.h"
#include "base/window_class.h"
#include "launcher/launcher_ids.h"
#include "launcher/launcher_texts.h"

#include <cstdio>
#include <cstring>

bool cAppIcon::Init(HINSTANCE instance) {
    constexpr WNDPROC procedure = BoundWindowProc<cAppIcon, launcher_ids::kAppIconProp,
                                                  &cAppIcon::window_, &cAppIcon::HandleMessage>;
    if (!RegisterWindowClass(instance, launcher_ids::kAppIconClass, procedure,
                             MenuColorBrush())) {
        MessageBoxA(nullptr, launcher_texts::kAppIconRegisterError, base_texts::kErrorCaption,
                    MB_ICONERROR);
        return false;
    }
    return true;
}

cAppIcon::~cAppIcon() {
    if (window_) DestroyWindow(window_);
}

bool cAppIcon::Create(HWND parent, HINSTANCE instance, DWORD extraStyle) {
    if (!parent) return false;
    HWND window = CreateWindowExA(WS_EX_STATICEDGE | WS_EX_ACCEPTFILES,
                                  launcher_ids::kAppIconClass, "",
                                  extraStyle | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), instance,
                                  this);
    return window != nullptr && window == window_;
}

void cAppIcon::Load(const char* iniPath, int index) {
    Clear();
    char key[16];
    std::snprintf(key, sizeof key, launcher_ids::kSlotKeyFormat, index);
    char path[MAX_PATH] = "";
    GetPrivateProfileStringA(launcher_ids::kShortcutSection, key, "", path, MAX_PATH, iniPath);
    // A value cut at the length limit may end in a blank, which the file
    // would not give back once written: the path is kept without it.
    for (std::size_t end = std::strlen(path); end > 0 && (path[end - 1] == ' ' ||
                                                          path[end - 1] == '\t');) {
        path[--end] = '\0';
    }
    if (path[0]) Restore(path);
}

void cAppIcon::Save(const char* iniPath, int index) const {
    char key[16];
    std::snprintf(key, sizeof key, launcher_ids::kSlotKeyFormat, index);
    WritePrivateProfileStringA(launcher_ids::kShortcutSection, key, Path(), iniPath);
}

// Every message goes on to the default procedure after its handler, but for
// a launch that succeeded.
const MessageRoute<cAppIcon> cAppIcon::kRoutes[] = {
    {WM_LBUTTONDOWN, &cAppIcon::OnOpenClick, AfterHandler::CallDefault},
    {WM_RBUTTONDOWN, &cAppIcon::OnRButtonDown, AfterHandler::CallDefault},
    {WM_DROPFILES, &cAppIcon::OnDropFiles, AfterHandler::CallDefault},
    {WM_PAINT, &cAppIcon::OnPaint, AfterHandler::CallDefault},
    {WM_DESTROY, &cAppIcon::OnDestroy, AfterHandler::CallDefault},
    {WM_COMMAND, &cAppIcon::OnCommand},
};

LRESULT cAppIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, kRoutes, window_, message, wParam, lParam, DefWindowProcA);
}

LRESULT cAppIcon::OnPaint(WPARAM, LPARAM) {
    if (!Icon()) return 0;
    PaintDC dc(window_);
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc.get(), &client, GetSysColorBrush(COLOR_MENU));
    DrawIconEx(dc.get(), 0, 0, Icon(), client.right, client.bottom, 0, nullptr, DI_NORMAL);
    return 0;
}

LRESULT cAppIcon::OnDestroy(WPARAM, LPARAM) {
    Clear();
    return 0;
}

LRESULT cAppIcon::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    if (LOWORD(wParam) == kOpen && Path()[0] && Launch()) return 1;
    if (LOWORD(wParam) != kOpen) RunCommand(LOWORD(wParam));
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

bool cAppIcon::Launch() {
    char path[MAX_PATH] = "";
    lstrcpynA(path, Path(), MAX_PATH);
    const HWND parent = GetParent(window_);
    SendMessageA(parent, PM_PRELAUNCH, 0, reinterpret_cast<LPARAM>(path));
    DWORD process = 0;
    const bool started = LaunchFile(&process);
    SendMessageA(parent, PM_LAUNCHED, started, static_cast<LPARAM>(process));
    return started;
}
