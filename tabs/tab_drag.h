// One drag of a tab with the mouse, from the press to the release. The tab
// control holds the mouse capture for as long as the drag lives.
#pragma once

#include <windows.h>

#include <optional>

class cTab;

class TabDrag {
public:
    // Starts at a press on tab dragged of tabControl.
    TabDrag(HWND tabControl, int dragged);
    ~TabDrag();
    TabDrag(const TabDrag&) = delete;
    TabDrag& operator=(const TabDrag&) = delete;

    // Follows the pointer until the left button is up, showing the drag
    // cursor while the pointer is off the dragged tab (another one while no
    // window of this program is under it); returns where the button came
    // up, on the screen, or nothing when Escape cancelled the drag. Only
    // mouse and key input is taken off the queue meanwhile: the pane's
    // timers wait, as does everything else.
    std::optional<POINT> Follow();

    // The pane a tab dropped at a screen point lands in: the one whose tab
    // strip, header, display area or base window is there; null over any
    // other window.
    static cTab* PaneAt(POINT screenPoint);
    // Whether no window of this program is at a screen point: the desktop,
    // or another program's window that is not captured here.
    static bool OutsideProgram(POINT screenPoint);

private:
    HWND tabControl_;
    RECT tabRect_{};
};
