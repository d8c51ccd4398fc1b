// Notification-area icon.
#include "app/tray_icon.h"

#include "app/app_texts.h"
#include "resources/resource_ids.h"

#include <shellapi.h>

#include <cstring>

namespace {

constexpr UINT kIconId = 1;
// The first form of the structure: every shell since Windows 95 takes it.
// Its size is the platform's (88 bytes for 32-bit programs, 104 for 64-bit).
constexpr DWORD kNotifyIconDataSize = NOTIFYICONDATAA_V1_SIZE;

}  // namespace

bool TrayIcon::Add(HWND window, HINSTANCE instance, UINT callbackMessage) {
    Remove();
    if (!icon_) {
        icon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PANELRY), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    NOTIFYICONDATAA data{};
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = window;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon_;
    std::strncpy(data.szTip, app_texts::kMainTitle, sizeof data.szTip - 1);
    if (!Shell_NotifyIconA(NIM_ADD, &data)) return false;
    window_ = window;
    return true;
}

void TrayIcon::Remove() {
    if (!window_) return;
    NOTIFYICONDATAA data{};
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = window_;
    data.uID = kIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    window_ = nullptr;
}
