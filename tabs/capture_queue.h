// Windows reported as new that a pane captures once they are visible (timer
// 1 of the pane's tab control takes them). A window that stays invisible for
// longer than kGiveUpMs is forgotten. A window reported while a launch
// waited for its program's window is marked: a program may make hidden
// helper windows before its main one, so the launch's window is the first
// marked one that shows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

class CaptureQueue {
public:
    static constexpr DWORD kGiveUpMs = 10000;

    struct Queued {
        HWND window;
        bool launched;  // reported while a launch waited
    };

    // Queues window, reported at now (timeGetTime milliseconds); false when
    // it is queued already.
    bool Add(HWND window, DWORD now, bool launched = false);
    // The queued windows that are visible now, in the order they came; they
    // leave the queue, and so does every window reported more than kGiveUpMs
    // before now.
    std::vector<Queued> TakeVisible(DWORD now);
    void Clear() { waiting_.clear(); }
    bool Empty() const { return waiting_.empty(); }
    std::size_t Size() const { return waiting_.size(); }

private:
    struct Waiting {
        Queued queued;
        DWORD queuedAt;
    };
    std::vector<Waiting> waiting_;
};
