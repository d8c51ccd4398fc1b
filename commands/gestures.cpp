// The gesture table, its [MOUSEGESTURE] section, the recognizer that turns
// cursor movement into strokes and commands, and the gesture texts.
#include "commands/gestures.h"

#include "base/code_page.h"
#include "base/messages.h"
#include "commands/accelerators.h"
#include "commands/command_ids.h"
#include "commands/command_texts.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kGroups = 8;  // strokes a 32-bit code holds
constexpr int kMaxParsed = 256;
constexpr std::size_t kMaxSuffix = 15;

const char* StrokeLetter(DWORD stroke, bool fileForm) {
    switch (stroke) {
    case kStrokeUp: return fileForm ? command_ids::kFileUp : command_texts::kShownUp;
    case kStrokeDown: return fileForm ? command_ids::kFileDown : command_texts::kShownDown;
    case kStrokeLeft: return fileForm ? command_ids::kFileLeft : command_texts::kShownLeft;
    case kStrokeRight: return fileForm ? command_ids::kFileRight : command_texts::kShownRight;
    default: return nullptr;
    }
}

void ShownHoldKey(BYTE holdKey, char* suffix, std::size_t size) {
    if (holdKey == VK_LBUTTON) {
        std::snprintf(suffix, size, "%s", command_texts::kShownLeftButton);
        return;
    }
    if (holdKey == VK_RBUTTON) {
        std::snprintf(suffix, size, "%s", command_texts::kShownRightButton);
        return;
    }
    char name[32];
    KeyName(holdKey, name, sizeof name);
    const std::size_t room = kMaxSuffix - std::strlen(command_texts::kShownHoldKeyOpen) -
                             std::strlen(command_texts::kShownHoldKeyClose);
    name[WholeCharacters(name, room)] = '\0';
    std::snprintf(suffix, size, "%s%s%s", command_texts::kShownHoldKeyOpen, name,
                  command_texts::kShownHoldKeyClose);
}

}  // namespace

GestureTable& GestureTable::Instance() {
    static GestureTable table;
    return table;
}

void GestureTable::Clear() {
    for (int slot = 0; slot < kSlots; ++slot) Set(slot, 0, 0);
    SetBorder(kDefaultBorder);
    elapse_ = kDefaultElapse;
}

void GestureTable::Set(int slot, DWORD strokes, BYTE holdKey) {
    if (slot < 0 || slot >= kSlots) return;
    strokes_[slot] = strokes;
    holdKeys_[slot] = holdKey;
}

bool GestureTable::AnyGesture() const {
    for (DWORD code : strokes_) {
        if (code != 0) return true;
    }
    return false;
}

void GestureTable::SetBorder(int pixels) {
    border_ = pixels;
    // A border beyond 46340 pixels would overflow the square; it cannot be
    // reached on any screen, so the largest value stands for it.
    const long long squared = static_cast<long long>(pixels) * pixels;
    borderSquared_ = squared > INT_MAX ? INT_MAX : static_cast<int>(squared);
}

void GestureTable::Load(const char* menuIni) {
    // Within the editor's ranges: a negative number of an edited file reads
    // as a huge unsigned one, and either would stop the strokes or their
    // forgetting.
    const auto read = [&](const char* key, UINT fallback) {
        const int value = static_cast<int>(
            GetPrivateProfileIntA(command_ids::kGestureSection, key, fallback, menuIni));
        return std::clamp(value, 0, kLargestSetting);
    };
    SetBorder(read(command_ids::kBorderKey, kDefaultBorder));
    elapse_ = static_cast<UINT>(read(command_ids::kElapseKey, kDefaultElapse));
    for (int slot = 0; slot < kSlots; ++slot) {
        Set(slot, 0, 0);
        char key[16], text[kMaxParsed + 4] = "";
        std::snprintf(key, sizeof key, command_ids::kGestureKeyFormat, slot + 1);
        GetPrivateProfileStringA(command_ids::kGestureSection, key, "", text, sizeof text, menuIni);
        const ParsedGesture gesture = ParseGesture(text);
        Set(slot, gesture.code, gesture.holdKey);
    }
}

void GestureTable::Save(const char* menuIni) const {
    char value[16];
    std::snprintf(value, sizeof value, command_ids::kBorderFormat, border_);
    WritePrivateProfileStringA(command_ids::kGestureSection, command_ids::kBorderKey, value,
                               menuIni);
    std::snprintf(value, sizeof value, command_ids::kElapseFormat, elapse_);
    WritePrivateProfileStringA(command_ids::kGestureSection, command_ids::kElapseKey, value,
                               menuIni);
    for (int slot = 0; slot < kSlots; ++slot) {
        char key[16];
        std::snprintf(key, sizeof key, command_ids::kGestureKeyFormat, slot + 1);
        WritePrivateProfileStringA(command_ids::kGestureSection, key,
                                   GestureText(strokes_[slot], holdKeys_[slot], true), menuIni);
    }
}

GestureRecognizer& Recognizer() {
    static GestureRecognizer recognizer{};
    return recognizer;
}

bool StartGestureRecognition(HWND mainWindow) {
    if (mainWindow) KillTimer(mainWindow, kGestureForgetTimer);
    const GestureTable& table = GestureTable::Instance();
    if (!table.AnyGesture()) return false;
    GestureRecognizer& r = Recognizer();
    GetCursorPos(&r.lastPoint);
    r.sequence = 0;
    r.liveMask = 0;
    // Without a main window there is nobody to post commands to, nor a
    // window to carry the timer.
    if (mainWindow) SetTimer(mainWindow, kGestureForgetTimer, table.Elapse(), &ForgetStroke);
    return true;
}

void CALLBACK ForgetStroke(HWND, UINT, UINT_PTR, DWORD) { Recognizer().liveMask >>= 4; }

void GestureStep(HWND mainWindow, int x, int y) {
    const GestureTable& table = GestureTable::Instance();
    GestureRecognizer& r = Recognizer();
    // 64 bits: a far jump of a pointer reported at odd coordinates must not
    // wrap into a short movement.
    const long long dx = static_cast<long long>(x) - r.lastPoint.x;
    const long long dy = static_cast<long long>(y) - r.lastPoint.y;
    if (dx * dx + dy * dy < table.BorderSquared()) return;
    r.lastPoint = POINT{x, y};
    r.sequence &= r.liveMask;

    // A diagonal of equal sides counts as vertical.
    DWORD stroke;
    if (std::llabs(dx) > std::llabs(dy)) stroke = dx < 0 ? kStrokeLeft : kStrokeRight;
    else stroke = dy < 0 ? kStrokeUp : kStrokeDown;
    // A stroke in the direction of the last remembered one continues it.
    if ((r.sequence & 0xF) != stroke) {
        r.sequence = r.sequence << 4 | stroke;
        r.liveMask = r.liveMask << 4 | 0xF;
    }

    for (int slot = 0; slot < GestureTable::kSlots; ++slot) {
        const DWORD code = table.Strokes(slot);
        if (code == 0) continue;
        const BYTE holdKey = table.HoldKey(slot);
        if (holdKey != 0 && GetKeyState(holdKey) >= 0) continue;
        // Each stroke is one bit of its group, so this holds exactly when the
        // latest strokes end with the slot's gesture.
        if ((r.sequence & code) == code) {
            r.sequence = 0;
            PostMessageA(mainWindow, WM_COMMAND, static_cast<WPARAM>(KindOfSlot(slot)), 0);
            return;
        }
    }
}

const char* GestureText(DWORD code, BYTE holdKey, bool fileForm) {
    static char text[64];
    text[0] = '\0';
    // From the lowest group, the last stroke, each letter goes in front.
    for (int group = 0; group < kGroups; ++group) {
        const char* letter = StrokeLetter(code >> (group * 4) & 0xF, fileForm);
        if (!letter) continue;
        const std::size_t length = std::strlen(letter);
        std::memmove(text + length, text, std::strlen(text) + 1);
        std::memcpy(text, letter, length);
    }
    if (text[0] == '\0' || holdKey == 0) return text;
    char suffix[kMaxSuffix + 1];
    if (fileForm) std::snprintf(suffix, sizeof suffix, command_ids::kFileHoldKeyFormat, holdKey);
    else ShownHoldKey(holdKey, suffix, sizeof suffix);
    std::strncat(text, suffix, sizeof text - std::strlen(text) - 1);
    return text;
}

ParsedGesture ParseGesture(const char* text) {
    ParsedGesture gesture{0, 0};
    if (!text) return gesture;
    for (int i = 0; i < kMaxParsed && text[i]; ++i) {
        DWORD stroke = 0;
        switch (text[i]) {
        case 'U': case 'u': stroke = kStrokeUp; break;
        case 'D': case 'd': stroke = kStrokeDown; break;
        case 'L': case 'l': stroke = kStrokeLeft; break;
        case 'R': case 'r': stroke = kStrokeRight; break;
        case '+': {
            // The digits, within the characters still to be read.
            char number[kMaxParsed + 1] = "";
            std::strncpy(number, text + i + 1, static_cast<std::size_t>(kMaxParsed - i - 1));
            gesture.holdKey = static_cast<BYTE>(std::strtoul(number, nullptr, 10));
            return gesture;
        }
        default:
            return gesture;
        }
        gesture.code = gesture.code << 4 | stroke;
    }
    return gesture;
}
