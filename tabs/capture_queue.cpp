// The queue of windows waiting to become visible.
#include "tabs/capture_queue.h"

bool CaptureQueue::Add(HWND window, DWORD now) {
    for (const Waiting& entry : waiting_) {
        if (entry.window == window) return false;
    }
    waiting_.push_back({window, now});
    return true;
}

std::vector<HWND> CaptureQueue::TakeVisible(DWORD now) {
    std::vector<HWND> visible;
    std::vector<Waiting> still;
    for (const Waiting& entry : waiting_) {
        if (IsWindowVisible(entry.window)) {
            visible.push_back(entry.window);
        } else if (now - entry.queuedAt <= kGiveUpMs) {
            // The time waited, as an unsigned difference, stays right across
            // the clock's wrap-around every 49.7 days, where "now > queuedAt
            // + kGiveUpMs" would give up at once on a window reported just
            // before it.
            still.push_back(entry);
        }
    }
    waiting_ = std::move(still);
    return visible;
}
