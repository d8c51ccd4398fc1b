// A host for panes without the program above them: a top-level window of the
// test's own that holds the root pane, answers PM_ADDWINDOW, PM_EXECCOMMAND
// and PM_APPLYSETTINGS for the panes the way the main window does, and keeps
// what the panes asked of it. Tests of the tabs layer link only that layer
// and this, which proves the layer stands on its own.
#pragma once

#include "tabs/pane_host.h"
#include "tests/support/fresh_settings.h"
#include "tests/support/pane_test_base.h"

#include <windows.h>

#include <vector>

namespace testing_support {

class TestPaneHost : public PaneHost {
public:
    // A request of a pane: a menu it wanted shown, or a command it passed on.
    enum class Asked { MainMenu, TabMenu, Command };
    struct Request {
        Asked what;
        cTab* pane;
        unsigned id;  // the command passed on; 0 for a menu
    };

    // Opens the host window at 0, 0 with a client area of 800 x 560 and the
    // root pane in it, and makes the root the active pane.
    bool Open();
    // Destroys the window, which gives every held window back.
    void Close();
    HWND Window() const { return window_; }

    HWND HostWindow() const override { return window_; }
    bool LaunchCaptureArmed() const override { return false; }
    bool ConsumeLaunchCapture(HWND) override { return false; }
    unsigned ChooseFromMainMenu(cTab& pane) override;
    unsigned ChooseFromTabMenu(cTab& pane) override;
    bool ExecHostCommand(cTab& pane, unsigned id) override;

    std::vector<Request> requests;
    // What either menu comes back with.
    unsigned menuChoice = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

// A pane test with the root pane in a TestPaneHost and the settings layer's
// state fresh.
class HostedPaneTest : public PaneTestBase {
protected:
    void SetUp() override;
    void TearDown() override;

    FreshSettings settings;
    TestPaneHost host;
};

}  // namespace testing_support
