// Reads the message boxes this thread shows while the reader lives, and
// closes each once read (windows already open when it is made are not its
// business), so that a test can call code that reports with a
// message box and then check what it said.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

struct SeenBox {
    std::string caption;
    std::string text;
};

class MessageBoxReader {
public:
    MessageBoxReader();
    ~MessageBoxReader();
    MessageBoxReader(const MessageBoxReader&) = delete;
    MessageBoxReader& operator=(const MessageBoxReader&) = delete;

    const std::vector<SeenBox>& Seen() const { return seen_; }

private:
    static void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK Read(HWND window, LPARAM self);
    static BOOL CALLBACK Skip(HWND window, LPARAM self);

    UINT_PTR timer_ = 0;
    std::vector<SeenBox> seen_;
    std::vector<HWND> read_;  // each box is read once, though it closes later
};

}  // namespace testing_support
