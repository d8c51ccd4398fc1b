// How every window class of the program finds the object behind a window,
// and how that object hands each message to a short handler.
//
// The object is the window's creation parameter. At WM_CREATE the class's
// procedure stores it as the class's window property, which other programs
// and our own hit tests read, and in the window's user data, which is what
// every message reads: under Wine a property lives in the server, so asking
// for it costs a round trip per message, while the user data of our own
// window is read in this process. It also gives the object the window's
// handle; from then on every message goes to the object. A window without
// the object (before WM_CREATE, after WM_DESTROY, or made without an object)
// goes to DefWindowProcA. After the object has handled WM_DESTROY (or refused
// WM_CREATE with -1) both come off and the object forgets the handle, so a
// handler must not end its own object there.
//
// A control of another class (the panes' tab controls) is subclassed the
// same way: its object binds itself (BindControl) when it subclasses the
// control and unbinds itself when it puts the control's procedure back.
//
// A dialog is bound the same way too (BoundDialogProc), in its DWLP_USER
// slot, which the dialog manager keeps for its owner: the object is the
// parameter WM_INITDIALOG brings, and after the object has handled
// WM_DESTROY the slot is cleared and the object forgets the handle. The
// delivered tools, which link nothing of the program, bind their dialogs
// with it as well: everything here is in this header.
#pragma once

#include <windows.h>

#include <cstddef>
#include <type_traits>

// How many messages this thread's window objects are handling now, one
// inside the other. A message another thread sends arrives in the middle of
// one whenever this thread waits for another application (a cross-process
// call dispatches incoming sent messages while it waits).
inline thread_local int g_handlingDepth = 0;
inline int HandlingDepth() { return g_handlingDepth; }

// Counts one message being handled for as long as it lives.
class HandlingMessage {
public:
    HandlingMessage() { ++g_handlingDepth; }
    ~HandlingMessage() { --g_handlingDepth; }
    HandlingMessage(const HandlingMessage&) = delete;
    HandlingMessage& operator=(const HandlingMessage&) = delete;
};

// One message an object handles. Most handlers answer themselves; with
// CallDefault the default procedure runs after the handler and its result is
// the answer.
enum class AfterHandler { Return, CallDefault };

template <typename T>
struct MessageRoute {
    UINT message;
    LRESULT (T::*handler)(WPARAM wParam, LPARAM lParam);
    AfterHandler after = AfterHandler::Return;
};

// Runs the route of message, or callDefault (a window procedure, or anything
// called like one) when object has none. The handle comes from the caller,
// not from object: a handler may end its object (a command that removes a
// pane), and nothing after it reads the object again.
template <typename T, std::size_t N, typename Default>
LRESULT RouteMessage(T& object, const MessageRoute<T> (&routes)[N], HWND window, UINT message,
                     WPARAM wParam, LPARAM lParam, Default callDefault) {
    for (const MessageRoute<T>& route : routes) {
        if (route.message != message) continue;
        const LRESULT result = (object.*route.handler)(wParam, lParam);
        if (route.after == AfterHandler::Return) return result;
        break;
    }
    return callDefault(window, message, wParam, lParam);
}

// The window procedure of a class whose windows are run by objects of T.
//   Property  the window property that holds the object
//   Slot      the object's member that keeps the handle (HWND T::*), or
//             nullptr for an object that does not keep it
//   Handler   the object's member that takes every message
template <typename T, const char* Property, auto Slot,
          LRESULT (T::*Handler)(UINT message, WPARAM wParam, LPARAM lParam)>
LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr bool kKeepsHandle = !std::is_same_v<decltype(Slot), std::nullptr_t>;
    if (message == WM_CREATE) {
        auto* object =
            static_cast<T*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (object && SetPropA(window, Property, object)) {
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
            if constexpr (kKeepsHandle) object->*Slot = window;
        }
    }
    auto* object = reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result;
    {
        const HandlingMessage handling;
        result = (object->*Handler)(message, wParam, lParam);
    }
    // A window whose creation the object refused is not the object's either.
    if (message == WM_DESTROY || (message == WM_CREATE && result == -1)) {
        RemovePropA(window, Property);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        if constexpr (kKeepsHandle) {
            if (object->*Slot == window) object->*Slot = nullptr;
        }
    }
    return result;
}

// Binds a control of another class to object as BoundWindowProc binds its
// windows (the property and the user data), or unbinds it.
inline bool BindControl(HWND control, const char* property, void* object) {
    if (!SetPropA(control, property, object)) return false;
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return true;
}
inline void UnbindControl(HWND control, const char* property) {
    RemovePropA(control, property);
    SetWindowLongPtrA(control, GWLP_USERDATA, 0);
}

// The procedure that subclasses a control for objects of T: the object bound
// itself when it subclassed the control, and its Handler passes on what it
// does not take to the control's own procedure; the Handler also puts that
// procedure back, and unbinds itself, at the control's WM_DESTROY.
template <typename T, LRESULT (T::*Handler)(UINT message, WPARAM wParam, LPARAM lParam)>
LRESULT CALLBACK SubclassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    const HandlingMessage handling;
    return (object->*Handler)(message, wParam, lParam);
}

template <typename T>
using DialogHandler = INT_PTR (T::*)(UINT message, WPARAM wParam, LPARAM lParam);

// The dialog procedure of dialogs run by objects of T.
//   Slot      the object's member that keeps the dialog's handle
//   Handler   the object's member that takes every message, answering as a
//             dialog procedure does (TRUE for a message it took)
// Before WM_INITDIALOG (the dialog's font, its creation) and after
// WM_DESTROY no object is there and the dialog manager answers alone.
template <typename T, HWND T::*Slot, DialogHandler<T> Handler>
INT_PTR CALLBACK BoundDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG && lParam) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        reinterpret_cast<T*>(lParam)->*Slot = dialog;
    }
    auto* object = reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!object) return FALSE;
    INT_PTR result;
    {
        const HandlingMessage handling;
        result = (object->*Handler)(message, wParam, lParam);
    }
    if (message == WM_DESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        if (object->*Slot == dialog) object->*Slot = nullptr;
    }
    return result;
}

// Runs object's modal dialog from instance's template templateId, owned by
// owner, bound through BoundDialogProc; what EndDialog gave (-1 when the
// dialog could not be made).
template <typename T, HWND T::*Slot, DialogHandler<T> Handler>
INT_PTR RunBoundDialog(T& object, HINSTANCE instance, int templateId, HWND owner) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner,
                           &BoundDialogProc<T, Slot, Handler>, reinterpret_cast<LPARAM>(&object));
}

// Makes object's modeless dialog (or a child dialog, when parent is one),
// bound through BoundDialogProc; null when it could not be made.
template <typename T, HWND T::*Slot, DialogHandler<T> Handler>
HWND CreateBoundDialog(T& object, HINSTANCE instance, int templateId, HWND parent) {
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent,
                              &BoundDialogProc<T, Slot, Handler>,
                              reinterpret_cast<LPARAM>(&object));
}
