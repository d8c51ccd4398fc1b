// The worker that asks windows to close, one at a time.
#include "tabs/close_requests.h"

#include <thread>

CloseRequests& CloseRequests::Instance() {
    static CloseRequests* const requests = new CloseRequests;
    return *requests;
}

void CloseRequests::Ask(HWND window) {
    if (!window) return;
    std::lock_guard<std::mutex> guard(lock_);
    waiting_.push_back(window);
    if (!working_) {
        working_ = true;
        std::thread([this] { Work(); }).detach();
    }
    wake_.notify_one();
}

bool CloseRequests::Idle() const {
    std::lock_guard<std::mutex> guard(lock_);
    return waiting_.empty() && !asking_;
}

void CloseRequests::Work() {
    for (;;) {
        HWND window = nullptr;
        {
            std::unique_lock<std::mutex> guard(lock_);
            asking_ = false;
            wake_.wait(guard, [this] { return !waiting_.empty(); });
            window = waiting_.front();
            waiting_.pop_front();
            asking_ = true;
        }
        // Returns once the application's window procedure has handled the
        // request, at once for an application that is hung.
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                            kAnswerTimeoutMs, &result);
    }
}
