// Windows reported as new that a pane captures once they are visible (timer
// 1 of the pane's tab control takes them). A window that stays invisible for
// longer than kGiveUpMs is forgotten.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

class CaptureQueue {
public:
    static constexpr DWORD kGiveUpMs = 10000;

    // Queues window, reported at now (timeGetTime milliseconds); false when
    // it is queued already.
    bool Add(HWND window, DWORD now);
    // The queued windows that are visible now, in the order they came; they
    // leave the queue, and so does every window reported more than kGiveUpMs
    // before now.
    std::vector<HWND> TakeVisible(DWORD now);
    void Clear() { waiting_.clear(); }
    bool Empty() const { return waiting_.empty(); }
    std::size_t Size() const { return waiting_.size(); }

private:
    struct Waiting {
        HWND window;
        DWORD queuedAt;
    };
    std::vector<Waiting> waiting_;
};
