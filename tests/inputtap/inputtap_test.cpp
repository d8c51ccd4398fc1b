// inputtap.dll on the real desktop: windows opened by the sample application
// (another process), keys and mouse input sent with SendInput, and the reports
// collected by a window of the test process.
//
// Absence is never waited for with a clock. Either a later event that must be
// reported serves as a marker (the library reports in the order things
// happen), or a low-level hook of the test, installed before the library's and
// therefore called after it, shows that the input has been through the
// library.
#include "inputtap/inputtap.h"

#include "tests/support/desktop_input.h"
#include "tests/support/input_observer.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sample_app.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

using testing_support::FocusProcess;
using testing_support::InputObserver;
using testing_support::MessageRecorder;
using testing_support::SampleApp;
using testing_support::WaitUntil;
using testing_support::WindowSpec;

namespace {

constexpr DWORD kDeadlineMs = 10000;

using Report = MessageRecorder::Message;

// How often window was reported with report.
size_t ReportsOf(const MessageRecorder& sink, UINT report, HWND window) {
    size_t n = 0;
    for (const Report& r : sink.Of(report)) {
        if (r.lParam == reinterpret_cast<LPARAM>(window)) ++n;
    }
    return n;
}

size_t NewWindowReports(const MessageRecorder& sink, HWND window) {
    return ReportsOf(sink, INPUTTAP_REPORT_NEWWINDOW, window);
}

size_t ShownReports(const MessageRecorder& sink, HWND window) {
    return ReportsOf(sink, INPUTTAP_REPORT_SHOWNWINDOW, window);
}

bool WaitForNewWindow(const MessageRecorder& sink, HWND window) {
    return WaitUntil([&] { return NewWindowReports(sink, window) > 0; }, kDeadlineMs);
}

// Every test leaves the library as a fresh program would find it, whatever
// it switched on.
class InputTapTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(sink.Handle(), nullptr);
        INPUTTAP_SetHWND(sink.Handle());
    }
    void TearDown() override {
        INPUTTAP_End();
        INPUTTAP_AccelEnd();
        INPUTTAP_MouseEnd();
        INPUTTAP_SetAccelKey(nullptr);
        INPUTTAP_SetHWND(nullptr);
    }

    MessageRecorder sink;
};

// ---------------------------------------------------------------------------
// New-window watch

class InputTapWatch : public InputTapTest {
protected:
    HWND OpenTopLevel(const char* title, HWND owner = nullptr) {
        WindowSpec shape;
        shape.title = title;
        shape.owner = owner;
        const HWND window = app.Open(shape);
        EXPECT_NE(window, nullptr) << title;
        return window;
    }

    SampleApp app{false};
};

TEST_F(InputTapWatch, ReportsTopLevelWindowsOfAnotherProcessOnce) {
    ASSERT_EQ(INPUTTAP_Start(), 1);
    EXPECT_EQ(INPUTTAP_IsAttached(), 1);

    const HWND frame = OpenTopLevel("frame");
    ASSERT_TRUE(WaitForNewWindow(sink, frame));
    const HWND owned = OpenTopLevel("owned", frame);
    ASSERT_TRUE(WaitForNewWindow(sink, owned)) << "an owned window is top-level too";
    WindowSpec childShape;
    childShape.style = WS_CHILD | WS_VISIBLE;
    childShape.parent = frame;
    const HWND child = app.Open(childShape);
    ASSERT_NE(child, nullptr);
    const HWND marker = OpenTopLevel("marker");
    ASSERT_TRUE(WaitForNewWindow(sink, marker));

    EXPECT_EQ(NewWindowReports(sink, child), 0u) << "a child window is not top-level";
    EXPECT_EQ(NewWindowReports(sink, frame), 1u);
    EXPECT_EQ(NewWindowReports(sink, owned), 1u);
    for (const Report& r : sink.Of(INPUTTAP_REPORT_NEWWINDOW)) {
        const HWND reported = reinterpret_cast<HWND>(r.lParam);
        DWORD process = 0;
        GetWindowThreadProcessId(reported, &process);
        EXPECT_EQ(process, app.ProcessId()) << "only the sample application opened windows";
        EXPECT_EQ(GetAncestor(reported, GA_PARENT), GetDesktopWindow());
    }
}

// The sample application raises the show event itself, as Windows would
// for it and Wine does not.
TEST_F(InputTapWatch, ReportsAWindowOfAnotherProcessThatShows) {
    ASSERT_EQ(INPUTTAP_Start(), 1);
    const HWND window = testing_support::OpenHidden(app, "late");
    ASSERT_TRUE(WaitForNewWindow(sink, window));
    ASSERT_TRUE(app.Show(window, SW_SHOWNORMAL));
    EXPECT_TRUE(WaitUntil([&] { return ShownReports(sink, window) > 0; }, kDeadlineMs));
}

TEST_F(InputTapWatch, ReportsNothingCreatedOrShownWhileOff) {
    ASSERT_EQ(INPUTTAP_Start(), 1);
    INPUTTAP_End();
    EXPECT_EQ(INPUTTAP_IsAttached(), 0);
    const HWND unseen = OpenTopLevel("unseen");

    // Events of one process come out in the order they were raised, so once
    // the marker is reported shown, an earlier report would have arrived.
    ASSERT_EQ(INPUTTAP_Start(), 1);
    const HWND marker = OpenTopLevel("marker");
    ASSERT_TRUE(WaitUntil([&] { return ShownReports(sink, marker) > 0; }, kDeadlineMs));
    EXPECT_EQ(NewWindowReports(sink, unseen), 0u);
    EXPECT_EQ(ShownReports(sink, unseen), 0u);
}

TEST_F(InputTapWatch, NeverReportsWindowsOfItsOwnProcess) {
    ASSERT_EQ(INPUTTAP_Start(), 1);
    // Wine 8 raises window events from a thread only once it has retrieved a
    // message since the hook was set; without one the window below would
    // raise no event at all, and the test could not fail.
    PostMessageA(sink.Handle(), WM_NULL, 0, 0);
    testing_support::PumpPending();
    const HWND own = CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                     10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(own, nullptr);
    const HWND marker = OpenTopLevel("marker");
    ASSERT_TRUE(WaitForNewWindow(sink, marker));
    EXPECT_EQ(NewWindowReports(sink, own), 0u);
    DestroyWindow(own);
}

TEST_F(InputTapWatch, StartAndEndInAnyOrderAndNumber) {
    INPUTTAP_End();
    INPUTTAP_End();
    EXPECT_EQ(INPUTTAP_IsAttached(), 0) << "End when off changes nothing";
    EXPECT_EQ(INPUTTAP_Start(), 1);
    EXPECT_EQ(INPUTTAP_Start(), 1) << "already on";
    EXPECT_EQ(INPUTTAP_IsAttached(), 1);

    // Two starts are still one watch: each window is reported once.
    const HWND first = OpenTopLevel("first");
    const HWND second = OpenTopLevel("second");
    ASSERT_TRUE(WaitForNewWindow(sink, second));
    EXPECT_EQ(NewWindowReports(sink, first), 1u);

    INPUTTAP_End();
    EXPECT_EQ(INPUTTAP_IsAttached(), 0);
    INPUTTAP_End();
    EXPECT_EQ(INPUTTAP_IsAttached(), 0);
    EXPECT_EQ(INPUTTAP_Start(), 1) << "on again after an End";
    EXPECT_EQ(INPUTTAP_IsAttached(), 1);
    const HWND third = OpenTopLevel("third");
    EXPECT_TRUE(WaitForNewWindow(sink, third));
}

TEST_F(InputTapWatch, KeepsWatchingAfterTheStartingThreadEnds) {
    BYTE started = 0;
    std::thread([&] { started = INPUTTAP_Start(); }).join();
    ASSERT_EQ(started, 1);
    EXPECT_EQ(INPUTTAP_IsAttached(), 1);
    const HWND window = OpenTopLevel("later");
    EXPECT_TRUE(WaitForNewWindow(sink, window));
}

// ---------------------------------------------------------------------------
// Real input: SendInput reaches low-level hooks like a keyboard or mouse.

bool IsExtendedKey(WORD vk) {
    switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_INSERT: case VK_DELETE:
        return true;
    default:
        return false;
    }
}

// ago: stamps the event as sent that many milliseconds earlier.
void SendKey(WORD vk, bool up, DWORD ago = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    input.ki.time = ago ? GetTickCount() - ago : 0;
    SendInput(1, &input, sizeof input);
}

void SendWheel(int delta) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(delta);
    SendInput(1, &input, sizeof input);
}

// Coordinates 0..65535 span the primary screen; rounding up lands on the
// pixel asked for.
void SendMoveTo(int x, int y) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = (x * 65536 + width - 1) / width;
    input.mi.dy = (y * 65536 + height - 1) / height;
    SendInput(1, &input, sizeof input);
}

bool RunningOnWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, kDeadlineMs);
}


class InputTapInput : public InputTapTest {
protected:
    void SetUp() override {
        InputTapTest::SetUp();
        ASSERT_TRUE(observer.Installed());
    }
    void TearDown() override {
        // No key may stay down for the tests that follow.
        for (WORD vk : {VK_CONTROL, VK_SHIFT, VK_MENU}) {
            if (GetAsyncKeyState(vk) < 0) SendKey(vk, true);
        }
        InputTapTest::TearDown();
    }

    // Calls send, which makes vk go down or up, and returns once that has
    // been through the library.
    template <typename Send>
    bool KeyThrough(WORD vk, bool up, Send send) {
        const size_t from = observer.KeyCount();
        return send() && observer.WaitForKey(vk, up, from);
    }
    bool SendThrough(WORD vk, bool up, DWORD ago = 0) {
        return KeyThrough(vk, up, [&] {
            SendKey(vk, up, ago);
            return true;
        });
    }

    // Presses key with the modifiers held, releases all, and returns once the
    // last release has been through the library.
    bool Press(std::initializer_list<WORD> modifiers, WORD key) {
        const size_t from = observer.KeyCount();
        for (WORD m : modifiers) SendKey(m, false);
        SendKey(key, false);
        SendKey(key, true);
        std::vector<WORD> held(modifiers);
        std::reverse(held.begin(), held.end());
        for (WORD m : held) SendKey(m, true);
        const WORD last = held.empty() ? key : held.back();
        return observer.WaitForKey(last, true, from);
    }

    // What became of a key pressed with Press: kLost when the press never
    // came through at all.
    enum Fate { kLost, kPassed, kSwallowed };
    Fate PressAndWatch(std::initializer_list<WORD> modifiers, WORD key) {
        const size_t from = observer.KeyCount();
        if (!Press(modifiers, key)) return kLost;
        return observer.SawKey(key, false, from) ? kPassed : kSwallowed;
    }

    InputObserver observer;
};

// ---------------------------------------------------------------------------
// Desktop-wide accelerators

ACCEL Entry(BYTE modifiers, WORD key, WORD command) {
    return ACCEL{static_cast<BYTE>(FVIRTKEY | modifiers), key, command};
}

class InputTapAccel : public InputTapInput {
protected:
    void SetUp() override {
        InputTapInput::SetUp();
        other = app.Open(WindowSpec{});
        ASSERT_NE(other, nullptr);
    }

    void SetKeys(std::initializer_list<ACCEL> entries) {
        ACCEL table[INPUTTAP_ACCEL_SLOTS]{};
        std::copy(entries.begin(), entries.end(), table);
        INPUTTAP_SetAccelKey(table);
    }

    // The keyboard focus in the sample application's window.
    void FocusOther() {
        ASSERT_TRUE(BringToFront(other));
        ASSERT_EQ(FocusProcess(), app.ProcessId());
    }

    // The table set, the hook on, and the focus in the other application.
    void StartInOther(std::initializer_list<ACCEL> entries) {
        SetKeys(entries);
        INPUTTAP_AccelStart();
        FocusOther();
    }

    std::vector<WPARAM> ReportedCommands() const {
        std::vector<WPARAM> ids;
        for (const Report& r : sink.Of(INPUTTAP_REPORT_COMMAND)) {
            EXPECT_EQ(r.lParam, 0);
            ids.push_back(r.wParam);
        }
        return ids;
    }

    void PressRightAfterCtrlForgotten(DWORD ago, Fate* right);

    SampleApp app{false};
    HWND other = nullptr;
};

using Commands = std::vector<WPARAM>;

TEST_F(InputTapAccel, KeyInAnotherProcessRunsItsCommandOnceAndIsSwallowed) {
    StartInOther({Entry(FCONTROL, VK_LEFT, 1), Entry(FCONTROL, VK_RIGHT, 2)});

    const size_t from = observer.KeyCount();
    ASSERT_TRUE(Press({VK_CONTROL}, VK_RIGHT));
    EXPECT_EQ(ReportedCommands(), (Commands{2}));
    EXPECT_FALSE(observer.SawKey(VK_RIGHT, false, from))
        << "the key went on to the other application";
    EXPECT_TRUE(observer.SawKey(VK_CONTROL, false, from)) << "modifiers pass";

    ASSERT_TRUE(Press({VK_CONTROL}, VK_LEFT));
    EXPECT_EQ(ReportedCommands(), (Commands{2, 1}));
}

TEST_F(InputTapAccel, KeyInOwnProcessIsLeftToTheProgram) {
    MessageRecorder own(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 300, 200);
    ASSERT_NE(own.Handle(), nullptr);
    const auto rightDowns = [&] {
        const std::vector<WPARAM> keys = own.WParams(WM_KEYDOWN);
        return std::count(keys.begin(), keys.end(), WPARAM{VK_RIGHT});
    };

    SetKeys({Entry(FCONTROL, VK_RIGHT, 2)});
    INPUTTAP_AccelStart();
    ASSERT_TRUE(BringToFront(own.Handle()));
    SetFocus(own.Handle());
    ASSERT_EQ(FocusProcess(), GetCurrentProcessId());

    EXPECT_EQ(PressAndWatch({VK_CONTROL}, VK_RIGHT), kPassed);
    EXPECT_TRUE(WaitUntil([&] { return rightDowns() == 1; }, kDeadlineMs))
        << "the key reaches our own window";
    EXPECT_EQ(ReportedCommands(), Commands{});

    // Our window active but no focus at all: still our own.
    SetFocus(nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &info));
    ASSERT_EQ(info.hwndFocus, nullptr);
    ASSERT_EQ(GetForegroundWindow(), own.Handle());
    ASSERT_TRUE(Press({VK_CONTROL}, VK_RIGHT));
    EXPECT_EQ(ReportedCommands(), Commands{});

    // The same key is reported again as soon as the focus is elsewhere.
    FocusOther();
    ASSERT_TRUE(Press({VK_CONTROL}, VK_RIGHT));
    EXPECT_EQ(ReportedCommands(), (Commands{2}));
}

// A captured window: another process's window made a child of ours. Our
// window is the foreground one, but the key goes to the other application.
TEST_F(InputTapAccel, KeyInAnotherProcessWindowInsideOursIsReported) {
    UniqueWindow own(CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                     500, 400, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(own);
    const LONG style = GetWindowLongA(other, GWL_STYLE);
    SetWindowLongA(other, GWL_STYLE, (style & ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME)) | WS_CHILD);
    ASSERT_NE(SetParent(other, own.get()), nullptr);

    SetKeys({Entry(FCONTROL, VK_RIGHT, 2)});
    INPUTTAP_AccelStart();
    ASSERT_TRUE(BringToFront(own.get()));
    SetFocus(other);
    ASSERT_TRUE(WaitUntil([&] { return FocusProcess() == app.ProcessId(); }, kDeadlineMs));
    ASSERT_EQ(GetForegroundWindow(), own.get());

    EXPECT_EQ(PressAndWatch({VK_CONTROL}, VK_RIGHT), kSwallowed);
    EXPECT_EQ(ReportedCommands(), (Commands{2}));

    // Given back before our window goes, as Panelry does.
    SetParent(other, nullptr);
    SetWindowLongA(other, GWL_STYLE, style);
}

// When the focus moves, Wine's X11 driver reloads the key state from the X
// server, which never saw keys pressed with SendInput: Ctrl held that way
// then reads as up, though it was never released. Ctrl goes down (stamped ago
// ms earlier) while our own window is in front; Right is pressed once the
// other application has the focus.
void InputTapAccel::PressRightAfterCtrlForgotten(DWORD ago, Fate* right) {
    UniqueWindow own(CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                     300, 200, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(own);
    SetKeys({Entry(FCONTROL, VK_RIGHT, 2)});
    INPUTTAP_AccelStart();
    ASSERT_TRUE(BringToFront(own.get()));

    ASSERT_TRUE(SendThrough(VK_CONTROL, false, ago));
    FocusOther();
    if (RunningOnWine()) {
        ASSERT_TRUE(WaitUntil([] { return GetAsyncKeyState(VK_CONTROL) >= 0; }, kDeadlineMs))
            << "Wine no longer forgets an injected Ctrl on a focus change: "
               "this test does not show what it is for";
    }
    *right = PressAndWatch({}, VK_RIGHT);
    SendKey(VK_CONTROL, true);
}

TEST_F(InputTapAccel, ModifierHeldAcrossAFocusChangeStillCounts) {
    Fate right = kLost;
    ASSERT_NO_FATAL_FAILURE(PressRightAfterCtrlForgotten(0, &right));
    ASSERT_NE(right, kLost);
    EXPECT_EQ(ReportedCommands(), (Commands{2}));
}

// The other side of the same: a press the hook saw long ago, which the
// system no longer knows of, is taken for a release the hook missed (as
// behind Windows' secure desktop).
TEST_F(InputTapAccel, OldPressTheSystemNoLongerKnowsOfDoesNotCount) {
    if (!RunningOnWine()) GTEST_SKIP() << "needs Wine's reloading of the key state";
    Fate right = kLost;
    ASSERT_NO_FATAL_FAILURE(PressRightAfterCtrlForgotten(5000, &right));
    EXPECT_EQ(right, kPassed) << "Right alone passes";
    EXPECT_EQ(ReportedCommands(), Commands{});
}

// Ctrl held from outside Panelry's reach. Under Wine it is held on the X
// server itself (Wine starts Unix programs): Wine reloads its key state from
// the X server whenever the focus moves or the pointer enters a window, which
// drops a key sent with SendInput at a moment no test can choose.
class OutsideControl {
public:
    ~OutsideControl() {
        if (held_) Send(true);
    }
    bool Press() { return held_ = Send(false); }
    bool Release() { return !(held_ = !Send(true)); }

private:
    static bool Send(bool up) {
        if (!RunningOnWine()) {
            SendKey(VK_CONTROL, up);
            return true;
        }
        return testing_support::RunXdotool(std::string(up ? "keyup" : "keydown") + " ctrl");
    }

    bool held_ = false;
};

TEST_F(InputTapAccel, ModifiersChangedWhileOffAreTakenFromTheSystem) {
    SetKeys({Entry(FCONTROL, VK_RIGHT, 2)});
    FocusOther();

    // Pressed before the hook was there.
    {
        OutsideControl control;
        ASSERT_TRUE(KeyThrough(VK_CONTROL, false, [&] { return control.Press(); }))
            << "xdotool missing?";
        INPUTTAP_AccelStart();
        ASSERT_TRUE(Press({}, VK_RIGHT));
        ASSERT_TRUE(KeyThrough(VK_CONTROL, true, [&] { return control.Release(); }));
    }
    EXPECT_EQ(ReportedCommands(), (Commands{2}));

    // Pressed while the hook ran, released while it was off.
    ASSERT_TRUE(SendThrough(VK_CONTROL, false));
    INPUTTAP_AccelEnd();
    ASSERT_TRUE(SendThrough(VK_CONTROL, true));
    INPUTTAP_AccelStart();
    EXPECT_EQ(PressAndWatch({}, VK_RIGHT), kPassed) << "Right alone passes";
    EXPECT_EQ(ReportedCommands(), (Commands{2}));
}

TEST_F(InputTapAccel, OtherKeysAndOtherModifiersPassUnreported) {
    StartInOther({Entry(FCONTROL, VK_RIGHT, 2), Entry(FCONTROL | FSHIFT, VK_F5, 11)});

    struct Case {
        std::initializer_list<WORD> modifiers;
        WORD key;
        const char* what;
    };
    const Case cases[] = {
        {{}, VK_RIGHT, "no modifier"},
        {{VK_SHIFT}, VK_RIGHT, "Shift for Ctrl"},
        {{VK_CONTROL, VK_SHIFT}, VK_RIGHT, "Shift as well"},
        {{VK_CONTROL}, VK_UP, "another key"},
        {{VK_CONTROL}, VK_F5, "Shift missing"},
        {{VK_SHIFT}, VK_F5, "Ctrl missing"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PressAndWatch(c.modifiers, c.key), kPassed) << c.what << ": the key passes";
        EXPECT_EQ(ReportedCommands(), Commands{}) << c.what;
    }
    // Both modifiers of an entry.
    ASSERT_TRUE(Press({VK_SHIFT, VK_CONTROL}, VK_F5));
    EXPECT_EQ(ReportedCommands(), (Commands{11}));
}

TEST_F(InputTapAccel, FirstMatchingEntryWins) {
    StartInOther(
        {Entry(FCONTROL, VK_LEFT, 6), Entry(FCONTROL, VK_RIGHT, 7), Entry(FCONTROL, VK_RIGHT, 8)});
    ASSERT_TRUE(Press({VK_CONTROL}, VK_RIGHT));
    EXPECT_EQ(ReportedCommands(), (Commands{7}));
}

// A character entry (no FVIRTKEY) names a character for the message loop's
// WM_CHAR, which a low-level hook never sees: such an entry is not a key.
TEST_F(InputTapAccel, CharacterEntriesAreNotKeys) {
    StartInOther({ACCEL{FCONTROL, VK_RIGHT, 4}, Entry(FCONTROL, VK_LEFT, 1)});
    EXPECT_EQ(PressAndWatch({VK_CONTROL}, VK_RIGHT), kPassed);
    ASSERT_TRUE(Press({VK_CONTROL}, VK_LEFT));
    EXPECT_EQ(ReportedCommands(), (Commands{1}));
}

TEST_F(InputTapAccel, KeepsItsOwnCopyOfTheTableAndNullClearsIt) {
    {
        ACCEL table[INPUTTAP_ACCEL_SLOTS]{};
        table[0] = Entry(FCONTROL, VK_RIGHT, 2);
        INPUTTAP_SetAccelKey(table);
        // The caller's array is gone after the call.
        table[0] = Entry(FCONTROL, VK_RIGHT, 99);
    }
    INPUTTAP_AccelStart();
    FocusOther();
    ASSERT_TRUE(Press({VK_CONTROL}, VK_RIGHT));
    EXPECT_EQ(ReportedCommands(), (Commands{2}));

    INPUTTAP_SetAccelKey(nullptr);
    EXPECT_EQ(PressAndWatch({VK_CONTROL}, VK_RIGHT), kPassed);
    EXPECT_EQ(ReportedCommands(), (Commands{2})) << "no keys after a null table";

    // A table set while the hook runs takes effect at once.
    SetKeys({Entry(FCONTROL, VK_RIGHT, 3)});
    ASSERT_TRUE(Press({VK_CONTROL}, VK_RIGHT));
    EXPECT_EQ(ReportedCommands(), (Commands{2, 3}));
}

TEST_F(InputTapAccel, NothingAfterAccelEndAndAgainAfterAccelStart) {
    SetKeys({Entry(FCONTROL, VK_RIGHT, 2)});
    INPUTTAP_AccelEnd();  // harmless when off
    INPUTTAP_AccelStart();
    INPUTTAP_AccelStart();
    FocusOther();
    ASSERT_TRUE(Press({VK_CONTROL}, VK_RIGHT));
    EXPECT_EQ(ReportedCommands(), (Commands{2})) << "two starts are one hook";

    INPUTTAP_AccelEnd();
    EXPECT_EQ(PressAndWatch({VK_CONTROL}, VK_RIGHT), kPassed) << "the key passes";
    EXPECT_EQ(ReportedCommands(), (Commands{2}));

    INPUTTAP_AccelStart();
    ASSERT_TRUE(Press({VK_CONTROL}, VK_RIGHT));
    EXPECT_EQ(ReportedCommands(), (Commands{2, 2}));
}

TEST_F(InputTapAccel, KeysWithoutAReportWindowPass) {
    StartInOther({Entry(FCONTROL, VK_RIGHT, 2)});
    INPUTTAP_SetHWND(nullptr);
    EXPECT_EQ(PressAndWatch({VK_CONTROL}, VK_RIGHT), kPassed)
        << "a key nobody is told of is not taken";
    EXPECT_EQ(ReportedCommands(), Commands{});
}

// ---------------------------------------------------------------------------
// Mouse

class InputTapMouse : public InputTapInput {
protected:
    // Sends a wheel turn and returns once it has been through the library.
    bool Wheel(int delta) {
        const size_t from = observer.MouseCount();
        SendWheel(delta);
        return observer.WaitForMouse(WM_MOUSEWHEEL, from);
    }
    bool MoveTo(int x, int y) {
        const size_t from = observer.MouseCount();
        SendMoveTo(x, y);
        return observer.WaitForMoveTo(POINT{x, y}, from);
    }
    std::vector<short> ReportedDeltas() const {
        std::vector<short> deltas;
        for (const Report& r : sink.Of(INPUTTAP_REPORT_WHEEL)) {
            deltas.push_back(static_cast<short>(HIWORD(r.wParam)));
        }
        return deltas;
    }
    bool ReportedMoveTo(int x, int y) const {
        for (const Report& r : sink.Of(INPUTTAP_REPORT_MOVE)) {
            if (static_cast<int>(r.wParam) == x && static_cast<int>(r.lParam) == y) return true;
        }
        return false;
    }
};

using Deltas = std::vector<short>;

TEST_F(InputTapMouse, WheelReportsCarryTheSignedDeltaAndTheCursor) {
    // SetCursorPos, not SendInput: under Wine 8, while any low-level mouse
    // hook is set, a SendInput move leaves the X pointer where it was, and
    // about 100 ms later the cursor goes back to it.
    ASSERT_TRUE(SetCursorPos(400, 300));
    INPUTTAP_MouseStart(INPUTTAP_MOUSE_WHEEL);

    ASSERT_TRUE(Wheel(WHEEL_DELTA));
    ASSERT_TRUE(Wheel(-2 * WHEEL_DELTA));
    EXPECT_EQ(ReportedDeltas(), (Deltas{120, -240}));
    for (const Report& r : sink.Of(INPUTTAP_REPORT_WHEEL)) {
        EXPECT_EQ(LOWORD(r.wParam), 0) << "no key or button held";
        EXPECT_EQ(static_cast<short>(LOWORD(r.lParam)), 400);
        EXPECT_EQ(static_cast<short>(HIWORD(r.lParam)), 300);
    }

    ASSERT_TRUE(MoveTo(420, 310));
    EXPECT_EQ(sink.Count(INPUTTAP_REPORT_MOVE), 0u) << "movement is not asked for";
}

TEST_F(InputTapMouse, WheelReportNamesTheKeysHeld) {
    INPUTTAP_MouseStart(INPUTTAP_MOUSE_WHEEL);
    ASSERT_TRUE(SendThrough(VK_CONTROL, false));
    const bool turned = Wheel(WHEEL_DELTA);
    SendKey(VK_CONTROL, true);
    ASSERT_TRUE(turned);
    ASSERT_EQ(sink.Count(INPUTTAP_REPORT_WHEEL), 1u);
    const WPARAM wParam = sink.Of(INPUTTAP_REPORT_WHEEL)[0].wParam;
    EXPECT_EQ(LOWORD(wParam), MK_CONTROL);
    EXPECT_EQ(static_cast<short>(HIWORD(wParam)), WHEEL_DELTA);
}

// A move and a wheel turn after the library was switched as each row says;
// each row replaces the flags of the one before.
TEST_F(InputTapMouse, TheFlagsInForceChooseTheReports) {
    constexpr int kBoth = INPUTTAP_MOUSE_WHEEL | INPUTTAP_MOUSE_MOVE;
    const struct {
        const char* what;
        void (*switchOn)();
        int x, y;
        short delta;
        bool wheel, move;
    } rows[] = {
        {"both, after an End while off",
         [] {
             INPUTTAP_MouseEnd();
             INPUTTAP_MouseStart(kBoth);
         },
         333, 222, -120, true, true},
        {"move", [] { INPUTTAP_MouseStart(INPUTTAP_MOUSE_MOVE); }, 300, 200, 120, false, true},
        {"move, far", [] { INPUTTAP_MouseStart(INPUTTAP_MOUSE_MOVE); }, 917, 533, 120, false, true},
        {"wheel replaced by move",
         [] {
             INPUTTAP_MouseStart(INPUTTAP_MOUSE_WHEEL);
             INPUTTAP_MouseStart(INPUTTAP_MOUSE_MOVE);
         },
         350, 250, 120, false, true},
        {"flags 0", [] { INPUTTAP_MouseStart(0); }, 360, 260, 120, false, false},
        {"ended",
         [] {
             INPUTTAP_MouseStart(kBoth);
             INPUTTAP_MouseEnd();
         },
         370, 270, 120, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        sink.Clear();
        row.switchOn();
        ASSERT_TRUE(MoveTo(row.x, row.y));
        ASSERT_TRUE(Wheel(row.delta));
        EXPECT_EQ(ReportedDeltas(), row.wheel ? Deltas{row.delta} : Deltas{});
        EXPECT_EQ(ReportedMoveTo(row.x, row.y), row.move);
        EXPECT_EQ(sink.Count(INPUTTAP_REPORT_MOVE) > 0, row.move);
    }
}

// ---------------------------------------------------------------------------
// The hooks do not depend on the thread that switched them on: a program's
// user-interface thread that stops answering must not stop the reports (nor
// hold up the desktop's input).

TEST_F(InputTapAccel, ReportsKeepComingWhileTheCallingThreadIsBlocked) {
    SetKeys({Entry(FCONTROL, VK_RIGHT, 2)});
    UniqueHandle started(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::thread blocked([&] {
        INPUTTAP_AccelStart();
        INPUTTAP_MouseStart(INPUTTAP_MOUSE_WHEEL);
        SetEvent(started.get());
        // Neither pumps messages nor returns, like a hung window procedure.
        WaitForSingleObject(release.get(), INFINITE);
    });
    const bool ready = WaitForSingleObject(started.get(), kDeadlineMs) == WAIT_OBJECT_0;
    if (ready) {
        FocusOther();
        SendKey(VK_CONTROL, false);
        SendKey(VK_RIGHT, false);
        SendKey(VK_RIGHT, true);
        SendKey(VK_CONTROL, true);
        SendWheel(WHEEL_DELTA);
        EXPECT_TRUE(sink.WaitFor(INPUTTAP_REPORT_COMMAND)) << "key";
        EXPECT_TRUE(sink.WaitFor(INPUTTAP_REPORT_WHEEL)) << "wheel";
    }
    SetEvent(release.get());
    blocked.join();
    ASSERT_TRUE(ready);
    EXPECT_EQ(ReportedCommands(), (Commands{2}));
}

}  // namespace
