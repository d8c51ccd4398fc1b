// The launcher panel tool: a small window "ランチャ" of 8 x 8 slots that each
// hold a program to start with a double click, kept in $link beside this
// plug-in. Choosing the tool opens the panel or closes it; with its check
// box on, an opened panel asks Panelry to hold it as a tab.
#define PANELRY_TOOL_PLUGIN_BUILD
#include "plugins/host/tool_plugin.h"

#include "base/dpi.h"
#include "base/handles.h"
#include "plugins/common/tool_basics.h"
#include "plugins/common/tool_module.h"
#include "plugins/common/tool_paths.h"
#include "plugins/link/link_file.h"
#include "plugins/link/link_ids.h"
#include "plugins/link/link_slot.h"
#include "plugins/link/link_texts.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kColumns = 8;
constexpr int kSlotClient = 32;  // at 96 dpi
constexpr COLORREF kGround = RGB(216, 235, 242);
constexpr COLORREF kDiagonal = RGB(202, 220, 226);
// WM_DPICHANGED_AFTERPARENT, which the headers give only for Windows 10.
constexpr UINT kDpiChangedAfterParent = 0x02E3;

HWND g_main = nullptr;

// $link in this plug-in's folder. A path too long to open is a file that
// cannot be read or made: nothing is loaded or saved, as the panel does for
// such a file.
std::string DataFilePath() { return FileBesideTool(link_ids::kDataFile, nullptr); }

// 8 x 8 of the ground colour with a one-pixel diagonal from the lower left
// to the upper right (x + y = 7, y from the top).
UniqueBrush MakeBackgroundBrush() {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
        DWORD rows[8];  // 1 bit a pixel, each row padded to four bytes
    } pattern{};
    pattern.header.biSize = sizeof pattern.header;
    pattern.header.biWidth = 8;
    pattern.header.biHeight = 8;  // bottom-up: the first row stored is y = 7
    pattern.header.biPlanes = 1;
    pattern.header.biBitCount = 1;
    pattern.header.biCompression = BI_RGB;
    pattern.colours[0] = {GetBValue(kGround), GetGValue(kGround), GetRValue(kGround), 0};
    pattern.colours[1] = {GetBValue(kDiagonal), GetGValue(kDiagonal), GetRValue(kDiagonal), 0};
    for (int stored = 0; stored < 8; ++stored) {
        // Stored row r is y = 7 - r, whose diagonal pixel is x = r.
        pattern.rows[stored] = 0x80u >> stored;
    }
    return UniqueBrush(CreateDIBPatternBrushPt(&pattern, DIB_RGB_COLORS));
}

SIZE WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// A slot sized so that its client area is side x side, whatever frame its
// sunken edge gives it.
void SizeSlot(HWND window, int side) {
    RECT client{};
    GetClientRect(window, &client);
    const SIZE outer = WindowSize(window);
    SetWindowPos(window, nullptr, 0, 0, side + outer.cx - client.right,
                 side + outer.cy - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A static of the panel, 32 x 32 at 96 dpi, scaled to the panel's monitor.
HWND MakeSlotWindow(HWND panel) {
    const int side = dpi::ScaleFor(panel, kSlotClient);
    HWND window = CreateWindowExA(0, "static", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_SUNKEN,
                                  0, 0, side, side, panel,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), g_self,
                                  nullptr);
    if (window) SizeSlot(window, side);
    return window;
}

// The panel. The module has one, g_panel, which keeps the check box's state
// between openings.
class LinkPanel {
public:
    HWND Window() const { return window_; }
    bool Open() const { return window_ && IsWindow(window_); }
    bool AutoTab() const { return autoTab_; }
    // Opens the panel, modeless; false when it could not be made.
    bool Create() {
        return CreateBoundDialog<LinkPanel, &LinkPanel::window_, &LinkPanel::Handle>(
                   *this, g_self, IDD_LINK_PANEL, nullptr) != nullptr;
    }

private:
    using Slots = std::array<cLinkSlot, link_file::kSlots>;

    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog();
    INT_PTR OnColour(HDC dc);
    void OnDestroy();
    void LayOut(POINT cursor);
    SIZE PlaceSlots();
    void ResizeSlots(int dpi);
    INT_PTR OnDpiChanged(int dpi, const RECT& suggested);
    void LoadSlots();
    void SaveSlots();
    Slots& SlotArray() {
        if (!slots_) slots_ = std::make_unique<Slots>();
        return *slots_;
    }

    HWND window_ = nullptr;
    bool autoTab_ = false;
    // Built on the panel's first message; each slot gives its window back
    // when the module goes.
    std::unique_ptr<Slots> slots_;
    UniqueBrush background_;
};

LinkPanel g_panel;

// Slots in rows of eight below the check box; the size they take.
SIZE LinkPanel::PlaceSlots() {
    const SIZE slot = WindowSize(SlotArray()[0].Window());
    const LONG checkHeight = WindowSize(GetDlgItem(window_, IDC_LINK_AUTOTAB)).cy;
    for (int i = 0; i < link_file::kSlots; ++i) {
        SetWindowPos(SlotArray()[i].Window(), nullptr, (i % kColumns) * slot.cx,
                     checkHeight + (i / kColumns) * slot.cy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW |
                         SWP_FRAMECHANGED);
    }
    return {kColumns * slot.cx, checkHeight + (link_file::kSlots / kColumns) * slot.cy};
}

// The slots, the panel's client area just around them with its corner at
// the cursor.
void LinkPanel::LayOut(POINT cursor) {
    if (!SlotArray()[0].Window()) return;
    const SIZE content = PlaceSlots();
    RECT frame{cursor.x, cursor.y, cursor.x + content.cx, cursor.y + content.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
    MoveWindow(window_, frame.left, frame.top, frame.right - frame.left,
               frame.bottom - frame.top, TRUE);
    const HWND check = GetDlgItem(window_, IDC_LINK_AUTOTAB);
    MoveWindow(check, 0, 0, frame.right - frame.left, WindowSize(check).cy, TRUE);
}

void LinkPanel::ResizeSlots(int dpi) {
    for (cLinkSlot& slot : SlotArray()) {
        if (slot.Window()) SizeSlot(slot.Window(), dpi::Scale(kSlotClient, dpi));
    }
}

// Moved to a monitor of another scale: the cells take its size and the
// panel the rectangle Windows suggests, its frame where the old one was.
INT_PTR LinkPanel::OnDpiChanged(int dpi, const RECT& suggested) {
    if (!SlotArray()[0].Window()) return FALSE;
    ResizeSlots(dpi);
    RECT frame{};
    GetWindowRect(window_, &frame);
    POINT corner{0, 0};
    ClientToScreen(window_, &corner);
    LayOut({suggested.left + corner.x - frame.left, suggested.top + corner.y - frame.top});
    return TRUE;
}

void LinkPanel::LoadSlots() {
    const std::string file = DataFilePath();
    link_file::Contents contents;
    contents.autoTab = autoTab_;
    if (PathFits(file) && link_file::Read(file.c_str(), &contents)) {
        autoTab_ = contents.autoTab;
        for (int i = 0; i < link_file::kSlots; ++i) {
            if (contents.paths[i][0]) SlotArray()[i].Restore(contents.paths[i]);
        }
    }
    CheckDlgButton(window_, IDC_LINK_AUTOTAB, autoTab_ ? BST_CHECKED : BST_UNCHECKED);
}

void LinkPanel::SaveSlots() {
    autoTab_ = IsDlgButtonChecked(window_, IDC_LINK_AUTOTAB) == BST_CHECKED;
    link_file::Contents contents;
    contents.autoTab = autoTab_;
    for (int i = 0; i < link_file::kSlots; ++i) {
        lstrcpynA(contents.paths[i], SlotArray()[i].Path(), MAX_PATH);
    }
    const std::string file = DataFilePath();
    // A file that cannot be made keeps nothing, silently.
    if (PathFits(file)) link_file::Write(file.c_str(), contents);
}

INT_PTR LinkPanel::OnInitDialog() {
    POINT cursor{};
    GetCursorPos(&cursor);
    for (cLinkSlot& slot : SlotArray()) slot.Attach(MakeSlotWindow(window_));
    LayOut(cursor);
    LoadSlots();
    background_ = MakeBackgroundBrush();
    return TRUE;
}

INT_PTR LinkPanel::OnColour(HDC dc) {
    SetBkColor(dc, kGround);
    return reinterpret_cast<INT_PTR>(background_.get());
}

void LinkPanel::OnDestroy() {
    SaveSlots();
    background_.reset();
}

INT_PTR LinkPanel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return OnColour(reinterpret_cast<HDC>(wParam));
    case WM_SIZE:
        // Held as a tab, the panel is sized to its pane: the pattern must
        // cover what was uncovered, and a dialog class redraws only that.
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return TRUE;
    case WM_DPICHANGED:
        return OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case kDpiChangedAfterParent:
        // Held as a tab: the pane sizes the panel, the cells follow the scale.
        if (SlotArray()[0].Window()) {
            ResizeSlots(dpi::ForWindow(window_));
            PlaceSlots();
        }
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window_);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    default:
        return FALSE;
    }
}

bool PanelOpen() { return g_panel.Open(); }

// Freed while the panel is open (Panelry waits for the panel to close, but
// frees what is left when it ends; another host may not wait): the panel
// would outlive the code that runs it, so it closes and saves first.
void ClosePanel() {
    if (PanelOpen()) DestroyWindow(g_panel.Window());
}

}  // namespace

PANELRY_TOOL_TEXTS(link_texts::kToolName, link_texts::kMaker)
PANELRY_TOOL_DLLMAIN(ClosePanel)

extern "C" {

int __cdecl pluginIsMenuItemChecked(HWND*, int, HWND) { return PanelOpen() ? 1 : 0; }

int __cdecl pluginIsMenuItemEnable(HWND*, int, HWND) { return 1; }

int __cdecl pluginSelected(HWND*, int, HWND mainWindow) {
    g_main = mainWindow;
    if (PanelOpen()) {
        DestroyWindow(g_panel.Window());
        return 1;
    }
    if (!g_panel.Create()) return 0;
    if (g_panel.AutoTab()) {
        SendMessageA(g_main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(g_panel.Window()));
    }
    return 1;
}

}  // extern "C"
