// The launcher panel tool: a small window "ランチャ" of 8 x 8 slots that each
// hold a program to start with a double click, kept in $link beside this
// plug-in. Choosing the tool opens the panel or closes it; with its check
// box on, an opened panel asks Panelry to hold it as a tab.
#define PANELRY_TOOL_PLUGIN_BUILD
#include "plugins/host/tool_plugin.h"

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
constexpr int kSlotClient = 32;
constexpr COLORREF kGround = RGB(216, 235, 242);
constexpr COLORREF kDiagonal = RGB(202, 220, 226);

HWND g_panel = nullptr;
HWND g_main = nullptr;
bool g_autoTab = false;
// Built on the panel's first message; each slot gives its window back when
// the module goes.
std::unique_ptr<std::array<cLinkSlot, link_file::kSlots>> g_slots;
UniqueBrush g_background;

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

std::array<cLinkSlot, link_file::kSlots>& Slots() {
    if (!g_slots) g_slots = std::make_unique<std::array<cLinkSlot, link_file::kSlots>>();
    return *g_slots;
}

SIZE WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// A static of the panel sized so that its client area is 32 x 32, whatever
// frame its sunken edge gives it.
HWND MakeSlotWindow(HWND panel) {
    HWND window = CreateWindowExA(0, "static", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_SUNKEN,
                                  0, 0, kSlotClient, kSlotClient, panel,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), g_self,
                                  nullptr);
    if (!window) return nullptr;
    RECT client{};
    GetClientRect(window, &client);
    const SIZE outer = WindowSize(window);
    SetWindowPos(window, nullptr, 0, 0, kSlotClient + outer.cx - client.right,
                 kSlotClient + outer.cy - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return window;
}

// Slots in rows of eight below the check box, the panel's client area just
// around them with its corner at the cursor.
void LayOut(HWND panel, POINT cursor) {
    HWND first = Slots()[0].Window();
    if (!first) return;
    HWND check = GetDlgItem(panel, IDC_LINK_AUTOTAB);
    const SIZE slot = WindowSize(first);
    const LONG checkHeight = WindowSize(check).cy;
    for (int i = 0; i < link_file::kSlots; ++i) {
        SetWindowPos(Slots()[i].Window(), nullptr, (i % kColumns) * slot.cx,
                     checkHeight + (i / kColumns) * slot.cy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW |
                         SWP_FRAMECHANGED);
    }
    RECT frame{cursor.x, cursor.y, cursor.x + kColumns * slot.cx,
               cursor.y + checkHeight + (link_file::kSlots / kColumns) * slot.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(panel, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(panel, GWL_EXSTYLE)));
    MoveWindow(panel, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               TRUE);
    MoveWindow(check, 0, 0, frame.right - frame.left, checkHeight, TRUE);
}

void LoadSlots(HWND panel) {
    const std::string file = DataFilePath();
    link_file::Contents contents;
    contents.autoTab = g_autoTab;
    if (PathFits(file) && link_file::Read(file.c_str(), &contents)) {
        g_autoTab = contents.autoTab;
        for (int i = 0; i < link_file::kSlots; ++i) {
            if (contents.paths[i][0]) Slots()[i].Restore(contents.paths[i]);
        }
    }
    CheckDlgButton(panel, IDC_LINK_AUTOTAB, g_autoTab ? BST_CHECKED : BST_UNCHECKED);
}

void SaveSlots(HWND panel) {
    g_autoTab = IsDlgButtonChecked(panel, IDC_LINK_AUTOTAB) == BST_CHECKED;
    link_file::Contents contents;
    contents.autoTab = g_autoTab;
    for (int i = 0; i < link_file::kSlots; ++i) {
        lstrcpynA(contents.paths[i], Slots()[i].Path(), MAX_PATH);
    }
    const std::string file = DataFilePath();
    // A file that cannot be made keeps nothing, silently.
    if (PathFits(file)) link_file::Write(file.c_str(), contents);
}

INT_PTR OnInitDialog(HWND panel) {
    g_panel = panel;
    POINT cursor{};
    GetCursorPos(&cursor);
    for (cLinkSlot& slot : Slots()) slot.Attach(MakeSlotWindow(panel));
    LayOut(panel, cursor);
    LoadSlots(panel);
    g_background = MakeBackgroundBrush();
    return TRUE;
}

INT_PTR OnColour(HDC dc) {
    SetBkColor(dc, kGround);
    return reinterpret_cast<INT_PTR>(g_background.get());
}

void OnDestroy(HWND panel) {
    SaveSlots(panel);
    g_background.reset();
    if (g_panel == panel) g_panel = nullptr;
}

INT_PTR CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(panel);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return OnColour(reinterpret_cast<HDC>(wParam));
    case WM_SIZE:
        // Held as a tab, the panel is sized to its pane: the pattern must
        // cover what was uncovered, and a dialog class redraws only that.
        RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(panel);
        return TRUE;
    case WM_DESTROY:
        OnDestroy(panel);
        return TRUE;
    default:
        return FALSE;
    }
}

bool PanelOpen() { return g_panel && IsWindow(g_panel); }

// Freed while the panel is open (Panelry waits for the panel to close, but
// frees what is left when it ends; another host may not wait): the panel
// would outlive the code that runs it, so it closes and saves first.
void ClosePanel() {
    if (PanelOpen()) DestroyWindow(g_panel);
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
        DestroyWindow(g_panel);
        g_panel = nullptr;
        return 1;
    }
    g_panel = nullptr;
    HWND panel = CreateDialogParamA(g_self, MAKEINTRESOURCEA(IDD_LINK_PANEL), nullptr, PanelProc, 0);
    if (!panel) return 0;
    g_panel = panel;
    if (g_autoTab) SendMessageA(g_main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(panel));
    return 1;
}

}  // extern "C"
