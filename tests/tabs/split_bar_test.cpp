// The split bar in a real container window that lays two panes out around
// it: where it sits, how long its buttons are, the pixels of its shades and
// arrows, drags and clicks made with the real mouse on the virtual display,
// and its two settings in a real system.ini.
#include "tabs/split_bar.h"

#include "base/handles.h"
#include "base/messages.h"
#include "settings/settings_ids.h"
#include "tabs/tab_ids.h"
#include "tests/support/fresh_settings.h"
#include "tests/support/on_screen.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using testing_support::ClickAt;
using testing_support::ExpectRect;
using testing_support::FreshSettings;
using testing_support::IniValue;
using testing_support::MouseButton;
using testing_support::PixelOf;
using testing_support::PlaceCursor;
using testing_support::RectIn;
using testing_support::ScreenPoint;
using testing_support::WaitUntil;
using testing_support::WriteFileText;

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 400;
// What the shade brushes add to the menu colour across the bar: -1 keeps the
// menu colour itself.
constexpr int kShadeTable[3][16] = {
    {0, 127, 173, 204, 225, 240, 249, 254, 254, 249, 240, 225, 204, 173, 127, 0},
    {-1, 0, 135, 184, 214, 235, 248, 254, 254, 248, 235, 214, 184, 135, 0, -1},
    {-1, -1, 0, 146, 196, 227, 245, 253, 253, 245, 227, 196, 146, 0, -1, -1},
};
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The container: it sends the bar WM_SIZE and lays two panes out around the
// bar's window rectangle, as a split pane will; it records PM_MOVETAB.
cSplitbar* g_bar;
HWND g_panes[2];
struct MoveTab {
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<MoveTab> g_moveTabs;
int g_containerErases;

void LayOutPanes(HWND container) {
    RECT room{};
    GetClientRect(container, &room);
    const RECT bar = RectIn(g_bar->Window(), container);
    if (g_bar->IsHorizontal()) {
        MoveWindow(g_panes[0], 0, 0, room.right, bar.top, TRUE);
        MoveWindow(g_panes[1], 0, bar.bottom, room.right, room.bottom - bar.bottom, TRUE);
    } else {
        MoveWindow(g_panes[0], 0, 0, bar.left, room.bottom, TRUE);
        MoveWindow(g_panes[1], bar.right, 0, room.right - bar.right, room.bottom, TRUE);
    }
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && g_bar && g_bar->Window()) {
        SendMessageA(g_bar->Window(), WM_SIZE, 0, 0);
        LayOutPanes(window);
    } else if (message == WM_ERASEBKGND) {
        ++g_containerErases;
    } else if (message == PM_MOVETAB) {
        g_moveTabs.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// What reaches the bar's window, counted where the other thread can read it.
WNDPROC g_barProc;
std::atomic<int> g_leftDowns, g_leftUps, g_rightDowns, g_rightPressCursors, g_barErases;
bool g_sawNcDestroy;
HANDLE g_propAtNcDestroy;

LRESULT CALLBACK BarSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: ++g_leftDowns; break;
    case WM_LBUTTONUP: ++g_leftUps; break;
    case WM_RBUTTONDOWN: ++g_rightDowns; break;
    case WM_ERASEBKGND: ++g_barErases; break;
    case WM_SETCURSOR:
        if (HIWORD(lParam) == WM_RBUTTONDOWN) ++g_rightPressCursors;
        break;
    case WM_NCDESTROY:
        g_sawNcDestroy = true;
        g_propAtNcDestroy = GetPropA(window, tab_ids::kSplitbarProp);
        break;
    default:
        break;
    }
    return CallWindowProcA(g_barProc, window, message, wParam, lParam);
}

void SpyOn(HWND bar) {
    g_leftDowns = g_leftUps = g_rightDowns = g_rightPressCursors = g_barErases = 0;
    g_barProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BarSpy)));
}

COLORREF Inverted(COLORREF c) {
    return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
}

COLORREF ScreenPixel(POINT at) {
    WindowDC screen(nullptr);
    return GetPixel(screen.get(), at.x, at.y);
}

// The colour of shade k at p across the bar, from the table.
COLORREF ShadeColour(int k, int p) {
    const COLORREF base = GetSysColor(COLOR_MENU);
    const int d = kShadeTable[k][p];
    if (d < 0) return base;
    return RGB((GetRValue(base) + d) / 2, (GetGValue(base) + d) / 2, (GetBValue(base) + d) / 2);
}

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06lx", static_cast<unsigned long>(c));
    return text;
}

// A hand on the mouse on a thread of its own: a drag keeps the test's thread
// in the bar's loop until the button comes up, so the moves and the release
// come from here, each step waiting for what the screen shows. Failures come
// back as text (GoogleTest asserts on the test's thread only).
struct DragPlan {
    DWORD down = MOUSEEVENTF_LEFTDOWN;
    DWORD up = MOUSEEVENTF_LEFTUP;
    POINT pressAt{};
    POINT moveTo{};
    // Points of the screen on the feedback line where it should show: at
    // the press and after the move.
    POINT lineAtPress{};
    POINT lineAfterMove{};
    bool moves = true;
    HWND bar = nullptr;
};

struct DragOutcome {
    std::string error;
    RECT barWhileLineMoved{};
};

DragOutcome PerformDrag(const DragPlan& plan) {
    DragOutcome outcome;
    const auto fail = [&](const std::string& what) {
        outcome.error = what;
        MouseButton(plan.up);  // never leave a button down for the next test
        return outcome;
    };
    if (!PlaceCursor(plan.pressAt)) return fail("the pointer did not reach the press point");
    const COLORREF atPress = ScreenPixel(plan.lineAtPress);
    const COLORREF afterMove = ScreenPixel(plan.lineAfterMove);
    MouseButton(plan.down);
    if (!WaitUntil([&] { return ScreenPixel(plan.lineAtPress) == Inverted(atPress); })) {
        return fail("no inverted line at the press: " + Hex(ScreenPixel(plan.lineAtPress)) +
                    ", before " + Hex(atPress));
    }
    if (plan.moves) {
        SetCursorPos(plan.moveTo.x, plan.moveTo.y);
        if (!WaitUntil([&] {
                return ScreenPixel(plan.lineAfterMove) == Inverted(afterMove) &&
                       ScreenPixel(plan.lineAtPress) == atPress;
            })) {
            return fail("the line did not follow the pointer: " +
                        Hex(ScreenPixel(plan.lineAfterMove)) + ", before " + Hex(afterMove) +
                        "; at the press " + Hex(ScreenPixel(plan.lineAtPress)));
        }
        GetWindowRect(plan.bar, &outcome.barWhileLineMoved);
    }
    MouseButton(plan.up);
    return outcome;
}

// A press, a move and a release that should not start a drag: each step
// waits for the bar to have heard the previous one.
std::string PerformIgnoredPress(DWORD down, DWORD up, POINT pressAt, POINT moveTo,
                                const std::atomic<int>& downs) {
    if (!PlaceCursor(pressAt)) return "the pointer did not reach the press point";
    MouseButton(down);
    const bool heard = WaitUntil([&] { return downs.load() > 0; });
    const bool moved = PlaceCursor(moveTo);
    MouseButton(up);
    if (!heard) return "the bar never heard the press";
    if (!moved) return "the pointer did not move";
    return "";
}

// Runs work on another thread while this one keeps taking messages.
template <typename Result>
bool RunBeside(const std::function<Result()>& work, Result* result) {
    std::atomic<bool> done{false};
    std::thread hand([&] {
        *result = work();
        done = true;
    });
    const bool finished = WaitUntil([&] { return done.load(); }, 30000);
    hand.join();
    return finished;
}

class SplitbarFixture : public ::testing::Test {
protected:
    void SetUp() override {
        cSplitbar::SetDragWithRightButton(false);
        cSplitbar::SetGripPercent(20);
        instance_ = GetModuleHandleA(nullptr);
        ASSERT_TRUE(cSplitbar::Init(instance_));
        g_bar = nullptr;
        g_moveTabs.clear();
        container_ = testing_support::OpenFrame("splitbar_test_container", ContainerProc,
                                                "split bar", 80, 60, 600, 500);
        ASSERT_TRUE(container_);
        for (HWND& pane : g_panes) {
            pane = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_WHITERECT, 0, 0, 0,
                                   0, container_.get(), nullptr, instance_, nullptr);
        }
        SetClientSize(kWidth, kHeight);
        SetForegroundWindow(container_.get());
    }

    void TearDown() override {
        cSplitbar::SetDragWithRightButton(false);
        cSplitbar::SetGripPercent(20);
    }

    HWND Container() const { return container_.get(); }

    // The container's client area to this size; the bar follows.
    void SetClientSize(int width, int height) {
        RECT outer{}, inner{};
        GetWindowRect(Container(), &outer);
        GetClientRect(Container(), &inner);
        SetWindowPos(Container(), nullptr, 0, 0,
                     width + (outer.right - outer.left) - inner.right,
                     height + (outer.bottom - outer.top) - inner.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(Container(), &inner);
        ASSERT_EQ(inner.right, width);
        ASSERT_EQ(inner.bottom, height);
    }

    void MakeBar(bool horizontal) {
        ASSERT_TRUE(bar_.Create(Container(), instance_, horizontal));
        g_bar = &bar_;
        SendMessageA(Container(), WM_SIZE, 0, 0);
        UpdateWindow(Container());
    }

    void Relayout() { SendMessageA(Container(), WM_SIZE, 0, 0); }

    HWND Bar() const { return bar_.Window(); }
    HWND BarButton(int id) const { return GetDlgItem(Bar(), id); }
    RECT BarRect() const { return RectIn(Bar(), Container()); }
    RECT ButtonRect(int id) const { return RectIn(BarButton(id), Bar()); }

    // Declared first, destroyed last: the bar goes before its container.
    UniqueWindow container_;
    HINSTANCE instance_ = nullptr;
    cSplitbar bar_;
};

// ---------------------------------------------------------------------------

TEST(SplitbarClamp, KeepsBothMarginsOrInTooSmallAContainerTheStartWinsBelow64) {
    const struct {
        int position, room, expected;
    } cases[] = {
        {10, 400, 64}, {63, 400, 64}, {64, 400, 64}, {200, 400, 200},
        {320, 400, 320},  // 16 + 64 left below it
        {321, 400, 320}, {5000, 400, 320}, {-7, 400, 64},
        // Too small for both margins.
        {70, 100, 20}, {10, 100, 64}, {50, 100, 64},
        {64, 143, 63},  // one pixel short of room
        {64, 144, 64},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cSplitbar::ClampSplitPosition(c.position, c.room), c.expected)
            << c.position << " in " << c.room;
    }
}

// ---------------------------------------------------------------------------

class SplitbarWindow : public SplitbarFixture {};

TEST_F(SplitbarWindow, BothClassesAreRegisteredAsTheBarNeedsThem) {
    EXPECT_TRUE(cSplitbar::Init(instance_)) << "a second registration is no failure";
    std::vector<WNDPROC> procedures;
    for (const char* name : {tab_ids::kSplitHBarClass, tab_ids::kSplitVBarClass}) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        ASSERT_TRUE(GetClassInfoExA(instance_, name, &wc)) << name;
        EXPECT_EQ(wc.style, 0u) << name;
        EXPECT_EQ(wc.cbClsExtra, 0) << name;
        EXPECT_EQ(wc.cbWndExtra, 0) << name;
        EXPECT_EQ(wc.hIcon, nullptr) << name;
        EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW)) << name;
        EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_MENU + 1)) << name;
        EXPECT_EQ(wc.lpszMenuName, nullptr) << name;
        procedures.push_back(wc.lpfnWndProc);
    }
    EXPECT_NE(procedures[0], procedures[1]) << "each class its own window procedure";
}

TEST_F(SplitbarWindow, TheBarAndItsButtonsHaveTheirClassesStylesIdsAndProperty) {
    EXPECT_DOUBLE_EQ(bar_.Ratio(), 0.5);
    EXPECT_FALSE(bar_.IsHorizontal()) << "no window yet";
    for (bool horizontal : {true, false}) {
        MakeBar(horizontal);
        char name[64] = "";
        GetClassNameA(Bar(), name, sizeof name);
        EXPECT_STREQ(name, horizontal ? tab_ids::kSplitHBarClass : tab_ids::kSplitVBarClass);
        EXPECT_EQ(bar_.IsHorizontal(), horizontal);
        EXPECT_EQ(GetParent(Bar()), Container());
        EXPECT_EQ(GetDlgCtrlID(Bar()), -1);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(Bar(), GWL_STYLE)) & ~WS_CLIPSIBLINGS,
                  static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
        EXPECT_EQ(GetWindowLongA(Bar(), GWL_EXSTYLE), 0);
        EXPECT_EQ(GetPropA(Bar(), tab_ids::kSplitbarProp), static_cast<void*>(&bar_));
        for (int id : {1, 2}) {
            const HWND button = BarButton(id);
            ASSERT_NE(button, nullptr) << id;
            GetClassNameA(button, name, sizeof name);
            EXPECT_EQ(lstrcmpiA(name, "button"), 0) << name;
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)),
                      static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_OWNERDRAW));
            EXPECT_EQ(GetWindowTextLengthA(button), 0);
        }
    }
}

TEST_F(SplitbarWindow, CreatingAgainReplacesTheEarlierWindow) {
    MakeBar(true);
    const HWND first = Bar();
    MakeBar(false);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(Bar()));
    EXPECT_FALSE(bar_.IsHorizontal());
}

TEST_F(SplitbarWindow, WithoutAParentThereIsNoBar) {
    cSplitbar orphan;
    EXPECT_FALSE(orphan.Create(nullptr, instance_, true));
    EXPECT_EQ(orphan.Window(), nullptr);
}

TEST_F(SplitbarWindow, ThePropertyGoesBeforeTheWindowAndTheObjectForgetsIt) {
    MakeBar(true);
    const HWND window = Bar();
    SpyOn(window);
    g_sawNcDestroy = false;
    g_propAtNcDestroy = reinterpret_cast<HANDLE>(1);
    DestroyWindow(window);
    ASSERT_TRUE(g_sawNcDestroy);
    EXPECT_EQ(g_propAtNcDestroy, nullptr);
    EXPECT_EQ(bar_.Window(), nullptr);
}

TEST_F(SplitbarWindow, TheObjectTakesItsWindowWithIt) {
    HWND window = nullptr;
    {
        cSplitbar bar;
        ASSERT_TRUE(bar.Create(Container(), instance_, false));
        window = bar.Window();
        ASSERT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

// ---------------------------------------------------------------------------

class SplitbarLayout : public SplitbarFixture {};

TEST_F(SplitbarLayout, AHorizontalBarAtHalfSitsAt200OfA400PixelContainer) {
    MakeBar(true);
    ExpectRect(BarRect(), {0, 200, kWidth, 216}, "bar");
    EXPECT_EQ(RectIn(g_panes[0], Container()).bottom, 200);
    EXPECT_EQ(RectIn(g_panes[1], Container()).top, 216) << "the lower pane starts below it";
    EXPECT_DOUBLE_EQ(bar_.Ratio(), 0.5);
}

TEST_F(SplitbarLayout, AVerticalBarAtHalfSitsAtHalfTheWidth) {
    MakeBar(false);
    ExpectRect(BarRect(), {250, 0, 266, kHeight}, "bar");
    EXPECT_EQ(RectIn(g_panes[0], Container()).right, 250);
    EXPECT_EQ(RectIn(g_panes[1], Container()).left, 266);
}

TEST_F(SplitbarLayout, FollowsTheContainersSizeAtItsRatio) {
    MakeBar(true);
    SetClientSize(300, 600);
    ExpectRect(BarRect(), {0, 300, 300, 316}, "bar");
    MakeBar(false);
    SetClientSize(700, 200);
    ExpectRect(BarRect(), {350, 0, 366, 200}, "bar");
}

TEST_F(SplitbarLayout, TheRatioIsDerivedAgainFromTheClampedPosition) {
    MakeBar(true);
    bar_.SetRatio(0.05);
    EXPECT_EQ(BarRect().top, 64);
    EXPECT_DOUBLE_EQ(bar_.Ratio(), 64.0 / 400);
    bar_.SetRatio(0.99);
    EXPECT_EQ(BarRect().top, 320);
    EXPECT_DOUBLE_EQ(bar_.Ratio(), 320.0 / 400);
    bar_.SetRatio(0.3);
    EXPECT_EQ(BarRect().top, 120);
    EXPECT_DOUBLE_EQ(bar_.Ratio(), 0.3);
}

TEST_F(SplitbarLayout, SetRatioClampsToZeroToOne) {
    cSplitbar loose;
    loose.SetRatio(1.5);
    EXPECT_DOUBLE_EQ(loose.Ratio(), 1.0);
    loose.SetRatio(-0.25);
    EXPECT_DOUBLE_EQ(loose.Ratio(), 0.0);
    loose.SetRatio(std::nan(""));
    EXPECT_DOUBLE_EQ(loose.Ratio(), 0.0);
    loose.SetRatio(0.7);
    EXPECT_DOUBLE_EQ(loose.Ratio(), 0.7);

    MakeBar(false);
    bar_.SetRatio(3.0);
    EXPECT_EQ(BarRect().left, kWidth - 80);
    EXPECT_DOUBLE_EQ(bar_.Ratio(), (kWidth - 80) / double{kWidth});
    bar_.SetRatio(-3.0);
    EXPECT_EQ(BarRect().left, 64);
}

TEST_F(SplitbarLayout, SetRatioRepaintsBarAndContainerWithTheirBackgrounds) {
    MakeBar(true);
    SpyOn(Bar());
    // Part of the container uncovered, or there would be nothing of it to erase.
    ShowWindow(g_panes[0], SW_HIDE);
    UpdateWindow(Container());
    ASSERT_FALSE(GetUpdateRect(Bar(), nullptr, FALSE));
    ASSERT_FALSE(GetUpdateRect(Container(), nullptr, FALSE));
    g_containerErases = 0;
    g_barErases = 0;
    // At the same ratio nothing moves, so what is left to paint comes from
    // SetRatio itself.
    bar_.SetRatio(0.5);
    EXPECT_TRUE(GetUpdateRect(Bar(), nullptr, FALSE));
    EXPECT_TRUE(GetUpdateRect(Container(), nullptr, FALSE));
    UpdateWindow(Container());
    UpdateWindow(Bar());
    EXPECT_GT(g_containerErases, 0);
    EXPECT_GT(g_barErases.load(), 0);
}

TEST_F(SplitbarLayout, ASmallContainerKeepsTheRatioWithinZeroToOne) {
    MakeBar(true);
    SetClientSize(kWidth, 100);
    EXPECT_EQ(BarRect().top, 64) << "50 is below the start margin";
    EXPECT_DOUBLE_EQ(bar_.Ratio(), 0.64);
    SetClientSize(kWidth, 50);
    EXPECT_EQ(BarRect().top, 64);
    EXPECT_DOUBLE_EQ(bar_.Ratio(), 1.0) << "the bar lies beyond the end";
    SetClientSize(kWidth, 0);
    EXPECT_GE(bar_.Ratio(), 0.0);
    EXPECT_LE(bar_.Ratio(), 1.0);
}

TEST_F(SplitbarLayout, APositionDerivedRatioKeepsItsPixelLayoutAfterLayout) {
    // 84 / 165 * 165 comes out just under 84 in doubles.
    ASSERT_LT(84.0 / 165 * 165, 84.0);
    MakeBar(true);
    SetClientSize(kWidth, 165);
    bar_.SetRatio(84.0 / 165);
    EXPECT_EQ(BarRect().top, 84);
    for (int i = 0; i < 5; ++i) Relayout();
    EXPECT_EQ(BarRect().top, 84);
    EXPECT_DOUBLE_EQ(bar_.Ratio(), 84.0 / 165);
}

// ---------------------------------------------------------------------------

class SplitbarButtons : public SplitbarFixture {
protected:
    // Both buttons along a bar of length, each of size w.
    void ExpectButtons(bool horizontal, int length, int w) {
        if (horizontal) {
            ExpectRect(ButtonRect(1), {0, 0, w, 16}, "start button");
            ExpectRect(ButtonRect(2), {length - w, 0, length, 16}, "end button");
        } else {
            ExpectRect(ButtonRect(1), {0, 0, 16, w}, "start button");
            ExpectRect(ButtonRect(2), {0, length - w, 16, length}, "end button");
        }
    }
};

TEST_F(SplitbarButtons, TheGripTakesItsPercentOfTheBar) {
    MakeBar(true);
    ExpectButtons(true, kWidth, 200);  // 500 * 80 / 200, grip 100
    MakeBar(false);
    ExpectButtons(false, kHeight, 160);
    SetClientSize(kWidth, 399);
    SCOPED_TRACE("399 * 80 / 200 = 159.6, cut");
    ExpectButtons(false, 399, 159);
}

TEST_F(SplitbarButtons, NoGripMakesTheButtonsMeetAndAFullGripLeavesNoButtons) {
    MakeBar(true);
    cSplitbar::SetGripPercent(0);
    Relayout();
    ExpectButtons(true, kWidth, 250);
    EXPECT_EQ(ButtonRect(1).right, ButtonRect(2).left);
    cSplitbar::SetGripPercent(100);
    Relayout();
    ExpectButtons(true, kWidth, 0);
    cSplitbar::SetGripPercent(45);
    Relayout();
    SCOPED_TRACE("500 * 55 / 200 = 137.5, cut");
    ExpectButtons(true, kWidth, 137);
}

TEST_F(SplitbarButtons, InRightButtonModeEachButtonTakesHalfTheBar) {
    cSplitbar::SetDragWithRightButton(true);
    cSplitbar::SetGripPercent(60);  // no say in this mode
    MakeBar(false);
    ExpectButtons(false, kHeight, 200);
    SetClientSize(kWidth, 401);
    ExpectButtons(false, 401, 200);
    EXPECT_EQ(ButtonRect(2).top - ButtonRect(1).bottom, 1) << "the odd pixel between them";
}

// ---------------------------------------------------------------------------

// The pixels of the bar, read back from the screen where it is painted.
class SplitbarShades : public SplitbarFixture {
protected:
    // Pixels across the bar at offset along it, in window's client area.
    std::vector<COLORREF> Across(HWND window, bool horizontal, int offset) {
        WindowDC dc(window);
        std::vector<COLORREF> pixels;
        for (int p = 0; p < 16; ++p) {
            pixels.push_back(horizontal ? GetPixel(dc.get(), offset, p)
                                        : GetPixel(dc.get(), p, offset));
        }
        return pixels;
    }
    static std::vector<COLORREF> Shade(int k) {
        std::vector<COLORREF> colours;
        for (int p = 0; p < 16; ++p) colours.push_back(ShadeColour(k, p));
        return colours;
    }
    static std::string Text(const std::vector<COLORREF>& pixels) {
        std::string text;
        for (COLORREF c : pixels) text += Hex(c) + " ";
        return text;
    }
    bool Shows(HWND window, bool horizontal, int offset, int k) {
        UpdateWindow(Container());
        return WaitUntil([&] { return Across(window, horizontal, offset) == Shade(k); }, 2000);
    }
    void ExpectShades(bool horizontal) {
        MakeBar(horizontal);
        const int length = horizontal ? kWidth : kHeight;
        const int w = length * 80 / 200;
        const HWND start = BarButton(1), end = BarButton(2);
        const struct {
            HWND window;
            int offset;
            int k;
            const char* what;
        } checks[] = {
            {Bar(), length / 2, 2, "grip"},
            {start, 0, 2, "start button, outer edge"},
            {start, 1, 1, "start button, inner edge"},
            {start, 3, 0, "start button, face"},
            {start, w - 2, 1, "start button, inner far edge"},
            {start, w - 1, 2, "start button, outer far edge"},
            {end, 0, 2, "end button, outer edge"},
            {end, 1, 1, "end button, inner edge"},
            {end, w - 4, 0, "end button, face"},
            {end, w - 1, 2, "end button, outer far edge"},
        };
        for (const auto& check : checks) {
            EXPECT_TRUE(Shows(check.window, horizontal, check.offset, check.k))
                << check.what << ": " << Text(Across(check.window, horizontal, check.offset))
                << "\nexpected " << Text(Shade(check.k));
        }
        // A pressed button sinks to the flat shade.
        SendMessageA(start, BM_SETSTATE, TRUE, 0);
        for (int offset : {0, 1, 3, w - 2}) {
            EXPECT_TRUE(Shows(start, horizontal, offset, 2))
                << "pressed, at " << offset << ": " << Text(Across(start, horizontal, offset));
        }
        SendMessageA(start, BM_SETSTATE, FALSE, 0);
        EXPECT_TRUE(Shows(start, horizontal, 3, 0)) << "let go";
    }
};

TEST_F(SplitbarShades, AHorizontalBarShowsTheThreeShadesOfItsTable) { ExpectShades(true); }

TEST_F(SplitbarShades, AVerticalBarShowsTheThreeShadesOfItsTable) { ExpectShades(false); }

TEST_F(SplitbarShades, OtherItemsAreNotDrawn) {
    MakeBar(true);
    WindowDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 40, 16));
    const SelectedObject use(dc.get(), bitmap.get());
    RECT all{0, 0, 40, 16};
    const UniqueBrush marker(CreateSolidBrush(RGB(10, 200, 30)));
    FillRect(dc.get(), &all, marker.get());
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = 3;
    item.hDC = dc.get();
    item.rcItem = all;
    SendMessageA(Bar(), WM_DRAWITEM, 3, reinterpret_cast<LPARAM>(&item));
    for (int x : {0, 1, 3, 20, 39}) {
        for (int y : {0, 4, 8, 12, 15}) {
            EXPECT_EQ(GetPixel(dc.get(), x, y), RGB(10, 200, 30)) << x << "," << y;
        }
    }
    item.CtlID = 1;  // the same call for a button of the bar does draw
    SendMessageA(Bar(), WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(GetPixel(dc.get(), 3, 0), ShadeColour(0, 0));
}

// Where the arrow of a button must and must not be black.
struct ArrowProbe {
    POINT black[4];
    POINT clear[4];
};

// In a button of size length along the bar; box shrunk across by inset.
ArrowProbe ArrowOf(bool horizontal, bool start, int length, int inset) {
    const int boxStart = inset, boxEnd = 16 - inset;  // the box across the bar
    const int h = boxEnd - boxStart;
    const int half = static_cast<int>(std::lround(h / 1.732));
    const int middle = length / 2;
    const int base = start ? boxStart : boxEnd;
    const int apex = start ? boxEnd : boxStart;
    const int beyondApex = start ? apex + 1 : apex - 1;
    const int beyondBase = start ? base - 1 : base + 1;
    // In (along, across) terms; turned into x, y below.
    const POINT black[4] = {{middle - half, base}, {middle + half, base}, {middle, apex},
                            {middle, (base + apex) / 2}};
    const POINT clear[4] = {{middle - half - 1, base}, {middle + half + 1, base},
                            {middle, beyondApex}, {middle, beyondBase}};
    ArrowProbe probe{};
    for (int i = 0; i < 4; ++i) {
        probe.black[i] = horizontal ? black[i] : POINT{black[i].y, black[i].x};
        probe.clear[i] = horizontal ? clear[i] : POINT{clear[i].y, clear[i].x};
    }
    return probe;
}

class SplitbarArrows : public SplitbarFixture {
protected:
    void ExpectArrows(bool horizontal) {
        MakeBar(horizontal);
        for (int id : {1, 2}) {
            const HWND button = BarButton(id);
            const RECT r = ButtonRect(id);
            const int length = horizontal ? r.right - r.left : r.bottom - r.top;
            for (bool pressed : {false, true}) {
                SendMessageA(button, BM_SETSTATE, pressed, 0);
                UpdateWindow(Container());
                const ArrowProbe probe = ArrowOf(horizontal, id == 1, length, pressed ? 5 : 4);
                const std::string what = std::string(horizontal ? "horizontal" : "vertical") +
                                         " button " + std::to_string(id) +
                                         (pressed ? " pressed" : "");
                for (const POINT& p : probe.black) {
                    EXPECT_TRUE(WaitUntil([&] { return PixelOf(button, p.x, p.y) == kBlack; },
                                          2000))
                        << what << " at " << p.x << "," << p.y << ": "
                        << Hex(PixelOf(button, p.x, p.y));
                }
                for (const POINT& p : probe.clear) {
                    EXPECT_NE(PixelOf(button, p.x, p.y), kBlack)
                        << what << " at " << p.x << "," << p.y;
                }
            }
            SendMessageA(button, BM_SETSTATE, FALSE, 0);
        }
    }
};

TEST_F(SplitbarArrows, HorizontalBarArrowsPointDownThenUp) { ExpectArrows(true); }

TEST_F(SplitbarArrows, VerticalBarArrowsPointRightThenLeft) { ExpectArrows(false); }

// ---------------------------------------------------------------------------

class SplitbarClicks : public SplitbarFixture {};

TEST_F(SplitbarClicks, ALeftClickOnAButtonAsksTheContainerToMoveATab) {
    MakeBar(true);
    const RECT start = ButtonRect(1), end = ButtonRect(2);
    ClickAt(ScreenPoint(Bar(), (start.left + start.right) / 2, 8));
    ASSERT_TRUE(WaitUntil([] { return g_moveTabs.size() == 1; }));
    EXPECT_EQ(g_moveTabs[0].wParam, 0u);
    EXPECT_EQ(g_moveTabs[0].lParam, 1) << "the start button: into the second pane";
    ClickAt(ScreenPoint(Bar(), (end.left + end.right) / 2, 8));
    ASSERT_TRUE(WaitUntil([] { return g_moveTabs.size() == 2; }));
    EXPECT_EQ(g_moveTabs[1].wParam, 0u);
    EXPECT_EQ(g_moveTabs[1].lParam, 0) << "the end button: back into the first";
    ExpectRect(BarRect(), {0, 200, kWidth, 216}, "a click does not move the bar");
}

TEST_F(SplitbarClicks, EveryCommandOfAButtonMovesATabAndNothingElseDoes) {
    MakeBar(false);
    SendMessageA(Bar(), WM_COMMAND, MAKEWPARAM(1, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(BarButton(1)));
    SendMessageA(Bar(), WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), 0);
    SendMessageA(Bar(), WM_COMMAND, MAKEWPARAM(2, BN_CLICKED),
                 reinterpret_cast<LPARAM>(BarButton(2)));
    ASSERT_EQ(g_moveTabs.size(), 2u) << "id 3 is no button of the bar";
    EXPECT_EQ(g_moveTabs[0].lParam, 1) << "a second click of a quick pair";
    EXPECT_EQ(g_moveTabs[1].lParam, 0);
}

TEST_F(SplitbarClicks, TwoQuickClicksMoveTwoTabs) {
    MakeBar(true);
    const RECT start = ButtonRect(1);
    const POINT at = ScreenPoint(Bar(), (start.left + start.right) / 2, 8);
    ClickAt(at);
    ClickAt(at);  // within the double-click time
    ASSERT_TRUE(WaitUntil([] { return g_moveTabs.size() == 2; }));
    EXPECT_EQ(g_moveTabs[0].lParam, 1);
    EXPECT_EQ(g_moveTabs[1].lParam, 1);
}

TEST_F(SplitbarClicks, InRightButtonModeALeftClickOnAButtonStillMovesATab) {
    cSplitbar::SetDragWithRightButton(true);
    MakeBar(true);
    ClickAt(ScreenPoint(Bar(), kWidth / 4, 8));
    ASSERT_TRUE(WaitUntil([] { return g_moveTabs.size() == 1; }));
    EXPECT_EQ(g_moveTabs[0].lParam, 1);
    ExpectRect(BarRect(), {0, 200, kWidth, 216}, "bar");
}

// ---------------------------------------------------------------------------

class SplitbarDrag : public SplitbarFixture {
protected:
    // A drag on the bar of the points given in the container's client
    // coordinates; the line is probed 20 pixels along the bar from the
    // pointer, clear of it.
    DragOutcome Drag(POINT press, POINT move, POINT lineAfterMove, bool right,
                     bool moves = true) {
        const RECT bar = BarRect();
        const POINT lineAtPress = bar_.IsHorizontal() ? POINT{press.x + 20, bar.top + 8}
                                                      : POINT{bar.left + 8, press.y + 20};
        DragPlan plan;
        plan.down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
        plan.up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
        plan.pressAt = ScreenPoint(Container(), press.x, press.y);
        plan.moveTo = ScreenPoint(Container(), move.x, move.y);
        plan.lineAtPress = ScreenPoint(Container(), lineAtPress.x, lineAtPress.y);
        plan.lineAfterMove = ScreenPoint(Container(), lineAfterMove.x, lineAfterMove.y);
        plan.moves = moves;
        plan.bar = Bar();
        UpdateWindow(Container());
        DragOutcome outcome;
        const std::function<DragOutcome()> work = [plan] { return PerformDrag(plan); };
        EXPECT_TRUE(RunBeside(work, &outcome)) << "the drag did not end";
        return outcome;
    }
    std::string IgnoredPress(POINT press, POINT move, bool left) {
        std::string error;
        const POINT pressAt = ScreenPoint(Container(), press.x, press.y);
        const POINT moveTo = ScreenPoint(Container(), move.x, move.y);
        const std::function<std::string()> work = [=] {
            return left ? PerformIgnoredPress(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, pressAt,
                                              moveTo, g_leftDowns)
                        : PerformIgnoredPress(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP,
                                              pressAt, moveTo, g_rightDowns);
        };
        // A drag, had one started, ends with the release inside this wait.
        EXPECT_TRUE(RunBeside(work, &error));
        return error;
    }
};

TEST_F(SplitbarDrag, APressWithoutMovementKeepsThePosition) {
    MakeBar(true);
    SetClientSize(kWidth, 165);
    bar_.SetRatio(84.0 / 165);  // comes back a hair under 84 in doubles
    ASSERT_EQ(BarRect().top, 84);
    SpyOn(Bar());
    const DragOutcome outcome = Drag({250, 92}, {250, 92}, {230, 92}, false, false);
    ASSERT_EQ(outcome.error, "");
    ASSERT_TRUE(WaitUntil([] { return g_leftUps.load() > 0; }));
    EXPECT_EQ(BarRect().top, 84);
    EXPECT_DOUBLE_EQ(bar_.Ratio(), 84.0 / 165);
}

TEST_F(SplitbarDrag, ARightPressDoesNotDragInLeftButtonMode) {
    MakeBar(true);
    SpyOn(Bar());
    EXPECT_EQ(IgnoredPress({250, 208}, {250, 300}, false), "");
    EXPECT_EQ(g_rightDowns.load(), 1);
    EXPECT_EQ(BarRect().top, 200);
}

TEST_F(SplitbarDrag, InRightButtonModeALeftPressOnTheBarDoesNothing) {
    cSplitbar::SetDragWithRightButton(true);
    SetClientSize(501, kHeight);
    MakeBar(true);
    // 250 and 250: the one pixel between the buttons is the bar's own.
    ASSERT_EQ(ButtonRect(1).right, 250);
    ASSERT_EQ(ButtonRect(2).left, 251);
    SpyOn(Bar());
    EXPECT_EQ(IgnoredPress({250, 208}, {250, 300}, true), "");
    EXPECT_EQ(g_leftDowns.load(), 1);
    EXPECT_EQ(BarRect().top, 200);
    EXPECT_TRUE(g_moveTabs.empty());
}

// A drag that moves the bar, in container coordinates. One drag per test:
// under Wine 8, GetAsyncKeyState answers "up" from a per-thread cache for
// 50 ms after the thread last saw the button up, so a second press right
// after a drag's release is taken for no press at all.
struct DragCase {
    const char* name;
    bool right;  // right-button mode, dragged with the right button
    bool horizontal;
    POINT press, move, lineAfterMove;
    int endsAt;  // the bar's top or left after the release
};

// Named in test output by its name, not its bytes.
void PrintTo(const DragCase& c, std::ostream* out) { *out << c.name; }

const DragCase kDrags[] = {
    // The grip is 200..300; the pointer goes down 60 pixels.
    {"LeftOnTheGripOfAHorizontalBar", false, true, {250, 208}, {250, 268}, {230, 268}, 260},
    // The grip is 160..240 down the bar; the pointer goes far right. The bar
    // can go no further than 500 - 80, so the line stops at its centre 428.
    {"LeftPastTheEndOfAVerticalBarStopsAtTheMargin", false, false, {258, 200}, {490, 200},
     {428, 230}, 420},
    {"RightOnTheStartButton", true, true, {125, 208}, {125, 268}, {145, 268}, 260},
    {"RightOnTheEndButton", true, true, {375, 208}, {375, 148}, {395, 148}, 140},
    {"RightOnAVerticalBar", true, false, {258, 100}, {158, 100}, {158, 120}, 150},
};

class SplitbarDrags : public SplitbarDrag, public ::testing::WithParamInterface<DragCase> {};

TEST_P(SplitbarDrags, MoveTheBarAtTheRelease) {
    const DragCase& c = GetParam();
    cSplitbar::SetDragWithRightButton(c.right);
    MakeBar(c.horizontal);
    SpyOn(Bar());
    const auto edge = [&](const RECT& r) { return c.horizontal ? r.top : r.left; };
    const int start = edge(BarRect());
    const DragOutcome outcome = Drag(c.press, c.move, c.lineAfterMove, c.right);
    ASSERT_EQ(outcome.error, "");
    RECT during = outcome.barWhileLineMoved;
    MapWindowPoints(nullptr, Container(), reinterpret_cast<POINT*>(&during), 2);
    EXPECT_EQ(edge(during), start) << "the bar stays put while the line follows the pointer";
    EXPECT_TRUE(WaitUntil([&] { return edge(BarRect()) == c.endsAt; })) << edge(BarRect());
    EXPECT_DOUBLE_EQ(bar_.Ratio(), c.endsAt / static_cast<double>(c.horizontal ? kHeight : kWidth));
    EXPECT_EQ(edge(RectIn(g_panes[1], Container())), c.endsAt + 16) << "the panes follow";
    EXPECT_TRUE(g_moveTabs.empty()) << "a drag is no click";
    if (c.right) {
        EXPECT_GE(g_rightPressCursors.load(), 1) << "the bar heard of the press on its button";
    }
}

INSTANTIATE_TEST_SUITE_P(Drags, SplitbarDrags, ::testing::ValuesIn(kDrags),
                         [](const ::testing::TestParamInfo<DragCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------

class SplitbarSettings : public ::testing::Test {
protected:
    void SetUp() override {
        cSplitbar::SetDragWithRightButton(false);
        cSplitbar::SetGripPercent(20);
    }
    void TearDown() override { SetUp(); }
    void Load(const std::string& content) {
        WriteFileText(settings_.SystemIni(), "[SYSTEMDATA]\r\n" + content);
        cSplitbar::LoadSettings(settings_.SystemIni().c_str());
    }
    std::string Value(const char* key) {
        return IniValue(settings_.SystemIni(), settings_ids::kSystemSection, key, "\x01");
    }
    FreshSettings settings_;
};

TEST_F(SplitbarSettings, DefaultsWhenTheFileSaysNothing) {
    cSplitbar::SetDragWithRightButton(true);
    cSplitbar::SetGripPercent(77);
    cSplitbar::LoadSettings(settings_.SystemIni().c_str());
    EXPECT_FALSE(cSplitbar::DragWithRightButton());
    EXPECT_EQ(cSplitbar::GripPercent(), 20);
}

TEST_F(SplitbarSettings, LoadsTheFlagAsAnyNonZeroNumber) {
    const std::pair<const char*, bool> cases[] = {{"1", true}, {"0", false}, {"5", true}};
    for (const auto& [text, expected] : cases) {
        Load(std::string("SBARFLAG=") + text + "\r\n");
        EXPECT_EQ(cSplitbar::DragWithRightButton(), expected) << text;
    }
}

TEST_F(SplitbarSettings, LoadsTheRateAsItsLowByteAtMost100) {
    const std::pair<const char*, int> cases[] = {
        {"35", 35}, {"0", 0}, {"100", 100}, {"101", 100}, {"150", 100}, {"255", 100},
        {"300", 44}, {"356", 100}, {"256", 0},
    };
    for (const auto& [text, expected] : cases) {
        Load(std::string("SBARRATE=") + text + "\r\n");
        EXPECT_EQ(cSplitbar::GripPercent(), expected) << text;
    }
}

TEST_F(SplitbarSettings, TheRateSetterKeepsTo100) {
    cSplitbar::SetGripPercent(180);
    EXPECT_EQ(cSplitbar::GripPercent(), 100);
    cSplitbar::SetGripPercent(3);
    EXPECT_EQ(cSplitbar::GripPercent(), 3);
}

TEST_F(SplitbarSettings, SavesBothKeys) {
    cSplitbar::SetDragWithRightButton(true);
    cSplitbar::SetGripPercent(7);
    cSplitbar::SaveSettings(settings_.SystemIni().c_str());
    EXPECT_EQ(Value(tab_ids::kSplitbarFlagKey), "1");
    EXPECT_EQ(Value(tab_ids::kSplitbarRateKey), "7");
    cSplitbar::SetDragWithRightButton(false);
    cSplitbar::SetGripPercent(100);
    cSplitbar::SaveSettings(settings_.SystemIni().c_str());
    EXPECT_EQ(Value(tab_ids::kSplitbarFlagKey), "0");
    EXPECT_EQ(Value(tab_ids::kSplitbarRateKey), "100");
}

}  // namespace
