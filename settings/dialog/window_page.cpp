// The settings page "ウィンドウ": the borders of the main window, the tab
// controls, the header bars and the shortcut window, and the four header
// colours. The colours are edited on a copy with two samples that show
// them, so that a cancelled dialog leaves the header bars as they were.
#include "base/handles.h"
#include "settings/dialog/dialog_ids.h"
#include "settings/dialog/pages.h"
#include "settings/dialog/window_page_ids.h"
#include "settings/system_data.h"

#include <commdlg.h>

#include <cstdint>

namespace {

// Sent by the page to itself after a colour changed: new sample brushes.
// The number is also DM_SETDEFID, which means nothing here: the page has no
// default button.
constexpr UINT kRedrawSamples = WM_USER + 1;

// The colour chooser's custom colours: they outlive the dialog, so a colour
// the user mixed is still there the next time, for the rest of the run.
COLORREF g_customColours[16] = {
    RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 0, 0),   RGB(0, 128, 0),
    RGB(0, 0, 128),     RGB(128, 128, 0),   RGB(0, 128, 128), RGB(128, 0, 128),
    RGB(0, 0, 0),       RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),
    RGB(0, 0, 255),     RGB(255, 255, 0),   RGB(0, 255, 255), RGB(255, 0, 255),
};

// A style field and the check boxes that make it up.
struct StyleBox {
    int id;
    std::uint32_t SystemData::*field;
    std::uint32_t bit;
};
constexpr StyleBox kStyleBoxes[] = {
    {IDC_WINDOW_MAIN_CLIENTEDGE, &SystemData::mainExStyle, WS_EX_CLIENTEDGE},
    {IDC_WINDOW_MAIN_TOOLWINDOW, &SystemData::mainExStyle, WS_EX_TOOLWINDOW},
    {IDC_WINDOW_TAB_CLIENTEDGE, &SystemData::tabExStyle, WS_EX_CLIENTEDGE},
    {IDC_WINDOW_HEADER_CLIENTEDGE, &SystemData::headerExStyle, WS_EX_CLIENTEDGE},
    {IDC_WINDOW_SHORTCUT_DLGFRAME, &SystemData::shortcutExStyle, WS_EX_DLGMODALFRAME},
    {IDC_WINDOW_SHORTCUT_CLIENTEDGE, &SystemData::shortcutExStyle, WS_EX_CLIENTEDGE},
};

class WindowPage : public SettingsPage {
public:
    WindowPage() : SettingsPage(IDD_PAGE_WINDOW) {}

private:
    struct HeaderColours {
        COLORREF activeBack, activeText, inactiveBack, inactiveText;
    };

    void Fill() override {
        const SystemData& settings = GetSystemData();
        for (const StyleBox& box : kStyleBoxes) Check(box.id, (settings.*box.field & box.bit) != 0);
        colours_ = {settings.headerActiveBack, settings.headerActiveText,
                    settings.headerInactiveBack, settings.headerInactiveText};
        SendMessageA(window_, kRedrawSamples, 0, 0);
    }

    void Write() override {
        SystemData& settings = GetSystemData();
        // Each field from its boxes alone: a bit no box stands for is dropped.
        for (const StyleBox& box : kStyleBoxes) settings.*box.field = 0;
        for (const StyleBox& box : kStyleBoxes) {
            if (Checked(box.id)) settings.*box.field |= box.bit;
        }
        settings.shortcutStyle = 0;
        settings.headerActiveBack = colours_.activeBack;
        settings.headerActiveText = colours_.activeText;
        settings.headerInactiveBack = colours_.inactiveBack;
        settings.headerInactiveText = colours_.inactiveText;
    }

    bool OnCommand(WORD id, WORD code, HWND) override {
        if (code != BN_CLICKED) return false;
        COLORREF* colour = ColourOfButton(id);
        if (!colour) return false;
        Choose(colour);
        return true;
    }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override {
        switch (message) {
        case kRedrawSamples:
            MakeSampleBrushes();
            InvalidateRect(Item(IDC_WINDOW_ACTIVE_SAMPLE), nullptr, TRUE);
            InvalidateRect(Item(IDC_WINDOW_INACTIVE_SAMPLE), nullptr, TRUE);
            *result = TRUE;
            return true;
        case WM_CTLCOLORSTATIC:
            return SampleColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                 result);
        case WM_DESTROY:
            activeBrush_.reset();
            inactiveBrush_.reset();
            return false;
        default:
            return false;
        }
    }

    COLORREF* ColourOfButton(WORD id) {
        switch (id) {
        case IDC_WINDOW_ACTIVE_BACK: return &colours_.activeBack;
        case IDC_WINDOW_ACTIVE_TEXT: return &colours_.activeText;
        case IDC_WINDOW_INACTIVE_BACK: return &colours_.inactiveBack;
        case IDC_WINDOW_INACTIVE_TEXT: return &colours_.inactiveText;
        default: return nullptr;
        }
    }

    void Choose(COLORREF* colour) {
        CHOOSECOLORA chooser{};
        chooser.lStructSize = sizeof chooser;
        chooser.hwndOwner = window_;
        chooser.rgbResult = *colour;
        chooser.lpCustColors = g_customColours;
        chooser.Flags = CC_FULLOPEN | CC_RGBINIT;
        if (!ChooseColorA(&chooser)) return;
        *colour = chooser.rgbResult;
        SendMessageA(window_, kRedrawSamples, 0, 0);
    }

    void MakeSampleBrushes() {
        activeBrush_.reset(CreateSolidBrush(colours_.activeBack));
        inactiveBrush_.reset(CreateSolidBrush(colours_.inactiveBack));
    }

    // A sample draws in its row's colours; every other static as usual.
    bool SampleColours(HDC dc, HWND control, INT_PTR* result) const {
        const int id = GetDlgCtrlID(control);
        if (id != IDC_WINDOW_ACTIVE_SAMPLE && id != IDC_WINDOW_INACTIVE_SAMPLE) return false;
        const bool active = id == IDC_WINDOW_ACTIVE_SAMPLE;
        SetTextColor(dc, active ? colours_.activeText : colours_.inactiveText);
        SetBkColor(dc, active ? colours_.activeBack : colours_.inactiveBack);
        *result = reinterpret_cast<INT_PTR>(active ? activeBrush_.get() : inactiveBrush_.get());
        return true;
    }

    HeaderColours colours_{};
    UniqueBrush activeBrush_;
    UniqueBrush inactiveBrush_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeWindowPage() { return std::make_unique<WindowPage>(); }
