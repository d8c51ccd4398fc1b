// A pane's periodic refresh: one tick of the pane's refresh timer, every
// watchInterval ms from the pane's creation to its destruction. It keeps
// the tabs' texts and icons current, drops the tabs of windows that are
// gone or that the hang watchdog gave back, and keeps the main window on
// top while a captured window is in use. Its state is where it is in the
// tabs and what it saw last; the tabs and records stay the pane's.
#pragma once

#include <windows.h>

class CapturedWindow;
class cTab;

class PaneRefresh {
public:
    explicit PaneRefresh(cTab& pane) : pane_(pane) {}
    PaneRefresh(const PaneRefresh&) = delete;
    PaneRefresh& operator=(const PaneRefresh&) = delete;

    // Does one tick's work; the first one (and one after watchInterval
    // changed) sets the refresh timer.
    void Tick();
    // Kills the refresh timer; the next tick sets it again (on the pane's
    // new tab control, when the pane is made again).
    void Stop();

private:
    void DropRescuedTabs();
    void DropGoneWindows();
    void ReportGone(CapturedWindow* record);
    void RefreshInTurn();
    void KeepMainOnTop();
    void ArmTimer();

    cTab& pane_;
    // The place in the tabs of the look at a few of them, and of the icon
    // asked for, and the count of ticks.
    int turn_ = 0;
    int iconTurn_ = 0;
    unsigned ticks_ = 0;
    // process_watch's count of ended processes when the pane last looked.
    unsigned long processesEnded_ = 0;
    // The window the main window was last raised for while it was in use.
    HWND raisedFor_ = nullptr;
    bool ticking_ = false;
    // Whether the refresh timer is set, and with which period.
    bool armed_ = false;
    UINT armedInterval_ = 0;
};
