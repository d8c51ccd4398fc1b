// cShortcutWnd: the strip's window, its docking, its entries and its menu list.
#include "launcher/shortcut_window.h"

#include "base/base_texts.h"
#include "base/dpi.h"
#include "base/messages.h"
#include "base/module_path.h"
#include "base/window_binding.h"
#include "base/window_class.h"
#include "launcher/launch_capture.h"
#include "launcher/launcher_ids.h"
#include "launcher/launcher_texts.h"
#include "launcher/shell_launch.h"

#include <cstdio>
#include <string>

namespace {

// The path is copied out of the helper's shared buffer at once.
std::string ShortcutIni() { return ModuleFilePath(launcher_ids::kShortcutIni); }

bool IsSlot(int index) { return index >= 0 && index < cShortcutWnd::kSlots; }

}  // namespace

cShortcutWnd& ShortcutWindow() {
    static cShortcutWnd strip;
    return strip;
}

bool cShortcutWnd::Init(HINSTANCE instance) {
    constexpr WNDPROC procedure =
        BoundWindowProc<cShortcutWnd, launcher_ids::kShortcutProp, &cShortcutWnd::window_,
                        &cShortcutWnd::HandleMessage>;
    if (!RegisterWindowClass(instance, launcher_ids::kShortcutClass, procedure,
                             MenuColorBrush())) {
        MessageBoxA(nullptr, launcher_texts::kShortcutRegisterError, base_texts::kErrorCaption,
                    MB_ICONERROR);
        return false;
    }
    return cAppIcon::Init(instance);
}

cShortcutWnd::~cShortcutWnd() { Destroy(); }

bool cShortcutWnd::Create(HWND parent, HINSTANCE instance, DWORD style, DWORD exStyle,
                          int position, bool smallIcons) {
    Destroy();
    position_ = position;
    smallIcons_ = smallIcons;
    HWND window = CreateWindowExA(exStyle, launcher_ids::kShortcutClass, "",
                                  style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), instance,
                                  this);
    if (!window || window != window_) return false;
    const std::string ini = ShortcutIni();
    for (int i = 0; i < kSlots; ++i) {
        icons_[i].Create(window_, instance, 0);
        icons_[i].Load(ini.c_str(), i);
    }
    return true;
}

void cShortcutWnd::Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

void cShortcutWnd::SetLayout(int position, bool smallIcons) {
    position_ = position;
    smallIcons_ = smallIcons;
}

void cShortcutWnd::SetStyle(DWORD style, DWORD exStyle) {
    if (!window_) return;
    SetWindowLongA(window_, GWL_STYLE, static_cast<LONG>(style | WS_CHILD | WS_VISIBLE));
    SetWindowLongA(window_, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

bool cShortcutWnd::Layout(RECT& area) {
    if (!window_) return false;
    HWND first = icons_[0].Window();
    // The icon size of the monitor the strip is on.
    const int scale = dpi::ForWindow(window_);
    RECT slot{0, 0, dpi::SystemMetric(smallIcons_ ? SM_CXSMICON : SM_CXICON, scale),
              dpi::SystemMetric(smallIcons_ ? SM_CYSMICON : SM_CYICON, scale)};
    AdjustWindowRectEx(&slot, static_cast<DWORD>(GetWindowLongA(first, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(first, GWL_EXSTYLE)));
    const int w = slot.right - slot.left, h = slot.bottom - slot.top;
    const bool row = position_ == kTop || position_ == kBottom;
    for (int i = 0; i < kSlots; ++i) {
        MoveWindow(icons_[i].Window(), row ? i * w : 0, row ? 0 : i * h, w, h, TRUE);
    }
    RECT outer{};
    GetWindowRect(first, &outer);
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE)));
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    switch (position_) {
    case kTop:
        MoveWindow(window_, area.left, area.top, area.right - area.left, height, TRUE);
        area.top += height;
        break;
    case kBottom:
        MoveWindow(window_, area.left, area.bottom - height, area.right - area.left, height,
                   TRUE);
        area.bottom -= height;
        break;
    case kLeft:
        MoveWindow(window_, area.left, area.top, width, area.bottom - area.top, TRUE);
        area.left += width;
        break;
    default:
        position_ = kRight;
        MoveWindow(window_, area.right - width, area.top, width, area.bottom - area.top, TRUE);
        area.right -= width;
        break;
    }
    return true;
}

bool cShortcutWnd::GetEntry(int index, char* buffer, int size) const {
    if (!buffer || size <= 0) return false;
    buffer[0] = '\0';
    if (!IsSlot(index)) return false;
    if (window_) {
        lstrcpynA(buffer, icons_[index].Path(), size);
    } else {
        char key[16];
        std::snprintf(key, sizeof key, launcher_ids::kSlotKeyFormat, index);
        GetPrivateProfileStringA(launcher_ids::kShortcutSection, key, "", buffer,
                                 static_cast<DWORD>(size), ShortcutIni().c_str());
    }
    return buffer[0] != '\0';
}

bool cShortcutWnd::SetEntry(int index, const char* path) {
    if (!IsSlot(index)) return false;
    if (window_) {
        icons_[index].Restore(path);
    } else {
        char key[16];
        std::snprintf(key, sizeof key, launcher_ids::kSlotKeyFormat, index);
        WritePrivateProfileStringA(launcher_ids::kShortcutSection, key, path ? path : "",
                                   ShortcutIni().c_str());
    }
    return true;
}

bool cShortcutWnd::AppendMenuItems(HMENU menu, UINT id) {
    look_.Refresh();
    bool any = false;
    for (int i = 0; i < kSlots; ++i) {
        char entry[MAX_PATH];
        if (!GetEntry(i, entry, MAX_PATH)) continue;
        // An owner-drawn item's last argument is its data.
        AppendMenuA(menu, MF_OWNERDRAW, id | static_cast<UINT>(i) << 5,
                    reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(i)));
        any = true;
    }
    if (any) return true;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA;
    info.fType = MFT_STRING;
    info.fState = MFS_DISABLED | MFS_GRAYED;
    info.wID = id;
    info.dwItemData = static_cast<ULONG_PTR>(-1);
    info.dwTypeData = const_cast<char*>(launcher_texts::kNoShortcut);
    return InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info) != FALSE;
}

void cShortcutWnd::MeasureMenuItem(HWND window, MEASUREITEMSTRUCT& item) const {
    char entry[MAX_PATH];
    if (GetEntry(static_cast<int>(item.itemData), entry, MAX_PATH)) {
        look_.Measure(window, entry, item);
    }
}

void cShortcutWnd::DrawMenuItem(const DRAWITEMSTRUCT& item) const {
    char entry[MAX_PATH];
    if (GetEntry(static_cast<int>(item.itemData), entry, MAX_PATH)) look_.Draw(item, entry);
}

bool cShortcutWnd::LaunchEntry(HWND owner, int index) {
    char entry[MAX_PATH];
    // Only a launch arms the capture: an armed watch with nothing launched
    // would take the next window the user opens anywhere.
    if (!GetEntry(index, entry, MAX_PATH)) return false;
    if (capture_) capture_->ArmLaunchCapture();
    DWORD process = 0;
    const bool started = ShellLaunch(owner, entry, &process);
    if (capture_) capture_->LaunchFinished(started, process);
    return started;
}

// The strip only listens: the default procedure answers every message.
const MessageRoute<cShortcutWnd> cShortcutWnd::kRoutes[] = {
    {WM_DESTROY, &cShortcutWnd::OnDestroy, AfterHandler::CallDefault},
    {PM_PRELAUNCH, &cShortcutWnd::OnPreLaunch, AfterHandler::CallDefault},
    {PM_LAUNCHED, &cShortcutWnd::OnLaunched, AfterHandler::CallDefault},
};

LRESULT cShortcutWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, kRoutes, window_, message, wParam, lParam, DefWindowProcA);
}

LRESULT cShortcutWnd::OnDestroy(WPARAM, LPARAM) {
    SaveEntries();
    for (cAppIcon& icon : icons_) {
        if (icon.Window()) DestroyWindow(icon.Window());
    }
    return 0;
}

LRESULT cShortcutWnd::OnPreLaunch(WPARAM, LPARAM) {
    if (capture_) capture_->ArmLaunchCapture();
    return 0;
}

LRESULT cShortcutWnd::OnLaunched(WPARAM wParam, LPARAM lParam) {
    if (capture_) capture_->LaunchFinished(wParam != 0, static_cast<DWORD>(lParam));
    return 0;
}

void cShortcutWnd::SaveEntries() const {
    const std::string ini = ShortcutIni();
    for (int i = 0; i < kSlots; ++i) icons_[i].Save(ini.c_str(), i);
}
