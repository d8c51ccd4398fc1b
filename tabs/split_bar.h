// The split bar: the strip, 16 pixels at 96 dpi, between the two panes of a
// split pane.
// It is dragged to share the container's room between the panes, and its two
// arrow buttons ask the container to move the selected tab across. The
// container sends the bar WM_SIZE and lays its panes out around the bar's
// window rectangle; the bar keeps the share as a ratio of the container.
#pragma once

#include "base/dpi.h"
#include "base/window_binding.h"

#include <windows.h>

class cSplitbar {
public:
    // Registers "panelry_split_hbar_class" and "panelry_split_vbar_class".
    // Shows "RegisterClass@cSplitbar::Init" on failure.
    static bool Init(HINSTANCE instance);

    cSplitbar();
    virtual ~cSplitbar();
    cSplitbar(const cSplitbar&) = delete;
    cSplitbar& operator=(const cSplitbar&) = delete;

    // A horizontal bar lies between an upper and a lower pane. The bar is
    // placed at the next WM_SIZE its parent sends it.
    bool Create(HWND parent, HINSTANCE instance, bool horizontal);
    // Clamped to 0..1; the parent is told to lay out again.
    void SetRatio(double ratio);
    double Ratio() const { return ratio_; }
    bool IsHorizontal() const;
    HWND Window() const { return window_; }

    // Where a bar's leading edge may lie in a container of extent pixels
    // along the split axis: kMargin clear of both ends where there is room
    // (both sizes scaled to dpi).
    static int ClampSplitPosition(int position, int extent, int dpi = dpi::kDesign);
    // The bar's thickness at the scale of its monitor.
    int Thickness() const;
    // Takes the scale of the monitor the bar is now on and lays it out again.
    void ApplyDpi();

    // SBARFLAG and SBARRATE of the SYSTEMDATA section of system.ini.
    static void LoadSettings(const char* systemIni);
    static void SaveSettings(const char* systemIni);
    // True: bars are dragged with the right button and the two arrow buttons
    // fill the bar; false: dragged with the left button by the grip.
    static bool DragWithRightButton();
    static void SetDragWithRightButton(bool right);
    // The grip's length in percent of the bar's length; at most 100.
    static BYTE GripPercent();
    static void SetGripPercent(BYTE percent);

    // At 96 dpi.
    static constexpr int kThickness = 16;
    static constexpr int kMargin = 64;
    // The start button is at the left end of a horizontal bar and at the
    // top end of a vertical one.
    static constexpr int kStartButtonId = 1;
    static constexpr int kEndButtonId = 2;

private:
    static const MessageRoute<cSplitbar> kRoutes[];
    // Each class has a procedure of its own; the bar keeps its orientation
    // itself, so both forward here alike.
    LRESULT HorizontalMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT VerticalMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnDrawItem(WPARAM, LPARAM);
    LRESULT OnCommand(WPARAM, LPARAM);
    LRESULT OnButtonDown(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);

    void PlaceButtons();
    void Drag();

    HWND window_ = nullptr;
    // The orientation the bar was created with; its window's class says the same.
    bool horizontal_ = false;
    double ratio_ = 0.5;
    int dpi_ = dpi::kDesign;
};
