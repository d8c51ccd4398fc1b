// The main window with its root pane in this process; for tests of what the
// layers above the panes do with them (commands, menus, tools, launcher).
#pragma once

#include "tests/support/fresh_program_settings.h"
#include "tests/support/pane_test_base.h"

#include <windows.h>

namespace testing_support {

// Opens the main window with its root pane in this process; null if it did
// not open.
HWND StartMainWindow();
// Closes the main window if it is open, and lets its last messages through.
void CloseMainWindow();

class PaneTest : public PaneTestBase {
protected:
    void SetUp() override;
    void TearDown() override;

    FreshProgramSettings settings;
};

}  // namespace testing_support
