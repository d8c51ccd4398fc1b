// What a launch asks of the main window around the start of a program: to
// take the program's first new window as a tab (when the user wants launched
// programs captured), and how the start went. The launcher declares it; the
// main window answers it.
//
// Beside it, the one-shot capture that answers it: the new-window watch
// switched on for one launched program's window. Left armed, it would take
// the next window the user opens anywhere, hours later, whatever the
// conditions say; so it is disarmed (and the watch it started stopped) by a
// launch that failed, by kGiveUpMs without the window (a document handed to
// a program already running, a web address), and by the user switching the
// watch on or off himself. The window it waits for is the program's own:
// a window with an owner (a splash screen, a tip) is not it, nor is one of
// another process when the launch told which process it started.
#pragma once

#include <windows.h>

class LaunchCapture {
public:
    // Before a launch.
    virtual void ArmLaunchCapture() = 0;
    // After it: started false when it failed; processId the process the
    // shell started, 0 when it did not say.
    virtual void LaunchFinished(bool started, DWORD processId) = 0;

protected:
    ~LaunchCapture() = default;
};

class LaunchedWindowCapture {
public:
    static constexpr DWORD kGiveUpMs = 15000;

    // Arms when the user wants launched programs captured and the watch is
    // off and starts; while armed, it waits anew for the newest launch.
    void Arm();
    // Disarms after a failed launch; notes the started process otherwise.
    void Finished(bool started, DWORD processId);
    bool Armed() const { return armed_; }
    // Whether window is the one the launch waits for (nothing while
    // disarmed).
    bool Awaits(HWND window) const;
    // True once, for the first window awaited: disarmed, watch stopped.
    bool Consume(HWND window);
    // Disarms and stops the watch that arming started.
    void Disarm();
    // Disarms and leaves the watch as it is: the user has taken it over.
    void Forget();

private:
    static void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD);
    void StopTimer();

    bool armed_ = false;
    DWORD processId_ = 0;
    UINT_PTR timer_ = 0;
};

// The program's one.
LaunchedWindowCapture& TheLaunchedWindowCapture();
