// One thread-pool wait per process whose windows were captured, for as long
// as the process lives.
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

// A wait is kept for as long as its process lives, not only while it has
// windows captured: an application whose last tab was given back is often
// captured again, and a wait ended and begun again has the thread pool end
// its wait thread and start another (a megabyte of memory that comes and
// goes). Only the thread that captures touches the table; it is never
// destroyed, so no wait is ended while the program exits.
struct WatchTable {
    std::map<DWORD, std::shared_ptr<ProcessWait>> waits;
    unsigned long endedSeen = 0;  // the ended count when ended waits were last dropped
};

WatchTable& Table() {
    static WatchTable* table = new WatchTable;
    return *table;
}

}  // namespace

std::shared_ptr<void> Watch(HWND window) {
    DWORD id = 0;
    if (!GetWindowThreadProcessId(window, &id) || id == 0) return nullptr;
    WatchTable& table = Table();
    if (const unsigned long ended = Ended(); ended != table.endedSeen) {
        table.endedSeen = ended;
        for (auto it = table.waits.begin(); it != table.waits.end();) {
            it = it->second->Ended() ? table.waits.erase(it) : std::next(it);
        }
    }
    // A process that ended may have left its id to a new one.
    if (auto found = table.waits.find(id); found != table.waits.end()) {
        if (!found->second->Ended()) return found->second;
        table.waits.erase(found);
    }
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process) return nullptr;
    auto wait = std::make_shared<ProcessWait>(std::move(process));
    if (!wait->Waiting()) return nullptr;
    table.waits[id] = wait;
    return wait;
}

unsigned long Ended() { return static_cast<unsigned long>(g_ended); }

}  // namespace process_watch
