#include "tests/support/pane_test_base.h"

#include "base/messages.h"
#include "tests/support/temp_dir.h"

#include <commctrl.h>

namespace testing_support {

HWND PaneTestBase::OpenWindow(const std::string& title, DWORD style) {
    WindowSpec form;
    form.title = title;
    form.style = style;
    HWND window = app.Open(form);
    EXPECT_NE(window, nullptr) << title;
    return window;
}

bool PaneTestBase::Add(HWND window) {
    return SendMessageA(main_, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)) != 0;
}

std::vector<HWND> PaneTestBase::TabWindows(cTab& pane) {
    std::vector<HWND> windows;
    for (int i = 0; i < pane.TabCount(); ++i) {
        const CapturedWindow* record = pane.RecordAt(i);
        windows.push_back(record ? record->Window() : nullptr);
    }
    return windows;
}

HWND PaneTestBase::SelectedWindow(cTab& pane) {
    const CapturedWindow* record = pane.RecordAt(pane.Selected());
    return record ? record->Window() : nullptr;
}

POINT PaneTestBase::TabCentre(cTab& pane, int index) {
    RECT r{};
    SendMessageA(pane.TabControl(), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(pane.TabControl(), &p);
    return p;
}

bool PaneTestBase::OnDesktop(HWND window) const {
    return GetAncestor(window, GA_PARENT) == GetDesktopWindow();
}

LRESULT PaneTestBase::Command(unsigned id) { return SendMessageA(main_, PM_EXECCOMMAND, id, 0); }

std::vector<HWND> PaneTestBase::CaptureThree() {
    std::vector<HWND> windows{OpenWindow("one"), OpenWindow("two"), OpenWindow("three")};
    for (HWND window : windows) EXPECT_TRUE(Add(window));
    return windows;
}

bool PaneTestBase::SplitWithOneWindowEach(HWND* upper, HWND* lower) {
    *upper = OpenWindow("upper");
    *lower = OpenWindow("lower");
    return Add(*upper) && Add(*lower) && Root().Split(true) &&
           Root().MoveCurrentTabTo(*Root().Child());
}

std::string SplitRateAsWritten(const std::string& iniPath) {
    const std::string text = ReadFileText(iniPath);
    const std::string key = "SPLITRATE=";
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return "<missing>";
    const std::size_t from = at + key.size();
    return text.substr(from, text.find_first_of("\r\n", from) - from);
}

}  // namespace testing_support
