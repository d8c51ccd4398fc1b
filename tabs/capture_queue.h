// Windows reported as new that a pane captures once they are visible. Three
// looks take them: the report that a queued window showed, where the system
// gives one (Windows does for every window; Wine 8 only for an application
// that raises it itself); a brisk look at the windows queued within the last
// kYoungMs, for a window that shows unreported soon after it was made, as
// most do; and timer 1 of the pane's tab control, every 100 ms, for the rest.
// A window that stays invisible for longer than kGiveUpMs is forgotten. A
// window reported while a launch waited for its program's window is marked:
// a program may make hidden helper windows before its main one, so the
// launch's window is the first marked one that shows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

class CaptureQueue {
public:
    static constexpr DWORD kGiveUpMs = 10000;
    // How long a window counts as young. An application shows its window
    // within a moment of making it, or after loading for longer, when a
    // tenth of a second more no longer shows; the bound keeps the brisk
    // look's cost to the first second of each window.
    static constexpr DWORD kYoungMs = 1000;

    struct Queued {
        HWND window;
        bool launched;  // reported while a launch waited
    };

    // Queues window, reported at now (timeGetTime milliseconds); false when
    // it is queued already.
    bool Add(HWND window, DWORD now, bool launched = false);
    // The queued windows that are visible now, in the order they came; they
    // leave the queue, and so does every window reported more than kGiveUpMs
    // before now.
    std::vector<Queued> TakeVisible(DWORD now);
    // The same of the young windows alone; the others are not looked at.
    std::vector<Queued> TakeVisibleYoung(DWORD now);
    bool HasYoung(DWORD now) const;
    // window, if it is queued and visible now; it leaves the queue. Nothing
    // but a search of the queue for a window that is not queued.
    std::optional<Queued> TakeIfVisible(HWND window);
    void Clear() { waiting_.clear(); }
    bool Empty() const { return waiting_.empty(); }
    std::size_t Size() const { return waiting_.size(); }

private:
    struct Waiting {
        Queued queued;
        DWORD queuedAt;
    };
    std::vector<Waiting> waiting_;
};
