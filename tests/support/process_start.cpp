#include "tests/support/process_start.h"

namespace testing_support {

StartedProcess StartProcess(std::string commandLine, DWORD flags, const char* folder) {
    constexpr int kTries = 4;
    StartedProcess started;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                           folder, &startup, &info)) {
            started.process.reset(info.hProcess);
            started.thread.reset(info.hThread);
            started.processId = info.dwProcessId;
            started.error = 0;
            started.started = true;
            return started;
        }
        started.error = GetLastError();
        if (started.error != ERROR_INTERNAL_ERROR) break;
    }
    return started;
}

}  // namespace testing_support
