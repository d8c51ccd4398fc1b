// panelry_bench: figures on the real panelry.exe, started from a folder of its
// own and driven from outside through its window messages, the way any other
// process could, while a sample application supplies the windows it captures.
// It prints how each figure was taken and what came out; it judges nothing,
// because timings under Wine on a virtual display say little about a pass or
// a failure on Windows.
#include "base/command_kinds.h"
#include "base/messages.h"
#include "settings/system_data.h"
#include "tabs/tab_ids.h"
#include "tests/support/panelry_process.h"
#include "tests/support/sample_app.h"

#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using testing_support::PanelryProcess;
using testing_support::SampleApp;
using testing_support::WindowSpec;

namespace {

// How many windows (tabs) a run holds: the first argument, 50 without one.
// scripts/bench.sh runs it at several counts, so that a cost that grows with
// the tabs shows.
constexpr int kDefaultWindows = 50;
constexpr int kMaxWindows = 250;  // below the rescue table's 256 slots
int g_windows = kDefaultWindows;
// How many sample applications hold those windows, in turn: the second
// argument, 1 without one.
int g_apps = 1;
constexpr int kMaxApps = 20;
constexpr DWORD kIdleMs = 10000;
constexpr DWORD kEmptyIdleMs = 5000;  // the same with no tabs, for comparison
constexpr int kCycles = 200;
constexpr double kStepTimeoutMs = 5000;
// Panelry's main window for the whole run. Under Wine every repaint of the
// themed tab control costs time in proportion to its area, and at the default
// size the 200 cycles alone would take several minutes.
constexpr int kMainWidth = 560;
constexpr int kMainHeight = 420;

// ---- Output ------------------------------------------------------------------

// Figures go to stdout, progress to stderr, so a reader can keep only the
// report. Flushed at once: under Wine a pipe is fully buffered.
void Out(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void Progress(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::fputs("bench: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
    std::fflush(stderr);
}

// ---- Clock and polling ---------------------------------------------------------

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
}

// How finely the polls looked, for the report: a figure is no sharper than this.
struct PollRecord {
    long long polls = 0;
    double spentMs = 0;
} g_polls;

// Polls condition about once a millisecond until it holds; *at gets the time
// it was first seen to hold. A busy loop would be finer, but on a small machine
// it would take the processor from Panelry, the sample application and
// wineserver, whose work is what is being timed.
template <typename Condition>
bool PollUntil(Condition condition, double timeoutMs, double* at = nullptr) {
    const double start = NowMs();
    for (;;) {
        ++g_polls.polls;
        if (condition()) {
            const double now = NowMs();
            g_polls.spentMs += now - start;
            if (at) *at = now;
            return true;
        }
        const double now = NowMs();
        if (now - start > timeoutMs) {
            g_polls.spentMs += now - start;
            return false;
        }
        Sleep(1);
    }
}

// ---- Statistics ----------------------------------------------------------------

struct Summary {
    std::size_t count = 0;
    double median = 0, p95 = 0, min = 0, max = 0, mean = 0;
};

// Median of the sorted samples (mean of the middle two for an even count); the
// 95th percentile by nearest rank, i.e. the smallest sample with at least 95 %
// of the samples at or below it.
Summary Summarise(std::vector<double> samples) {
    Summary s;
    s.count = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    s.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    const std::size_t rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(n)));
    s.p95 = samples[std::max<std::size_t>(rank, 1) - 1];
    s.min = samples.front();
    s.max = samples.back();
    double sum = 0;
    for (double v : samples) sum += v;
    s.mean = sum / static_cast<double>(n);
    return s;
}

void PrintSummary(const char* label, const std::vector<double>& samples) {
    const Summary s = Summarise(samples);
    if (s.count == 0) {
        Out("   %-22s no samples\n", label);
        return;
    }
    Out("   %-22s median %8.2f ms   p95 %8.2f ms   (min %.2f, max %.2f, mean %.2f, n=%u)\n",
        label, s.median, s.p95, s.min, s.max, s.mean, static_cast<unsigned>(s.count));
}

// The medians of the first and the last ten samples of a series taken while
// the number of tabs rose or fell: a cost that grows with the tabs shows here.
void PrintTrend(const std::vector<double>& samples, const char* firstTabs,
                const char* lastTabs) {
    constexpr std::size_t kPart = 10;
    if (samples.size() < 2 * kPart) return;
    const std::vector<double> first(samples.begin(), samples.begin() + kPart);
    const std::vector<double> last(samples.end() - kPart, samples.end());
    Out("   %-22s first ten (%s) median %.2f ms, last ten (%s) median %.2f ms\n", "by tab count:",
        firstTabs, Summarise(first).median, lastTabs, Summarise(last).median);
}

std::string TabRange(int from, int to) {
    return std::to_string(from) + "-" + std::to_string(to) + " tabs before";
}

// ---- Looking at Panelry from outside ------------------------------------------------

bool OnDesktop(HWND window) { return GetAncestor(window, GA_PARENT) == GetDesktopWindow(); }

// The root pane's windows, found by class under the main window.
struct PanelryView {
    HWND main = nullptr;
    HWND tabControl = nullptr;

    bool Find(HWND mainWindow) {
        main = mainWindow;
        HWND base = FindWindowExA(main, nullptr, tab_ids::kBaseClass, nullptr);
        tabControl = base ? FindWindowExA(base, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
        return tabControl != nullptr &&
               FindWindowExA(tabControl, nullptr, tab_ids::kDisplayAreaClass, nullptr) != nullptr;
    }

    // Tab-control queries without pointers, which work across processes; -2
    // when Panelry did not answer within a second.
    int Ask(UINT message) const {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(tabControl, message, 0, 0, SMTO_NORMAL, 1000, &result)) {
            return -2;
        }
        return static_cast<int>(result);
    }
    int TabCount() const { return Ask(TCM_GETITEMCOUNT); }
    int Selected() const { return Ask(TCM_GETCURSEL); }

    LRESULT Command(unsigned id) const { return SendMessageA(main, PM_EXECCOMMAND, id, 0); }
    LRESULT Add(HWND window) const {
        return SendMessageA(main, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(window));
    }
};

// When Panelry answers a message again after an operation: the operation's
// send can return before the work it caused is over, above all the repaint
// of the tab strip, which the system leaves until the queue is empty. A
// query sent a millisecond after the operation's send returned (so that work
// has begun) is answered once that work is done.
constexpr DWORD kAnswerGapMs = 1;

double AnsweredAgainAt(const PanelryView& view) {
    Sleep(kAnswerGapMs);
    view.Selected();
    return NowMs();
}

// ---- Linux's own view, where the system is Wine --------------------------------

// Wine answers some questions about another process wrongly (its CPU time) or
// not at all. Its Z: drive maps the Unix root, so the kernel's figures for the
// Linux process behind Panelry can be read beside Wine's answers. On Windows
// there is no Z:\proc and these figures are left out.
std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    CloseHandle(file);
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The Linux process whose command line ends in <folder's name>\panelry.exe;
// 0 if there is none. The folder's name is unique to this run, while the rest
// of the path may be spelt differently on the Linux side.
unsigned long FindLinuxProcess(const std::string& folder) {
    const std::string tail =
        Lower(folder.substr(folder.find_last_of("\\/") + 1) + "\\panelry.exe");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    unsigned long match = 0;
    do {
        char* end = nullptr;
        const unsigned long pid = std::strtoul(found.cFileName, &end, 10);
        if (pid == 0 || *end != '\0') continue;
        std::string commandLine =
            ReadWholeFile(std::string("Z:\\proc\\") + found.cFileName + "\\cmdline");
        commandLine = Lower(commandLine.substr(0, commandLine.find('\0')));
        if (commandLine.size() >= tail.size() &&
            commandLine.compare(commandLine.size() - tail.size(), tail.size(), tail) == 0) {
            match = pid;
        }
    } while (!match && FindNextFileA(search, &found));
    FindClose(search);
    return match;
}

// utime + stime of /proc/<pid>/stat in milliseconds; -1 if unreadable. The
// kernel counts in USER_HZ ticks, 100 a second on every x86 Linux.
double LinuxCpuMs(unsigned long pid) {
    if (!pid) return -1;
    const std::string stat = ReadWholeFile("Z:\\proc\\" + std::to_string(pid) + "\\stat");
    // The command name may hold spaces and brackets: fields are counted from
    // the last ')', after which comes field 3 (the state); utime is 14, stime 15.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    unsigned long long utime = 0, stime = 0;
    const char* p = stat.c_str() + close + 1;
    for (int field = 3; field <= 15 && *p; ++field) {
        while (*p == ' ') ++p;
        if (field == 14) utime = std::strtoull(p, nullptr, 10);
        if (field == 15) stime = std::strtoull(p, nullptr, 10);
        while (*p && *p != ' ') ++p;
    }
    return static_cast<double>(utime + stime) * 10.0;
}

// A "Name:   123 kB" line of /proc/<pid>/status; -1 if absent.
long StatusKiB(const std::string& status, const char* name) {
    const std::size_t at = status.find(name);
    if (at == std::string::npos) return -1;
    return std::strtol(status.c_str() + at + std::strlen(name), nullptr, 10);
}

// ---- Process figures ------------------------------------------------------------

// Wine's answer (GetProcessTimes) and Linux's count side by side.
struct Cpu {
    double wineMs = -1;
    double linuxMs = -1;
};

Cpu ReadCpu(HANDLE process, unsigned long linuxPid) {
    Cpu cpu;
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        auto ticks = [](const FILETIME& t) {
            return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        cpu.wineMs = static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;  // 100 ns units
    }
    cpu.linuxMs = LinuxCpuMs(linuxPid);
    return cpu;
}

Cpu operator-(const Cpu& later, const Cpu& earlier) {
    Cpu d;
    if (later.wineMs >= 0 && earlier.wineMs >= 0) d.wineMs = later.wineMs - earlier.wineMs;
    if (later.linuxMs >= 0 && earlier.linuxMs >= 0) d.linuxMs = later.linuxMs - earlier.linuxMs;
    return d;
}

struct Memory {
    bool read = false;
    PROCESS_MEMORY_COUNTERS counters{};
    long linuxRssKiB = -1;
    long linuxAnonKiB = -1;
};

Memory ReadMemory(HANDLE process, unsigned long linuxPid) {
    Memory m;
    m.counters.cb = sizeof m.counters;
    m.read = GetProcessMemoryInfo(process, &m.counters, sizeof m.counters) != FALSE;
    if (linuxPid) {
        const std::string status =
            ReadWholeFile("Z:\\proc\\" + std::to_string(linuxPid) + "\\status");
        m.linuxRssKiB = StatusKiB(status, "VmRSS:");
        m.linuxAnonKiB = StatusKiB(status, "RssAnon:");
    }
    return m;
}

double KiB(SIZE_T bytes) { return static_cast<double>(bytes) / 1024.0; }

struct GuiCounts {
    DWORD gdi = 0;
    DWORD user = 0;
    DWORD gdiError = 0;
    DWORD userError = 0;
    int windows = 0;    // windows the process owns, at any depth
    DWORD handles = 0;  // kernel handles; 0 where the system does not tell
};

struct WindowCensus {
    DWORD processId;
    int count;
};

BOOL CALLBACK CountOwnChild(HWND window, LPARAM data) {
    auto* census = reinterpret_cast<WindowCensus*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == census->processId) ++census->count;
    return TRUE;
}

BOOL CALLBACK CountOwnTopLevel(HWND window, LPARAM data) {
    auto* census = reinterpret_cast<WindowCensus*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == census->processId) {
        ++census->count;
        // All descendants; captured windows among them belong to the sample
        // application and are left out by the process check.
        EnumChildWindows(window, CountOwnChild, data);
    }
    return TRUE;
}

GuiCounts ReadGuiCounts(HANDLE process, DWORD processId) {
    GuiCounts g;
    SetLastError(0);
    g.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    g.gdiError = GetLastError();
    SetLastError(0);
    g.user = GetGuiResources(process, GR_USEROBJECTS);
    g.userError = GetLastError();
    WindowCensus census{processId, 0};
    EnumWindows(CountOwnTopLevel, reinterpret_cast<LPARAM>(&census));
    g.windows = census.count;
    if (!GetProcessHandleCount(process, &g.handles)) g.handles = 0;
    return g;
}

// A process with windows owns USER objects, and a running process owns
// handles: a 0 for such a process means the system does not count, not that
// there are none.
bool GuiResourcesReported(const GuiCounts& g) { return !(g.user == 0 && g.windows > 0); }

// ---- The run -----------------------------------------------------------------------

struct Results {
    unsigned long linuxPid = 0;

    std::vector<double> autoCapture;
    std::vector<double> autoReady;
    // The windows that raised no show event, as every window under Wine 8
    // (every other window of 1); autoCapture has them all.
    std::vector<double> autoCaptureUnreported;
    int autoMissed = 0;
    int openedHidden = 0;

    std::vector<double> addSend;
    int addRefused = 0;

    std::vector<double> fullAddSend;
    std::vector<double> fullAddReady;
    std::vector<double> fullReleaseSend;
    std::vector<double> fullReleaseReady;
    int fullMissed = 0;

    std::vector<double> switchSend;
    std::vector<double> switchVisible;
    std::vector<double> switchReady;
    int switchMissed = 0;
    int switchWrongTab = 0;
    // The same with the tabs in one row (a second Panelry started so).
    std::vector<double> oneRowSwitchSend;
    std::vector<double> oneRowSwitchVisible;
    std::vector<double> oneRowSwitchReady;
    int oneRowMissed = 0;

    std::vector<double> releaseSend;
    std::vector<double> releaseOnDesktop;
    std::vector<double> releaseReady;
    int releaseMissed = 0;

    Cpu busyCpu;
    double busyWallMs = 0;
    Cpu idleCpu;
    double idleWallMs = 0;
    Cpu emptyIdleCpu;
    double emptyIdleWallMs = 0;
    int idleTabs = 0;

    Memory memoryAtStart;
    Memory memoryWithTabs;
    Memory memoryBeforeCycles;
    Memory memoryAfterCycles;
    Memory memoryHalfwayCycles;  // after half the cycles: growth that goes on shows after it

    std::vector<std::pair<int, GuiCounts>> gui;  // cycles done, counts
    int cycleRefused = 0;
    int cycleNotBack = 0;
    double cyclesMs = 0;
};

using SampleApps = std::vector<std::unique_ptr<SampleApp>>;

HWND OpenSample(SampleApps& apps, int index, bool reportShow = true) {
    SampleApp& app = *apps[static_cast<std::size_t>(index) % apps.size()];
    WindowSpec form;
    form.title = "bench window " + std::to_string(index + 1);
    // Beside Panelry's window rather than over it, and no two in one place.
    form.x = 660 + (index % 10) * 30;
    form.y = 40 + (index / 10 % 10) * 60;
    form.width = 320;
    form.height = 240;
    form.reportShow = reportShow;
    return app.Open(form);
}

// 1. Automatic capture: the new-window watch on, one window at a time.
void MeasureAutoCapture(SampleApps& apps, const PanelryView& view, std::vector<HWND>& tabs,
                        Results& r) {
    SendMessageA(view.main, WM_COMMAND, kWatchOn, 0);
    for (int i = 0; i < g_windows; ++i) {
        // Every other window shows as on Windows, with the show event that
        // Wine 8 does not raise; the others as under Wine.
        const bool reported = i % 2 == 0;
        HWND window = OpenSample(apps, i, reported);
        // The sample application shows the window before it answers.
        const double visibleAt = NowMs();
        if (!window) throw std::runtime_error("the sample application opened no window");
        if (!IsWindowVisible(window)) ++r.openedHidden;
        const int expected = static_cast<int>(tabs.size());
        double capturedAt = 0;
        const bool captured = PollUntil(
            [&] {
                // The cheap checks first; Panelry is asked only once the
                // window has moved.
                return IsWindowVisible(window) && !OnDesktop(window) &&
                       view.TabCount() == expected + 1 && view.Selected() == expected;
            },
            kStepTimeoutMs, &capturedAt);
        if (captured) {
            r.autoCapture.push_back(capturedAt - visibleAt);
            if (!reported) r.autoCaptureUnreported.push_back(capturedAt - visibleAt);
            r.autoReady.push_back(AnsweredAgainAt(view) - visibleAt);
            tabs.push_back(window);
        } else {
            ++r.autoMissed;
            // A late capture would put the bookkeeping out of step with the strip.
            if (!OnDesktop(window)) tabs.push_back(window);
        }
    }
    SendMessageA(view.main, WM_COMMAND, kWatchOff, 0);
}

// 3. Tab switch: "next tab", then the newly selected window showing, and
// Panelry answering again.
struct SwitchSeries {
    std::vector<double>& send;
    std::vector<double>& visible;
    std::vector<double>& ready;
    int& missed;
};

void MeasureSwitches(const PanelryView& view, const std::vector<HWND>& tabs, SwitchSeries out,
                     int* wrongTab) {
    const int count = static_cast<int>(tabs.size());
    if (count < 2) return;
    int selected = view.Selected();
    for (int i = 0; i < g_windows; ++i) {  // once round the strip
        if (selected < 0 || selected >= count) break;
        // The previous switch hides the old window without waiting; this one
        // starts only once that has happened, so it is not measured twice.
        const HWND current = tabs[static_cast<std::size_t>(selected)];
        for (HWND other : tabs) {
            if (other != current) PollUntil([&] { return !IsWindowVisible(other); }, 1000);
        }
        // And once the step before is over, repaint and all.
        view.Selected();
        const int next = (selected + 1) % count;
        const HWND target = tabs[static_cast<std::size_t>(next)];
        const double start = NowMs();
        view.Command(kSelectNextTab);
        const double returned = NowMs();
        const double readyAt = AnsweredAgainAt(view);
        double shownAt = 0;
        if (PollUntil([&] { return IsWindowVisible(target) != FALSE; }, kStepTimeoutMs,
                      &shownAt)) {
            out.send.push_back(returned - start);
            out.visible.push_back(shownAt - start);
            out.ready.push_back(readyAt - start);
        } else {
            ++out.missed;
        }
        selected = view.Selected();
        if (selected != next && wrongTab) ++*wrongTab;
    }
}

// 3b. The same switches with the tabs in one row: a second Panelry, started
// with the multi-line bit of its tab style cleared, holds the windows.
void MeasureOneRowSwitches(const std::vector<HWND>& windows, Results& r) {
    PanelryProcess panelry;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    // The missing file gives the built-in settings, caption colours and all.
    LoadSystemData(panelry.SystemIni().c_str(), &placement);
    GetSystemData().tabStyle &= ~static_cast<std::uint32_t>(TCS_MULTILINE);
    if (!SaveSystemData(panelry.SystemIni().c_str(), nullptr)) {
        throw std::runtime_error("the one-row system.ini could not be written");
    }
    const HWND main = panelry.Start();
    PanelryView view;
    if (!main || !view.Find(main)) throw std::runtime_error("the one-row Panelry did not start");
    MoveWindow(main, 0, 0, kMainWidth, kMainHeight, TRUE);
    std::vector<HWND> tabs;
    for (HWND window : windows) {
        if (view.Add(window) == 1) tabs.push_back(window);
    }
    MeasureSwitches(view, tabs,
                    {r.oneRowSwitchSend, r.oneRowSwitchVisible, r.oneRowSwitchReady,
                     r.oneRowMissed},
                    nullptr);
    view.Command(kReleaseAllTabs);
    panelry.Close();
}

// 4. Release of the selected tab until the window is back on the desktop.
void MeasureReleases(const PanelryView& view, std::vector<HWND>& tabs, Results& r) {
    while (!tabs.empty()) {
        const int selected = view.Selected();
        if (selected < 0 || selected >= static_cast<int>(tabs.size())) break;
        const HWND window = tabs[static_cast<std::size_t>(selected)];
        const double start = NowMs();
        view.Command(kReleaseTab);
        const double returned = NowMs();
        const double readyAt = AnsweredAgainAt(view);
        double backAt = 0;
        if (PollUntil([&] { return OnDesktop(window) && IsWindowVisible(window); },
                      kStepTimeoutMs, &backAt)) {
            r.releaseSend.push_back(returned - start);
            r.releaseOnDesktop.push_back(backAt - start);
            r.releaseReady.push_back(readyAt - start);
        } else {
            ++r.releaseMissed;
        }
        tabs.erase(tabs.begin() + selected);
    }
}

// 2b, 4b. With the strip full: the selected tab released and its window
// added back, kFullStripRounds times. Panelry holds N - 1 or N tabs and that
// window is the only one on the desktop: under Wine, activating and focusing
// cost more with every visible window on the desktop, which the figures of 2
// and 4 mix in as the windows go out and come back. Each send waits until
// Panelry is idle: Wine's tab control draws every tab on each repaint, and a
// send that arrives meanwhile waits for the repaint of the step before.
constexpr int kFullStripRounds = 20;
constexpr DWORD kSettleMs = 300;

void MeasureAtFullStrip(const PanelryView& view, std::vector<HWND>& tabs, Results& r) {
    for (int round = 0; round < kFullStripRounds && !tabs.empty(); ++round) {
        const int selected = view.Selected();
        if (selected < 0 || selected >= static_cast<int>(tabs.size())) break;
        const HWND window = tabs[static_cast<std::size_t>(selected)];
        Sleep(kSettleMs);
        const double start = NowMs();
        view.Command(kReleaseTab);
        const double returned = NowMs();
        const double releaseReadyAt = AnsweredAgainAt(view);
        if (!PollUntil([&] { return OnDesktop(window) && IsWindowVisible(window); },
                       kStepTimeoutMs)) {
            ++r.fullMissed;
            break;  // the bookkeeping would be out of step with the strip
        }
        r.fullReleaseSend.push_back(returned - start);
        r.fullReleaseReady.push_back(releaseReadyAt - start);
        tabs.erase(tabs.begin() + selected);
        Sleep(kSettleMs);
        const double addStart = NowMs();
        const LRESULT added = view.Add(window);
        const double addEnd = NowMs();
        const double addReadyAt = AnsweredAgainAt(view);
        if (added != 1) {
            ++r.fullMissed;
            continue;
        }
        r.fullAddSend.push_back(addEnd - addStart);
        r.fullAddReady.push_back(addReadyAt - addStart);
        tabs.push_back(window);
    }
}

// 2. PM_ADDWINDOW sent and answered, for windows already on the desktop.
void MeasureAdds(const PanelryView& view, const std::vector<HWND>& windows,
                 std::vector<HWND>& tabs, Results& r) {
    for (HWND window : windows) {
        const double start = NowMs();
        const LRESULT added = view.Add(window);
        const double end = NowMs();
        if (added == 1) {
            r.addSend.push_back(end - start);
            tabs.push_back(window);
        } else {
            ++r.addRefused;
        }
    }
}

// 7. Capture-and-release cycles of one window, with the counts read between.
void MeasureCycles(const PanelryView& view, HANDLE process, DWORD processId, HWND window,
                   Results& r) {
    Sleep(500);  // the release of all tabs before this settles
    r.memoryBeforeCycles = ReadMemory(process, r.linuxPid);
    r.gui.push_back({0, ReadGuiCounts(process, processId)});
    const double start = NowMs();
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        if (view.Add(window) != 1) ++r.cycleRefused;
        view.Command(kReleaseTab);
        if (!PollUntil([&] { return OnDesktop(window) && IsWindowVisible(window); },
                       kStepTimeoutMs)) {
            ++r.cycleNotBack;
        }
        if (cycle % 50 == 0 && cycle != kCycles) {
            r.gui.push_back({cycle, ReadGuiCounts(process, processId)});
            if (cycle == kCycles / 2) r.memoryHalfwayCycles = ReadMemory(process, r.linuxPid);
        }
    }
    r.cyclesMs = NowMs() - start;
    Sleep(500);
    r.gui.push_back({kCycles, ReadGuiCounts(process, processId)});
    r.memoryAfterCycles = ReadMemory(process, r.linuxPid);
}

// ---- The report ---------------------------------------------------------------------

void PrintMemoryLine(const char* label, const Memory& m) {
    if (!m.read) {
        Out("   %-26s GetProcessMemoryInfo failed\n", label);
    } else {
        Out("   %-26s working set %7.0f KiB (peak %7.0f), pagefile usage %7.0f KiB (peak %7.0f)\n",
            label, KiB(m.counters.WorkingSetSize), KiB(m.counters.PeakWorkingSetSize),
            KiB(m.counters.PagefileUsage), KiB(m.counters.PeakPagefileUsage));
    }
    if (m.linuxRssKiB >= 0) {
        Out("   %-26s Linux: VmRSS %ld KiB, RssAnon %ld KiB\n", "", m.linuxRssKiB,
            m.linuxAnonKiB);
    }
}

// Wine's and Linux's CPU figures over one stretch of time.
void PrintCpuLine(const char* label, const Cpu& cpu, double wallMs) {
    auto share = [&](double ms) { return 100.0 * ms / wallMs; };
    Out("   %-26s %4.1f s: ", label, wallMs / 1000.0);
    if (cpu.wineMs >= 0) {
        Out("GetProcessTimes %8.1f ms (%6.2f %%)", cpu.wineMs, share(cpu.wineMs));
    } else {
        Out("GetProcessTimes failed");
    }
    if (cpu.linuxMs >= 0) {
        Out("   Linux %8.1f ms (%6.2f %%)", cpu.linuxMs, share(cpu.linuxMs));
    }
    Out("\n");
}

// True when Wine's answer is off from Linux's own count by more than the
// count's 10 ms granularity and a fifth of the figure.
bool CpuFiguresDisagree(const Cpu& cpu) {
    if (cpu.wineMs < 0 || cpu.linuxMs < 0) return false;
    return std::fabs(cpu.wineMs - cpu.linuxMs) > std::max(50.0, 0.2 * cpu.linuxMs);
}

void PrintGui(const Results& r) {
    if (r.gui.empty()) return;
    const GuiCounts& before = r.gui.front().second;
    const GuiCounts& after = r.gui.back().second;
    auto delta = [](DWORD a, DWORD b) { return static_cast<long>(b) - static_cast<long>(a); };
    if (GuiResourcesReported(before) && GuiResourcesReported(after)) {
        Out("   GetGuiResources GR_GDIOBJECTS:  before %5lu  after %5lu  delta %+ld\n",
            before.gdi, after.gdi, delta(before.gdi, after.gdi));
        Out("   GetGuiResources GR_USEROBJECTS: before %5lu  after %5lu  delta %+ld\n",
            before.user, after.user, delta(before.user, after.user));
    } else {
        Out("   GetGuiResources: NOT AVAILABLE here. It answered %lu GDI and %lu USER objects\n"
            "   (last errors %lu and %lu) for a process that owns %d windows, so it does not\n"
            "   count at all (Wine has it as a stub). No GDI or USER delta can be given from\n"
            "   this run; on Windows the same program prints it.\n",
            before.gdi, before.user, before.gdiError, before.userError, before.windows);
    }
    Out("   Seen instead (these are not GDI or USER object counts):\n");
    Out("     after cycle   Panelry's windows   kernel handles\n");
    for (const auto& [cycles, g] : r.gui) {
        Out("     %11d   %17d   ", cycles, g.windows);
        if (g.handles) Out("%14lu\n", g.handles);
        else Out("%14s\n", "not reported");
    }
    Out("     delta         %+17ld   ", delta(before.windows, after.windows));
    if (before.handles && after.handles) Out("%+14ld\n", delta(before.handles, after.handles));
    else Out("%14s\n", "-");
    PrintMemoryLine("memory before the cycles:", r.memoryBeforeCycles);
    PrintMemoryLine("memory after half of them:", r.memoryHalfwayCycles);
    PrintMemoryLine("memory after the cycles:", r.memoryAfterCycles);
    Out("   %d cycles took %.1f s", kCycles, r.cyclesMs / 1000.0);
    if (r.cycleRefused || r.cycleNotBack) {
        Out("; %d capture(s) refused, %d release(s) not seen", r.cycleRefused, r.cycleNotBack);
    }
    Out("\n");
}

void PrintReport(const Results& r) {
    const double pollMs = g_polls.polls ? g_polls.spentMs / static_cast<double>(g_polls.polls) : 0;
    Out("\n== Panelry benchmark: %d windows of %d sample application(s), %d-bit Panelry ==\n",
        g_windows, g_apps, static_cast<int>(sizeof(void*) * 8));
    Out("Panelry's main window is %dx%d. Times from QueryPerformanceCounter. Other processes'\n"
        "windows were polled about once a millisecond (%.2f ms apart on average in this run),\n"
        "so an \"until\" figure can be late by that much. p95 is by nearest rank.\n",
        kMainWidth, kMainHeight, pollMs);

    Out("\n1. Automatic capture latency (new-window watch on: WM_COMMAND wParam %d)\n", kWatchOn);
    Out("   From the sample application answering its \"open\" request (it shows the window\n"
        "   before answering) until the window is visible, its parent is no longer the\n"
        "   desktop, and Panelry's tab control has one tab more with the last one selected.\n"
        "   Every other window raises the show event as Windows does; the others show\n"
        "   unreported, as every window does under Wine 8 (\"show unreported\").\n");
    PrintSummary("capture latency", r.autoCapture);
    PrintSummary("show unreported", r.autoCaptureUnreported);
    PrintSummary("until answers again", r.autoReady);
    PrintTrend(r.autoCapture, TabRange(0, 9).c_str(),
               TabRange(g_windows - 10, g_windows - 1).c_str());
    if (r.autoMissed) {
        Out("   %d window(s) not captured within %.0f ms\n", r.autoMissed, kStepTimeoutMs);
    }
    if (r.openedHidden) {
        Out("   %d window(s) were not yet visible when the request returned\n", r.openedHidden);
    }

    Out("\n2. SendMessage(main, PM_ADDWINDOW, 0, window), synchronous, from this process\n");
    Out("   Round trip of the send, for the windows released in 4, now on the desktop.\n");
    PrintSummary("PM_ADDWINDOW", r.addSend);
    PrintTrend(r.addSend, TabRange(0, 9).c_str(),
               TabRange(g_windows - 10, g_windows - 1).c_str());
    if (r.addRefused) Out("   %d window(s) refused (result not 1)\n", r.addRefused);

    Out("\n2b, 4b. With the strip full: release the selected tab, wait until its window is\n"
        "   on the desktop, add it back with PM_ADDWINDOW; %d rounds. Panelry holds %d or %d\n"
        "   tabs, and that window is the only one on the desktop (in 2 and 4 up to %d are).\n"
        "   Each send goes %lu ms after the step before, when Panelry is idle.\n",
        kFullStripRounds, g_windows - 1, g_windows, g_windows,
        static_cast<unsigned long>(kSettleMs));
    PrintSummary("PM_ADDWINDOW", r.fullAddSend);
    PrintSummary("PM_ADDWINDOW, answers", r.fullAddReady);
    PrintSummary("release, send alone", r.fullReleaseSend);
    PrintSummary("release, answers", r.fullReleaseReady);
    if (r.fullMissed) Out("   %d round(s) went wrong\n", r.fullMissed);

    Out("\n3. Tab switch with %d tabs: PM_EXECCOMMAND wParam %d (next tab), %d times\n",
        g_windows, kSelectNextTab, g_windows);
    Out("   From before the synchronous send until the newly selected window is visible\n"
        "   (Panelry shows it without waiting, so that can come after the send returns).\n");
    PrintSummary("until visible", r.switchVisible);
    PrintSummary("send alone", r.switchSend);
    PrintSummary("until answers again", r.switchReady);
    if (r.switchMissed) {
        Out("   %d switch(es) never showed the window within %.0f ms\n", r.switchMissed,
            kStepTimeoutMs);
    }
    if (r.switchWrongTab) {
        Out("   %d switch(es) selected another tab than the next one\n", r.switchWrongTab);
    }

    Out("\n3b. The same switches in a second Panelry whose tabs lie in one row\n");
    PrintSummary("until visible", r.oneRowSwitchVisible);
    PrintSummary("send alone", r.oneRowSwitchSend);
    PrintSummary("until answers again", r.oneRowSwitchReady);
    if (r.oneRowMissed) Out("   %d switch(es) never showed the window\n", r.oneRowMissed);

    Out("\n4. Release: PM_EXECCOMMAND wParam %d (release selected tab), %d tabs down to 0\n",
        kReleaseTab, g_windows);
    Out("   From before the synchronous send until the window's parent is the desktop again\n"
        "   and it is visible.\n");
    PrintSummary("until on the desktop", r.releaseOnDesktop);
    PrintSummary("send alone", r.releaseSend);
    PrintSummary("until answers again", r.releaseReady);
    PrintTrend(r.releaseOnDesktop, TabRange(g_windows, g_windows - 9).c_str(),
               TabRange(10, 1).c_str());
    if (r.releaseMissed) {
        Out("   %d window(s) not back within %.0f ms\n", r.releaseMissed, kStepTimeoutMs);
    }

    Out("\n5. Panelry's CPU time, kernel + user, idle with %d tabs\n", r.idleTabs);
    Out("   GetProcessTimes on Panelry's process before and after %lu s of doing nothing%s\n",
        static_cast<unsigned long>(kIdleMs / 1000),
        r.linuxPid ? ";\n   beside it Linux's count for the same process (/proc/<pid>/stat, 10 ms steps)."
                   : ".");
    const std::string idleLabel = "idle, " + std::to_string(r.idleTabs) + " tabs:";
    PrintCpuLine(idleLabel.c_str(), r.idleCpu, r.idleWallMs);
    Out("   To compare:\n");
    PrintCpuLine("idle, no tabs (at start):", r.emptyIdleCpu, r.emptyIdleWallMs);
    PrintCpuLine("busy (during 1 and 3):", r.busyCpu, r.busyWallMs);
    if (CpuFiguresDisagree(r.busyCpu) || CpuFiguresDisagree(r.idleCpu) ||
        CpuFiguresDisagree(r.emptyIdleCpu)) {
        Out("   GetProcessTimes disagrees with Linux's count: Wine does not report another\n"
            "   process's CPU time correctly. The Linux figure is the one to read.\n");
    } else if (!r.linuxPid) {
        Out("   (No Linux view: not running under Wine, or Panelry's Linux process not found.)\n");
    }

    Out("\n6. Panelry's memory: GetProcessMemoryInfo (PROCESS_MEMORY_COUNTERS)\n");
    PrintMemoryLine("at start, no tabs:", r.memoryAtStart);
    const std::string withTabs = "with " + std::to_string(r.idleTabs) + " tabs:";
    PrintMemoryLine(withTabs.c_str(), r.memoryWithTabs);

    Out("\n7. GDI and USER objects over %d capture-and-release cycles of one window\n", kCycles);
    Out("   Each cycle: PM_ADDWINDOW, PM_EXECCOMMAND wParam %d, then the window back on the\n"
        "   desktop. Counts read with no tabs, 0.5 s after the last release.\n", kReleaseTab);
    PrintGui(r);
}

// One line per figure, "figure|name|value", for scripts/bench.sh to put the
// runs at several tab counts side by side.
void Figure(const char* name, double value) { Out("figure|%s|%.2f\n", name, value); }

void PrintFigures(const Results& r) {
    Out("\n");
    Figure("automatic capture p95 (ms)", Summarise(r.autoCapture).p95);
    Figure("automatic capture median (ms)", Summarise(r.autoCapture).median);
    Figure("automatic capture, show unreported, p95 (ms)",
           Summarise(r.autoCaptureUnreported).p95);
    Figure("automatic capture until Panelry answers, median (ms)", Summarise(r.autoReady).median);
    Figure("PM_ADDWINDOW, strip full, median (ms)", Summarise(r.fullAddSend).median);
    Figure("PM_ADDWINDOW, strip full, until Panelry answers, median (ms)",
           Summarise(r.fullAddReady).median);
    Figure("PM_ADDWINDOW, all back from the desktop, median (ms)",
           Summarise(r.addSend).median);
    Figure("tab switch until visible, median (ms)", Summarise(r.switchVisible).median);
    Figure("tab switch send alone, median (ms)", Summarise(r.switchSend).median);
    Figure("tab switch until Panelry answers, median (ms)", Summarise(r.switchReady).median);
    Figure("tab switch in one row until Panelry answers, median (ms)",
           Summarise(r.oneRowSwitchReady).median);
    Figure("release until on the desktop, median (ms)", Summarise(r.releaseOnDesktop).median);
    Figure("release send alone, median (ms)", Summarise(r.releaseSend).median);
    Figure("release until Panelry answers, median (ms)", Summarise(r.releaseReady).median);
    Figure("release, strip full, send, median (ms)", Summarise(r.fullReleaseSend).median);
    Figure("release, strip full, until Panelry answers, median (ms)",
           Summarise(r.fullReleaseReady).median);
    if (r.idleCpu.linuxMs >= 0 && r.idleWallMs > 0) {
        Figure("idle CPU with the tabs, Linux (%)", 100.0 * r.idleCpu.linuxMs / r.idleWallMs);
    }
    if (r.emptyIdleCpu.linuxMs >= 0 && r.emptyIdleWallMs > 0) {
        Figure("idle CPU, no tabs, Linux (%)",
               100.0 * r.emptyIdleCpu.linuxMs / r.emptyIdleWallMs);
    }
    if (r.memoryWithTabs.read) {
        Figure("working set with the tabs (KiB)", KiB(r.memoryWithTabs.counters.WorkingSetSize));
    }
    if (r.memoryBeforeCycles.read && r.memoryAfterCycles.read) {
        Figure("working set growth over the cycles (KiB)",
               KiB(r.memoryAfterCycles.counters.WorkingSetSize) -
                   KiB(r.memoryBeforeCycles.counters.WorkingSetSize));
    }
    if (r.memoryHalfwayCycles.read && r.memoryAfterCycles.read) {
        Figure("working set growth over the second half of the cycles (KiB)",
               KiB(r.memoryAfterCycles.counters.WorkingSetSize) -
                   KiB(r.memoryHalfwayCycles.counters.WorkingSetSize));
        Figure("pagefile usage growth over the second half of the cycles (KiB)",
               KiB(r.memoryAfterCycles.counters.PagefileUsage) -
                   KiB(r.memoryHalfwayCycles.counters.PagefileUsage));
    }
    if (!r.gui.empty()) {
        Figure("windows growth over the cycles",
               r.gui.back().second.windows - r.gui.front().second.windows);
        if (r.gui.front().second.handles && r.gui.back().second.handles) {
            Figure("handles growth over the cycles",
                   static_cast<double>(r.gui.back().second.handles) -
                       static_cast<double>(r.gui.front().second.handles));
        }
    }
}

int Run() {
    const double runStart = NowMs();
    Results r;

    Progress("starting the sample application and panelry.exe");
    SampleApps apps;
    for (int i = 0; i < g_apps; ++i) apps.push_back(std::make_unique<SampleApp>(false));
    PanelryProcess panelry;
    const HWND main = panelry.Start();
    if (!main) throw std::runtime_error("panelry.exe showed no main window");
    PanelryView view;
    if (!view.Find(main)) throw std::runtime_error("Panelry's tab control was not found");
    MoveWindow(main, 0, 0, kMainWidth, kMainHeight, TRUE);
    HANDLE process = panelry.Process();
    r.linuxPid = FindLinuxProcess(panelry.Dir().Path());
    Sleep(500);  // start-up work out of the way
    r.memoryAtStart = ReadMemory(process, r.linuxPid);
    Progress("5: %lu s idle with no tabs", static_cast<unsigned long>(kEmptyIdleMs / 1000));
    const double emptyIdleStart = NowMs();
    const Cpu emptyIdleCpuStart = ReadCpu(process, r.linuxPid);
    Sleep(kEmptyIdleMs);
    r.emptyIdleCpu = ReadCpu(process, r.linuxPid) - emptyIdleCpuStart;
    r.emptyIdleWallMs = NowMs() - emptyIdleStart;

    std::vector<HWND> tabs;
    Progress("1: %d windows captured by the new-window watch", g_windows);
    const double busyStart = NowMs();
    const Cpu busyCpuStart = ReadCpu(process, r.linuxPid);
    MeasureAutoCapture(apps, view, tabs, r);
    const std::vector<HWND> windows = tabs;

    Progress("3: %d tab switches", g_windows);
    MeasureSwitches(view, tabs,
                    {r.switchSend, r.switchVisible, r.switchReady, r.switchMissed},
                    &r.switchWrongTab);
    r.busyCpu = ReadCpu(process, r.linuxPid) - busyCpuStart;
    r.busyWallMs = NowMs() - busyStart;

    r.idleTabs = view.TabCount();
    Progress("5, 6: %lu s idle with %d tabs", static_cast<unsigned long>(kIdleMs / 1000),
             r.idleTabs);
    Sleep(1000);  // the last switch's repaint done
    const double idleStart = NowMs();
    const Cpu idleCpuStart = ReadCpu(process, r.linuxPid);
    Sleep(kIdleMs);
    r.idleCpu = ReadCpu(process, r.linuxPid) - idleCpuStart;
    r.idleWallMs = NowMs() - idleStart;
    r.memoryWithTabs = ReadMemory(process, r.linuxPid);

    Progress("2b, 4b: %d releases and adds with the strip full", kFullStripRounds);
    MeasureAtFullStrip(view, tabs, r);

    Progress("4: releasing %d tabs one by one", static_cast<int>(tabs.size()));
    MeasureReleases(view, tabs, r);

    Progress("2: PM_ADDWINDOW for %d windows", static_cast<int>(windows.size()));
    MeasureAdds(view, windows, tabs, r);

    Progress("7: %d capture-and-release cycles", kCycles);
    view.Command(kReleaseAllTabs);
    if (!windows.empty()) {
        MeasureCycles(view, process, panelry.ProcessId(), windows.front(), r);
    }

    Progress("closing Panelry (WM_CLOSE)");
    const int exitCode = panelry.Close();

    Progress("3b: %d tab switches with the tabs in one row", g_windows);
    MeasureOneRowSwitches(windows, r);

    PrintReport(r);
    PrintFigures(r);

    Progress("closing the sample application");
    for (auto& one : apps) one->End();
    Out("\nPanelry closed with WM_CLOSE: exit code %d%s. Whole run: %.1f s.\n", exitCode,
        exitCode == -1000 ? " (did not end in time; ended by force)" : "",
        (NowMs() - runStart) / 1000.0);
    return 0;
}

}  // namespace

// argv[index] as a count from low to high into *count; false, after saying
// so, when it is outside.
static bool ReadCount(int argc, char** argv, int index, const char* what, int low, int high,
                       int* count) {
    if (argc <= index) return true;
    const int value = std::atoi(argv[index]);
    if (value < low || value > high) {
        Out("panelry_bench: the %s count must be %d to %d\n", what, low, high);
        return false;
    }
    *count = value;
    return true;
}

int main(int argc, char** argv) {
    if (!ReadCount(argc, argv, 1, "window", 2, kMaxWindows, &g_windows) ||
        !ReadCount(argc, argv, 2, "application", 1, kMaxApps, &g_apps)) {
        return 2;
    }
    timeBeginPeriod(1);  // one-millisecond sleeps for the polls, where the system allows
    int code = 1;
    try {
        code = Run();
    } catch (const std::exception& e) {
        Out("panelry_bench: %s\n", e.what());
    }
    timeEndPeriod(1);
    return code;
}
