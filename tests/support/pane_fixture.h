// The main window with its root pane in this process, and helpers to look
// at the pane's tabs; for tests of panes, captured windows and commands.
#pragma once

#include "tabs/pane.h"
#include "tests/support/fresh_program_settings.h"
#include "tests/support/sample_app.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// Opens the main window with its root pane in this process; null if it did
// not open.
HWND StartMainWindow();
// Closes the main window if it is open, and lets its last messages through.
void CloseMainWindow();

class PaneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    cTab& Root() { return RootPane(); }
    HWND Main() const { return main_; }
    // Opens a visible window of the sample application titled title.
    HWND OpenWindow(const std::string& title, DWORD style = WS_OVERLAPPEDWINDOW);
    // Captures through the main window, as any process may ask.
    bool Add(HWND window);
    std::vector<HWND> TabWindows(cTab& pane);
    HWND SelectedWindow(cTab& pane);
    // Centre of tab index in screen coordinates.
    POINT TabCentre(cTab& pane, int index);
    bool OnDesktop(HWND window) const;
    LRESULT Command(unsigned id);

    FreshProgramSettings settings;
    SampleApp app;
    HWND main_ = nullptr;
};

}  // namespace testing_support
