// Routing the program's user32 imports through counting wrappers.
#include "tests/support/foreign_calls.h"

#include "tests/support/import_route.h"

#include <cstring>

namespace testing_support {
namespace {

using ThreadProcessIdFn = DWORD(WINAPI*)(HWND, LPDWORD);
ThreadProcessIdFn g_threadProcessId = nullptr;

// One counted function: its name, the original, the wrapper, the count.
struct Counted {
    const char* name;
    void** original;
    void* wrapper;
    volatile LONG count;
};

bool IsForeign(HWND window) {
    if (!window || !g_threadProcessId) return false;
    DWORD process = 0;
    g_threadProcessId(window, &process);
    return process != GetCurrentProcessId();
}

// Each wrapper notes its call and goes on to the original.
#define COUNTED(Ret, Name, Params, Args)                          \
    Ret(WINAPI* g_##Name) Params = nullptr;                      \
    void Note##Name(HWND window);                                \
    Ret WINAPI Counted##Name Params {                            \
        Note##Name(window);                                      \
        return g_##Name Args;                                    \
    }

COUNTED(BOOL, ShowWindowAsync, (HWND window, int c), (window, c))
COUNTED(BOOL, ShowWindow, (HWND window, int c), (window, c))
COUNTED(BOOL, SetWindowPos, (HWND window, HWND after, int x, int y, int cx, int cy, UINT f),
        (window, after, x, y, cx, cy, f))
COUNTED(BOOL, MoveWindow, (HWND window, int x, int y, int cx, int cy, BOOL r),
        (window, x, y, cx, cy, r))
COUNTED(int, GetWindowTextA, (HWND window, LPSTR text, int size), (window, text, size))
COUNTED(int, GetWindowTextW, (HWND window, LPWSTR text, int size), (window, text, size))
COUNTED(BOOL, IsWindow, (HWND window), (window))
COUNTED(BOOL, IsWindowVisible, (HWND window), (window))
COUNTED(BOOL, IsIconic, (HWND window), (window))
COUNTED(BOOL, IsZoomed, (HWND window), (window))
COUNTED(LONG, GetWindowLongA, (HWND window, int index), (window, index))
COUNTED(LONG, SetWindowLongA, (HWND window, int index, LONG value), (window, index, value))
COUNTED(DWORD, GetClassLongA, (HWND window, int index), (window, index))
COUNTED(LRESULT, SendMessageA, (HWND window, UINT m, WPARAM w, LPARAM l), (window, m, w, l))
COUNTED(LRESULT, SendMessageTimeoutA,
        (HWND window, UINT m, WPARAM w, LPARAM l, UINT f, UINT t, PDWORD_PTR r),
        (window, m, w, l, f, t, r))
COUNTED(BOOL, PostMessageA, (HWND window, UINT m, WPARAM w, LPARAM l), (window, m, w, l))
COUNTED(HWND, SetParent, (HWND window, HWND parent), (window, parent))
COUNTED(BOOL, SetForegroundWindow, (HWND window), (window))
COUNTED(HWND, SetFocus, (HWND window), (window))
COUNTED(BOOL, InvalidateRect, (HWND window, const RECT* r, BOOL e), (window, r, e))
COUNTED(BOOL, UpdateWindow, (HWND window), (window))
COUNTED(BOOL, GetWindowRect, (HWND window, LPRECT r), (window, r))
COUNTED(BOOL, GetWindowPlacement, (HWND window, WINDOWPLACEMENT* p), (window, p))
COUNTED(BOOL, EnumChildWindows, (HWND window, WNDENUMPROC f, LPARAM l), (window, f, l))
COUNTED(DWORD, GetWindowThreadProcessId, (HWND window, LPDWORD p), (window, p))

#define ENTRY(Name) \
    {#Name, reinterpret_cast<void**>(&g_##Name), reinterpret_cast<void*>(&Counted##Name), 0}

Counted g_counted[] = {
    ENTRY(ShowWindowAsync),   ENTRY(ShowWindow),         ENTRY(SetWindowPos),
    ENTRY(MoveWindow),        ENTRY(GetWindowTextA),     ENTRY(IsWindow),
    ENTRY(IsWindowVisible),   ENTRY(IsIconic),           ENTRY(IsZoomed),
    ENTRY(GetWindowLongA),    ENTRY(SetWindowLongA),     ENTRY(GetClassLongA),
    ENTRY(SendMessageA),      ENTRY(SendMessageTimeoutA), ENTRY(PostMessageA),
    ENTRY(SetParent),         ENTRY(SetForegroundWindow), ENTRY(SetFocus),
    ENTRY(InvalidateRect),    ENTRY(UpdateWindow),       ENTRY(GetWindowRect),
    ENTRY(GetWindowPlacement), ENTRY(EnumChildWindows),  ENTRY(GetWindowThreadProcessId),
    ENTRY(GetWindowTextW),
};

Counted* Find(const char* name) {
    for (Counted& c : g_counted) {
        if (std::strcmp(c.name, name) == 0) return &c;
    }
    return nullptr;
}

#define NOTE(Name)                                                                  \
    void Note##Name(HWND window) {                                                  \
        static Counted* const counted = Find(#Name);                                \
        if (IsForeign(window)) InterlockedIncrement(&counted->count);               \
    }
NOTE(ShowWindowAsync) NOTE(ShowWindow) NOTE(SetWindowPos) NOTE(MoveWindow)
NOTE(GetWindowTextA) NOTE(IsWindow) NOTE(IsWindowVisible) NOTE(IsIconic) NOTE(IsZoomed)
NOTE(GetWindowLongA) NOTE(SetWindowLongA) NOTE(GetClassLongA) NOTE(SendMessageA)
NOTE(SendMessageTimeoutA) NOTE(PostMessageA) NOTE(SetParent) NOTE(SetForegroundWindow)
NOTE(SetFocus) NOTE(InvalidateRect) NOTE(UpdateWindow) NOTE(GetWindowRect)
NOTE(GetWindowPlacement) NOTE(EnumChildWindows) NOTE(GetWindowThreadProcessId)
NOTE(GetWindowTextW)

int Route(void* from, void* to) {
    return RouteImport(GetModuleHandleA(nullptr), "user32.dll", from, to);
}

}  // namespace

ForeignCallCounter::ForeignCallCounter() {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    g_threadProcessId = reinterpret_cast<ThreadProcessIdFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowThreadProcessId")));
    for (Counted& c : g_counted) {
        *c.original = reinterpret_cast<void*>(GetProcAddress(user32, c.name));
        if (*c.original) routed_ += Route(*c.original, c.wrapper);
    }
    Reset();
}

ForeignCallCounter::~ForeignCallCounter() {
    for (Counted& c : g_counted) {
        if (*c.original) Route(c.wrapper, *c.original);
    }
}

void ForeignCallCounter::Reset() {
    for (Counted& c : g_counted) InterlockedExchange(&c.count, 0);
}

long ForeignCallCounter::Count() const {
    long total = 0;
    for (const Counted& c : g_counted) total += c.count;
    return total;
}

long ForeignCallCounter::CountOf(const char* function) const {
    const Counted* c = Find(function);
    return c ? c->count : 0;
}

}  // namespace testing_support
