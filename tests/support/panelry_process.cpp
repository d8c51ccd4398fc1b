#include "tests/support/panelry_process.h"

#include "base/base_ids.h"
#include "tests/support/process_start.h"
#include "tests/support/wait.h"

#include <stdexcept>

namespace testing_support {
namespace {

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1);
}

struct FindMain {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMain(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<FindMain*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && lstrcmpiA(className, base_ids::kMainClassName) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND MainWindowOf(DWORD processId) {
    FindMain search{processId, nullptr};
    EnumWindows(&MatchMain, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int WaitForExit(HANDLE process, DWORD timeoutMs) {
    bool ended = WaitUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; },
                           timeoutMs);
    if (!ended) return -1000;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

PanelryProcess::PanelryProcess() {
    for (const char* file : {"panelry.exe", "inputtap.dll"}) {
        if (!CopyFileA((OwnFolder() + file).c_str(), dir_.File(file).c_str(), FALSE)) {
            throw std::runtime_error(std::string("cannot copy ") + file);
        }
    }
}

PanelryProcess::~PanelryProcess() { Kill(); }

PanelryProcess::Launched PanelryProcess::Launch(DWORD flags) const {
    StartedProcess started =
        StartProcess("\"" + dir_.File("panelry.exe") + "\"", flags, dir_.Path().c_str());
    if (!started) {
        throw std::runtime_error("cannot start panelry.exe (error " +
                                 std::to_string(started.error) + ")");
    }
    Launched launched;
    launched.process = std::move(started.process);
    launched.thread = std::move(started.thread);
    launched.processId = started.processId;
    return launched;
}

HWND PanelryProcess::Start() {
    // Under Wine on a loaded machine a new process now and then ends before
    // its first line runs; such a start is made again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        Launched launched = Launch(0);
        process_ = std::move(launched.process);
        processId_ = launched.processId;
        WaitUntil([&] {
            main_ = MainWindowOf(processId_);
            return (main_ != nullptr && IsWindowVisible(main_)) || !Running();
        }, 60000);
        if (main_ || Running()) break;
    }
    return main_;
}

PanelryProcess::Launched PanelryProcess::StartAnother(bool suspended) const {
    return Launch(suspended ? CREATE_SUSPENDED : 0);
}

bool PanelryProcess::Running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

int PanelryProcess::Close(DWORD timeoutMs) {
    if (!process_) return -1000;
    PostMessageA(main_, WM_CLOSE, 0, 0);
    const int code = WaitForExit(process_.get(), timeoutMs);
    if (code == -1000) Kill();
    return code;
}

void PanelryProcess::Kill() {
    if (!Running()) return;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
}

}  // namespace testing_support
