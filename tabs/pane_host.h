// What a pane asks of the window that holds the pane chain. The main window
// implements it and hands it to the root pane at creation; a child pane
// takes its parent's. The tabs layer declares it, so that a pane never
// reaches into the layers above it.
#pragma once

#include <windows.h>

class cTab;

class PaneHost {
public:
    // The main window: it takes the commands a pane does not handle itself
    // (PM_EXECCOMMAND, PM_POPUPMAINMENU), and a capture brings it forward.
    virtual HWND HostWindow() const = 0;
    // Whether a launch waits for its program's window: windows reported now
    // are queued whatever the conditions say.
    virtual bool LaunchCaptureArmed() const = 0;
    // True once, for the first of those windows that shows and is the
    // launched program's own (no owned splash or tip, no other program's
    // window): the launch capture is then disarmed and that window is taken.
    virtual bool ConsumeLaunchCapture(HWND window) = 0;
    // The tab menu of pane at the pointer, owned by the host window.
    virtual void ShowTabMenu(cTab& pane) = 0;

protected:
    ~PaneHost() = default;
};
