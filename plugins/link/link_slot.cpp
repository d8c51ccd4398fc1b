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

// The handlers that take the message for good pass it on themselves, at the
// point their order asks for; the others let the window's own procedure have
// it after them.
const MessageRoute<cLinkSlot> cLinkSlot::kRoutes[] = {
    {WM_LBUTTONDBLCLK, &cLinkSlot::OnOpenClick, AfterHandler::CallDefault},
    {WM_RBUTTONDOWN, &cLinkSlot::OnRButtonDown, AfterHandler::CallDefault},
    {WM_DROPFILES, &cLinkSlot::OnDropFiles, AfterHandler::CallDefault},
    {WM_PAINT, &cLinkSlot::OnPaint, AfterHandler::CallDefault},
    {WM_COMMAND, &cLinkSlot::OnCommand},
    {WM_DESTROY, &cLinkSlot::OnDestroy},
};

LRESULT cLinkSlot::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, kRoutes, window_, message, wParam, lParam,
                        [this](HWND window, UINT m, WPARAM w, LPARAM l) {
                            return PassOn(window, m, w, l);
                        });
}

LRESULT cLinkSlot::OnPaint(WPARAM, LPARAM) {
    if (!Icon()) return 0;
    PaintDC dc(window_);
    // Width and height 0: the icon's own size.
    DrawIconEx(dc.get(), 0, 0, Icon(), 0, 0, 0, nullptr, DI_NORMAL);
    return 0;
}

LRESULT cLinkSlot::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    // A launch that succeeded is the one message not passed on.
    if (LOWORD(wParam) == kOpen && LaunchFile()) return 1;
    if (LOWORD(wParam) != kOpen) RunCommand(LOWORD(wParam));
    return PassOn(window, WM_COMMAND, wParam, lParam);
}

LRESULT cLinkSlot::OnDestroy(WPARAM wParam, LPARAM lParam) {
    // The window's own procedure still sees its end, once it is back.
    const HWND window = window_;
    const WNDPROC previous = previous_;
    Detach();
    return previous ? CallWindowProcA(previous, window, WM_DESTROY, wParam, lParam)
                    : DefWindowProcA(window, WM_DESTROY, wParam, lParam);
}
