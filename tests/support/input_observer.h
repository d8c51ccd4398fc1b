// Low-level keyboard and mouse hooks of the test thread that record what
// passes them. Made before the hooks under test, they are called after them:
// an event seen here has been through those hooks, and one they swallowed
// never shows up.
#pragma once

#include "base/handles.h"
#include "tests/support/wait.h"

#include <windows.h>

#include <vector>

namespace testing_support {

class InputObserver {
public:
    InputObserver() {
        current_ = this;
        const HMODULE module = GetModuleHandleA(nullptr);
        keyboard_.reset(SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, module, 0));
        mouse_.reset(SetWindowsHookExA(WH_MOUSE_LL, MouseProc, module, 0));
    }
    ~InputObserver() {
        keyboard_.reset();
        mouse_.reset();
        current_ = nullptr;
    }
    InputObserver(const InputObserver&) = delete;
    InputObserver& operator=(const InputObserver&) = delete;

    bool Installed() const { return keyboard_ && mouse_; }
    size_t KeyCount() const { return keys_.size(); }
    size_t MouseCount() const { return mice_.size(); }

    // Whether the event was seen since the from-th of its kind. Left and
    // right modifier keys count as the generic key, as in an ACCEL entry.
    bool SawKey(DWORD vk, bool up, size_t from = 0) const {
        for (size_t i = from; i < keys_.size(); ++i) {
            if (keys_[i].vk == vk && keys_[i].up == up) return true;
        }
        return false;
    }
    bool SawMouse(WPARAM message, size_t from = 0) const {
        return SawMouseAt(message, nullptr, from);
    }
    bool SawMoveTo(POINT pt, size_t from = 0) const { return SawMouseAt(WM_MOUSEMOVE, &pt, from); }

    // The same, pumping this thread's messages until the event comes.
    bool WaitForKey(DWORD vk, bool up, size_t from) const {
        return WaitUntil([&] { return SawKey(vk, up, from); }, kDeadlineMs);
    }
    bool WaitForMouse(WPARAM message, size_t from) const {
        return WaitUntil([&] { return SawMouse(message, from); }, kDeadlineMs);
    }
    bool WaitForMoveTo(POINT pt, size_t from) const {
        return WaitUntil([&] { return SawMoveTo(pt, from); }, kDeadlineMs);
    }

    // Moves the pointer with SetCursorPos; true once the move has passed
    // the hooks (at once when the pointer is there already).
    bool MoveCursorTo(POINT to) const {
        POINT now{};
        GetCursorPos(&now);
        if (now.x == to.x && now.y == to.y) return true;
        const size_t from = MouseCount();
        SetCursorPos(to.x, to.y);
        return WaitForMoveTo(to, from);
    }

private:
    static constexpr DWORD kDeadlineMs = 10000;
    struct Key {
        DWORD vk;
        bool up;
    };
    struct Mouse {
        WPARAM message;
        POINT pt;
    };

    bool SawMouseAt(WPARAM message, const POINT* pt, size_t from) const {
        for (size_t i = from; i < mice_.size(); ++i) {
            const Mouse& m = mice_[i];
            if (m.message == message && (!pt || (m.pt.x == pt->x && m.pt.y == pt->y))) return true;
        }
        return false;
    }
    static DWORD Generic(DWORD vk) {
        switch (vk) {
        case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
        case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
        case VK_LMENU: case VK_RMENU: return VK_MENU;
        default: return vk;
        }
    }
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && current_) {
            const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
            current_->keys_.push_back({Generic(key->vkCode), (key->flags & LLKHF_UP) != 0});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && current_) {
            const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            current_->mice_.push_back({wParam, mouse->pt});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline InputObserver* current_ = nullptr;
    UniqueHook keyboard_;
    UniqueHook mouse_;
    std::vector<Key> keys_;
    std::vector<Mouse> mice_;
};

}  // namespace testing_support
