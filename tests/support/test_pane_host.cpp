#include "tests/support/test_pane_host.h"

#include "base/messages.h"
#include "settings/system_data.h"
#include "tests/support/wait.h"

namespace testing_support {

namespace {

constexpr char kHostClass[] = "panelry_test_pane_host";

}  // namespace

bool TestPaneHost::Open() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!cTab::Init(instance)) return false;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kHostClass;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    RegisterClassA(&windowClass);  // fails harmlessly when a test before registered it
    constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    // A client area of even size: a split at half then falls on a whole pixel.
    RECT frame{0, 0, 800, 560};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window_ = CreateWindowExA(0, kHostClass, "pane host", style, 0, 0, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (!window_) return false;
    const SystemData& look = GetSystemData();
    if (!RootPane().Create(window_, instance, look.headerActiveBack, look.headerInactiveBack,
                           look.headerActiveText, look.headerInactiveText, *this)) {
        Close();
        return false;
    }
    ActivePane() = &RootPane();
    ShowWindow(window_, SW_SHOW);
    SendMessageA(window_, PM_APPLYSETTINGS, 0, 0);
    return true;
}

void TestPaneHost::Close() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    PumpPending();
}

unsigned TestPaneHost::ChooseFromMainMenu(cTab& pane) {
    requests.push_back({Asked::MainMenu, &pane, 0});
    return menuChoice;
}

unsigned TestPaneHost::ChooseFromTabMenu(cTab& pane) {
    requests.push_back({Asked::TabMenu, &pane, 0});
    return menuChoice;
}

bool TestPaneHost::ExecHostCommand(cTab& pane, unsigned id) {
    requests.push_back({Asked::Command, &pane, id});
    return false;
}

LRESULT CALLBACK TestPaneHost::Procedure(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* host = reinterpret_cast<TestPaneHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!host || !host->window_) return DefWindowProcA(window, message, wParam, lParam);
    return host->Handle(message, wParam, lParam);
}

LRESULT TestPaneHost::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case PM_ADDWINDOW:
        return ActivePane()->AddNewWindow(reinterpret_cast<HWND>(lParam)) ? 1 : 0;
    case PM_EXECCOMMAND:
        return ActivePane()->ExecCommand(static_cast<unsigned>(wParam)) ? 1 : 0;
    case PM_APPLYSETTINGS:
        RootPane().ApplyLook();
        SendMessageA(window_, WM_SIZE, 0, 0);
        return 0;
    case WM_SIZE: {
        RECT client{};
        GetClientRect(window_, &client);
        RootPane().MoveBaseWindow(0, 0, client.right, client.bottom);
        return 0;
    }
    case WM_DESTROY:
        RootPane().DestroyWindows();
        ActivePane() = &RootPane();
        return 0;
    default:
        return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void HostedPaneTest::SetUp() {
    ASSERT_TRUE(host.Open());
    main_ = host.Window();
    SetForegroundWindow(main_);
}

void HostedPaneTest::TearDown() { host.Close(); }

}  // namespace testing_support
