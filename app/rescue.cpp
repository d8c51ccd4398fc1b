// The failure handlers, the rescue threads and the hang watchdog.
//
// Every handler runs on a thread that has just failed, possibly with its
// stack used up or the heap corrupted: it only wakes the rescue thread and
// waits for it (bounded), reading nothing but the plain values below.
#include "app/rescue.h"

#include "app/app_ids.h"
#include "app/main_window.h"
#include "base/rescue_table.h"

#include <shellapi.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <exception>

namespace {

// What the handlers read; copies of handles owned by the Rescue object.
struct Shared {
    HANDLE stop;
    HANDLE startRescue;
    HANDLE startSpare;
    HANDLE rescueDone;
    HWND volatile watchedWindow;
    // The rescue thread at work, so that a fault on it is told apart.
    volatile LONG activeRescuer;
    volatile LONG spareUsed;
    volatile LONG trayRemoved;

    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter;
    std::terminate_handler previousTerminate;
    void (*previousAbortSignal)(int);
    _purecall_handler previousPureCall;
    _invalid_parameter_handler previousInvalidParameter;
    int previousErrorMode;
    unsigned previousAbortBehavior;
};

Shared g_shared;

constexpr UINT kTrayIconId = 1;          // the id TrayIcon gives the main window's icon
constexpr DWORD kNotifyIconDataSize = NOTIFYICONDATAA_V1_SIZE;  // the first form, as TrayIcon uses
constexpr unsigned kAbortMessageAndReport = 0x1 | 0x2;  // _WRITE_ABORT_MSG | _CALL_REPORTFAULT
constexpr DWORD kInvalidParameterStatus = 0xC0000417;  // STATUS_INVALID_CRUNTIME_PARAMETER

using SetAbortBehavior = unsigned(__cdecl*)(unsigned flags, unsigned mask);

// msvcrt.dll has _set_abort_behavior only in some Windows versions (Wine's
// has none), so it is looked up; where it is missing, _set_error_mode sends
// abort's "abnormal program termination" to standard error rather than to a
// message box that would hold the process, and its windows, until answered.
SetAbortBehavior FindSetAbortBehavior() {
    const HMODULE crt = GetModuleHandleA(app_ids::kRuntimeModule);
    if (!crt) return nullptr;
    return reinterpret_cast<SetAbortBehavior>(GetProcAddress(crt, app_ids::kSetAbortBehavior));
}

void RemoveTrayIcon() {
    if (InterlockedExchange(&g_shared.trayRemoved, 1) != 0) return;
    // A plain global of the main window's, set while the window (and with it
    // the icon) exists; the icon may exist before the watchdog starts.
    const HWND main = MainWindow();
    if (!main) return;
    NOTIFYICONDATAA data{};
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = main;
    data.uID = kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
}

DWORD WINAPI RescueNow(void*) {
    InterlockedExchange(&g_shared.activeRescuer, static_cast<LONG>(GetCurrentThreadId()));
    // The failed thread will not come back to a window it was changing.
    rescue::GiveBackAll(true);
    RemoveTrayIcon();
    SetEvent(g_shared.rescueDone);
    return 0;
}

DWORD WINAPI RescueWhenStarted(void* start) {
    HANDLE wake[] = {static_cast<HANDLE>(start), g_shared.stop};
    if (WaitForMultipleObjects(2, wake, FALSE, INFINITE) != WAIT_OBJECT_0) return 0;
    return RescueNow(nullptr);
}

// A rescue thread that faults leaves its window (already marked taken) and
// hands the rest to the spare thread, or to a new thread once the spare has
// been used.
void ReplaceRescuer() {
    if (InterlockedExchange(&g_shared.spareUsed, 1) == 0) {
        SetEvent(g_shared.startSpare);
        return;
    }
    UniqueHandle fresh(CreateThread(nullptr, 0, &RescueNow, nullptr, 0, nullptr));
}

void RescueFromFault() {
    if (!g_shared.rescueDone) return;
    if (static_cast<DWORD>(g_shared.activeRescuer) == GetCurrentThreadId()) {
        ReplaceRescuer();
        // Never resumed: the thread whose failure started the rescue ends
        // the process once the replacement is done.
        for (;;) Sleep(INFINITE);
    }
    SetEvent(g_shared.startRescue);
    WaitForSingleObject(g_shared.rescueDone, Rescue::kFaultWaitMs);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    RescueFromFault();
    // With its stack used up, the thread calls nothing more: the system's
    // own handling of an unhandled exception (a debugger to start, a report)
    // would overflow the rest and leave the process without its thread but
    // not ended. It ends here, with its failure's code.
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW) {
        TerminateProcess(GetCurrentProcess(), EXCEPTION_STACK_OVERFLOW);
    }
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = g_shared.previousFilter;
    return previous ? previous(info) : EXCEPTION_CONTINUE_SEARCH;
}

void OnTerminate() {
    RescueFromFault();
    if (const std::terminate_handler previous = g_shared.previousTerminate) previous();
    std::abort();
}

void OnAbortSignal(int signal) {
    RescueFromFault();
    const auto previous = g_shared.previousAbortSignal;
    if (previous != SIG_DFL && previous != SIG_IGN && previous != SIG_ERR && previous) {
        previous(signal);
    }
    // abort goes on to end the process with exit code 3.
}

void __cdecl OnPureCall() {
    RescueFromFault();
    if (const _purecall_handler previous = g_shared.previousPureCall) previous();
    // The runtime goes on to end the process.
}

void __cdecl OnInvalidParameter(const wchar_t* expression, const wchar_t* function,
                                const wchar_t* file, unsigned line, uintptr_t reserved) {
    RescueFromFault();
    if (const _invalid_parameter_handler previous = g_shared.previousInvalidParameter) {
        previous(expression, function, file, line, reserved);
    }
    // As the runtime's own report would: the process ends here.
    TerminateProcess(GetCurrentProcess(), kInvalidParameterStatus);
}

// Asks the user-interface thread with a sent message, which every message
// loop dispatches, modal loops and menus included; not SMTO_ABORTIFHUNG,
// which would judge by the system's own five-second rule instead of ours.
DWORD WINAPI WatchForHangs(void*) {
    DWORD lastAnswer = GetTickCount();
    DWORD pause = Rescue::kAskEveryMs;
    while (WaitForSingleObject(g_shared.stop, pause) == WAIT_TIMEOUT) {
        const HWND main = g_shared.watchedWindow;
        DWORD_PTR ignored = 0;
        if (!IsWindow(main) || SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL,
                                                   Rescue::kAskTimeoutMs, &ignored)) {
            lastAnswer = GetTickCount();
            pause = Rescue::kAskEveryMs;
            continue;
        }
        // The ask itself waited; the next follows soon, so that the silence
        // is measured closely.
        pause = 100;
        // A window the thread was changing when it stopped stays its own
        // until the change is done; it is asked for again at every look for
        // as long as the silence lasts. The panes drop the tabs of what was
        // given back when their thread runs again.
        if (GetTickCount() - lastAnswer >= Rescue::kHangMs && rescue::HeldCount() > 0) {
            rescue::GiveBackAll();
        }
    }
    return 0;
}

// Waits for one of our threads, dispatching messages sent to this thread
// meanwhile (the watchdog may be asking it).
void Join(UniqueHandle& thread) {
    if (!thread) return;
    HANDLE handle = thread.get();
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread.reset();
}

bool g_installed;

}  // namespace

Rescue::Rescue() {
    if (g_installed) return;
    ULONG kept = kStackKeptForFailures;
    SetThreadStackGuarantee(&kept);
    stop_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    startRescue_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    startSpare_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    rescueDone_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!stop_ || !startRescue_ || !startSpare_ || !rescueDone_) return;

    g_shared.stop = stop_.get();
    g_shared.startRescue = startRescue_.get();
    g_shared.startSpare = startSpare_.get();
    g_shared.activeRescuer = 0;
    g_shared.spareUsed = 0;
    g_shared.trayRemoved = 0;
    rescuer_.reset(CreateThread(nullptr, 0, &RescueWhenStarted, startRescue_.get(), 0, nullptr));
    spare_.reset(CreateThread(nullptr, 0, &RescueWhenStarted, startSpare_.get(), 0, nullptr));
    if (!rescuer_ || !spare_) {
        SetEvent(stop_.get());
        Join(rescuer_);
        Join(spare_);
        return;
    }
    // Published last: a handler that sees it finds the threads waiting.
    g_shared.rescueDone = rescueDone_.get();

    g_shared.previousFilter = SetUnhandledExceptionFilter(&OnUnhandledException);
    g_shared.previousTerminate = std::set_terminate(&OnTerminate);
    g_shared.previousAbortSignal = std::signal(SIGABRT, &OnAbortSignal);
    // Where msvcrt.dll has no setter for these two (Wine's has neither),
    // MinGW keeps the handler to itself and the runtime never calls it.
    g_shared.previousPureCall = _set_purecall_handler(&OnPureCall);
    g_shared.previousInvalidParameter = _set_invalid_parameter_handler(&OnInvalidParameter);
    g_shared.previousErrorMode = _set_error_mode(_OUT_TO_STDERR);
    if (const SetAbortBehavior set = FindSetAbortBehavior()) {
        g_shared.previousAbortBehavior = set(0, kAbortMessageAndReport);
    }
    g_installed = true;
    active_ = true;
}

Rescue::~Rescue() {
    if (!active_) return;
    if (const SetAbortBehavior set = FindSetAbortBehavior()) {
        set(g_shared.previousAbortBehavior, kAbortMessageAndReport);
    }
    _set_error_mode(g_shared.previousErrorMode);
    _set_invalid_parameter_handler(g_shared.previousInvalidParameter);
    _set_purecall_handler(g_shared.previousPureCall);
    std::signal(SIGABRT, g_shared.previousAbortSignal == SIG_ERR ? SIG_DFL
                                                                 : g_shared.previousAbortSignal);
    std::set_terminate(g_shared.previousTerminate);
    SetUnhandledExceptionFilter(g_shared.previousFilter);
    g_shared.rescueDone = nullptr;

    SetEvent(stop_.get());
    Join(watchdog_);
    Join(rescuer_);
    Join(spare_);
    g_shared = Shared{};
    g_installed = false;
}

void Rescue::Watch(HWND mainWindow) {
    if (!active_ || watchdog_ || !mainWindow) return;
    g_shared.watchedWindow = mainWindow;
    watchdog_.reset(CreateThread(nullptr, 0, &WatchForHangs, nullptr, 0, nullptr));
}
