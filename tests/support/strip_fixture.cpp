#include "tests/support/strip_fixture.h"

#include "tests/support/on_screen.h"

#include <commctrl.h>

namespace testing_support {
namespace {

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        StripTest::Notices().push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::vector<UINT>& StripTest::Notices() {
    static std::vector<UINT> notices;
    return notices;
}

StripTest::StripTest() {
    InitCommonControls();
    Notices().clear();
    frame_ = OpenFrame("PanelryStripFrame", FrameProc, "strip", 0, 0, 640, 480);
    tabs_.reset(CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                                0, 600, 60, frame_.get(), nullptr, nullptr, nullptr));
    area_.reset(CreateWindowExA(0, WC_STATICA, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 60,
                                600, 380, frame_.get(), nullptr, nullptr, nullptr));
}

CapturedWindow* StripTest::Capture(const std::string& title) {
    WindowSpec form;
    form.title = title;
    const HWND window = app.Open(form);
    EXPECT_NE(window, nullptr) << title;
    records_.push_back(std::make_unique<CapturedWindow>(window, area_.get()));
    return records_.back().get();
}

}  // namespace testing_support
