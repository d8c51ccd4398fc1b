// What "given back exactly as it was" means for a window of the sample
// application: style, extended style, its own view of its placement, and its
// maximised, minimised and visible state, taken and compared.
#pragma once

#include "tests/support/sample_app.h"

#include <windows.h>

namespace testing_support {

struct WindowSnapshot {
    LONG style, exStyle;
    UINT showCmd;
    RECT normal;
    bool zoomed, iconic, visible;
};

// False when the application could not report its placement (hung, gone).
bool TryTakeSnapshot(SampleApp& app, HWND window, WindowSnapshot* snapshot);
WindowSnapshot TakeSnapshot(SampleApp& app, HWND window);
bool SameSnapshot(const WindowSnapshot& a, const WindowSnapshot& b);
void ExpectSameSnapshot(const WindowSnapshot& before, const WindowSnapshot& after);

}  // namespace testing_support
