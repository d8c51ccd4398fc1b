// The bounded search of the tool folder (see tool_search.h).
#include "plugins/host/tool_search.h"

#include "base/handles.h"
#include "plugins/host/host_ids.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

// What the walking thread and the waiting one share. The walker holds it
// too: when the time is up the waiting thread goes on without it, and it
// ends by itself at its next look at stop.
struct Walk {
    std::string root;
    DWORD start = 0;
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::vector<std::string> found;

    bool Over() {
        if (GetTickCount() - start >= kToolSearchMs) stop = true;
        return stop;
    }
    void Add(std::string path) {
        std::lock_guard<std::mutex> held(lock);
        found.push_back(std::move(path));
    }
    std::vector<std::string> Found() {
        std::lock_guard<std::mutex> held(lock);
        return found;
    }
};

class Search {
public:
    explicit Search(const std::string& pattern)
        : handle_(FindFirstFileA(pattern.c_str(), &entry_)) {}

    // The current entry, then each next one; null after the last.
    const WIN32_FIND_DATAA* Next() {
        if (!handle_) return nullptr;
        if (started_ && !FindNextFileA(handle_.get(), &entry_)) return nullptr;
        started_ = true;
        return &entry_;
    }

private:
    WIN32_FIND_DATAA entry_{};
    UniqueFind handle_;
    bool started_ = false;
};

void WalkFolder(const std::string& folder, int depth, Walk& walk) {
    {
        Search files(folder + "\\*" + host_ids::kToolExtension);
        while (const WIN32_FIND_DATAA* entry = files.Next()) {
            if (walk.Over()) return;
            if (entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            walk.Add(folder + "\\" + entry->cFileName);
        }
    }
    if (depth >= kToolSearchDepth) return;
    Search all(folder + "\\*");
    while (const WIN32_FIND_DATAA* entry = all.Next()) {
        if (walk.Over()) return;
        const DWORD attributes = entry->dwFileAttributes;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            continue;
        }
        if (!std::strcmp(entry->cFileName, ".") || !std::strcmp(entry->cFileName, "..")) continue;
        WalkFolder(folder + "\\" + entry->cFileName, depth + 1, walk);
    }
}

DWORD WINAPI WalkThread(void* param) {
    const std::unique_ptr<std::shared_ptr<Walk>> walk(static_cast<std::shared_ptr<Walk>*>(param));
    WalkFolder((*walk)->root, 0, **walk);
    return 0;
}

// Handles the messages other threads send to this one, and only those: no
// input, no posted message, nothing that could close the page meanwhile.
void AnswerSentMessages() {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// Runs the walk on a thread of its own and waits for it, answering; when
// no thread can be had, walks here.
std::vector<std::string> WalkAnswering(const std::string& root) {
    auto walk = std::make_shared<Walk>();
    walk->root = root;
    walk->start = GetTickCount();
    auto* shared = new std::shared_ptr<Walk>(walk);
    UniqueHandle thread(CreateThread(nullptr, 0, &WalkThread, shared, 0, nullptr));
    if (!thread) {
        delete shared;
        WalkFolder(root, 0, *walk);
        return walk->Found();
    }
    for (;;) {
        const DWORD spent = GetTickCount() - walk->start;
        if (spent >= kToolSearchMs) break;
        HANDLE handle = thread.get();
        if (MsgWaitForMultipleObjects(1, &handle, FALSE, kToolSearchMs - spent, QS_SENDMESSAGE) !=
            WAIT_OBJECT_0 + 1) {
            break;  // ended, or out of time
        }
        AnswerSentMessages();
    }
    walk->stop = true;
    return walk->Found();
}

}  // namespace

int EnumerateToolFiles(const char* folder, HWND page, UINT message) {
    const std::vector<std::string> found = WalkAnswering(folder);
    for (const std::string& path : found) {
        // Each file is loaded to be listed; its DllMain takes what it takes.
        AnswerSentMessages();
        SendMessageA(page, message, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    return static_cast<int>(found.size());
}
