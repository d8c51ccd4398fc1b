// The one way every window class and every dialog finds its object: when
// the object takes its window and lets it go, how routes answer, what a
// window without an object does, a subclassed control, and a dialog bound
// through its DWLP_USER slot.
#include "base/window_binding.h"

#include "base/handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr char kProperty[] = "panelry_binding_test_prop";
constexpr char kClass[] = "PanelryBindingTest";
constexpr char kUnkeptClass[] = "PanelryBindingTestUnkept";
constexpr UINT kAsk = WM_APP + 1;

// An object behind a window, noting what reaches it.
struct Probe {
    static const MessageRoute<Probe> kRoutes[];

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate(WPARAM, LPARAM) { return createAnswer; }
    LRESULT OnAsk(WPARAM wParam, LPARAM) { return 1000 + static_cast<LRESULT>(wParam); }
    LRESULT OnSetText(WPARAM, LPARAM) {
        setTextHandled = true;
        return 77;
    }
    LRESULT OnDestroy(WPARAM, LPARAM) {
        propertyAtDestroy = GetPropA(window, kProperty);
        return 0;
    }
    bool Heard(UINT message) const {
        return std::find(heard.begin(), heard.end(), message) != heard.end();
    }

    HWND window = nullptr;
    LRESULT createAnswer = 0;
    std::vector<UINT> heard;
    bool setTextHandled = false;
    HANDLE propertyAtDestroy = nullptr;
};

const MessageRoute<Probe> Probe::kRoutes[] = {
    {WM_CREATE, &Probe::OnCreate},
    {kAsk, &Probe::OnAsk},
    {WM_SETTEXT, &Probe::OnSetText, AfterHandler::CallDefault},
    {WM_DESTROY, &Probe::OnDestroy},
};

LRESULT Probe::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    heard.push_back(message);
    return RouteMessage(*this, kRoutes, window, message, wParam, lParam, DefWindowProcA);
}

constexpr WNDPROC kKeeping = BoundWindowProc<Probe, kProperty, &Probe::window, &Probe::Handle>;
constexpr WNDPROC kNotKeeping = BoundWindowProc<Probe, kProperty, nullptr, &Probe::Handle>;

void Register(const char* name, WNDPROC procedure) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

HWND Open(const char* className, Probe* probe) {
    return CreateWindowExA(0, className, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), probe);
}

// What the window's property list holds when WM_NCDESTROY arrives, seen
// before the class's own procedure gets it.
WNDPROC g_classProc;
HANDLE g_propertyAtNcDestroy;

LRESULT CALLBACK NcDestroySpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) g_propertyAtNcDestroy = GetPropA(window, kProperty);
    return CallWindowProcA(g_classProc, window, message, wParam, lParam);
}

class WindowBinding : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Register(kClass, kKeeping);
        Register(kUnkeptClass, kNotKeeping);
    }
};

TEST_F(WindowBinding, TheObjectHasTheWindowFromItsCreationToItsDestruction) {
    Probe probe;
    const HWND window = Open(kClass, &probe);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(probe.window, window);
    EXPECT_EQ(GetPropA(window, kProperty), &probe);
    EXPECT_EQ(probe.heard.front(), static_cast<UINT>(WM_CREATE)) << "nothing before WM_CREATE";
    EXPECT_FALSE(probe.Heard(WM_NCCREATE));

    g_classProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NcDestroySpy)));
    g_propertyAtNcDestroy = reinterpret_cast<HANDLE>(1);
    DestroyWindow(window);
    EXPECT_EQ(probe.propertyAtDestroy, &probe) << "the object still has WM_DESTROY";
    EXPECT_EQ(g_propertyAtNcDestroy, nullptr) << "and the property is gone after it";
    EXPECT_FALSE(probe.Heard(WM_NCDESTROY));
    EXPECT_EQ(probe.window, nullptr) << "the object forgets the handle";
}

TEST_F(WindowBinding, RoutesAnswerThemselvesOrHandTheMessageOnToTheDefault) {
    Probe probe;
    UniqueWindow window(Open(kClass, &probe));
    ASSERT_TRUE(window);
    EXPECT_EQ(SendMessageA(window.get(), kAsk, 5, 0), 1005) << "the handler's own answer";

    // The handler runs, then the default procedure, whose answer counts.
    EXPECT_EQ(SendMessageA(window.get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("set")), TRUE);
    EXPECT_TRUE(probe.setTextHandled);
    char text[16] = "";
    GetWindowTextA(window.get(), text, sizeof text);
    EXPECT_STREQ(text, "set");

    // No route: the default procedure alone.
    EXPECT_EQ(SendMessageA(window.get(), WM_GETTEXTLENGTH, 0, 0), 3);
    EXPECT_TRUE(probe.Heard(WM_GETTEXTLENGTH));
}

TEST_F(WindowBinding, AWindowMadeWithoutAnObjectRunsOnTheDefaultProcedure) {
    UniqueWindow window(Open(kClass, nullptr));
    ASSERT_TRUE(window);
    EXPECT_EQ(GetPropA(window.get(), kProperty), nullptr);
    EXPECT_EQ(SendMessageA(window.get(), kAsk, 5, 0), 0);
    SetWindowTextA(window.get(), "plain");
    char text[16] = "";
    GetWindowTextA(window.get(), text, sizeof text);
    EXPECT_STREQ(text, "plain");
}

TEST_F(WindowBinding, ACreationTheObjectRefusesLeavesItUnbound) {
    Probe probe;
    probe.createAnswer = -1;
    EXPECT_EQ(Open(kClass, &probe), nullptr);
    EXPECT_TRUE(probe.Heard(WM_CREATE));
    EXPECT_FALSE(probe.Heard(WM_DESTROY)) << "the failed window is not the object's to end";
    EXPECT_EQ(probe.window, nullptr);
}

TEST_F(WindowBinding, AnObjectThatKeepsNoHandleStillGetsItsMessages) {
    Probe probe;
    UniqueWindow window(Open(kUnkeptClass, &probe));
    ASSERT_TRUE(window);
    EXPECT_EQ(probe.window, nullptr);
    EXPECT_EQ(GetPropA(window.get(), kProperty), &probe);
    EXPECT_EQ(SendMessageA(window.get(), kAsk, 1, 0), 1001);
}

// A control of the system's class, subclassed for an object.
struct Subclassed {
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kAsk) return 2000 + static_cast<LRESULT>(wParam);
        return CallWindowProcA(original, control, message, wParam, lParam);
    }
    HWND control = nullptr;
    WNDPROC original = nullptr;
};

TEST_F(WindowBinding, ASubclassedControlGoesToItsObjectWhileBound) {
    UniqueWindow control(CreateWindowExA(0, "EDIT", "text", WS_OVERLAPPED, 0, 0, 100, 30, nullptr,
                                         nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(control);
    Subclassed object;
    object.control = control.get();
    ASSERT_TRUE(BindControl(control.get(), kProperty, &object));
    EXPECT_EQ(GetPropA(control.get(), kProperty), &object) << "others find it by the property";
    constexpr WNDPROC procedure = SubclassWindowProc<Subclassed, &Subclassed::Handle>;
    object.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));

    EXPECT_EQ(SendMessageA(control.get(), kAsk, 3, 0), 2003);
    EXPECT_EQ(SendMessageA(control.get(), WM_GETTEXTLENGTH, 0, 0), 4) << "the control's own";

    // Put back as a pane puts its tab control back.
    SetWindowLongPtrA(control.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(object.original));
    UnbindControl(control.get(), kProperty);
    EXPECT_EQ(GetPropA(control.get(), kProperty), nullptr);
    EXPECT_EQ(SendMessageA(control.get(), kAsk, 3, 0), 0);
}

// A dialog's object, noting what reaches it.
struct DialogProbe {
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM) {
        heard.push_back(message);
        switch (message) {
        case WM_INITDIALOG:
            if (endAtOnce) PostMessageA(window, kEnd, 7, 0);
            return TRUE;
        case kAsk:
            SetWindowLongPtrA(window, DWLP_MSGRESULT, 1000 + static_cast<LONG_PTR>(wParam));
            return TRUE;
        case kEnd:
            EndDialog(window, static_cast<INT_PTR>(wParam));
            return TRUE;
        case WM_DESTROY:
            slotAtDestroy = GetWindowLongPtrA(window, DWLP_USER);
            return FALSE;
        default:
            return FALSE;
        }
    }
    bool Heard(UINT message) const {
        return std::find(heard.begin(), heard.end(), message) != heard.end();
    }
    static constexpr UINT kEnd = WM_APP + 2;
    HWND window = nullptr;
    bool endAtOnce = false;
    std::vector<UINT> heard;
    LONG_PTR slotAtDestroy = 0;
};

// A dialog of no controls, made from memory rather than a module's resource.
struct alignas(DWORD) EmptyDialogTemplate {
    DLGTEMPLATE header{WS_POPUP | WS_CAPTION, 0, 0, 0, 0, 100, 60};
    WORD menu = 0, windowClass = 0, title = 0;
};

constexpr DLGPROC kDialogProcedure =
    BoundDialogProc<DialogProbe, &DialogProbe::window, &DialogProbe::Handle>;

HWND OpenDialog(DialogProbe* probe) {
    static const EmptyDialogTemplate kTemplate;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &kTemplate.header, nullptr,
                                      kDialogProcedure, reinterpret_cast<LPARAM>(probe));
}

// What the dialog's slot holds, and what a message sent to it then answers,
// when WM_NCDESTROY arrives: after its object has had WM_DESTROY.
WNDPROC g_dialogProc;
LONG_PTR g_slotAtNcDestroy;
LRESULT g_answerAtNcDestroy;

LRESULT CALLBACK DialogNcDestroySpy(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        g_slotAtNcDestroy = GetWindowLongPtrA(dialog, DWLP_USER);
        g_answerAtNcDestroy = SendMessageA(dialog, kAsk, 5, 0);
    }
    return CallWindowProcA(g_dialogProc, dialog, message, wParam, lParam);
}

TEST(DialogBinding, TheObjectHasTheDialogFromItsInitialisationToItsDestruction) {
    DialogProbe probe;
    const HWND dialog = OpenDialog(&probe);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(probe.window, dialog);
    EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_USER), reinterpret_cast<LONG_PTR>(&probe));
    EXPECT_EQ(probe.heard.front(), static_cast<UINT>(WM_INITDIALOG)) << "nothing before it";
    EXPECT_EQ(SendMessageA(dialog, kAsk, 5, 0), 1005) << "the object's answer";

    g_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogNcDestroySpy)));
    g_slotAtNcDestroy = -1;
    g_answerAtNcDestroy = -1;
    DestroyWindow(dialog);
    EXPECT_EQ(probe.slotAtDestroy, reinterpret_cast<LONG_PTR>(&probe))
        << "the object still has WM_DESTROY";
    EXPECT_EQ(g_slotAtNcDestroy, 0) << "and the slot is cleared after it";
    EXPECT_EQ(g_answerAtNcDestroy, 0) << "a message after WM_DESTROY reaches no object";
    EXPECT_EQ(probe.heard.back(), static_cast<UINT>(WM_DESTROY)) << "nothing after it";
    EXPECT_EQ(probe.window, nullptr) << "the object forgets the handle";
}

TEST(DialogBinding, AModalDialogEndsWithItsObjectsAnswerAndUnbound) {
    DialogProbe probe;
    probe.endAtOnce = true;
    static const EmptyDialogTemplate kTemplate;
    const INT_PTR ended = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &kTemplate.header,
                                                  nullptr, kDialogProcedure,
                                                  reinterpret_cast<LPARAM>(&probe));
    EXPECT_EQ(ended, 7);
    EXPECT_TRUE(probe.Heard(DialogProbe::kEnd));
    EXPECT_TRUE(probe.Heard(WM_DESTROY));
    EXPECT_EQ(probe.window, nullptr);
}

}  // namespace
