#include "tests/support/message_recorder.h"

#include "tests/support/wait.h"

namespace testing_support {
namespace {

constexpr char kClass[] = "PanelryTestMessageRecorder";

}  // namespace

MessageRecorder::MessageRecorder() : MessageRecorder(0, HWND_MESSAGE, 0, 0) {}

MessageRecorder::MessageRecorder(DWORD style, HWND parent, int width, int height) {
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

MessageRecorder::~MessageRecorder() {
    if (window_) DestroyWindow(window_);
}

std::vector<MessageRecorder::Message> MessageRecorder::Of(UINT message) const {
    std::vector<Message> found;
    for (const Message& m : messages_) {
        if (m.message == message) found.push_back(m);
    }
    return found;
}

std::vector<WPARAM> MessageRecorder::WParams(UINT message) const {
    std::vector<WPARAM> values;
    for (const Message& m : Of(message)) values.push_back(m.wParam);
    return values;
}

bool MessageRecorder::WaitFor(UINT message, size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] { return Count(message) >= count; }, timeoutMs);
}

LRESULT CALLBACK MessageRecorder::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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

}  // namespace testing_support
