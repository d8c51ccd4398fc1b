#include "tests/support/input_observer.h"

#include "tests/support/wait.h"

namespace testing_support {
namespace {

constexpr DWORD kDeadlineMs = 10000;

DWORD Generic(DWORD vk) {
    switch (vk) {
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return vk;
    }
}

}  // namespace

InputObserver* InputObserver::current_ = nullptr;

InputObserver::InputObserver() {
    current_ = this;
    keyboard_.reset(SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, GetModuleHandleA(nullptr), 0));
    mouse_.reset(SetWindowsHookExA(WH_MOUSE_LL, MouseProc, GetModuleHandleA(nullptr), 0));
}

InputObserver::~InputObserver() {
    keyboard_.reset();
    mouse_.reset();
    current_ = nullptr;
}

bool InputObserver::SawKey(DWORD vk, bool up, size_t from) const {
    for (size_t i = from; i < keys_.size(); ++i) {
        if (keys_[i].vk == vk && keys_[i].up == up) return true;
    }
    return false;
}

bool InputObserver::SawMouse(WPARAM message, size_t from) const {
    for (size_t i = from; i < mice_.size(); ++i) {
        if (mice_[i].message == message) return true;
    }
    return false;
}

bool InputObserver::SawMoveTo(POINT pt, size_t from) const {
    for (size_t i = from; i < mice_.size(); ++i) {
        if (mice_[i].message == WM_MOUSEMOVE && mice_[i].pt.x == pt.x && mice_[i].pt.y == pt.y) {
            return true;
        }
    }
    return false;
}

bool InputObserver::WaitForKey(DWORD vk, bool up, size_t from) const {
    return WaitUntil([&] { return SawKey(vk, up, from); }, kDeadlineMs);
}

bool InputObserver::WaitForMouse(WPARAM message, size_t from) const {
    return WaitUntil([&] { return SawMouse(message, from); }, kDeadlineMs);
}

bool InputObserver::WaitForMoveTo(POINT pt, size_t from) const {
    return WaitUntil([&] { return SawMoveTo(pt, from); }, kDeadlineMs);
}

bool InputObserver::MoveCursorTo(POINT to) const {
    POINT now{};
    GetCursorPos(&now);
    if (now.x == to.x && now.y == to.y) return true;
    const size_t from = MouseCount();
    SetCursorPos(to.x, to.y);
    return WaitForMoveTo(to, from);
}

LRESULT CALLBACK InputObserver::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && current_) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        current_->keys_.push_back({Generic(key->vkCode), (key->flags & LLKHF_UP) != 0});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK InputObserver::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && current_) {
        const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        current_->mice_.push_back({wParam, mouse->pt});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace testing_support
