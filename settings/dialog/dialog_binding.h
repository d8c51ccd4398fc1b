// How the settings dialog's modal dialogs find the object behind them: the
// object comes as the dialog's creation parameter and is kept in its
// DWLP_USER slot, and every message from WM_INITDIALOG on goes to its Handle.
#pragma once

#include <windows.h>

// T has a member HWND window_ and INT_PTR Handle(UINT, WPARAM, LPARAM).
template <typename T>
INT_PTR CALLBACK DialogObjectProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<T*>(lParam)->window_ = window;
    }
    auto* object = reinterpret_cast<T*>(GetWindowLongPtrA(window, DWLP_USER));
    return object ? object->Handle(message, wParam, lParam) : FALSE;
}

// Runs T's dialog from the program's template id modally, owned by owner;
// true when it ended with TRUE.
template <typename T>
bool RunDialog(T& object, int templateId, HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                           &DialogObjectProc<T>, reinterpret_cast<LPARAM>(&object)) == TRUE;
}
