#include "tests/support/pane_fixture.h"

#include "app/main_window.h"
#include "inputtap/inputtap.h"
#include "launcher/shortcut_window.h"
#include "tests/support/wait.h"

namespace testing_support {

HWND StartMainWindow() {
    EXPECT_TRUE(cTab::Init(GetModuleHandleA(nullptr)));
    EXPECT_TRUE(cShortcutWnd::Init(GetModuleHandleA(nullptr)));
    EXPECT_TRUE(cMain::Init(GetModuleHandleA(nullptr)));
    return MainWindow();
}

void CloseMainWindow() {
    if (MainWindow()) SendMessageA(MainWindow(), WM_CLOSE, 0, 0);
    PumpPending();
}

void PaneTest::SetUp() {
    main_ = StartMainWindow();
    ASSERT_NE(main_, nullptr);
    MoveWindow(main_, 0, 0, 800, 600, TRUE);
    SetForegroundWindow(main_);
}

void PaneTest::TearDown() {
    CloseMainWindow();
    INPUTTAP_End();
    PumpPending();
}

}  // namespace testing_support
