// A window of the test process that keeps every message it gets, for code
// that reports to a window: the hook library, the accelerator translation,
// a captured window's watch.
#pragma once

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
    MessageRecorder();
    // A window of that style at the top left of parent (null: top-level).
    MessageRecorder(DWORD style, HWND parent, int width, int height);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    HWND Handle() const { return window_; }
    std::vector<Message> Of(UINT message) const;
    std::vector<WPARAM> WParams(UINT message) const;
    size_t Count(UINT message) const { return Of(message).size(); }
    // Pumps this thread's messages until count of message have come.
    bool WaitFor(UINT message, size_t count = 1, DWORD timeoutMs = 10000) const;
    void Clear() { messages_.clear(); }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<Message> messages_;
};

}  // namespace testing_support
