// Mouse gestures: per built-in command (kinds 1 to 21) a sequence of up to
// eight straight strokes, optionally only while a key or mouse button is
// held. The input-hook library reports every cursor movement; the recognizer
// turns movements into strokes, forgets old strokes as time passes and posts
// the first command whose gesture the latest strokes end with.
//
// A gesture code holds one stroke per 4-bit group, the last stroke in the
// lowest group: 1 up, 2 down, 4 left, 8 right. Slot i belongs to command i + 1.
#pragma once

#include "base/command_kinds.h"

#include <windows.h>

enum GestureStroke : DWORD {
    kStrokeUp = 1,
    kStrokeDown = 2,
    kStrokeLeft = 4,
    kStrokeRight = 8,
};

class GestureTable {
public:
    static constexpr int kSlots = kBuiltInCommandCount;
    static constexpr int kDefaultBorder = 32;
    static constexpr UINT kDefaultElapse = 100;
    // The largest border and elapse menu.ini can give.
    static constexpr int kLargestSetting = 65535;

    static GestureTable& Instance();

    GestureTable() { Clear(); }
    GestureTable(const GestureTable&) = delete;
    GestureTable& operator=(const GestureTable&) = delete;

    // No gesture anywhere, and the default thresholds.
    void Clear();

    DWORD Strokes(int slot) const { return strokes_[slot]; }
    // The virtual key that must be down for the slot to fire; 0 for none.
    BYTE HoldKey(int slot) const { return holdKeys_[slot]; }
    void Set(int slot, DWORD strokes, BYTE holdKey);
    bool AnyGesture() const;

    // The smallest movement in pixels that counts as a stroke.
    int Border() const { return border_; }
    int BorderSquared() const { return borderSquared_; }
    void SetBorder(int pixels);
    // Every this many milliseconds the oldest remembered stroke is dropped.
    UINT Elapse() const { return elapse_; }
    void SetElapse(UINT ms) { elapse_ = ms; }

    // [MOUSEGESTURE] of menu.ini; missing keys (or a missing file) read as
    // the defaults and as no gesture.
    void Load(const char* menuIni);
    void Save(const char* menuIni) const;

private:
    DWORD strokes_[kSlots];
    BYTE holdKeys_[kSlots];
    int border_;
    int borderSquared_;
    UINT elapse_;
};

// What the recognizer remembers between movement reports.
struct GestureRecognizer {
    POINT lastPoint;  // where the last stroke ended, or recognition started
    DWORD sequence;   // recent strokes, the latest in the lowest group
    DWORD liveMask;   // 0xF in each group of sequence still remembered
};
GestureRecognizer& Recognizer();

// At every settings application: stops the forgetting timer and, when any
// gesture exists, starts over from the cursor's position with the timer
// (116 on mainWindow, period elapse) running. True when the mouse movement
// reports are wanted.
bool StartGestureRecognition(HWND mainWindow);
// The forgetting timer: drops the oldest remembered stroke.
void CALLBACK ForgetStroke(HWND window, UINT message, UINT_PTR id, DWORD time);
// A movement report (screen coordinates): records a stroke when the cursor
// went far enough, and posts the first matching slot's command to mainWindow.
void GestureStep(HWND mainWindow, int x, int y);

// The gesture as text, strokes in order and the held key after them: in the
// file form "RL+2", shown as "→←(右)". One static buffer, valid until the
// next call.
const char* GestureText(DWORD code, BYTE holdKey, bool fileForm);

struct ParsedGesture {
    DWORD code;
    BYTE holdKey;
};
// The file form back: letters U D L R (either case) and "+key"; anything
// else ends the text.
ParsedGesture ParseGesture(const char* text);
