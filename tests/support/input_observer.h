// Low-level keyboard and mouse hooks of the test thread that record what
// passes them. Made before the hooks under test, they are called after them:
// an event seen here has been through those hooks, and one they swallowed
// never shows up.
#pragma once

#include "app/handles.h"

#include <windows.h>

#include <vector>

namespace testing_support {

class InputObserver {
public:
    InputObserver();
    ~InputObserver();
    InputObserver(const InputObserver&) = delete;
    InputObserver& operator=(const InputObserver&) = delete;

    bool Installed() const { return keyboard_ && mouse_; }
    size_t KeyCount() const { return keys_.size(); }
    size_t MouseCount() const { return mice_.size(); }

    // Whether the event was seen since the from-th of its kind. Left and
    // right modifier keys count as the generic key, as in an ACCEL entry.
    bool SawKey(DWORD vk, bool up, size_t from = 0) const;
    bool SawMouse(WPARAM message, size_t from = 0) const;
    bool SawMoveTo(POINT pt, size_t from = 0) const;
    // The same, pumping this thread's messages until the event comes.
    bool WaitForKey(DWORD vk, bool up, size_t from) const;
    bool WaitForMouse(WPARAM message, size_t from) const;
    bool WaitForMoveTo(POINT pt, size_t from) const;

    // Moves the pointer with SetCursorPos; true once the move has passed
    // the hooks (at once when the pointer is there already).
    bool MoveCursorTo(POINT to) const;

private:
    struct Key {
        DWORD vk;
        bool up;
    };
    struct Mouse {
        WPARAM message;
        POINT pt;
    };
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);

    static InputObserver* current_;
    UniqueHook keyboard_;
    UniqueHook mouse_;
    std::vector<Key> keys_;
    std::vector<Mouse> mice_;
};

}  // namespace testing_support
