// One thread-pool wait per process whose windows are captured.
#include "tabs/process_watch.h"

#include "base/handles.h"

#include <map>

namespace process_watch {
namespace {

volatile LONG g_ended = 0;

void CALLBACK OnProcessEnded(void*, BOOLEAN) { InterlockedIncrement(&g_ended); }

class ProcessWait {
public:
    explicit ProcessWait(UniqueHandle process) : process_(std::move(process)) {
        if (!RegisterWaitForSingleObject(&wait_, process_.get(), OnProcessEnded, nullptr,
                                         INFINITE, WT_EXECUTEONLYONCE | WT_EXECUTEINWAITTHREAD)) {
            wait_ = nullptr;
        }
    }
    ~ProcessWait() {
        // Waits for a callback under way: it only counts.
        if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    }
    ProcessWait(const ProcessWait&) = delete;
    ProcessWait& operator=(const ProcessWait&) = delete;

    bool Waiting() const { return wait_ != nullptr; }
    bool Ended() const { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }

private:
    UniqueHandle process_;
    HANDLE wait_ = nullptr;
};

// Only the thread that captures touches the table.
std::map<DWORD, std::weak_ptr<ProcessWait>>& Table() {
    static std::map<DWORD, std::weak_ptr<ProcessWait>> table;
    return table;
}

}  // namespace

std::shared_ptr<void> Watch(HWND window) {
    DWORD id = 0;
    if (!GetWindowThreadProcessId(window, &id) || id == 0) return nullptr;
    auto& table = Table();
    for (auto it = table.begin(); it != table.end();) {
        it = it->second.expired() ? table.erase(it) : std::next(it);
    }
    // A process that ended may have left its id to a new one.
    if (auto shared = table[id].lock(); shared && !shared->Ended()) return shared;
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process) return nullptr;
    auto wait = std::make_shared<ProcessWait>(std::move(process));
    if (!wait->Waiting()) return nullptr;
    table[id] = wait;
    return wait;
}

unsigned long Ended() { return static_cast<unsigned long>(g_ended); }

}  // namespace process_watch
