// A tab control in a frame of the test's own, with a display area that holds
// real captured windows of the sample application, for tests of what a pane
// keeps: its records, the tab control's items, their texts and their icons.
#pragma once

#include "base/handles.h"
#include "tabs/captured_window.h"
#include "tabs/tab_strip.h"
#include "tests/support/sample_app.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class StripTest : public ::testing::Test {
public:
    // The codes of the WM_NOTIFY messages the frame has heard from the tabs.
    static std::vector<UINT>& Notices();

protected:
    StripTest();

    // Opens a sample window titled title and captures it into the display
    // area; the record lives as long as the test.
    CapturedWindow* Capture(const std::string& title);
    TabStrip Strip() const { return TabStrip(tabs_.get()); }
    HWND TabControl() const { return tabs_.get(); }
    HWND DisplayArea() const { return area_.get(); }

    SampleApp app;

private:
    UniqueWindow frame_;
    UniqueWindow tabs_;
    UniqueWindow area_;
    // Last, so the windows go back before the display area goes.
    std::vector<std::unique_ptr<CapturedWindow>> records_;
};

}  // namespace testing_support
