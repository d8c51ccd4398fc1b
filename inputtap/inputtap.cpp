// inputtap.dll: reports new top-level windows of other processes and those
// that show, desktop-wide accelerator keys and the mouse wheel and movement to
// one window, by posted messages.
//
// Every hook lives on one thread the library owns. Low-level hooks and
// out-of-context window events are served by the message loop of the thread
// that installed them, so on the program's user-interface thread a busy or
// hung moment would hold up the whole desktop's keyboard and mouse (and
// Windows silently drops a low-level hook that answers too late).
#include "inputtap/inputtap.h"

#include "base/handles.h"

#include <atomic>
#include <cstring>

namespace {

constexpr WORD kVersion = 0x0100;
// Installing or removing a hook takes milliseconds; the bound only keeps a
// caller from waiting forever should the hook thread ever be gone.
constexpr DWORD kAnswerTimeoutMs = 5000;

// Requests to the hook thread: wParam carries the argument, lParam the
// request's number, which the thread publishes in g_answered when done.
enum : UINT {
    kRequestWatch = WM_APP + 1,  // wParam: 1 on, 0 off
    kRequestKeys,                // take the table in g_pendingKeys
    kRequestAccel,               // wParam: 1 on, 0 off
    kRequestMouse                // wParam: INPUTTAP_MOUSE_* flags, 0 off
};

struct WinEventHookDeleter {
    void operator()(HWINEVENTHOOK h) const { UnhookWinEvent(h); }
};
using UniqueWinEventHook = UniqueResource<HWINEVENTHOOK, WinEventHookDeleter>;

// Shared between callers and the hook thread. Atomics only: the callbacks
// read g_target, and must not wait for a lock.
std::atomic<HWND> g_target{nullptr};
std::atomic<bool> g_attached{false};
std::atomic<LONG> g_answered{0};

// Callers' side. g_callLock makes requests one at a time, so their numbers
// reach the hook thread in order; it also guards the thread's creation.
SRWLOCK g_callLock = SRWLOCK_INIT;
DWORD g_threadId = 0;
LONG g_asked = 0;
HANDLE g_answer = nullptr;  // auto-reset; set after every answered request
HMODULE g_module = nullptr;

// The table handed over by INPUTTAP_SetAccelKey, until the hook thread copies
// it. A lock of its own: a caller whose wait timed out must not race the
// thread's copy.
SRWLOCK g_keysLock = SRWLOCK_INIT;
ACCEL g_pendingKeys[INPUTTAP_ACCEL_SLOTS];

// The hook thread's own state: written and read on that thread only, so the
// callbacks need no lock.
ACCEL h_keys[INPUTTAP_ACCEL_SLOTS];
int h_mouseFlags = 0;
HWINEVENTHOOK h_watch = nullptr;
HWINEVENTHOOK h_shown = nullptr;

// Ctrl, Alt and Shift, left and right, as the keyboard hook last saw them.
struct SeenKey {
    bool down = false;
    DWORD time = 0;  // of the last key event, on the events' clock
};
enum Side { kLeftShift, kRightShift, kLeftControl, kRightControl, kLeftAlt, kRightAlt, kSides };
SeenKey h_seen[kSides];
// How long a press the hook saw counts without the system agreeing.
constexpr DWORD kSeenPressMs = 1000;

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

bool FocusIsInOwnProcess() {
    const HWND foreground = GetForegroundWindow();
    if (!foreground) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(foreground, nullptr);
    // The focus may sit in a window of another process inside ours (a
    // captured window); such a key is not for our own message loop.
    const HWND focus = thread && GetGUIThreadInfo(thread, &info) && info.hwndFocus
                           ? info.hwndFocus
                           : foreground;
    DWORD process = 0;
    GetWindowThreadProcessId(focus, &process);
    return process == GetCurrentProcessId();
}

int SideOf(const KBDLLHOOKSTRUCT& key) {
    // Some senders name the key without its side; the extended flag (right
    // Ctrl and Alt) or the scan code (right Shift) tells it.
    const bool right = (key.flags & LLKHF_EXTENDED) != 0;
    switch (key.vkCode) {
    case VK_LSHIFT: return kLeftShift;
    case VK_RSHIFT: return kRightShift;
    case VK_SHIFT: return key.scanCode == 0x36 ? kRightShift : kLeftShift;
    case VK_LCONTROL: return kLeftControl;
    case VK_RCONTROL: return kRightControl;
    case VK_CONTROL: return right ? kRightControl : kLeftControl;
    case VK_LMENU: return kLeftAlt;
    case VK_RMENU: return kRightAlt;
    case VK_MENU: return right ? kRightAlt : kLeftAlt;
    default: return -1;
    }
}

void NoteModifier(const KBDLLHOOKSTRUCT& key, bool down) {
    const int side = SideOf(key);
    if (side >= 0) h_seen[side] = {down, key.time};
}

// The system's key state alone is not enough under Wine: when the focus moves
// to another window, its X11 driver reloads the state from the X server, which
// never knew of keys pressed with SendInput, so Ctrl held that way reads as
// up. A press this hook saw counts too, but only for a while: on Windows the
// secure desktop (Ctrl+Alt+Del) keeps the releases from hooks.
bool ModifierDown(Side left, Side right, int vk, DWORD now) {
    for (Side side : {left, right}) {
        if (h_seen[side].down && now - h_seen[side].time < kSeenPressMs) return true;
    }
    return GetAsyncKeyState(vk) < 0;
}

BYTE ModifiersDown(DWORD now) {
    BYTE down = 0;
    if (ModifierDown(kLeftControl, kRightControl, VK_CONTROL, now)) down |= FCONTROL;
    if (ModifierDown(kLeftAlt, kRightAlt, VK_MENU, now)) down |= FALT;
    if (ModifierDown(kLeftShift, kRightShift, VK_SHIFT, now)) down |= FSHIFT;
    return down;
}

// Only virtual-key entries: a character entry is matched against WM_CHAR by
// the message loop, and a low-level hook sees no characters.
const ACCEL* MatchKey(const KBDLLHOOKSTRUCT& key) {
    bool modifiersRead = false;
    BYTE down = 0;
    for (const ACCEL& entry : h_keys) {
        if (entry.key == 0 || entry.key != key.vkCode || !(entry.fVirt & FVIRTKEY)) continue;
        if (!modifiersRead) {
            down = ModifiersDown(key.time);
            modifiersRead = true;
        }
        if ((entry.fVirt & (FCONTROL | FALT | FSHIFT)) == down) return &entry;
    }
    return nullptr;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    const bool keyDown = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        NoteModifier(*key, keyDown);
        if (const ACCEL* hit = keyDown ? MatchKey(*key) : nullptr) {
            // In our own windows the program's message loop translates the key.
            const HWND target = g_target.load(std::memory_order_relaxed);
            if (target && !FocusIsInOwnProcess() &&
                PostMessageA(target, INPUTTAP_REPORT_COMMAND, hit->cmd, 0)) {
                // Swallowed, so the other application does not act on it too.
                return 1;
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

WORD MouseKeysDown() {
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    // GetAsyncKeyState reads the physical buttons; WM_MOUSEWHEEL names the logical ones.
    const int left = swapped ? VK_RBUTTON : VK_LBUTTON;
    const int right = swapped ? VK_LBUTTON : VK_RBUTTON;
    WORD keys = 0;
    if (GetAsyncKeyState(left) < 0) keys |= MK_LBUTTON;
    if (GetAsyncKeyState(right) < 0) keys |= MK_RBUTTON;
    if (GetAsyncKeyState(VK_MBUTTON) < 0) keys |= MK_MBUTTON;
    if (GetAsyncKeyState(VK_XBUTTON1) < 0) keys |= MK_XBUTTON1;
    if (GetAsyncKeyState(VK_XBUTTON2) < 0) keys |= MK_XBUTTON2;
    if (GetAsyncKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
    if (GetAsyncKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
    return keys;
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        const HWND target = g_target.load(std::memory_order_relaxed);
        if (target && wParam == WM_MOUSEWHEEL && (h_mouseFlags & INPUTTAP_MOUSE_WHEEL)) {
            PostMessageA(target, INPUTTAP_REPORT_WHEEL,
                         MAKEWPARAM(MouseKeysDown(), HIWORD(mouse->mouseData)),
                         MAKELPARAM(mouse->pt.x, mouse->pt.y));
        } else if (target && wParam == WM_MOUSEMOVE && (h_mouseFlags & INPUTTAP_MOUSE_MOVE)) {
            PostMessageA(target, INPUTTAP_REPORT_MOVE, static_cast<WPARAM>(mouse->pt.x),
                         static_cast<LPARAM>(mouse->pt.y));
        }
    }
    // Mouse input is only watched, never taken away.
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Posts report for window if it is a top-level window of another process.
void ReportTopLevel(UINT report, HWND window, LONG object, LONG child) {
    if (!window || object != OBJID_WINDOW || child != CHILDID_SELF) return;
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow()) return;
    // Wine 8 delivers our own windows' events despite WINEVENT_SKIPOWNPROCESS.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return;
    const HWND target = g_target.load(std::memory_order_relaxed);
    if (target) PostMessageA(target, report, 0, reinterpret_cast<LPARAM>(window));
}

// An event queued before the watch stopped (or by an earlier watch) is not
// reported: the watch is off for it.
void CALLBACK OnObjectCreate(HWINEVENTHOOK hook, DWORD, HWND window, LONG object, LONG child,
                             DWORD, DWORD) {
    if (hook == h_watch) ReportTopLevel(INPUTTAP_REPORT_NEWWINDOW, window, object, child);
}

void CALLBACK OnObjectShow(HWINEVENTHOOK hook, DWORD, HWND window, LONG object, LONG child,
                           DWORD, DWORD) {
    if (hook == h_shown) ReportTopLevel(INPUTTAP_REPORT_SHOWNWINDOW, window, object, child);
}

void TakePendingKeys() {
    ExclusiveLock lock(g_keysLock);
    std::memcpy(h_keys, g_pendingKeys, sizeof h_keys);
}

struct Hooks {
    UniqueWinEventHook watch;
    UniqueWinEventHook shown;
    UniqueHook keyboard;
    UniqueHook mouse;
};

HWINEVENTHOOK WatchEvent(DWORD event, WINEVENTPROC callback) {
    return SetWinEventHook(event, event, nullptr, callback, 0, 0,
                           WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}

void Serve(Hooks& hooks, const MSG& request) {
    const bool on = request.wParam != 0;
    switch (request.message) {
    case kRequestWatch:
        // Out of context: the events come to this thread and no code of ours
        // runs inside other processes, unlike a global WH_CBT or WH_SHELL
        // hook, which would load this library into every one of them. Two
        // hooks rather than one over the range between the two events, which
        // would bring every window's destruction here as well.
        //
        // Under Wine 8 only EVENT_OBJECT_CREATE arrives this way by itself; an
        // EVENT_OBJECT_SHOW comes only when the application raises it with
        // NotifyWinEvent. A window that shows unreported is still taken, a
        // little later, by the receiver's own look at the windows it waits
        // for; so the watch is attached once the creation hook is.
        if (on) {
            if (!hooks.watch) hooks.watch.reset(WatchEvent(EVENT_OBJECT_CREATE, OnObjectCreate));
            if (!hooks.shown) hooks.shown.reset(WatchEvent(EVENT_OBJECT_SHOW, OnObjectShow));
        } else {
            hooks.watch.reset();
            hooks.shown.reset();
        }
        h_watch = hooks.watch.get();
        h_shown = hooks.shown.get();
        g_attached.store(static_cast<bool>(hooks.watch));
        break;
    case kRequestKeys:
        TakePendingKeys();
        break;
    case kRequestAccel:
        if (on && !hooks.keyboard) {
            // Keys may have gone up unseen while there was no hook.
            for (SeenKey& key : h_seen) key = SeenKey{};
            hooks.keyboard.reset(SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, g_module, 0));
        } else if (!on) {
            hooks.keyboard.reset();
        }
        break;
    case kRequestMouse:
        h_mouseFlags = static_cast<int>(request.wParam) &
                       (INPUTTAP_MOUSE_WHEEL | INPUTTAP_MOUSE_MOVE);
        if (h_mouseFlags && !hooks.mouse) {
            hooks.mouse.reset(SetWindowsHookExA(WH_MOUSE_LL, MouseProc, g_module, 0));
        } else if (!h_mouseFlags) {
            hooks.mouse.reset();
        }
        break;
    default:
        return;
    }
    g_answered.store(static_cast<LONG>(request.lParam));
    SetEvent(g_answer);
}

DWORD WINAPI HookThreadMain(void* ready) {
    MSG msg;
    // Makes this thread's message queue, so requests can be posted to it.
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    TakePendingKeys();
    {
        // This thread's own reference to the event (see StartHookThread).
        const UniqueHandle readyEvent(static_cast<HANDLE>(ready));
        SetEvent(readyEvent.get());
    }

    Hooks hooks;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message >= kRequestWatch && msg.message <= kRequestMouse) {
            Serve(hooks, msg);
        } else {
            DispatchMessageA(&msg);
        }
    }
    // Only a failing GetMessage ends the loop; the hooks go with this thread.
    g_attached.store(false);
    return 0;
}

// Under g_callLock. Never runs from DllMain: only the exported functions call it.
bool StartHookThread() {
    if (g_threadId) return true;
    if (!g_module &&
        !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&HookThreadMain), &g_module)) {
        return false;
    }
    // The reference taken above is never given back: the thread runs to the
    // end of the process, so the library must not be unloaded under it.
    if (!g_answer && !(g_answer = CreateEventA(nullptr, FALSE, FALSE, nullptr))) return false;
    UniqueHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ready) return false;
    // The thread may outlive a timed-out wait below, so it gets its own
    // reference to the event.
    HANDLE duplicate = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), ready.get(), GetCurrentProcess(), &duplicate, 0,
                         FALSE, DUPLICATE_SAME_ACCESS)) {
        return false;
    }
    UniqueHandle threadReady(duplicate);
    DWORD id = 0;
    UniqueHandle thread(CreateThread(nullptr, 0, HookThreadMain, threadReady.get(), 0, &id));
    if (!thread) return false;
    threadReady.release();  // the thread's now: it closes it
    g_threadId = id;
    const HANDLE waits[] = {ready.get(), thread.get()};
    return WaitForMultipleObjects(2, waits, FALSE, kAnswerTimeoutMs) == WAIT_OBJECT_0;
}

// Asks the hook thread to carry out a request and waits until it has, so the
// state is in effect on return. A request to switch something off does not
// start the thread: without it nothing is on.
bool Ask(UINT request, WPARAM argument, bool startsThread) {
    ExclusiveLock lock(g_callLock);
    if (!g_threadId) {
        if (!startsThread) return true;
        if (!StartHookThread()) return false;
    }
    const LONG number = ++g_asked;
    if (!PostThreadMessageA(g_threadId, request, argument, number)) return false;
    const DWORD start = GetTickCount();
    for (;;) {
        // Numbers only grow, and the thread answers in order; a late answer
        // to an earlier, timed-out request only wakes this loop once more.
        if (g_answered.load() - number >= 0) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= kAnswerTimeoutMs ||
            WaitForSingleObject(g_answer, kAnswerTimeoutMs - elapsed) == WAIT_FAILED) {
            return false;
        }
    }
}

}  // namespace

INPUTTAP_API void __cdecl INPUTTAP_SetHWND(HWND target) { g_target.store(target); }

INPUTTAP_API BYTE __cdecl INPUTTAP_Start() {
    Ask(kRequestWatch, 1, true);
    return g_attached.load() ? 1 : 0;
}

INPUTTAP_API void __cdecl INPUTTAP_End() { Ask(kRequestWatch, 0, false); }

INPUTTAP_API BYTE __cdecl INPUTTAP_IsAttached() { return g_attached.load() ? 1 : 0; }

INPUTTAP_API void __cdecl INPUTTAP_SetAccelKey(const ACCEL* keys) {
    {
        ExclusiveLock lock(g_keysLock);
        if (keys) {
            std::memcpy(g_pendingKeys, keys, sizeof g_pendingKeys);
        } else {
            std::memset(g_pendingKeys, 0, sizeof g_pendingKeys);
        }
    }
    // A thread started later takes the table when it starts.
    Ask(kRequestKeys, 0, false);
}

INPUTTAP_API void __cdecl INPUTTAP_AccelStart() { Ask(kRequestAccel, 1, true); }

INPUTTAP_API void __cdecl INPUTTAP_AccelEnd() { Ask(kRequestAccel, 0, false); }

INPUTTAP_API void __cdecl INPUTTAP_MouseStart(int flags) {
    Ask(kRequestMouse, static_cast<WPARAM>(flags), flags != 0);
}

INPUTTAP_API void __cdecl INPUTTAP_MouseEnd() { Ask(kRequestMouse, 0, false); }

INPUTTAP_API WORD __cdecl INPUTTAP_GetVersion() { return kVersion; }
