// A launcher slot's file: registration, the tooltip, the context menu and
// what its commands do.
#include "launcher/icon_slot.h"

#include "launcher/launcher_texts.h"
#include "launcher/shell_launch.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

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

// The file name in path, with or without its extension. Walked a character
// at a time: a trail byte of the code page may look like a separator.
std::string FileNameOf(const char* path, bool withExtension) {
    const char* name = path;
    const char* dot = nullptr;
    for (const char* at = path; *at; at = CharNextA(at)) {
        if (*at == '\\' || *at == '/' || *at == ':') {
            name = at + 1;
            dot = nullptr;
        } else if (*at == '.') {
            dot = at;
        }
    }
    return withExtension || !dot ? std::string(name) : std::string(name, dot);
}

bool Reachable(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// The icon of path's type, found by its name alone: the file is not touched.
UniqueIcon TypeIcon(const char* path) {
    SHFILEINFOA info{};
    SHGetFileInfoA(path, FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    if (info.hIcon) return UniqueIcon(info.hIcon);
    return UniqueIcon(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
}

// A copy of icon in pale grey, its shape and transparency kept: how a slot
// looks whose file is out of reach.
UniqueIcon GreyCopy(HICON icon) {
    ICONINFO parts{};
    if (!icon || !GetIconInfo(icon, &parts)) return UniqueIcon();
    const UniqueBitmap mask(parts.hbmMask);
    const UniqueBitmap colour(parts.hbmColor);
    if (!colour) return UniqueIcon(CopyIcon(icon));  // black and white already
    BITMAP size{};
    GetObjectA(colour.get(), sizeof size, &size);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size.bmWidth;
    format.bmiHeader.biHeight = -size.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    WindowDC screen(nullptr);
    const UINT rows = static_cast<UINT>(size.bmHeight);
    if (pixels.empty() || !screen ||
        !GetDIBits(screen.get(), colour.get(), 0, rows, pixels.data(), &format, DIB_RGB_COLORS)) {
        return UniqueIcon();
    }
    for (DWORD& pixel : pixels) {
        const DWORD grey = (GetRValue(pixel) * 30 + GetGValue(pixel) * 59 +
                            GetBValue(pixel) * 11) / 100;
        const DWORD pale = (grey + 2 * 192) / 3;
        pixel = (pixel & 0xFF000000) | pale << 16 | pale << 8 | pale;
    }
    if (!SetDIBits(screen.get(), colour.get(), 0, rows, pixels.data(), &format,
                   DIB_RGB_COLORS)) {
        return UniqueIcon();
    }
    ICONINFO grey{TRUE, 0, 0, mask.get(), colour.get()};
    return UniqueIcon(CreateIconIndirect(&grey));
}

}  // namespace

bool IconSlot::SetFile(const char* path) { return Register(path, 0, false); }

bool IconSlot::Restore(const char* path) { return Register(path, 0, true); }

bool IconSlot::Register(const char* path, int linksFollowed, bool restoring) {
    // The path may be the slot's own, which Clear empties.
    char given[MAX_PATH] = "";
    lstrcpynA(given, path ? path : "", MAX_PATH);
    Clear();
    if (!given[0]) return false;
    if (IsShortcutFile(given) && linksFollowed < kMostLinksFollowed) {
        char target[MAX_PATH] = "";
        if (ResolveShortcut(given, target) && target[0]) {
            return Register(target, linksFollowed + 1, restoring);
        }
    }
    lstrcpynA(path_, given, MAX_PATH);
    // A file that is not there has no icon. The shell is not asked for one:
    // some shells give the icon of the file's type anyway, and looking for a
    // missing file can keep the shell busy long after.
    SHFILEINFOA info{};
    const bool reachable = Reachable(path_);
    if (reachable) {
        SHGetFileInfoA(path_, 0, &info, sizeof info,
                       SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
    }
    UniqueIcon icon(info.hIcon);
    if (!icon && restoring) {
        // The file may be back tomorrow: the registration is not the
        // program's to drop, and nobody is asked about it at start.
        KeepUnavailable(reachable ? launcher_texts::kUnavailableNoIcon
                                  : launcher_texts::kUnavailableUnreachable);
        return false;
    }
    if (!icon) {
        Clear();
        MessageBoxA(window_, launcher_texts::kNoIcon, given, MB_OK);
        return false;
    }
    icon_ = std::move(icon);
    lstrcpynA(displayName_, info.szDisplayName, sizeof displayName_);
    lstrcpynA(typeName_, info.szTypeName, sizeof typeName_);
    char title[MAX_PATH] = "";  // a name may take the whole path's length
    if (tip_ == TipText::FileTitle) _splitpath(path_, nullptr, nullptr, title, nullptr);
    AddTooltip(tip_ == TipText::FileTitle ? title : displayName_);
    if (window_) InvalidateRect(window_, nullptr, TRUE);
    return true;
}

void IconSlot::KeepUnavailable(const char* reason) {
    unavailable_ = true;
    icon_ = GreyCopy(TypeIcon(path_).get());
    // The shell cannot name a file it cannot reach: its file name stands in.
    const std::string name = FileNameOf(path_, tip_ != TipText::FileTitle);
    lstrcpynA(displayName_, name.c_str(), sizeof displayName_);
    const std::string tip = name + "\n" + reason;
    AddTooltip(tip.c_str());
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void IconSlot::AddTooltip(const char* text) {
    if (!window_) return;
    tooltip_.reset(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                   nullptr, nullptr));
    if (!tooltip_) return;
    // The control keeps its own copy of the text.
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the control
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, kTooltipWidth);
}

void IconSlot::Clear() {
    path_[0] = '\0';
    displayName_[0] = '\0';
    typeName_[0] = '\0';
    unavailable_ = false;
    icon_.reset();
    tooltip_.reset();
    if (repaintWhenCleared_ && window_) {
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

LRESULT IconSlot::OnOpenClick(WPARAM, LPARAM) {
    SendMessageA(window_, WM_COMMAND, kOpen, 0);
    return 0;
}

LRESULT IconSlot::OnRButtonDown(WPARAM, LPARAM) {
    ShowContextMenu();
    return 0;
}

LRESULT IconSlot::OnDropFiles(WPARAM wParam, LPARAM) {
    TakeDrop(reinterpret_cast<HDROP>(wParam));
    return 0;
}

void IconSlot::ShowContextMenu() const {
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

void IconSlot::TakeDrop(HDROP drop) {
    char path[MAX_PATH] = "";
    DragQueryFileA(drop, 0, path, MAX_PATH);
    DragFinish(drop);
    SetFile(path);
}

bool IconSlot::RunCommand(UINT id) {
    switch (id) {
    case kUnregister:
        Clear();
        InvalidateRect(window_, nullptr, TRUE);
        return true;
    case kRegister: {
        char file[MAX_PATH];
        if (ChooseFileToRegister(window_, file)) SetFile(file);
        return true;
    }
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

void IconSlot::ShowInformation() const {
    char text[kInformationSize];
    std::snprintf(text, sizeof text, launcher_texts::kInformationFormat, path_, displayName_,
                  typeName_);
    MessageBoxA(window_, text, launcher_texts::kInformationCaption, MB_OK);
}

bool IconSlot::LaunchFile(DWORD* processId) {
    // The path is copied: a failure empties the slot before it is reported.
    char path[MAX_PATH] = "";
    lstrcpynA(path, path_, MAX_PATH);
    if (!path[0]) return false;
    // The drive is back: the slot shows its file again.
    if (unavailable_ && Reachable(path)) Restore(path);
    if (ShellLaunch(window_, path, processId)) return true;
    MessageBoxA(nullptr, launcher_texts::kLaunchFailed, path, MB_ICONERROR);
    if (!Reachable(path)) {
        Restore(path);  // kept, unavailable, for when it can be reached again
        return false;
    }
    Clear();
    InvalidateRect(window_, nullptr, TRUE);
    return false;
}

void IconSlot::OpenFolder() const {
    char drive[_MAX_DRIVE] = "", directory[_MAX_DIR] = "", folder[MAX_PATH] = "";
    _splitpath(path_, drive, directory, nullptr, nullptr);
    _makepath(folder, drive, directory, nullptr, nullptr);
    ShellExecuteA(window_, nullptr, folder, nullptr, nullptr, SW_SHOWNORMAL);
}
