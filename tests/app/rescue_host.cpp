// Panelry's start in a process of its own for the rescue tests: the same
// start-up as RunPanelry (rescue installed first, panes, main window, hang
// watch), then it captures the windows named on its command line and, when
// the test sets the go event, fails as told. The modes that recover then
// prove the program still works and report through the exit code.
//
//   rescue_host --settings DIR --log FILE --go EVENT --fail MODE
//               [--capture HWND]... [--later HWND]... [--release-first]
//               [--rescue-faults N]
//
// MODE: access-violation, stack-overflow, terminate, abort, pure-virtual
// (these end the process), stuck (never returns), tool-faults (a tool plug-in
// faults when chosen from the tool list), tool-faults-in-menu (one faults
// while the tool list is built), tool-stuck (one never returns when chosen),
// busy (3 s, then goes on), start-menu (pops the main menu up, its start-menu
// list read on the way, and takes it down again),
// hang-then-recover (12 s, then goes on). --release-first releases the first
// window before waiting; --rescue-faults N makes the rescue threads fault on
// the first N windows they take.
#include "app/entry.h"
#include "app/main_window.h"
#include "app/rescue.h"
#include "base/command_kinds.h"
#include "base/handles.h"
#include "base/messages.h"
#include "base/module_path.h"
#include "base/rescue_table.h"
#include "launcher/shortcut_window.h"
#include "plugins/host/tool_slots.h"
#include "tabs/pane.h"
#include "tests/plugins/tool_test_support.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/wait.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

using testing_support::WaitUntil;

// A pure virtual function called while the base is being built. Outside the
// unnamed namespace and through a volatile pointer, so that the compiler
// neither knows every class that could answer nor which one is being built.
struct Building {
    Building();
    virtual ~Building() = default;
    virtual void Act() = 0;
};
struct Built : Building {
    void Act() override;
};

Building* volatile g_building;
volatile int g_acted;

void Built::Act() { g_acted = 1; }

__attribute__((noinline)) void ActOnWhatIsBuilt() { g_building->Act(); }

Building::Building() {
    g_building = this;
    ActOnWhatIsBuilt();
}

namespace {

struct Options {
    std::string settings;
    std::string log;
    std::string go;
    std::string fail;
    std::vector<HWND> capture;
    std::vector<HWND> later;
    bool releaseFirst = false;
    long rescueFaults = 0;
};

Options Parse() {
    Options o;
    for (int i = 1; i < __argc; ++i) {
        const std::string name = __argv[i];
        const char* value = i + 1 < __argc ? __argv[i + 1] : "";
        auto handle = [&] { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoull(value, nullptr, 10))); };
        if (name == "--release-first") { o.releaseFirst = true; continue; }
        ++i;
        if (name == "--settings") o.settings = value;
        else if (name == "--log") o.log = value;
        else if (name == "--go") o.go = value;
        else if (name == "--fail") o.fail = value;
        else if (name == "--capture") o.capture.push_back(handle());
        else if (name == "--later") o.later.push_back(handle());
        else if (name == "--rescue-faults") o.rescueFaults = std::strtol(value, nullptr, 10);
    }
    return o;
}

std::string g_logPath;

// One line per step, opened and closed each time so that nothing is lost
// when the process dies the next moment.
void Log(const std::string& line) {
    if (FILE* file = std::fopen(g_logPath.c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

int Failed(int code, const std::string& why) {
    Log("failed " + std::to_string(code) + " " + why);
    return code;
}

void WaitPumping(HANDLE event) {
    while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        testing_support::PumpPending();
    }
}

bool Capture(HWND window) {
    return SendMessageA(MainWindow(), PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window)) == 1;
}

bool Inside(HWND window) { return GetAncestor(window, GA_PARENT) == RootPane().DisplayArea(); }
bool OnDesktop(HWND window) { return GetAncestor(window, GA_PARENT) == GetDesktopWindow(); }

HWND TabWindow(int index) {
    const CapturedWindow* record = RootPane().RecordAt(index);
    return record ? record->Window() : nullptr;
}

// ---- Ways to fail ------------------------------------------------------------

volatile int g_never = -1;
char* volatile g_deepest;

__attribute__((noinline)) int Recurse(int depth) {
    char frame[4096];
    g_deepest = frame;  // the frame escapes, so it stays on the stack
    frame[depth % sizeof frame] = static_cast<char>(depth);
    if (depth == g_never) return 0;
    return Recurse(depth + 1) + frame[(depth * 7) % sizeof frame];
}

void Spin(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
    }
}

volatile LONG g_faultsLeft;

void FaultingProbe(HWND) {
    if (InterlockedDecrement(&g_faultsLeft) >= 0) {
        volatile int* volatile nowhere = nullptr;
        *nowhere = 1;
    }
}

// The suite's plug-in name, copied from testtools into the tool folder and
// registered in slot 0.
bool RegisterTestTool(const char* name) {
    const std::string folder = ToolFolderPath();
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\" + name;
    return CopyFileA(testing_support::BuiltFile("testtools", name).c_str(), copy.c_str(), FALSE) &&
           ToolSlots()[0].Load(name);
}

// ---- Modes that go on --------------------------------------------------------

// No rescue ran and every captured window is still in its tab.
int StillHeld(const Options& o) {
    if (rescue::Passes() != 0) return Failed(30, "a rescue ran");
    if (RootPane().TabCount() != static_cast<int>(o.capture.size())) {
        return Failed(31, "tabs " + std::to_string(RootPane().TabCount()));
    }
    for (HWND window : o.capture) {
        if (!Inside(window)) return Failed(32, "a window left the pane");
    }
    Log("kept");
    return 0;
}

int KeepsItsWindows(const Options& o) {
    Spin(3000);
    Log("busy over");
    return StillHeld(o);
}

void CALLBACK CancelSettings(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND dialog = testing_support::FindOwnDialog("設定")) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

// The settings dialog left open for longer than a hang: its own loop answers
// for the thread, so nothing is given back.
int KeepsItsWindowsWithTheSettingsOpen(const Options& o) {
    const UINT_PTR timer = SetTimer(nullptr, 0, Rescue::kHangMs + 3000, &CancelSettings);
    SendMessageA(MainWindow(), PM_EXECCOMMAND, kSettings, 0);
    KillTimer(nullptr, timer);
    Log("settings closed");
    return StillHeld(o);
}

bool g_menuShown;

void CALLBACK TakeMenuDown(HWND, UINT, UINT_PTR, DWORD) {
    const HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    g_menuShown = true;
    EndMenu();
}

// The main menu as the user pops it up: the programs folders are read for
// its start-menu list however large or strange they are, and the hang
// watch is answered meanwhile.
int KeepsItsWindowsThroughTheStartMenu(const Options& o) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &TakeMenuDown);
    SendMessageA(MainWindow(), PM_POPUPMAINMENU, 0, 0);
    KillTimer(nullptr, timer);
    if (!g_menuShown) return Failed(50, "no menu shown");
    Log("menu shown");
    return StillHeld(o);
}

int WorksAfterAHang(const Options& o) {
    if (o.later.size() != 2) return Failed(40, "two later windows needed");
    Spin(12000);
    Log("hang over");
    // Before anything else runs: a capture right away, which also asks the
    // rescued windows' records to hide them.
    if (!Capture(o.later[0])) return Failed(41, "capture after the hang");
    if (!WaitUntil([] { return RootPane().TabCount() == 1; }, 10000)) {
        return Failed(42, "tabs " + std::to_string(RootPane().TabCount()));
    }
    if (rescue::Passes() < 1) return Failed(43, "no rescue ran");
    if (TabWindow(0) != o.later[0] || !Inside(o.later[0])) return Failed(44, "the new tab went");
    Log("dropped");
    if (!Capture(o.later[1]) || RootPane().TabCount() != 2) return Failed(45, "second capture");
    RootPane().SelectPrevTab();
    if (RootPane().Selected() != 0 ||
        !WaitUntil([&] { return IsWindowVisible(o.later[0]) && !IsWindowVisible(o.later[1]); },
                   5000)) {
        return Failed(46, "switching tabs");
    }
    RootPane().ExecCommand(kReleaseAllTabs);
    if (RootPane().TabCount() != 0 || !OnDesktop(o.later[0]) || !OnDesktop(o.later[1])) {
        return Failed(47, "release");
    }
    if (rescue::HeldCount() != 0) return Failed(48, "entries left in the table");
    Log("worked");
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const Options o = Parse();
    g_logPath = o.log;
    ModuleFolderOverride folder(o.settings.c_str());
    UniqueHandle go(OpenEventA(SYNCHRONIZE, FALSE, o.go.c_str()));
    if (!go) return Failed(10, "no go event");

    // As RunPanelry does it.
    Rescue rescue;
    if (!cTab::Init(instance)) return Failed(11, "cTab::Init");
    if (!cShortcutWnd::Init(instance)) return Failed(11, "cShortcutWnd::Init");
    if (!cMain::Init(instance)) return Failed(12, "cMain::Init");
    rescue.Watch(MainWindow());

    g_faultsLeft = o.rescueFaults;
    if (o.rescueFaults > 0) rescue::SetGiveBackProbe(&FaultingProbe);
    for (HWND window : o.capture) {
        if (!Capture(window)) return Failed(13, "capture");
    }
    if (o.releaseFirst) {
        RootPane().ReleaseTab(0, false);
        if (!OnDesktop(o.capture[0])) return Failed(14, "release");
        Log("released");
    }
    Log("captured");
    WaitPumping(go.get());
    Log("failing " + o.fail);

    int code = 0;
    if (o.fail == "access-violation") {
        volatile int* volatile nowhere = nullptr;
        *nowhere = 1;
    } else if (o.fail == "stack-overflow") {
        code = Recurse(0);
    } else if (o.fail == "terminate") {
        std::terminate();
    } else if (o.fail == "abort") {
        std::abort();
    } else if (o.fail == "pure-virtual") {
        Built built;
    } else if (o.fail == "stuck") {
        for (;;) {
        }
    } else if (o.fail == "tool-faults" || o.fail == "tool-stuck") {
        if (!RegisterTestTool(o.fail == "tool-faults" ? "tool_faults.ttl" : "tool_loops.ttl")) {
            return Failed(16, "tool not loaded");
        }
        testing_support::ChooseTool(MainWindow(), 23);
    } else if (o.fail == "tool-faults-in-menu") {
        if (!RegisterTestTool("tool_faults_asked.ttl")) return Failed(16, "tool not loaded");
        UniqueMenu menu(CreatePopupMenu());
        AppendToolList(menu.get());
    } else if (o.fail == "busy") {
        code = KeepsItsWindows(o);
    } else if (o.fail == "start-menu") {
        code = KeepsItsWindowsThroughTheStartMenu(o);
    } else if (o.fail == "settings-open") {
        code = KeepsItsWindowsWithTheSettingsOpen(o);
    } else if (o.fail == "hang-then-recover") {
        code = WorksAfterAHang(o);
    } else {
        code = Failed(15, "unknown mode");
    }
    Log("still running");
    // Ended as the test says, the way Panelry ends.
    WaitPumping(go.get());
    if (MainWindow()) SendMessageA(MainWindow(), WM_CLOSE, 0, 0);
    RunMessageLoop();
    return code;
}
