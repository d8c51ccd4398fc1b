#include "tests/support/launched_programs.h"

#include "base/handles.h"

#include <tlhelp32.h>

#include <vector>

namespace testing_support {

void EndLaunchedPrograms(DWORD keep) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return;
    std::vector<DWORD> children;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId() && entry.th32ProcessID != keep) {
            children.push_back(entry.th32ProcessID);
        }
    }
    for (DWORD child : children) {
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, child));
        if (!process) continue;
        TerminateProcess(process.get(), 0);
        WaitForSingleObject(process.get(), 5000);
    }
}

}  // namespace testing_support
