// What a launch asks of the main window before it starts a program: to take
// the program's first new window as a tab (when the user wants launched
// programs captured). The launcher declares it; the main window answers it.
#pragma once

class LaunchCapture {
public:
    virtual void ArmLaunchCapture() = 0;

protected:
    ~LaunchCapture() = default;
};
