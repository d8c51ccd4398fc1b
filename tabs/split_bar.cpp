// The split bar's window classes, its placement in the container, its
// shaded look, its two arrow buttons and the drag that moves it, and the two
// settings (SBARFLAG, SBARRATE) every bar follows.
#include "tabs/split_bar.h"

#include "base/base_texts.h"
#include "base/dpi.h"
#include "base/handles.h"
#include "base/messages.h"
#include "base/sent_messages.h"
#include "base/window_class.h"
#include "settings/settings_ids.h"
#include "tabs/tab_ids.h"
#include "tabs/tab_texts.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
constexpr int kShadeCount = 3;
// The brush that fills the bar and a pressed button; the raised face of a
// button and its edges use the others.
constexpr int kFlatShade = 2;
constexpr int kRaisedShade = 0;
constexpr int kEdgeShade = 1;
constexpr BYTE kMaxGripPercent = 100;
// How long a drag waits for the pointer between two looks at it.
constexpr DWORD kDragPollMs = 10;
// A ratio derived from a position comes back a hair short of it in doubles
// (81 / 161 * 161 = 80.999...): truncated as it is, the bar would creep a
// pixel towards the start at every layout and at every press that does not
// move it.
constexpr double kRoundTripSlack = 1e-6;

bool g_dragWithRightButton = false;
BYTE g_gripPercent = 20;

// One brush per shade, orientation and thickness for the whole process:
// every bar of an orientation on monitors of one scale paints with the same
// three, and they go when the process ends.
struct ShadeSet {
    UniqueBrush brushes[kShadeCount];
};

HBRUSH CreateShadeBrush(int k, bool horizontal, int thickness);

HBRUSH Shade(bool horizontal, int thickness, int k) {
    static std::map<int, ShadeSet> sets[2];
    ShadeSet& set = sets[horizontal ? 0 : 1][thickness];
    if (!set.brushes[k]) set.brushes[k].reset(CreateShadeBrush(k, horizontal, thickness));
    return set.brushes[k].get();
}

// Pixel p across a bar of thickness pixels in shade k: a cylinder lit from
// the front, k pixels narrower than the bar at each side, on the menu colour.
COLORREF ShadeColour(int k, int p, int thickness, COLORREF base) {
    if (p < k || p >= thickness - k) return base;
    const double s = thickness - 1 - 2 * k;
    const double x = ((p - k) - s / 2) * 2 / s;
    const int d = static_cast<int>(255 * std::sqrt(std::max(0.0, 1 - x * x)));
    return RGB((GetRValue(base) + d) / 2, (GetGValue(base) + d) / 2, (GetBValue(base) + d) / 2);
}

HBRUSH CreateShadeBrush(int k, bool horizontal, int thickness) {
    // A packed 24-bit DIB, one pixel along the bar and thickness across it;
    // rows run bottom-up and each is padded to four bytes.
    std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(thickness) * 4);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
    BYTE* bits = dib.data() + sizeof(BITMAPINFOHEADER);
    header->biSize = sizeof *header;
    header->biWidth = horizontal ? 1 : thickness;
    header->biHeight = horizontal ? thickness : 1;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;
    const COLORREF base = GetSysColor(COLOR_MENU);
    for (int p = 0; p < thickness; ++p) {
        const COLORREF colour = ShadeColour(k, p, thickness, base);
        BYTE* pixel = horizontal ? bits + (thickness - 1 - p) * 4 : bits + p * 3;
        pixel[0] = GetBValue(colour);
        pixel[1] = GetGValue(colour);
        pixel[2] = GetRValue(colour);
    }
    return CreateDIBPatternBrushPt(dib.data(), DIB_RGB_COLORS);
}

bool IsDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

// The cursor along the split axis, in the container's client coordinates.
int CursorAlong(bool horizontal, HWND container) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(container, &cursor);
    return horizontal ? cursor.y : cursor.x;
}

// A one-pixel strip across the bar at offset along it.
RECT StripAcross(const RECT& r, bool horizontal, int offset) {
    return horizontal ? RECT{offset, r.top, offset + 1, r.bottom}
                      : RECT{r.left, offset, r.right, offset + 1};
}

RECT ShrunkAcross(RECT r, bool horizontal, int by) {
    if (horizontal) {
        InflateRect(&r, 0, -by);
    } else {
        InflateRect(&r, -by, 0);
    }
    return r;
}

// The start button moves a tab into the second pane (below, or right), the
// end button back into the first: each arrow points where the tab goes.
void DrawArrow(HDC dc, const RECT& box, bool horizontal, bool startButton) {
    const int height = horizontal ? box.bottom - box.top : box.right - box.left;
    const int half = static_cast<int>(std::lround(height / 1.732));
    POINT points[3];
    if (horizontal) {
        const int middle = (box.left + box.right) / 2;
        const int base = startButton ? box.top : box.bottom;
        const int apex = startButton ? box.bottom : box.top;
        points[0] = {middle - half, base};
        points[1] = {middle + half, base};
        points[2] = {middle, apex};
    } else {
        const int middle = (box.top + box.bottom) / 2;
        const int base = startButton ? box.left : box.right;
        const int apex = startButton ? box.right : box.left;
        points[0] = {base, middle - half};
        points[1] = {base, middle + half};
        points[2] = {apex, middle};
    }
    const UniquePen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    const UniqueBrush brush(CreateSolidBrush(RGB(0, 0, 0)));
    const SelectedObject usePen(dc, pen.get());
    const SelectedObject useBrush(dc, brush.get());
    Polygon(dc, points, 3);
}

// The inverted line on the screen that shows where a dragged bar would go,
// across the bar's whole length; inverting it again takes it away.
class DragLine {
public:
    DragLine(bool horizontal, const RECT& bar, int containerOrigin, int thickness)
        : horizontal_(horizontal), bar_(bar), origin_(containerOrigin), thickness_(thickness) {}

    // position: a leading edge in the container's client coordinates.
    void Invert(int position) const {
        const WindowDC screen(nullptr);
        SetROP2(screen.get(), R2_NOT);
        const int centre = origin_ + position + thickness_ / 2;
        if (horizontal_) {
            MoveToEx(screen.get(), bar_.left, centre, nullptr);
            LineTo(screen.get(), bar_.right, centre);
        } else {
            MoveToEx(screen.get(), centre, bar_.top, nullptr);
            LineTo(screen.get(), centre, bar_.bottom);
        }
    }

private:
    bool horizontal_;
    RECT bar_;
    int origin_;
    int thickness_;
};

}  // namespace

// Every message, handled or not, then goes on to DefWindowProcA.
const MessageRoute<cSplitbar> cSplitbar::kRoutes[] = {
    {WM_SIZE, &cSplitbar::OnSize, AfterHandler::CallDefault},
    {WM_PAINT, &cSplitbar::OnPaint, AfterHandler::CallDefault},
    {WM_DRAWITEM, &cSplitbar::OnDrawItem, AfterHandler::CallDefault},
    {WM_COMMAND, &cSplitbar::OnCommand, AfterHandler::CallDefault},
    {WM_LBUTTONDOWN, &cSplitbar::OnButtonDown, AfterHandler::CallDefault},
    {WM_RBUTTONDOWN, &cSplitbar::OnButtonDown, AfterHandler::CallDefault},
    {WM_SETCURSOR, &cSplitbar::OnSetCursor, AfterHandler::CallDefault},
};

LRESULT cSplitbar::HorizontalMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleMessage(message, wParam, lParam);
}

LRESULT cSplitbar::VerticalMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleMessage(message, wParam, lParam);
}

LRESULT cSplitbar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, kRoutes, window_, message, wParam, lParam, DefWindowProcA);
}

bool cSplitbar::Init(HINSTANCE instance) {
    constexpr WNDPROC horizontal = BoundWindowProc<cSplitbar, tab_ids::kSplitbarProp,
                                                   &cSplitbar::window_,
                                                   &cSplitbar::HorizontalMessage>;
    constexpr WNDPROC vertical = BoundWindowProc<cSplitbar, tab_ids::kSplitbarProp,
                                                 &cSplitbar::window_, &cSplitbar::VerticalMessage>;
    const bool registered =
        RegisterWindowClass(instance, tab_ids::kSplitHBarClass, horizontal, MenuColorBrush()) &&
        RegisterWindowClass(instance, tab_ids::kSplitVBarClass, vertical, MenuColorBrush());
    if (!registered) {
        MessageBoxA(nullptr, tab_texts::kSplitbarRegisterError, base_texts::kErrorCaption,
                    MB_ICONERROR);
    }
    return registered;
}

cSplitbar::cSplitbar() = default;

cSplitbar::~cSplitbar() {
    if (window_) DestroyWindow(window_);
}

bool cSplitbar::Create(HWND parent, HINSTANCE instance, bool horizontal) {
    if (window_) DestroyWindow(window_);  // WM_DESTROY clears window_
    horizontal_ = horizontal;
    dpi_ = dpi::ForWindow(parent);
    // The window becomes the bar's at its WM_CREATE.
    if (!CreateWindowExA(0, horizontal ? tab_ids::kSplitHBarClass : tab_ids::kSplitVBarClass, "",
                         WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), instance, this)) {
        return false;
    }
    for (int id : {kStartButtonId, kEndButtonId}) {
        CreateWindowExA(0, WC_BUTTONA, "", kButtonStyle, 0, 0, 0, 0, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    }
    return true;
}

void cSplitbar::SetRatio(double ratio) {
    // Written so that a NaN ends up as 0 too.
    ratio_ = ratio > 1 ? 1 : (ratio >= 0 ? ratio : 0);
    if (!window_) return;
    const HWND parent = GetParent(window_);
    InvalidateRect(window_, nullptr, TRUE);
    InvalidateRect(parent, nullptr, TRUE);
    // The container lays its panes out again and sends the bar WM_SIZE.
    SendMessageA(parent, WM_SIZE, 0, 0);
}

bool cSplitbar::IsHorizontal() const {
    char name[64] = "";
    return window_ && GetClassNameA(window_, name, sizeof name) > 0 &&
           lstrcmpiA(name, tab_ids::kSplitHBarClass) == 0;
}

int cSplitbar::ClampSplitPosition(int position, int extent, int dpi) {
    const int margin = dpi::Scale(kMargin, dpi);
    const int thickness = dpi::Scale(kThickness, dpi);
    if (position < margin) return margin;
    if (position + thickness > extent - margin) return extent - margin - thickness;
    return position;
}

int cSplitbar::Thickness() const { return dpi::Scale(kThickness, dpi_); }

void cSplitbar::ApplyDpi() {
    if (!window_) return;
    dpi_ = dpi::ForWindow(window_);
    InvalidateRect(window_, nullptr, TRUE);
    SendMessageA(window_, WM_SIZE, 0, 0);
}

// ---- Settings ------------------------------------------------------------------

void cSplitbar::LoadSettings(const char* systemIni) {
    g_dragWithRightButton = GetPrivateProfileIntA(settings_ids::kSystemSection,
                                                  tab_ids::kSplitbarFlagKey, 0, systemIni) != 0;
    const UINT rate = GetPrivateProfileIntA(settings_ids::kSystemSection, tab_ids::kSplitbarRateKey,
                                            20, systemIni);
    // The value is kept as one byte; an edited file may hold more than 100,
    // which would give the buttons a negative length.
    SetGripPercent(static_cast<BYTE>(rate & 0xFF));
}

void cSplitbar::SaveSettings(const char* systemIni) {
    WritePrivateProfileStringA(
        settings_ids::kSystemSection, tab_ids::kSplitbarFlagKey,
        g_dragWithRightButton ? settings_ids::kFlagOn : settings_ids::kFlagOff, systemIni);
    char rate[8] = "";
    std::snprintf(rate, sizeof rate, "%u", static_cast<unsigned>(g_gripPercent));
    WritePrivateProfileStringA(settings_ids::kSystemSection, tab_ids::kSplitbarRateKey, rate,
                               systemIni);
}

bool cSplitbar::DragWithRightButton() { return g_dragWithRightButton; }

void cSplitbar::SetDragWithRightButton(bool right) { g_dragWithRightButton = right; }

BYTE cSplitbar::GripPercent() { return g_gripPercent; }

void cSplitbar::SetGripPercent(BYTE percent) {
    g_gripPercent = std::min(percent, kMaxGripPercent);
}

// ---- Messages --------------------------------------------------------------------

LRESULT cSplitbar::OnSize(WPARAM, LPARAM) {
    const HWND parent = GetParent(window_);
    RECT room{};
    GetClientRect(parent, &room);
    const double extent = horizontal_ ? room.bottom - room.top : room.right - room.left;
    const int position = ClampSplitPosition(static_cast<int>(extent * ratio_ + kRoundTripSlack),
                                            static_cast<int>(extent), dpi_);
    const int thickness = Thickness();
    // A container too small for both margins puts the bar beyond its end,
    // and an empty one has no ratio to give.
    if (extent > 0) ratio_ = std::clamp(position / extent, 0.0, 1.0);
    // Moving the bar to a new size sends WM_SIZE again; that inner pass finds
    // the bar in place and only lays out the buttons.
    if (horizontal_) {
        MoveWindow(window_, room.left, room.top + position, room.right - room.left, thickness,
                   TRUE);
    } else {
        MoveWindow(window_, room.left + position, room.top, thickness, room.bottom - room.top,
                   TRUE);
    }
    PlaceButtons();
    return 0;
}

void cSplitbar::PlaceButtons() {
    RECT client{};
    GetClientRect(window_, &client);
    const int length = horizontal_ ? client.right - client.left : client.bottom - client.top;
    // In right-button mode nothing is left for a grip: the buttons meet.
    const int button =
        g_dragWithRightButton ? length / 2 : length * (100 - g_gripPercent) / 200;
    const HWND start = GetDlgItem(window_, kStartButtonId);
    const HWND end = GetDlgItem(window_, kEndButtonId);
    const int thickness = Thickness();
    if (horizontal_) {
        MoveWindow(start, 0, 0, button, thickness, TRUE);
        MoveWindow(end, length - button, 0, button, thickness, TRUE);
    } else {
        MoveWindow(start, 0, 0, thickness, button, TRUE);
        MoveWindow(end, 0, length - button, thickness, button, TRUE);
    }
}

LRESULT cSplitbar::OnPaint(WPARAM, LPARAM) {
    const PaintDC dc(window_);
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc.get(), &client, Shade(horizontal_, Thickness(), kFlatShade));
    return 0;
}

LRESULT cSplitbar::OnDrawItem(WPARAM, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const int id = static_cast<int>(item->CtlID);
    if (item->CtlType != ODT_BUTTON || (id != kStartButtonId && id != kEndButtonId)) return FALSE;
    const bool horizontal = horizontal_;
    const int thickness = Thickness();
    const HDC dc = item->hDC;
    const RECT& r = item->rcItem;
    RECT box{};
    if (item->itemState & ODS_SELECTED) {
        // Pressed: sunk flat into the bar, the arrow a little smaller.
        FillRect(dc, &r, Shade(horizontal, thickness, kFlatShade));
        box = ShrunkAcross(r, horizontal, dpi::Scale(5, dpi_));
    } else {
        // Raised, with two-step edges at both of its ends.
        FillRect(dc, &r, Shade(horizontal, thickness, kRaisedShade));
        const int first = horizontal ? r.left : r.top;
        const int last = (horizontal ? r.right : r.bottom) - 1;
        const RECT outer[] = {StripAcross(r, horizontal, first), StripAcross(r, horizontal, last)};
        const RECT inner[] = {StripAcross(r, horizontal, first + 1),
                              StripAcross(r, horizontal, last - 1)};
        for (const RECT& strip : outer) {
            FillRect(dc, &strip, Shade(horizontal, thickness, kFlatShade));
        }
        for (const RECT& strip : inner) {
            FillRect(dc, &strip, Shade(horizontal, thickness, kEdgeShade));
        }
        box = ShrunkAcross(r, horizontal, dpi::Scale(4, dpi_));
    }
    DrawArrow(dc, box, horizontal, id == kStartButtonId);
    return TRUE;
}

// Any command of a button: the second of two quick clicks arrives as
// BN_DOUBLECLICKED and moves a tab as the first did.
LRESULT cSplitbar::OnCommand(WPARAM wParam, LPARAM) {
    const int id = LOWORD(wParam);
    if (id != kStartButtonId && id != kEndButtonId) return 0;
    SendMessageA(GetParent(window_), PM_MOVETAB, 0, id == kStartButtonId ? 1 : 0);
    return 0;
}

LRESULT cSplitbar::OnButtonDown(WPARAM, LPARAM) {
    Drag();
    return 0;
}

LRESULT cSplitbar::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    // In right-button mode the buttons cover the bar, so a right press on a
    // button, which the bar hears of here before the button gets it, drags
    // the bar as a press on the bar itself would.
    if (!g_dragWithRightButton || LOWORD(lParam) != HTCLIENT ||
        HIWORD(lParam) != WM_RBUTTONDOWN) {
        return 0;
    }
    const HWND under = reinterpret_cast<HWND>(wParam);
    if (under != GetDlgItem(window_, kStartButtonId) &&
        under != GetDlgItem(window_, kEndButtonId)) {
        return 0;
    }
    SendMessageA(window_, WM_RBUTTONDOWN, 0, 0);
    return 0;
}

// ---- Drag --------------------------------------------------------------------------

// Follows the pointer while the drag button stays down, with an inverted line
// on the screen where the bar would go; the bar and the panes move once, at
// the release.
void cSplitbar::Drag() {
    const int button = g_dragWithRightButton ? VK_RBUTTON : VK_LBUTTON;
    // A button already let go by the time its press is handled starts
    // nothing. Under Wine 8 a thread's "up" answer is cached for 50 ms, so a
    // press within 50 ms of the end of the previous drag counts as let go.
    if (!IsDown(button)) return;
    const bool horizontal = horizontal_;
    const HWND parent = GetParent(window_);
    RECT room{};
    GetClientRect(parent, &room);
    const int extent = horizontal ? room.bottom - room.top : room.right - room.left;
    if (extent <= 0) return;
    RECT bar{};
    GetWindowRect(window_, &bar);
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    const int originAlong = horizontal ? origin.y : origin.x;
    const int start = (horizontal ? bar.top : bar.left) - originAlong;
    const int grab = start - CursorAlong(horizontal, parent);
    const DragLine line(horizontal, bar, originAlong, Thickness());

    int current = start;
    line.Invert(current);
    // Polled: no message is taken from the queue, and the mouse is not
    // captured, so nothing of this program runs until the release but what
    // other threads send (the hang watchdog's question, which must be
    // answered however long the user holds the bar). Measured under Wine 8:
    // GetAsyncKeyState and GetCursorPos see presses, releases and moves, both
    // from the X server (a real mouse, xdotool) and from SendInput and
    // SetCursorPos. Between looks the loop waits rather than spin.
    while (IsDown(button)) {
        WaitAnsweringSentMessages(kDragPollMs);
        const int candidate =
            ClampSplitPosition(CursorAlong(horizontal, parent) + grab, extent, dpi_);
        if (candidate == current) continue;
        line.Invert(current);
        line.Invert(candidate);
        current = candidate;
    }
    line.Invert(current);
    SetRatio(ClampSplitPosition(current, extent, dpi_) / static_cast<double>(extent));
}
