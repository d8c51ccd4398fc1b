// Finding this thread's message boxes from a timer that runs in their own
// modal loops.
#include "tests/support/message_box_reader.h"

#include <string>

namespace testing_support {
namespace {

MessageBoxReader* g_reader = nullptr;

}  // namespace

MessageBoxReader::MessageBoxReader() {
    // A dialog already open (the one a test acts in) is no message box of
    // the reader's: it is counted as read and left alone.
    EnumThreadWindows(GetCurrentThreadId(), &MessageBoxReader::Skip, reinterpret_cast<LPARAM>(this));
    g_reader = this;
    timer_ = SetTimer(nullptr, 0, 50, &MessageBoxReader::Look);
}

MessageBoxReader::~MessageBoxReader() {
    KillTimer(nullptr, timer_);
    g_reader = nullptr;
}

void CALLBACK MessageBoxReader::Look(HWND, UINT, UINT_PTR, DWORD) {
    if (g_reader) EnumThreadWindows(GetCurrentThreadId(), &MessageBoxReader::Read,
                                    reinterpret_cast<LPARAM>(g_reader));
}

BOOL CALLBACK MessageBoxReader::Skip(HWND window, LPARAM self) {
    reinterpret_cast<MessageBoxReader*>(self)->read_.push_back(window);
    return TRUE;
}

BOOL CALLBACK MessageBoxReader::Read(HWND window, LPARAM self) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
    auto* reader = reinterpret_cast<MessageBoxReader*>(self);
    for (HWND done : reader->read_) {
        if (done == window) return TRUE;
    }
    reader->read_.push_back(window);
    SeenBox box;
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    box.caption = text;
    text[0] = '\0';
    GetWindowTextA(GetDlgItem(window, 0xFFFF), text, sizeof text);
    box.text = text;
    reader->seen_.push_back(box);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

}  // namespace testing_support
