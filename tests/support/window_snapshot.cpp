#include "tests/support/window_snapshot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace testing_support {
namespace {

std::string Text(const RECT& r) {
    char text[80];
    std::snprintf(text, sizeof text, "%ld,%ld %ld,%ld", r.left, r.top, r.right, r.bottom);
    return text;
}

}  // namespace

bool TryTakeSnapshot(SampleApp& app, HWND window, WindowSnapshot* s) {
    s->style = GetWindowLongA(window, GWL_STYLE);
    s->exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    s->zoomed = IsZoomed(window);
    s->iconic = IsIconic(window);
    s->visible = IsWindowVisible(window);
    return app.Placement(window, &s->showCmd, &s->normal);
}

WindowSnapshot TakeSnapshot(SampleApp& app, HWND window) {
    WindowSnapshot s{};
    EXPECT_TRUE(TryTakeSnapshot(app, window, &s));
    return s;
}

bool SameSnapshot(const WindowSnapshot& a, const WindowSnapshot& b) {
    return a.style == b.style && a.exStyle == b.exStyle && a.showCmd == b.showCmd &&
           EqualRect(&a.normal, &b.normal) && a.zoomed == b.zoomed && a.iconic == b.iconic &&
           a.visible == b.visible;
}

void ExpectSameSnapshot(const WindowSnapshot& before, const WindowSnapshot& after) {
    EXPECT_EQ(after.style, before.style);
    EXPECT_EQ(after.exStyle, before.exStyle);
    EXPECT_EQ(after.showCmd, before.showCmd);
    EXPECT_TRUE(EqualRect(&after.normal, &before.normal))
        << "normal position " << Text(after.normal) << " was " << Text(before.normal);
    EXPECT_EQ(after.zoomed, before.zoomed);
    EXPECT_EQ(after.iconic, before.iconic);
    EXPECT_EQ(after.visible, before.visible);
}

}  // namespace testing_support
