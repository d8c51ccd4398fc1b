// The queue of windows waiting to become visible.
#include "tabs/capture_queue.h"

bool CaptureQueue::Add(HWND window, DWORD now, bool launched) {
    for (const Waiting& entry : waiting_) {
        if (entry.queued.window == window) return false;
    }
    waiting_.push_back({{window, launched}, now});
    return true;
}

std::vector<CaptureQueue::Queued> CaptureQueue::TakeVisible(DWORD now) {
    std::vector<Queued> visible;
    std::vector<Waiting> still;
    for (const Waiting& entry : waiting_) {
        if (IsWindowVisible(entry.queued.window)) {
            visible.push_back(entry.queued);
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
