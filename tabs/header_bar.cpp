// The header bar of a pane: its window, its four controls and the way its
// clicks and colours reach the pane's tab control.
#include "tabs/header_bar.h"

#include "base/command_kinds.h"
#include "base/dpi.h"
#include "base/messages.h"
#include "base/wide_text.h"
#include "base/window_class.h"
#include "resources/resource_ids.h"
#include "tabs/captured_window.h"
#include "tabs/tab_ids.h"
#include "tabs/tab_texts.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <cwchar>
#include <string>

namespace {

constexpr DWORD kTitleStyle = WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
constexpr int kTitleChars = 256;
// The title inside "■[ " and " ]" (five UTF-16 units), and the closing NUL.
constexpr int kFramedTitleChars = kTitleChars + 6;
constexpr int kMaxTipWidth = 640;
// The title in the header's frame ("■[ %s ]"), whose own text is in the
// code page.
std::wstring Framed(const wchar_t* title) {
    std::wstring framed = Widened(tab_texts::kHeaderTitleFormat);
    const std::size_t slot = framed.find(L"%s");
    if (slot != std::wstring::npos) framed.replace(slot, 2, title);
    return framed;
}

// The side of the faces at 96 dpi; also the button size when the close face
// is missing, so the bar keeps a usable height.
constexpr int kFaceSize = 16;

// The tab control's commands for close, release and minimise, in button order.
constexpr WPARAM kPaneCommands[] = {kCloseTab, kReleaseTab, kMinimizeTab};
constexpr int kFaceIds[] = {IDI_CLOSE,    IDI_CLOSE_PRESSED,
                            IDI_RELEASE,  IDI_RELEASE_PRESSED,
                            IDI_MINIMIZE, IDI_MINIMIZE_PRESSED};
const char* const kTips[] = {tab_texts::kHeaderCloseTip, tab_texts::kHeaderReleaseTip,
                             tab_texts::kHeaderMinimizeTip};

// The size of an icon's colour image (half the mask of a monochrome one);
// zero for none.
SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    // GetIconInfo hands over copies of both bitmaps.
    const UniqueBitmap color(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    if (color) {
        GetObjectA(color.get(), sizeof bitmap, &bitmap);
        return {bitmap.bmWidth, bitmap.bmHeight};
    }
    GetObjectA(mask.get(), sizeof bitmap, &bitmap);
    return {bitmap.bmWidth, bitmap.bmHeight / 2};
}

// DrawState's painter: the face stretched to the size DrawState asks for.
BOOL CALLBACK PaintFace(HDC dc, LPARAM icon, WPARAM, int cx, int cy) {
    return DrawIconEx(dc, 0, 0, reinterpret_cast<HICON>(icon), cx, cy, 0, nullptr, DI_NORMAL);
}

// Along one axis: a face larger than its button keeps its own size and
// overhangs evenly on both sides; otherwise it fills the button.
void PlaceAxis(LONG from, LONG to, LONG faceSize, int* at, int* size) {
    const LONG room = to - from;
    if (room < faceSize) {
        *at = from + (room - faceSize) / 2;
        *size = faceSize;
    } else {
        *at = from;
        *size = room;
    }
}

}  // namespace

// Every message, handled or not, ends in DefWindowProcA, except the static's
// colours, which are the handler's answer.
const MessageRoute<cHeader> cHeader::kRoutes[] = {
    {WM_SIZE, &cHeader::OnSize, AfterHandler::CallDefault},
    {WM_CTLCOLORSTATIC, &cHeader::OnCtlColorStatic},
    {WM_DRAWITEM, &cHeader::OnDrawItem, AfterHandler::CallDefault},
    {WM_COMMAND, &cHeader::OnCommand, AfterHandler::CallDefault},
    {WM_LBUTTONDOWN, &cHeader::OnLButtonDown, AfterHandler::CallDefault},
    {WM_RBUTTONDOWN, &cHeader::OnRButtonDown, AfterHandler::CallDefault},
    {WM_PARENTNOTIFY, &cHeader::OnParentNotify, AfterHandler::CallDefault},
    {WM_DESTROY, &cHeader::OnDestroy, AfterHandler::CallDefault},
};

LRESULT cHeader::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, kRoutes, window_, message, wParam, lParam, DefWindowProcA);
}

bool cHeader::Init(HINSTANCE instance) {
    constexpr WNDPROC procedure = BoundWindowProc<cHeader, tab_ids::kHeaderProp,
                                                  &cHeader::window_, &cHeader::HandleMessage>;
    return RegisterWindowClass(instance, tab_ids::kHeaderClassName, procedure, MenuColorBrush());
}

cHeader::cHeader()
    : activeBack_(GetSysColor(COLOR_ACTIVECAPTION)),
      activeText_(GetSysColor(COLOR_CAPTIONTEXT)),
      inactiveBack_(GetSysColor(COLOR_INACTIVECAPTION)),
      inactiveText_(GetSysColor(COLOR_INACTIVECAPTIONTEXT)),
      activeBrush_(CreateSolidBrush(activeBack_)),
      inactiveBrush_(CreateSolidBrush(inactiveBack_)) {}

cHeader::~cHeader() { DestroyWindow(); }

bool cHeader::Create(HWND tabControl, HINSTANCE instance, COLORREF activeBack,
                     COLORREF inactiveBack, COLORREF activeText, COLORREF inactiveText,
                     cTab& pane) {
    DestroyWindow();
    if (!instance) instance = GetModuleHandleA(nullptr);
    lastClickTime_ = timeGetTime();
    SetColors(activeBack, inactiveBack, activeText, inactiveText);

    window_ = CreateWindowExA(0, tab_ids::kHeaderClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                              tabControl, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                              instance, this);
    if (!window_) return false;
    instance_ = instance;
    LoadIcons(instance);
    active_ = false;
    CreateChildren(instance);
    ShowTitle(nullptr);
    pane_ = &pane;
    SetPropA(window_, tab_ids::kPaneProperty, pane_);
    return true;
}

void cHeader::LoadIcons(HINSTANCE instance) {
    // At the scale of the header's monitor: the faces are asked for at that
    // size, which at 96 dpi is their own.
    const int side = dpi::ScaleFor(window_, kFaceSize);
    for (int i = 0; i < kFaceCount; ++i) {
        // A module without the faces gets buttons of plain background.
        faces_[i].reset(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(kFaceIds[i]),
                                                      IMAGE_ICON, side, side, LR_DEFAULTCOLOR)));
    }
}

void cHeader::ApplyDpi() {
    if (!window_) return;
    LoadIcons(instance_);
    for (int id = kCloseId; id <= kMinimizeId; ++id) InvalidateRect(Child(id), nullptr, TRUE);
    Relayout();
}

void cHeader::CreateChildren(HINSTANCE instance) {
    // A wide control: other applications' titles may hold characters the
    // code page cannot, which an ANSI control would keep as "?".
    children_[0] = CreateWindowExW(0, WC_STATICW, L"", kTitleStyle, 0, 0, 0, 0, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTitleId)),
                                   instance, nullptr);
    for (int i = 0; i < kButtonCount; ++i) {
        children_[kCloseId - kTitleId + i] = CreateWindowExA(
            0, WC_BUTTONA, "", kButtonStyle, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseId + i)), instance, nullptr);
    }
    for (int i = 0; i < kButtonCount; ++i) AddTooltip(i, kTips[i], instance);
}

void cHeader::AddTooltip(int index, const char* text, HINSTANCE instance) {
    const HWND button = Child(kCloseId + index);
    tooltips_[index].reset(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr,
                                           WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, button,
                                           nullptr, instance, nullptr));
    if (!tooltips_[index]) return;
    TTTOOLINFOA tool{};
    // The size every comctl32 since 4.70 accepts.
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.hinst = instance;
    tool.lpszText = const_cast<char*>(text);  // copied by the tooltip
    SendMessageA(tooltips_[index].get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltips_[index].get(), TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
}

void cHeader::DestroyWindow() {
    if (window_) ::DestroyWindow(window_);  // WM_DESTROY clears window_
    window_ = nullptr;
}

void cHeader::ShowTitle(const CapturedWindow* record) {
    if (!record) {
        ShowTitleText(nullptr);
        return;
    }
    wchar_t title[kTitleChars] = L"";
    record->Title(title, kTitleChars);
    ShowTitleText(title);
}

void cHeader::ShowTitleText(const wchar_t* title) {
    if (!window_) return;
    std::wstring framed;
    if (title) {
        std::wstring kept(title, wcsnlen(title, kTitleChars - 1));
        // A cut at the buffer's end may have kept half a surrogate pair.
        if (!kept.empty() && kept.back() >= 0xD800 && kept.back() <= 0xDBFF) kept.pop_back();
        framed = Framed(kept.c_str());
    }
    // The pane shows the title again and again; the static would flicker
    // on every unchanged text.
    wchar_t shown[kFramedTitleChars] = L"";
    GetWindowTextW(Child(kTitleId), shown, kFramedTitleChars);
    if (_wcsnicmp(shown, framed.c_str(), kFramedTitleChars) != 0) {
        SetWindowTextW(Child(kTitleId), framed.c_str());
    }
    for (int id = kCloseId; id <= kMinimizeId; ++id) EnableWindow(Child(id), title != nullptr);
}

void cHeader::SetColors(COLORREF activeBack, COLORREF inactiveBack, COLORREF activeText,
                        COLORREF inactiveText) {
    activeBrush_.reset(CreateSolidBrush(activeBack));
    inactiveBrush_.reset(CreateSolidBrush(inactiveBack));
    activeBack_ = activeBack;
    inactiveBack_ = inactiveBack;
    activeText_ = activeText;
    inactiveText_ = inactiveText;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void cHeader::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void cHeader::SetFont(HFONT font) {
    if (window_) SendMessageA(Child(kTitleId), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void cHeader::SetExStyle(DWORD exStyle) {
    if (!window_) return;
    SetWindowLongA(window_, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void cHeader::Relayout() {
    if (window_) SendMessageA(window_, WM_SIZE, 0, 0);
}

DWORD cHeader::ExStyle() const {
    return window_ ? static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE)) : 0;
}

void cHeader::WindowRect(RECT* rect) const {
    if (window_) {
        GetWindowRect(window_, rect);
    } else {
        SetRectEmpty(rect);
    }
}

int cHeader::ButtonSize() const {
    const SIZE face = IconSize(faces_[0].get());
    return face.cy > 0 ? face.cy : dpi::ScaleFor(window_, kFaceSize);
}

LRESULT cHeader::OnSize(WPARAM, LPARAM) {
    const int s = ButtonSize();
    RECT outer{0, 0, 3 * s, s};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE)));

    const HWND tabControl = GetParent(window_);
    RECT display{};
    GetClientRect(tabControl, &display);
    TabCtrl_AdjustRect(tabControl, FALSE, &display);
    // Moving to a new size sends WM_SIZE again; the inner pass finds the
    // header in place and only lays out the controls.
    MoveWindow(window_, display.left, display.top, display.right - display.left,
               outer.bottom - outer.top, TRUE);

    RECT client{};
    GetClientRect(window_, &client);
    MoveWindow(Child(kTitleId), client.left, client.top, client.right - 3 * s - client.left,
               client.bottom - client.top, TRUE);
    for (int i = 0; i < kButtonCount; ++i) {
        MoveWindow(Child(kCloseId + i), client.right - (i + 1) * s, client.top, s, s, TRUE);
    }
    return 0;
}

LRESULT cHeader::OnCtlColorStatic(WPARAM wParam, LPARAM) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, active_ ? activeText_ : inactiveText_);
    SetBkColor(dc, active_ ? activeBack_ : inactiveBack_);
    return reinterpret_cast<LRESULT>(active_ ? activeBrush_.get() : inactiveBrush_.get());
}

LRESULT cHeader::OnDrawItem(WPARAM, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const int button = static_cast<int>(item->CtlID) - kCloseId;
    if (item->CtlType != ODT_BUTTON || button < 0 || button >= kButtonCount) return FALSE;

    const RECT& r = item->rcItem;
    FillRect(item->hDC, &r, GetSysColorBrush(COLOR_MENU));
    const HICON face = faces_[2 * button + ((item->itemState & ODS_SELECTED) ? 1 : 0)].get();
    if (!face) return TRUE;
    const SIZE faceSize = IconSize(face);
    int x = 0, y = 0, cx = 0, cy = 0;
    PlaceAxis(r.left, r.right, faceSize.cx, &x, &cx);
    PlaceAxis(r.top, r.bottom, faceSize.cy, &y, &cy);
    const UINT state = (item->itemState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL;
    DrawStateA(item->hDC, nullptr, PaintFace, reinterpret_cast<LPARAM>(face), 0, x, y, cx, cy,
               DST_COMPLEX | state);
    return TRUE;
}

LRESULT cHeader::OnCommand(WPARAM wParam, LPARAM) {
    // Only plain clicks: an owner-drawn button reports the second click of a
    // double click as BN_DOUBLECLICKED, which must not release a second tab.
    const int button = LOWORD(wParam) - kCloseId;
    if (HIWORD(wParam) != BN_CLICKED || button < 0 || button >= kButtonCount) return 0;
    SendMessageA(GetParent(window_), WM_COMMAND, kPaneCommands[button], 0);
    return 0;
}

LRESULT cHeader::OnLButtonDown(WPARAM, LPARAM) {
    // The header's class has no CS_DBLCLKS, so a double click is timed here.
    // The clock starts at creation: a click just after it counts as second.
    const DWORD now = timeGetTime();
    const bool second = now - lastClickTime_ < GetDoubleClickTime();
    // Stored before the command, which may end the pane and this object.
    lastClickTime_ = now;
    const HWND window = window_;
    if (second) {
        SendMessageA(window, WM_COMMAND, kReleaseId, 0);
    } else {
        PostMessageA(GetParent(window), PM_FOREGROUNDACTIVE, 0, 0);
    }
    return 0;
}

LRESULT cHeader::OnRButtonDown(WPARAM wParam, LPARAM lParam) {
    SendMessageA(GetParent(window_), WM_RBUTTONDOWN, wParam, lParam);
    return 0;
}

LRESULT cHeader::OnParentNotify(WPARAM wParam, LPARAM lParam) {
    // A right click on a button: the pane's menu, as on the bar itself.
    if (LOWORD(wParam) == WM_RBUTTONDOWN) {
        SendMessageA(GetParent(window_), WM_PARENTNOTIFY, wParam, lParam);
    }
    return 0;
}

LRESULT cHeader::OnDestroy(WPARAM, LPARAM) {
    for (UniqueIcon& face : faces_) face.reset();
    for (UniqueWindow& tooltip : tooltips_) tooltip.reset();
    for (HWND& child : children_) child = nullptr;
    activeBrush_.reset();
    inactiveBrush_.reset();
    // The header's own property goes with the binding, right after this.
    RemovePropA(window_, tab_ids::kPaneProperty);
    return 0;
}
