// A window of the test process that keeps every message it gets, for code
// that reports to a window: the hook library, the accelerator translation,
// a captured window's watch.
#pragma once

#include "tests/support/wait.h"

#include <windows.h>

#include <vector>

namespace testing_support {

class MessageRecorder {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    // A message-only window.
    MessageRecorder() : MessageRecorder(0, HWND_MESSAGE, 0, 0) {}
    // A window of that style at the top left of parent (null: top-level).
    MessageRecorder(DWORD style, HWND parent, int width, int height) {
        static const ATOM registered = [] {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = kClass;
            return RegisterClassExA(&wc);
        }();
        if (registered) {
            window_ = CreateWindowExA(0, kClass, "", style, 0, 0, width, height, parent, nullptr,
                                      GetModuleHandleA(nullptr), this);
        }
    }
    ~MessageRecorder() {
        if (window_) DestroyWindow(window_);
    }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    HWND Handle() const { return window_; }
    std::vector<Message> Of(UINT message) const {
        std::vector<Message> found;
        for (const Message& m : messages_) {
            if (m.message == message) found.push_back(m);
        }
        return found;
    }
    std::vector<WPARAM> WParams(UINT message) const {
        std::vector<WPARAM> values;
        for (const Message& m : Of(message)) values.push_back(m.wParam);
        return values;
    }
    size_t Count(UINT message) const { return Of(message).size(); }
    // Pumps this thread's messages until count of message have come.
    bool WaitFor(UINT message, size_t count = 1, DWORD timeoutMs = 10000) const {
        return WaitUntil([&] { return Count(message) >= count; }, timeoutMs);
    }
    void Clear() { messages_.clear(); }

private:
    static constexpr char kClass[] = "PanelryTestMessageRecorder";

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self) self->messages_.push_back({message, wParam, lParam});
        // A parent destroyed first takes this window with it.
        if (message == WM_NCDESTROY && self) self->window_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    std::vector<Message> messages_;
};

}  // namespace testing_support
