// The page contract shared by every page of the settings dialog.
#include "settings/dialog/settings_page.h"

#include "base/window_binding.h"

#include <commctrl.h>

#include <cstdlib>

SettingsPage::~SettingsPage() {
    if (window_) DestroyWindow(window_);
}

HWND SettingsPage::Create(HINSTANCE instance, HWND parent) {
    return CreateBoundDialog<SettingsPage, &SettingsPage::window_, &SettingsPage::Handle>(
        *this, instance, templateId_, parent);
}

INT_PTR SettingsPage::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Fill();
        return TRUE;
    case WM_COMMAND:
        // The frame's OK: no control sends it.
        if (LOWORD(wParam) == IDOK && lParam == 0) {
            Write();
            return TRUE;
        }
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    default: {
        INT_PTR result = FALSE;
        return OnMessage(message, wParam, lParam, &result) ? result : FALSE;
    }
    }
}

bool SettingsPage::OnCommand(WORD, WORD, HWND) { return false; }
void SettingsPage::OnSize(int, int) {}
bool SettingsPage::OnMessage(UINT, WPARAM, LPARAM, INT_PTR*) { return false; }

unsigned SettingsPage::Number(int editId) const {
    char text[32] = "";
    GetDlgItemTextA(window_, editId, text, sizeof text);
    return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
}

void SettingsPage::SetUpSpin(int spinId, int low, int high, int value) const {
    SendMessageA(Item(spinId), UDM_SETRANGE32, static_cast<WPARAM>(low), high);
    SendMessageA(Item(spinId), UDM_SETPOS32, 0, value);
    // The field as it is, also outside the range the arrows keep to.
    const HWND edit = reinterpret_cast<HWND>(SendMessageA(Item(spinId), UDM_GETBUDDY, 0, 0));
    if (edit) SetDlgItemInt(window_, GetDlgCtrlID(edit), static_cast<UINT>(value), FALSE);
}
