// Messages of the test thread that never arrive: a thread WH_GETMESSAGE hook
// turns the chosen ones into WM_NULL as they are taken from the queue, so a
// test can show that one way of the program works without the other that
// backs it up. One at a time per test thread.
#pragma once

#include "base/handles.h"

#include <windows.h>

#include <cstddef>
#include <optional>

namespace testing_support {

class DroppedMessages {
public:
    // message to window; with wParam, only those that carry it.
    DroppedMessages(HWND window, UINT message, std::optional<WPARAM> wParam = std::nullopt)
        : window_(window), message_(message), wParam_(wParam) {
        current_ = this;
        hook_.reset(SetWindowsHookExA(WH_GETMESSAGE, Proc, nullptr, GetCurrentThreadId()));
    }
    ~DroppedMessages() {
        hook_.reset();
        current_ = nullptr;
    }
    DroppedMessages(const DroppedMessages&) = delete;
    DroppedMessages& operator=(const DroppedMessages&) = delete;

    // How many were dropped so far.
    std::size_t Count() const { return count_; }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM removal, LPARAM lParam) {
        auto& msg = *reinterpret_cast<MSG*>(lParam);
        DroppedMessages* self = current_;
        if (code == HC_ACTION && self && msg.hwnd == self->window_ &&
            msg.message == self->message_ && (!self->wParam_ || msg.wParam == *self->wParam_)) {
            msg.message = WM_NULL;
            // A peek that leaves the message queued sees it again later.
            if (removal == PM_REMOVE) ++self->count_;
        }
        return CallNextHookEx(nullptr, code, removal, lParam);
    }

    static inline DroppedMessages* current_ = nullptr;
    HWND window_;
    UINT message_;
    std::optional<WPARAM> wParam_;
    std::size_t count_ = 0;
    UniqueHook hook_;
};

}  // namespace testing_support
