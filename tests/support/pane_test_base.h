// What every test of panes does with the window that holds the root pane,
// whichever window that is (the test host of the tabs layer, or the main
// window): open windows of the sample application, capture them through the
// holding window as any process may ask, send commands and look at the tabs.
#pragma once

#include "tabs/pane.h"
#include "tests/support/sample_app.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

class PaneTestBase : public ::testing::Test {
protected:
    cTab& Root() { return RootPane(); }
    HWND Main() const { return main_; }
    // Opens a visible window of the sample application titled title.
    HWND OpenWindow(const std::string& title, DWORD style = WS_OVERLAPPEDWINDOW);
    // Captures through the holding window (PM_ADDWINDOW).
    bool Add(HWND window);
    std::vector<HWND> TabWindows(cTab& pane);
    HWND SelectedWindow(cTab& pane);
    // Centre of tab index in screen coordinates.
    POINT TabCentre(cTab& pane, int index);
    bool OnDesktop(HWND window) const;
    // PM_EXECCOMMAND to the holding window.
    LRESULT Command(unsigned id);
    // Three sample windows captured into the root, the last one selected.
    std::vector<HWND> CaptureThree();
    // A window captured in the root ("upper") and one in the child of a top
    // and bottom split ("lower"); false when any step failed.
    bool SplitWithOneWindowEach(HWND* upper, HWND* lower);

    SampleApp app;
    HWND main_ = nullptr;
};

// "SPLITRATE" as it stands in the file at iniPath, trailing blank and all
// (the profile reader would drop it); "<missing>" without the key.
std::string SplitRateAsWritten(const std::string& iniPath);

}  // namespace testing_support
