// The notice window: a plain popup in the tooltip colours, painted wide so
// that other programs' titles show as written.
#include "app/notice_window.h"

#include "app/app_ids.h"
#include "base/dpi.h"
#include "base/wide_text.h"
#include "base/window_class.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// At 96 dpi, scaled to the notice's monitor.
constexpr int kMargin = 8;     // between the text and the border
constexpr int kFromEdge = 12;  // between the notice and the work area's corner
constexpr int kLeastWidth = 200;

}  // namespace

const MessageRoute<NoticeWindow> NoticeWindow::kRoutes[] = {
    {WM_PAINT, &NoticeWindow::OnPaint},
    {WM_LBUTTONUP, &NoticeWindow::OnClick},
    {WM_RBUTTONUP, &NoticeWindow::OnClick},
    {WM_DESTROY, &NoticeWindow::OnDestroy},
};

LRESULT NoticeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, kRoutes, handle_, message, wParam, lParam, DefWindowProcA);
}

bool NoticeWindow::Show(HINSTANCE instance, const std::wstring& text) {
    Close();
    constexpr WNDPROC procedure = BoundWindowProc<NoticeWindow, app_ids::kNoticeProperty,
                                                  &NoticeWindow::handle_,
                                                  &NoticeWindow::HandleMessage>;
    if (!RegisterWindowClass(instance, app_ids::kNoticeClass, procedure,
                             reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1))) {
        return false;
    }
    owner_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, WC_STATICA, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, instance, nullptr));
    if (!owner_) return false;
    text_ = text;
    if (!font_) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
        }
    }
    const RECT place = Place();
    // The window's own text is what other programs (and screen readers) read.
    const std::string title = Narrowed(text.c_str());
    window_.reset(CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                  app_ids::kNoticeClass, title.c_str(), WS_POPUP | WS_BORDER,
                                  place.left, place.top, place.right - place.left,
                                  place.bottom - place.top, owner_.get(), nullptr, instance,
                                  this));
    if (!window_) return false;
    ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    return true;
}

bool NoticeWindow::Add(HINSTANCE instance, const std::wstring& text) {
    if (!window_) return Show(instance, text);
    text_ += L"\n\n" + text;
    SetWindowTextA(window_.get(), Narrowed(text_.c_str()).c_str());
    const RECT place = Place();
    SetWindowPos(window_.get(), HWND_TOPMOST, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE);
    InvalidateRect(window_.get(), nullptr, TRUE);
    return true;
}

RECT NoticeWindow::Place() const {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const SIZE size = Measure(work);
    const int fromEdge = dpi::ScaleFor(window_.get(), kFromEdge);
    const int left = work.right - size.cx - fromEdge;
    const int top = work.bottom - size.cy - fromEdge;
    return {left, top, left + size.cx, top + size.cy};
}

SIZE NoticeWindow::Measure(const RECT& workArea) const {
    const int scale = dpi::ForWindow(window_.get());
    const int margin = dpi::Scale(kMargin, scale);
    const int widest =
        std::max<int>(dpi::Scale(kLeastWidth, scale), (workArea.right - workArea.left) / 3);
    RECT text{0, 0, widest - 2 * margin, 0};
    if (const WindowDC screen{nullptr}) {
        const HDC dc = screen.get();
        const HGDIOBJ old = font_ ? SelectObject(dc, font_.get()) : nullptr;
        DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        if (old) SelectObject(dc, old);
    }
    const int border = 2 * GetSystemMetrics(SM_CXBORDER);
    return {text.right - text.left + 2 * margin + border,
            text.bottom - text.top + 2 * margin + border};
}

LRESULT NoticeWindow::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(handle_, &paint);
    RECT area{};
    GetClientRect(handle_, &area);
    const int margin = dpi::ScaleFor(handle_, kMargin);
    InflateRect(&area, -margin, -margin);
    const HGDIOBJ old = font_ ? SelectObject(dc, font_.get()) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &area,
              DT_WORDBREAK | DT_NOPREFIX);
    if (old) SelectObject(dc, old);
    EndPaint(handle_, &paint);
    return 0;
}

// A click says "seen".
LRESULT NoticeWindow::OnClick(WPARAM, LPARAM) {
    PostMessageA(handle_, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT NoticeWindow::OnDestroy(WPARAM, LPARAM) {
    // Closed by the user (WM_CLOSE) rather than through Close().
    window_.release();
    return 0;
}
