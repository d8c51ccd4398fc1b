// The queue of windows waiting to become visible.
#include "tabs/capture_queue.h"

#include <algorithm>

namespace {

// The time waited, as an unsigned difference, stays right across the clock's
// wrap-around every 49.7 days, where "now > queuedAt + kGiveUpMs" would give
// up at once on a window reported just before it.
DWORD Waited(DWORD queuedAt, DWORD now) { return now - queuedAt; }

}  // namespace

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
        } else if (Waited(entry.queuedAt, now) <= kGiveUpMs) {
            still.push_back(entry);
        }
    }
    waiting_ = std::move(still);
    return visible;
}

std::vector<CaptureQueue::Queued> CaptureQueue::TakeVisibleYoung(DWORD now) {
    // Asked every few milliseconds: no allocation while nothing shows.
    std::vector<Queued> visible;
    for (auto entry = waiting_.begin(); entry != waiting_.end();) {
        if (Waited(entry->queuedAt, now) < kYoungMs && IsWindowVisible(entry->queued.window)) {
            visible.push_back(entry->queued);
            entry = waiting_.erase(entry);
        } else {
            ++entry;
        }
    }
    return visible;
}

bool CaptureQueue::HasYoung(DWORD now) const {
    return std::any_of(waiting_.begin(), waiting_.end(), [now](const Waiting& entry) {
        return Waited(entry.queuedAt, now) < kYoungMs;
    });
}

std::optional<CaptureQueue::Queued> CaptureQueue::TakeIfVisible(HWND window) {
    const auto entry = std::find_if(waiting_.begin(), waiting_.end(), [window](const Waiting& w) {
        return w.queued.window == window;
    });
    if (entry == waiting_.end() || !IsWindowVisible(window)) return std::nullopt;
    const Queued queued = entry->queued;
    waiting_.erase(entry);
    return queued;
}
