// cAppIcon: registration of a file in a slot, the slot's window and its
// context menu.
#include "launcher/app_icon.h"

#include "base/base_texts.h"
#include "base/messages.h"
#include "base/window_binding.h"
#include "base/window_class.h"
#include "launcher/launcher_ids.h"
#include "launcher/launcher_texts.h"
#include "launcher/shell_launch.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// A shortcut may point to another shortcut, and a chain of them may come
// back to the first: after this many the file is registered as it is.
constexpr int kMostLinksFollowed = 16;
constexpr int kTooltipWidth = 640;
constexpr int kInformationSize = 1024;

bool IsShortcutFile(const char* path) {
    char extension[_MAX_EXT] = "";
    _splitpath(path, nullptr, nullptr, nullptr, extension);
    return _stricmp(extension, ".lnk") == 0 || _stricmp(extension, "lnk") == 0;
}

}  // namespace

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

bool cAppIcon::SetFile(const char* path) { return Register(path, 0); }

bool cAppIcon::Register(const char* path, int linksFollowed) {
    // The path may be the slot's own, which Clear empties.
    char given[MAX_PATH] = "";
    lstrcpynA(given, path ? path : "", MAX_PATH);
    Clear();
    if (!given[0]) return false;
    if (IsShortcutFile(given) && linksFollowed < kMostLinksFollowed) {
        char target[MAX_PATH] = "";
        if (ResolveShortcut(given, target) && target[0]) return Register(target, linksFollowed + 1);
    }
    lstrcpynA(path_, given, MAX_PATH);
    // A file that is not there has no icon. The shell is not asked for one:
    // some shells give the icon of the file's type anyway, and looking for a
    // missing file can keep the shell busy long after.
    SHFILEINFOA info{};
    if (GetFileAttributesA(path_) != INVALID_FILE_ATTRIBUTES) {
        SHGetFileInfoA(path_, 0, &info, sizeof info,
                       SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
    }
    UniqueIcon icon(info.hIcon);
    if (!icon) {
        Clear();
        MessageBoxA(window_, launcher_texts::kNoIcon, given, MB_OK);
        return false;
    }
    icon_ = std::move(icon);
    lstrcpynA(displayName_, info.szDisplayName, sizeof displayName_);
    lstrcpynA(typeName_, info.szTypeName, sizeof typeName_);
    AddTooltip();
    if (window_) InvalidateRect(window_, nullptr, TRUE);
    return true;
}

void cAppIcon::AddTooltip() {
    if (!window_) return;
    tooltip_.reset(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                   nullptr, nullptr));
    if (!tooltip_) return;
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the control
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = displayName_;
    SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, kTooltipWidth);
}

void cAppIcon::Clear() {
    path_[0] = '\0';
    displayName_[0] = '\0';
    typeName_[0] = '\0';
    icon_.reset();
    tooltip_.reset();
}

void cAppIcon::Load(const char* iniPath, int index) {
    Clear();
    char key[16];
    std::snprintf(key, sizeof key, launcher_ids::kSlotKeyFormat, index);
    char path[MAX_PATH] = "";
    GetPrivateProfileStringA(launcher_ids::kShortcutSection, key, "", path, MAX_PATH, iniPath);
    if (path[0]) SetFile(path);
}

void cAppIcon::Save(const char* iniPath, int index) const {
    char key[16];
    std::snprintf(key, sizeof key, launcher_ids::kSlotKeyFormat, index);
    WritePrivateProfileStringA(launcher_ids::kShortcutSection, key, path_, iniPath);
}

LRESULT cAppIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    switch (message) {
    case WM_LBUTTONDOWN:
        OnLeftButtonDown();
        break;
    case WM_RBUTTONDOWN:
        OnRightButtonDown();
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_COMMAND:
        // A launch that succeeded is the one message not passed on.
        if (LOWORD(wParam) == kOpen && path_[0] && Launch()) return 1;
        if (LOWORD(wParam) != kOpen) OnCommand(LOWORD(wParam));
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void cAppIcon::OnLeftButtonDown() { SendMessageA(window_, WM_COMMAND, kOpen, 0); }

void cAppIcon::OnRightButtonDown() {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const UINT ifRegistered = path_[0] ? MF_STRING : MF_STRING | MF_GRAYED;
    AppendMenuA(menu.get(), ifRegistered, kOpen, launcher_texts::kMenuOpen);
    AppendMenuA(menu.get(), ifRegistered, kOpenFolder, launcher_texts::kMenuFolder);
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), ifRegistered, kUnregister, launcher_texts::kMenuUnregister);
    AppendMenuA(menu.get(), MF_STRING, kRegister, launcher_texts::kMenuRegister);
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), ifRegistered, kInformation, launcher_texts::kMenuInformation);
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(menu.get(), TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_,
                   nullptr);
}

void cAppIcon::OnDropFiles(HDROP drop) {
    char path[MAX_PATH] = "";
    DragQueryFileA(drop, 0, path, MAX_PATH);
    DragFinish(drop);
    SetFile(path);
}

void cAppIcon::OnPaint() {
    if (!icon_) return;
    PaintDC dc(window_);
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc.get(), &client, GetSysColorBrush(COLOR_MENU));
    DrawIconEx(dc.get(), 0, 0, icon_.get(), client.right, client.bottom, 0, nullptr, DI_NORMAL);
}

void cAppIcon::OnDestroy() { Clear(); }

bool cAppIcon::OnCommand(UINT id) {
    switch (id) {
    case kUnregister:
        Clear();
        InvalidateRect(window_, nullptr, TRUE);
        return true;
    case kRegister:
        ChooseFile();
        return true;
    case kInformation:
        if (path_[0]) ShowInformation();
        return true;
    case kOpenFolder:
        if (path_[0]) OpenFolder();
        return true;
    default:
        return false;
    }
}

bool ChooseFileToRegister(HWND owner, char (&file)[MAX_PATH]) {
    file[0] = '\0';
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = launcher_texts::kRegisterFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = launcher_texts::kRegisterTitle;
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&dialog) != FALSE;
}

void cAppIcon::ChooseFile() {
    char file[MAX_PATH];
    if (ChooseFileToRegister(window_, file)) SetFile(file);
}

void cAppIcon::ShowInformation() const {
    char text[kInformationSize];
    std::snprintf(text, sizeof text, launcher_texts::kInformationFormat, path_, displayName_,
                  typeName_);
    MessageBoxA(window_, text, launcher_texts::kInformationCaption, MB_OK);
}

bool cAppIcon::Launch() {
    // The path is copied: a failure empties the slot before it is reported.
    char path[MAX_PATH] = "";
    lstrcpynA(path, path_, MAX_PATH);
    SendMessageA(GetParent(window_), PM_PRELAUNCH, 0, reinterpret_cast<LPARAM>(path));
    if (ShellLaunch(window_, path)) return true;
    MessageBoxA(nullptr, launcher_texts::kLaunchFailed, path, MB_ICONERROR);
    Clear();
    InvalidateRect(window_, nullptr, TRUE);
    return false;
}

void cAppIcon::OpenFolder() const {
    char drive[_MAX_DRIVE] = "", directory[_MAX_DIR] = "", folder[MAX_PATH] = "";
    _splitpath(path_, drive, directory, nullptr, nullptr);
    _makepath(folder, drive, directory, nullptr, nullptr);
    ShellExecuteA(window_, nullptr, folder, nullptr, nullptr, SW_SHOWNORMAL);
}
