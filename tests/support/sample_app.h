// Starts and drives the sample application, a separate process whose windows
// stand in for another application's.
#pragma once

#include "base/handles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

struct WindowSpec {
    std::string className = "PanelrySample";
    std::string title = "sample";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    HWND parent = nullptr;
    int x = 100, y = 100, width = 320, height = 240;
    int show = SW_SHOWNORMAL;
    // Whether the show raises EVENT_OBJECT_SHOW, as Windows does; false shows
    // it as Wine 8 does for every application, unreported.
    bool reportShow = true;
};

// The widths a sample application comes in: this test program's own, and
// the other one.
inline constexpr int kOwnBits = static_cast<int>(sizeof(void*) * 8);
inline constexpr int kOtherBits = kOwnBits == 64 ? 32 : 64;

// The sample application's file of width bits, beside this test program:
// sampleapp.exe of this program's width, sampleapp32.exe or sampleapp64.exe
// of the other. Started without the tests' token (as a launcher starts it)
// it shows one window of class sample::kLaunchedClass.
std::string SampleAppPath(int bits = kOwnBits);

// Why the sample application of width bits cannot run here: it was not
// built, or the system refuses programs of that width. Empty when it can;
// always empty for this program's own width, whose failures are failures.
std::string SampleAppUnavailable(int bits);

// The cases of a test over both widths, named "32bit" and "64bit".
inline const auto kBothWidths = ::testing::Values(32, 64);
inline std::string WidthName(const ::testing::TestParamInfo<int>& width) {
    return std::to_string(width.param) + "bit";
}

class SampleApp {
public:
    // Starts the process (of width bits) and waits until it takes commands.
    // With logging on, the events it receives can be read with Log().
    explicit SampleApp(bool logging = true, const std::string& arguments = "",
                       int bits = kOwnBits);
    ~SampleApp();
    SampleApp(const SampleApp&) = delete;
    SampleApp& operator=(const SampleApp&) = delete;

    HWND Open(const WindowSpec& form);
    bool SetTitle(HWND window, const std::string& text);
    // Sets the title through SetWindowTextW, so that it may hold characters
    // the code page cannot (Hangul, accented Latin, emoji).
    bool SetTitleW(HWND window, const std::wstring& text);
    // which: 0 none, 1..3 distinct stock icons. True when the window now has one.
    bool SetIcon(HWND window, int which);
    bool Destroy(HWND window);
    bool Show(HWND window, int command);
    bool RefuseClose(HWND window, bool refuse = true);
    // The window asks a modal question when it is closed, and closes once
    // the question is answered.
    bool AskOnClose(HWND window);
    // On window's next WM_WINDOWPOSCHANGED the application sends Panelry
    // PM_NEWWINDOW for other and the command "close all tabs".
    bool MeddleWithPanelry(HWND window, HWND other);
    // From now on each WM_WINDOWPOSCHANGED that finds window shown on the
    // desktop (moved, or its style changed) logs "at <window> <left> <top>".
    bool WatchPlace(HWND window);
    // On window's next WM_WINDOWPOSCHANGED the application sends Panelry
    // PM_ADDWINDOW for other, logs "offered <other> <answer>" and hides other.
    bool OfferOnNextMove(HWND window, HWND other);
    // On window's next WM_WINDOWPOSCHANGED the application opens a new
    // window; SpawnedBy tells which (null until then).
    bool SpawnOnNextMove(HWND window);
    HWND SpawnedBy(HWND window) const;
    // The application's questions on the screen now; answering one lets its
    // window close.
    std::vector<HWND> Questions() const;
    static void Answer(HWND question);
    // The window's placement as its own process sees it (Wine tells other
    // processes only the current rectangle). False if it could not be read.
    bool Placement(HWND window, UINT* showCmd, RECT* normal);
    // Stops answering messages for ms milliseconds (returns at once).
    bool Hang(DWORD ms);

    // Lines of the event log ("close <hwnd>", "drop <hwnd> <path>", ...;
    // "taken <hwnd>" each time a window it opened left the desktop for
    // another parent).
    std::vector<std::string> Log() const;
    bool Logged(const std::string& line) const;

    // The title of its control window, given on its command line.
    const std::string& Token() const { return token_; }
    // The command line the application was started with.
    const std::string& CommandLine() const { return commandLine_; }
    // Takes over a process that another program started with the same
    // command line (and so the same token), after this one ended; false when
    // none comes within timeoutMs.
    bool Reattach(DWORD timeoutMs);
    // A visible window of the application of class and title; null if none.
    HWND Find(const std::string& className, const std::string& title) const;

    // Asks the application to quit, waits for it, and ends it by force if it
    // does not go. Safe to call twice.
    void End();
    bool Running() const;
    DWORD ProcessId() const { return processId_; }
    HANDLE Process() const { return process_.get(); }

private:
    LRESULT Send(const std::string& command, DWORD timeoutMs = 5000) const;

    std::string token_;
    std::string logPath_;
    std::string commandLine_;
    HWND control_ = nullptr;
    UniqueHandle process_;
    DWORD processId_ = 0;
};

// The sample applications whose control window is titled token: started
// with "--token token", by this test or by another program (Panelry
// restoring its windows), and how many run.
int SampleAppsWithToken(const std::string& token);
// Ends them; one another program started is not this test's child, and
// nothing else would end it.
void EndSampleApps(const std::string& token);

// "<value>" of a window handle as the sample application logs it.
std::string HandleText(HWND window);

// A window of app titled title that exists but is not shown yet.
HWND OpenHidden(SampleApp& app, const std::string& title);

}  // namespace testing_support
