// The panel's slot on its static control.
#include "plugins/link/link_slot.h"

#include "base/handles.h"
#include "base/window_binding.h"
#include "plugins/link/link_ids.h"

#include <shellapi.h>

namespace {

WNDPROC ProcedureOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

}  // namespace

WNDPROC cLinkSlot::Procedure() {
    return SubclassWindowProc<cLinkSlot, &cLinkSlot::HandleMessage>;
}

void cLinkSlot::Attach(HWND window) {
    if (!window) return;
    Detach();
    window_ = window;
    BindControl(window, link_ids::kSlotProp, this);
    if (ProcedureOf(window) == Procedure()) return;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure())));
    DragAcceptFiles(window, TRUE);
}

void cLinkSlot::Detach() {
    if (!window_) return;
    Clear();
    DragAcceptFiles(window_, FALSE);
    if (previous_) {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }
    UnbindControl(window_, link_ids::kSlotProp);
    window_ = nullptr;
    previous_ = nullptr;
}

LRESULT cLinkSlot::PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!previous_) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(previous_, window, message, wParam, lParam);
}

LRESULT cLinkSlot::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    switch (message) {
    case WM_LBUTTONDBLCLK:
        SendMessageA(window, WM_COMMAND, kOpen, 0);
        break;
    case WM_RBUTTONDOWN:
        ShowContextMenu();
        break;
    case WM_DROPFILES:
        TakeDrop(reinterpret_cast<HDROP>(wParam));
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_COMMAND:
        // A launch that succeeded is the one message not passed on.
        if (LOWORD(wParam) == kOpen && LaunchFile()) return 1;
        if (LOWORD(wParam) != kOpen) RunCommand(LOWORD(wParam));
        break;
    case WM_DESTROY: {
        // The window's own procedure still sees its end, once it is back.
        const WNDPROC previous = previous_;
        Detach();
        return previous ? CallWindowProcA(previous, window, message, wParam, lParam)
                        : DefWindowProcA(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return PassOn(window, message, wParam, lParam);
}

void cLinkSlot::OnPaint() {
    if (!Icon()) return;
    PaintDC dc(window_);
    // Width and height 0: the icon's own size.
    DrawIconEx(dc.get(), 0, 0, Icon(), 0, 0, 0, nullptr, DI_NORMAL);
}
