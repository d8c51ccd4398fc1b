// What a pane asks of the window that holds the pane chain. The main window
// implements it and hands it to the root pane at creation; a child pane
// takes its parent's. The tabs layer declares it, so that a pane never
// reaches into the layers above it, and every request names the pane it is
// for: a menu stays open while the pointer presses in other panes, and its
// choice must still act where it was opened.
#pragma once

#include <windows.h>

class cTab;

class PaneHost {
public:
    // The main window, which a capture brings forward and keeps on top.
    virtual HWND HostWindow() const = 0;
    // Whether a launch waits for its program's window: windows reported now
    // are queued whatever the conditions say.
    virtual bool LaunchCaptureArmed() const = 0;
    // True once, for the first of those windows that shows and is the
    // launched program's own (no owned splash or tip, no other program's
    // window): the launch capture is then disarmed and that window is taken.
    virtual bool ConsumeLaunchCapture(HWND window) = 0;
    // The main menu and the tab menu of pane at the pointer, owned by the
    // host window, their commands greyed by pane's state: the chosen command
    // id, 0 for none.
    virtual unsigned ChooseFromMainMenu(cTab& pane) = 0;
    virtual unsigned ChooseFromTabMenu(cTab& pane) = 0;
    // Carries out a command that pane does not carry out itself (a list
    // entry, a tool, the program's own commands) for pane; false when no
    // one handles it.
    virtual bool ExecHostCommand(cTab& pane, unsigned id) = 0;

protected:
    ~PaneHost() = default;
};
