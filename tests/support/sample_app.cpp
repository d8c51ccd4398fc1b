#include "tests/support/sample_app.h"

#include "tests/sampleapp/sample_protocol.h"
#include "tests/support/process_start.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <stdexcept>

namespace testing_support {
namespace {

std::string Folder(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return Folder(path);
}

}  // namespace

std::string SampleAppPath(int bits) {
    if (bits == kOwnBits) return OwnFolder() + "sampleapp.exe";
    return OwnFolder() + "sampleapp" + std::to_string(bits) + ".exe";
}

std::string SampleAppUnavailable(int bits) {
    if (bits == kOwnBits) return "";
    const std::string path = SampleAppPath(bits);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return path + " was not built: the " + std::to_string(bits) +
               "-bit compiler is not installed";
    }
    // Started suspended and ended at once: whether the system takes it at all.
    static std::string why = [&] {
        const StartedProcess probe = StartProcess("\"" + path + "\"", CREATE_SUSPENDED);
        if (!probe) {
            return "this system runs no " + std::to_string(bits) + "-bit program (error " +
                   std::to_string(probe.error) + ")";
        }
        TerminateProcess(probe.process.get(), 0);
        WaitForSingleObject(probe.process.get(), 5000);
        return std::string();
    }();
    return why;
}

std::string HandleText(HWND window) {
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
}

HWND OpenHidden(SampleApp& app, const std::string& title) {
    WindowSpec form;
    form.title = title;
    form.show = SW_HIDE;
    const HWND window = app.Open(form);
    EXPECT_NE(window, nullptr) << title;
    return window;
}

int SampleAppsWithToken(const std::string& token) {
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, sample::kControlClass, token.c_str()); w;
         w = FindWindowExA(nullptr, w, sample::kControlClass, token.c_str())) {
        ++count;
    }
    return count;
}

void EndSampleApps(const std::string& token) {
    while (const HWND control = FindWindowA(sample::kControlClass, token.c_str())) {
        DWORD id = 0;
        GetWindowThreadProcessId(control, &id);
        const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process) return;
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

SampleApp::SampleApp(bool logging, const std::string& arguments, int bits) {
    static unsigned counter;
    char token[64];
    std::snprintf(token, sizeof token, "panelry-sample-%lu-%u", GetCurrentProcessId(), ++counter);
    token_ = token;

    std::string commandLine = "\"" + SampleAppPath(bits) + "\" --token " + token_;
    if (logging) {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        logPath_ = std::string(temp) + token_ + ".log";
        DeleteFileA(logPath_.c_str());
        commandLine += " --log \"" + logPath_ + "\"";
    }
    if (!arguments.empty()) commandLine += " " + arguments;
    commandLine_ = commandLine;

    StartedProcess started = StartProcess(commandLine);
    if (!started) {
        throw std::runtime_error("cannot start " + SampleAppPath(bits) + " (error " +
                                 std::to_string(started.error) + ")");
    }
    process_ = std::move(started.process);
    processId_ = started.processId;

    WaitUntil([&] {
        control_ = FindWindowA(sample::kControlClass, token_.c_str());
        return control_ != nullptr;
    }, 15000);
    if (!control_) {
        End();
        throw std::runtime_error("sampleapp.exe did not come up");
    }
}

bool SampleApp::Reattach(DWORD timeoutMs) {
    control_ = nullptr;
    WaitUntil([&] {
        control_ = FindWindowA(sample::kControlClass, token_.c_str());
        return control_ != nullptr;
    }, timeoutMs);
    if (!control_) return false;
    DWORD processId = 0;
    GetWindowThreadProcessId(control_, &processId);
    process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION,
                               FALSE, processId));
    processId_ = processId;
    return static_cast<bool>(process_);
}

HWND SampleApp::Find(const std::string& className, const std::string& title) const {
    for (HWND window = FindWindowExA(nullptr, nullptr, className.c_str(), title.c_str()); window;
         window = FindWindowExA(nullptr, window, className.c_str(), title.c_str())) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        // Found as soon as it exists; a test wants it once it has been shown.
        if (processId == processId_ && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

SampleApp::~SampleApp() {
    End();
    if (!logPath_.empty()) DeleteFileA(logPath_.c_str());
}

LRESULT SampleApp::Send(const std::string& command, DWORD timeoutMs) const {
    COPYDATASTRUCT data{};
    data.dwData = sample::kCommandData;
    data.cbData = static_cast<DWORD>(command.size() + 1);
    data.lpData = const_cast<char*>(command.c_str());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_NORMAL, timeoutMs, &result)) {
        return 0;
    }
    return static_cast<LRESULT>(result);
}

HWND SampleApp::Open(const WindowSpec& form) {
    std::ostringstream c;
    c << "op=open\nclass=" << form.className << "\ntitle=" << form.title
      << "\nstyle=" << form.style << "\nexstyle=" << form.exStyle
      << "\nowner=" << HandleText(form.owner) << "\nparent=" << HandleText(form.parent)
      << "\nx=" << form.x << "\ny=" << form.y << "\nw=" << form.width
      << "\nh=" << form.height << "\nshow=" << form.show
      << "\ntell=" << (form.reportShow ? 1 : 0);
    return reinterpret_cast<HWND>(Send(c.str()));
}

bool SampleApp::SetTitle(HWND window, const std::string& text) {
    return Send("op=title\nhwnd=" + HandleText(window) + "\ntext=" + text) != 0;
}

bool SampleApp::SetTitleW(HWND window, const std::wstring& text) {
    std::string hex;
    char unit[8];
    for (wchar_t c : text) {
        std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(c));
        hex += unit;
    }
    return Send("op=titlew\nhwnd=" + HandleText(window) + "\nhex=" + hex) != 0;
}

bool SampleApp::SetIcon(HWND window, int which) {
    return Send("op=icon\nhwnd=" + HandleText(window) + "\nwhich=" + std::to_string(which)) != 0;
}

bool SampleApp::Destroy(HWND window) {
    return Send("op=destroy\nhwnd=" + HandleText(window)) != 0;
}

bool SampleApp::Show(HWND window, int command) {
    return Send("op=show\nhwnd=" + HandleText(window) + "\ncmd=" + std::to_string(command)) != 0;
}

bool SampleApp::RefuseClose(HWND window, bool refuse) {
    return Send("op=refuse\nhwnd=" + HandleText(window) + "\non=" + (refuse ? "1" : "0")) != 0;
}

bool SampleApp::MeddleWithPanelry(HWND window, HWND other) {
    return Send("op=meddle\nhwnd=" + HandleText(window) + "\nother=" + HandleText(other)) == 1;
}

bool SampleApp::WatchPlace(HWND window) {
    return Send("op=watchplace\nhwnd=" + HandleText(window)) == 1;
}

bool SampleApp::OfferOnNextMove(HWND window, HWND other) {
    return Send("op=offer\nhwnd=" + HandleText(window) + "\nother=" + HandleText(other)) == 1;
}

bool SampleApp::SpawnOnNextMove(HWND window) {
    return Send("op=spawn\nhwnd=" + HandleText(window)) == 1;
}

HWND SampleApp::SpawnedBy(HWND window) const {
    const std::string prefix = "spawned " + HandleText(window) + " ";
    for (const std::string& line : Log()) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            return reinterpret_cast<HWND>(
                static_cast<ULONG_PTR>(std::strtoull(line.c_str() + prefix.size(), nullptr, 10)));
        }
    }
    return nullptr;
}

bool SampleApp::AskOnClose(HWND window) {
    return Send("op=ask\nhwnd=" + HandleText(window) + "\non=1") == 1;
}

namespace {

struct QuestionSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectQuestion(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<QuestionSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner == search->processId && IsWindowVisible(window) &&
        std::strcmp(title, sample::kQuestionTitle) == 0) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> SampleApp::Questions() const {
    QuestionSearch search{processId_, {}};
    EnumWindows(&CollectQuestion, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SampleApp::Answer(HWND question) { PostMessageA(question, WM_COMMAND, IDOK, 0); }

bool SampleApp::Placement(HWND window, UINT* showCmd, RECT* normal) {
    if (!Send("op=placement\nhwnd=" + HandleText(window))) return false;
    const std::string prefix = "placement " + HandleText(window) + " ";
    const auto log = Log();
    for (auto line = log.rbegin(); line != log.rend(); ++line) {
        if (line->compare(0, prefix.size(), prefix) != 0) continue;
        long l = 0, t = 0, r = 0, b = 0;
        unsigned show = 0;
        if (std::sscanf(line->c_str() + prefix.size(), "%u %ld %ld %ld %ld", &show, &l, &t, &r,
                        &b) != 5) {
            return false;
        }
        *showCmd = show;
        *normal = {l, t, r, b};
        return true;
    }
    return false;
}

bool SampleApp::Hang(DWORD ms) { return Send("op=hang\nms=" + std::to_string(ms)) != 0; }

std::vector<std::string> SampleApp::Log() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadFileText(logPath_));
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool SampleApp::Logged(const std::string& line) const {
    for (const auto& entry : Log()) {
        if (entry == line) return true;
    }
    return false;
}

bool SampleApp::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void SampleApp::End() {
    if (!Running()) return;
    Send("op=quit", 1000);
    if (WaitForSingleObject(process_.get(), 3000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

}  // namespace testing_support
