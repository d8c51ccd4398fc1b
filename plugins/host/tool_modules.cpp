// The modules of tools that left their slots, kept until freeing them is
// safe (see tool_modules.h).
#include "plugins/host/tool_modules.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace {

// How often the outermost loop looks again while a module is kept.
constexpr UINT kRecheckMs = 250;
// The class atom of dialogs, whose procedure is the dialog procedure's host.
constexpr ULONG_PTR kDialogAtom = 32770;

struct Kept {
    std::vector<UniqueModule> modules;
    UINT_PTR wakeTimer = 0;
    bool lookNow = false;

    ~Kept() { StopWaking(); }
    void StopWaking() {
        if (wakeTimer) KillTimer(nullptr, wakeTimer);
        wakeTimer = 0;
    }
};

Kept& Retired() {
    static Kept kept;
    return kept;
}

// A timer of the thread that kept the module. Whichever loop dispatches
// it, it only marks that the next look is due: the look itself waits for
// the outermost loop.
void CALLBACK OnWake(HWND, UINT, UINT_PTR, DWORD) { Retired().lookNow = true; }

class Image {
public:
    explicit Image(HMODULE module) {
        const auto base = reinterpret_cast<std::uintptr_t>(module);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        begin_ = base;
        end_ = base + nt->OptionalHeader.SizeOfImage;
    }
    bool Holds(LONG_PTR value) const {
        const auto address = static_cast<std::uintptr_t>(value);
        return address >= begin_ && address < end_;
    }

private:
    std::uintptr_t begin_ = 0;
    std::uintptr_t end_ = 0;
};

bool OwnWindow(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

// Both forms of each procedure: asked in the other character set, the
// system may answer with a handle that stands for the procedure instead.
bool RunsOn(HWND window, const Image& image) {
    if (!OwnWindow(window)) return false;
    const LONG_PTR values[] = {
        GetWindowLongPtrA(window, GWLP_WNDPROC),
        GetWindowLongPtrW(window, GWLP_WNDPROC),
        GetWindowLongPtrA(window, GWLP_HINSTANCE),
        static_cast<LONG_PTR>(GetClassLongPtrA(window, GCLP_WNDPROC)),
        static_cast<LONG_PTR>(GetClassLongPtrW(window, GCLP_WNDPROC)),
    };
    for (LONG_PTR value : values) {
        if (image.Holds(value)) return true;
    }
    if (GetClassLongPtrA(window, GCW_ATOM) != kDialogAtom) return false;
    return image.Holds(GetWindowLongPtrA(window, DWLP_DLGPROC)) ||
           image.Holds(GetWindowLongPtrW(window, DWLP_DLGPROC));
}

struct Search {
    const Image* image;
    bool found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    search->found = RunsOn(window, *search->image);
    return search->found ? FALSE : TRUE;
}

// A window of ours and everything below it. A captured window of another
// process lies below our panes: its own children are skipped one by one.
BOOL CALLBACK CheckTree(HWND window, LPARAM param) {
    if (!OwnWindow(window)) return TRUE;
    CheckWindow(window, param);
    auto* search = reinterpret_cast<Search*>(param);
    if (!search->found) EnumChildWindows(window, &CheckWindow, param);
    return search->found ? FALSE : TRUE;
}

}  // namespace

bool WindowsRunOn(HMODULE module) {
    const Image image(module);
    Search search{&image, false};
    EnumWindows(&CheckTree, reinterpret_cast<LPARAM>(&search));
    // Message-only windows are no top-level windows EnumWindows knows.
    for (HWND window = nullptr; !search.found;) {
        window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr);
        if (!window) break;
        CheckTree(window, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

int KeptToolModules() { return static_cast<int>(Retired().modules.size()); }

void ReleaseToolModule(UniqueModule module, bool ranTool) {
    if (!module) return;
    if (!ranTool && !WindowsRunOn(module.get())) return;  // freed here
    Kept& kept = Retired();
    kept.modules.push_back(std::move(module));
    kept.lookNow = true;
    if (!kept.wakeTimer) kept.wakeTimer = SetTimer(nullptr, 0, kRecheckMs, &OnWake);
}

void ReleaseRetiredTools() {
    Kept& kept = Retired();
    if (kept.modules.empty() || !kept.lookNow) return;
    kept.lookNow = false;
    // Each leaves the list before it is freed: its DllMain may close
    // windows, and with them let another kept module go too.
    for (std::size_t i = 0; i < kept.modules.size();) {
        if (WindowsRunOn(kept.modules[i].get())) {
            ++i;
            continue;
        }
        UniqueModule freed = std::move(kept.modules[i]);
        kept.modules.erase(kept.modules.begin() + static_cast<std::ptrdiff_t>(i));
        freed.reset();
    }
    if (kept.modules.empty()) kept.StopWaking();
}
