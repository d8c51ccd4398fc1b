// The sample application: a separate Win32 process whose top-level windows
// tests capture, release and watch. See sample_protocol.h for its commands.
#include "base/base_ids.h"
#include "base/command_kinds.h"
#include "base/messages.h"
#include "sample_protocol.h"
#include "tabs/tab_ids.h"

#include <windows.h>
#include <shellapi.h>

#include <aclapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr UINT kHangMessage = WM_APP + 1;
constexpr UINT_PTR kSplashTimer = 1;

std::string g_logPath;
std::set<HWND> g_refusing;
std::set<HWND> g_asking;
std::map<HWND, HWND> g_meddling;  // window -> the window it reports as new
std::map<HWND, HWND> g_offering;  // window -> the window it offers for capture
std::set<HWND> g_spawning;
std::map<HWND, bool> g_onDesktop;  // the windows it opened, and where they were last
std::set<HWND> g_placeWatched;  // log where they are whenever they show on the desktop
HWND OpenSpawned();
std::set<std::string> g_registered;
HWND g_control;
HWND g_splash;
std::vector<std::string> g_afterSplash;  // the "--open" windows, once the splash is gone

void Log(const char* format, ...) {
    if (g_logPath.empty()) return;
    FILE* file = std::fopen(g_logPath.c_str(), "a");
    if (!file) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputc('\n', file);
    std::fclose(file);
}

// Handles are logged as the full pointer-sized number, so that a test of
// either width reads back the handle it gave.
unsigned long long HandleValue(HWND window) {
    return static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window));
}

void LogPlace(HWND window) {
    if (!g_placeWatched.count(window) || !IsWindowVisible(window) ||
        GetAncestor(window, GA_PARENT) != GetDesktopWindow()) {
        return;
    }
    RECT r{};
    GetWindowRect(window, &r);
    Log("at %llu %ld %ld", HandleValue(window), r.left, r.top);
}

// "taken <window>" each time a window it opened leaves the desktop for
// another parent: a capture, which a test can count.
void LogTaken(HWND window) {
    const auto it = g_onDesktop.find(window);
    if (it == g_onDesktop.end()) return;
    const bool onDesktop = GetAncestor(window, GA_PARENT) == GetDesktopWindow();
    if (it->second && !onDesktop) Log("taken %llu", HandleValue(window));
    it->second = onDesktop;
}

// While Panelry waits for this thread: offers another window for capture,
// then hides it, as an application may do with a window at any moment.
void OfferOnMove(HWND window) {
    auto it = g_offering.find(window);
    if (it == g_offering.end()) return;
    const HWND other = it->second;
    g_offering.erase(it);
    const HWND panelry = FindWindowA(base_ids::kMainClassName, nullptr);
    if (!panelry) return;
    const LRESULT answer = SendMessageA(panelry, PM_ADDWINDOW, 0, reinterpret_cast<LPARAM>(other));
    ShowWindow(other, SW_HIDE);
    Log("offered %llu %ld", HandleValue(other), static_cast<long>(answer));
}

LRESULT CALLBACK SampleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            Log("close %llu", HandleValue(window));
            if (g_refusing.count(window)) return 0;
        }
        break;
    case WM_CLOSE:
        Log("close %llu", HandleValue(window));
        if (g_refusing.count(window)) return 0;
        if (g_asking.count(window)) {
            // As an editor asks about unsaved changes: the request is handled
            // only once the user has answered.
            Log("question %llu", HandleValue(window));
            MessageBoxA(nullptr, "Save the changes?", sample::kQuestionTitle, MB_OK);
            Log("answered %llu", HandleValue(window));
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DROPFILES: {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        Log("dropmsg %llu %u", HandleValue(window), count);
        for (UINT i = 0; i < count; ++i) {
            char path[MAX_PATH] = "";
            DragQueryFileA(drop, i, path, MAX_PATH);
            Log("drop %llu %s", HandleValue(window), path);
        }
        DragFinish(drop);
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        if (g_spawning.erase(window)) {
            Log("spawned %llu %llu", HandleValue(window), HandleValue(OpenSpawned()));
        }
        OfferOnMove(window);
        LogPlace(window);
        LogTaken(window);
        auto it = g_meddling.find(window);
        if (it == g_meddling.end()) break;
        const HWND other = it->second;
        g_meddling.erase(it);
        // Panelry waits for this thread right now: it hears these in the
        // middle of what it was doing.
        if (HWND panelry = FindWindowA(base_ids::kMainClassName, nullptr)) {
            SendMessageA(panelry, PM_NEWWINDOW, 0, reinterpret_cast<LPARAM>(other));
            SendMessageA(panelry, PM_EXECCOMMAND, kCloseAllTabs, 0);
        }
        Log("meddled %llu", HandleValue(window));
        break;
    }
    case WM_STYLECHANGED:
        // A style that says visible shows the window on the screen with no
        // move at all.
        LogPlace(window);
        break;
    case WM_DESTROY:
        Log("destroyed %llu", HandleValue(window));
        g_refusing.erase(window);
        g_asking.erase(window);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Shows window as ShowWindow does on Windows, which raises EVENT_OBJECT_SHOW
// when a window becomes visible; Wine 8 does not for other processes' hooks,
// but passes on the event an application raises itself.
void ShowAndTell(HWND window, int command, bool tell = true) {
    const bool wasVisible = IsWindowVisible(window) != FALSE;
    ShowWindow(window, command);
    if (tell && !wasVisible && IsWindowVisible(window)) {
        NotifyWinEvent(EVENT_OBJECT_SHOW, window, OBJID_WINDOW, CHILDID_SELF);
    }
}

bool EnsureClass(const std::string& name) {
    if (g_registered.count(name)) return true;
    // Unicode windows, as most applications' are: their titles keep every
    // character, whatever the code page.
    wchar_t wideName[256] = L"";
    MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wideName, 256);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = SampleProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = wideName;
    // Class names ignore case: another spelling of a registered name is that class.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    g_registered.insert(name);
    return true;
}

using Command = std::map<std::string, std::string>;

Command Parse(const char* text, size_t size) {
    Command command;
    std::string all(text, strnlen(text, size));
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos) end = all.size();
        const std::string line = all.substr(start, end - start);
        const size_t eq = line.find('=');
        if (eq != std::string::npos) command[line.substr(0, eq)] = line.substr(eq + 1);
        start = end + 1;
    }
    return command;
}

unsigned long Number(const Command& c, const char* key, unsigned long fallback) {
    auto it = c.find(key);
    return it == c.end() ? fallback : std::strtoul(it->second.c_str(), nullptr, 0);
}

HWND Window(const Command& c, const char* key) {
    auto it = c.find(key);
    if (it == c.end()) return nullptr;
    return reinterpret_cast<HWND>(
        static_cast<ULONG_PTR>(std::strtoull(it->second.c_str(), nullptr, 0)));
}

std::string Text(const Command& c, const char* key, const char* fallback) {
    auto it = c.find(key);
    return it == c.end() ? fallback : it->second;
}

LRESULT Open(const Command& c) {
    const std::string className = Text(c, "class", "PanelrySample");
    if (!EnsureClass(className)) return 0;
    const HWND parent = Window(c, "parent");
    const HWND owner = Window(c, "owner");
    HWND window = CreateWindowExA(
        static_cast<DWORD>(Number(c, "exstyle", 0)), className.c_str(),
        Text(c, "title", "sample").c_str(),
        static_cast<DWORD>(Number(c, "style", WS_OVERLAPPEDWINDOW)),
        static_cast<int>(Number(c, "x", 100)), static_cast<int>(Number(c, "y", 100)),
        static_cast<int>(Number(c, "w", 320)), static_cast<int>(Number(c, "h", 240)),
        parent ? parent : owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) return 0;
    g_onDesktop[window] = GetAncestor(window, GA_PARENT) == GetDesktopWindow();
    DragAcceptFiles(window, TRUE);
    const int show = static_cast<int>(Number(c, "show", SW_SHOWNORMAL));
    if (show != SW_HIDE) ShowAndTell(window, show, Number(c, "tell", 1) != 0);
    return reinterpret_cast<LRESULT>(window);
}

// "hex" of op=titlew: UTF-16 units, four hex digits each.
LRESULT SetWideTitle(HWND window, const std::string& hex) {
    std::wstring title;
    for (size_t i = 0; i + 4 <= hex.size(); i += 4) {
        title += static_cast<wchar_t>(std::strtoul(hex.substr(i, 4).c_str(), nullptr, 16));
    }
    return SetWindowTextW(window, title.c_str());
}

LRESULT SetIcon(HWND window, unsigned long which) {
    static const LPCSTR kIcons[] = {nullptr, IDI_WARNING, IDI_INFORMATION, IDI_ERROR};
    HICON icon = which > 0 && which < 4 ? LoadIconA(nullptr, kIcons[which]) : nullptr;
    // The big icon first: setting it may reset the small one.
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return SendMessageA(window, WM_GETICON, ICON_SMALL, 0) != 0;
}

HWND OpenSpawned() {
    Command c{{"op", "open"}, {"title", "spawned"}};
    return reinterpret_cast<HWND>(Open(c));
}

LRESULT Execute(const Command& c) {
    const std::string op = Text(c, "op", "");
    const HWND window = Window(c, "hwnd");
    if (op == "open") return Open(c);
    if (op == "title") return SetWindowTextA(window, Text(c, "text", "").c_str());
    if (op == "titlew") return SetWideTitle(window, Text(c, "hex", ""));
    if (op == "icon") return SetIcon(window, Number(c, "which", 0));
    if (op == "destroy") return DestroyWindow(window);
    if (op == "show") {
        ShowAndTell(window, static_cast<int>(Number(c, "cmd", SW_SHOWNORMAL)));
        return 1;
    }
    if (op == "refuse") {
        if (Number(c, "on", 1)) g_refusing.insert(window); else g_refusing.erase(window);
        return 1;
    }
    if (op == "spawn") {
        g_spawning.insert(window);
        return 1;
    }
    if (op == "watchplace") {
        g_placeWatched.insert(window);
        return 1;
    }
    if (op == "offer") {
        g_offering[window] = Window(c, "other");
        return 1;
    }
    if (op == "meddle") {
        g_meddling[window] = Window(c, "other");
        return 1;
    }
    if (op == "ask") {
        if (Number(c, "on", 1)) g_asking.insert(window); else g_asking.erase(window);
        return 1;
    }
    if (op == "placement") {
        // Asked here because Wine answers another process only with a rough one.
        WINDOWPLACEMENT p{};
        p.length = sizeof p;
        if (!GetWindowPlacement(window, &p)) return 0;
        Log("placement %llu %u %ld %ld %ld %ld", HandleValue(window), p.showCmd,
            p.rcNormalPosition.left, p.rcNormalPosition.top, p.rcNormalPosition.right,
            p.rcNormalPosition.bottom);
        return 1;
    }
    if (op == "hang") {
        // Answer this request first, then stop answering.
        PostMessageA(g_control, kHangMessage, Number(c, "ms", 0), 0);
        return 1;
    }
    if (op == "quit") {
        PostQuitMessage(0);
        return 1;
    }
    return 0;
}

// "--open CLASS:TITLE": a visible window of the class.
HWND OpenForm(const std::string& form) {
    const std::size_t colon = form.find(':');
    if (colon == std::string::npos) return nullptr;
    Command c{{"op", "open"}, {"class", form.substr(0, colon)}, {"title", form.substr(colon + 1)}};
    return reinterpret_cast<HWND>(Open(c));
}

// As a splash screen goes once the program is ready: here, as soon as
// another program has taken it, and the program's own windows follow.
void EndSplashWhenTaken() {
    if (GetAncestor(g_splash, GA_PARENT) == GetDesktopWindow()) return;
    KillTimer(g_control, kSplashTimer);
    DestroyWindow(g_splash);
    for (const std::string& form : g_afterSplash) OpenForm(form);
}

// "--guard": the process lets others only query it in the limited way,
// read its memory, wait for it and end it, as an elevated program answers
// a program that is not.
bool Guard() {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                  &everyone)) {
        return false;
    }
    EXPLICIT_ACCESSA access{};
    access.grfAccessPermissions =
        PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE | PROCESS_TERMINATE;
    access.grfAccessMode = SET_ACCESS;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPSTR>(everyone);
    PACL acl = nullptr;
    bool done = SetEntriesInAclA(1, &access, nullptr, &acl) == ERROR_SUCCESS &&
                SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT,
                                DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
    if (acl) LocalFree(acl);
    FreeSid(everyone);
    return done;
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData != sample::kCommandData || !data->lpData) return 0;
        return Execute(Parse(static_cast<const char*>(data->lpData), data->cbData));
    }
    if (message == WM_TIMER && wParam == kSplashTimer) {
        EndSplashWhenTaken();
        return 0;
    }
    if (message == kHangMessage) {
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// "--owned-splash": the launched window waits hidden behind a splash window it
// owns, as a program's main window does while it loads.
constexpr UINT kSplashMs = 700;
HWND g_behindSplash;

void CALLBACK EndOwnedSplash(HWND splash, UINT, UINT_PTR id, DWORD) {
    KillTimer(splash, id);
    DestroyWindow(splash);
    ShowAndTell(g_behindSplash, SW_SHOWNORMAL);
}

void ShowOwnedSplashBefore(HWND main) {
    g_behindSplash = main;
    Command c{{"op", "open"}, {"class", sample::kSplashClass}, {"title", "splash"},
              {"style", std::to_string(WS_POPUP | WS_BORDER)},
              {"owner", std::to_string(HandleValue(main))}, {"w", "200"}, {"h", "100"}};
    const HWND splash = reinterpret_cast<HWND>(Open(c));
    if (splash) SetTimer(splash, 1, kSplashMs, EndOwnedSplash);
}

bool Flag(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return true;
    }
    return false;
}

std::string Argument(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    }
    return "";
}

}  // namespace

// "--demo": opens two windows and hands them, and Wine's notepad if one is
// open, to a running Panelry, then splits its pane with one tab on the
// right, as any process may. The run script uses it on a
// virtual display, where nobody can do it by hand.
void HandToPanelry() {
    const HWND panelry = FindWindowA(base_ids::kMainClassName, nullptr);
    if (!panelry) return;
    const UINT addWindow = WM_USER + 3;
    for (const char* title : {"サンプル 1", "サンプル 2"}) {
        Command c{{"op", "open"}, {"title", title}, {"w", "480"}, {"h", "320"}};
        HWND window = reinterpret_cast<HWND>(Open(c));
        if (window) SendMessageA(panelry, addWindow, 0, reinterpret_cast<LPARAM>(window));
    }
    if (HWND notepad = FindWindowA("Notepad", nullptr)) {
        SendMessageA(panelry, addWindow, 0, reinterpret_cast<LPARAM>(notepad));
    }
    // Split the pane side by side (the menu command "左右に分割") and send
    // the selected tab across the bar, so both panes hold tabs.
    const WPARAM splitLeftRight = 19;
    SendMessageA(panelry, WM_COMMAND, splitLeftRight, 0);
    const UINT moveTab = WM_USER + 3;
    if (HWND rootPane = FindWindowExA(panelry, nullptr, tab_ids::kBaseClass, nullptr)) {
        SendMessageA(rootPane, moveTab, 0, 1);
    }
}

int main(int argc, char** argv) {
    g_logPath = Argument(argc, argv, "--log");
    const std::string token = Argument(argc, argv, "--token");

    // Started as a user starts a program (from a launcher, without the
    // tests' token): one ordinary window, the first it makes, as an
    // application's main window is.
    if (token.empty()) {
        const bool splash = Flag(argc, argv, "--owned-splash");
        Command c{{"op", "open"}, {"class", sample::kLaunchedClass}, {"title", "launched"}};
        if (splash) c["show"] = std::to_string(SW_HIDE);
        const HWND main = reinterpret_cast<HWND>(Open(c));
        if (splash && main) ShowOwnedSplashBefore(main);
    }

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = sample::kControlClass;
    if (!RegisterClassExA(&wc)) return 2;
    // A hidden top-level window (not message-only) so FindWindow finds it.
    g_control = CreateWindowExA(WS_EX_TOOLWINDOW, sample::kControlClass, token.c_str(),
                                WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!g_control) return 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--guard") == 0 && !Guard()) return 4;
    }
    // "--splash CLASS:TITLE": a window of its own first, closed once taken.
    const std::string splash = Argument(argc, argv, "--splash");
    if (!splash.empty()) {
        g_splash = OpenForm(splash);
        if (!g_splash || !SetTimer(g_control, kSplashTimer, 50, nullptr)) return 5;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0) HandToPanelry();
        // "--open CLASS:TITLE": a visible window at start, as an application
        // opens its windows again when it is started with the same command.
        if (std::strcmp(argv[i], "--open") == 0 && i + 1 < argc) {
            if (g_splash) g_afterSplash.push_back(argv[++i]);
            else OpenForm(argv[++i]);
        }
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
