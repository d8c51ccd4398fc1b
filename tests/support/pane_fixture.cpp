#include "tests/support/pane_fixture.h"

#include "app/main_window.h"
#include "base/messages.h"
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

HWND PaneTest::OpenWindow(const std::string& title, DWORD style) {
    WindowSpec form;
    form.title = title;
    form.style = style;
    HWND window = app.Open(form);
    EXPECT_NE(window, nullptr) << title;
    return window;
}

bool PaneTest::Add(HWND window) {
    return SendMessageA(main_, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)) != 0;
}

std::vector<HWND> PaneTest::TabWindows(cTab& pane) {
    std::vector<HWND> windows;
    for (int i = 0; i < pane.TabCount(); ++i) {
        const CapturedWindow* record = pane.RecordAt(i);
        windows.push_back(record ? record->Window() : nullptr);
    }
    return windows;
}

HWND PaneTest::SelectedWindow(cTab& pane) {
    const CapturedWindow* record = pane.RecordAt(pane.Selected());
    return record ? record->Window() : nullptr;
}

POINT PaneTest::TabCentre(cTab& pane, int index) {
    RECT r{};
    SendMessageA(pane.TabControl(), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(pane.TabControl(), &p);
    return p;
}

bool PaneTest::OnDesktop(HWND window) const {
    return GetAncestor(window, GA_PARENT) == GetDesktopWindow();
}

LRESULT PaneTest::Command(unsigned id) { return SendMessageA(main_, PM_EXECCOMMAND, id, 0); }

}  // namespace testing_support
