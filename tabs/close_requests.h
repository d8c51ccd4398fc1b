// Close requests to other applications' windows, one after the other. The
// next window is asked only once the application of the previous one has
// handled its request, which it does after its user answered its question
// (save changes?), so at most one such question is on the screen at a time.
// A worker thread waits for the applications; the user-interface thread
// never does, and a hung application does not hold the others up.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <mutex>

class CloseRequests {
public:
    // How long one application may take over its request before the next
    // window is asked anyway.
    static constexpr UINT kAnswerTimeoutMs = 10 * 60 * 1000;

    // One for the process, so that requests of every pane take turns. It
    // lives as long as the process: its worker may be waiting for an
    // application when the process ends.
    static CloseRequests& Instance();

    // Queues WM_SYSCOMMAND with SC_CLOSE for window.
    void Ask(HWND window);
    // True when every queued request has been handled.
    bool Idle() const;

private:
    CloseRequests() = default;
    void Work();

    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::deque<HWND> waiting_;
    bool asking_ = false;
    bool working_ = false;
};
