// Bringing back the windows of the last session (session.ini): at close the
// panes' tabs are written down; at the next start each is found again among
// the running windows or its program is started, and its window lands in
// its pane, in its place, with the same tab selected as before.
//
// Nothing here waits: programs are started at once and their windows looked
// for on a timer of the main window, for at most kWaitMs each. What could
// not be brought back is told once, in a notice that asks nothing.
#pragma once

#include "app/notice_window.h"
#include "settings/session_file.h"

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

class cTab;

// The tabs of the pane chain from root as session entries.
Session TakeSession(const cTab& root);

class SessionRestore {
public:
    static constexpr DWORD kWaitMs = 15000;
    static constexpr UINT kTickMs = 250;

    SessionRestore(HWND main, HINSTANCE instance) : main_(main), instance_(instance) {}
    SessionRestore(const SessionRestore&) = delete;
    SessionRestore& operator=(const SessionRestore&) = delete;
    ~SessionRestore();

    // Splits root as the session was split (when it is not split yet),
    // takes the matching windows that run already and starts the programs
    // of the others.
    void Start(cTab& root, Session session);
    // Whether windows are still waited for.
    bool Active() const { return timer_ != 0; }
    // A new window that one of the waiting entries may take: it is left to
    // the restore rather than captured by the automatic capture.
    bool Wants(HWND window) const;
    // The main window's timer kSessionRestoreTimer.
    void OnTimer();
    // The entries still waited for, to be kept for the next start.
    std::vector<SessionEntry> Waiting() const;
    // What could not be brought back, as the notice tells it; empty if all.
    const std::wstring& Report() const { return report_; }
    HWND NoticeWindow() const { return notice_.Window(); }

private:
    enum class State { kWaiting, kLanded, kSkipped };
    enum class Reason { kNone, kProgramGone, kNotStarted, kNoWindow };
    struct Item {
        SessionEntry entry;
        State state = State::kWaiting;
        Reason reason = Reason::kNone;
        HWND window = nullptr;
    };
    struct Launch {
        DWORD processId = 0;
        DWORD startedAt = 0;
    };
    struct Candidate {
        HWND window;
        DWORD processId;
        std::wstring className;
    };

    void TakeRunningWindows();
    void StartPrograms();
    void TakeNewWindows();
    void GiveUpLateOnes();
    bool Land(std::size_t index, HWND window);
    void SelectRemembered(cTab& pane, int paneNumber);
    void Finish();
    cTab& PaneAt(int number) const;
    std::vector<Candidate> Candidates(bool onlyNew) const;
    const std::wstring& PathOf(DWORD processId) const;
    void TakeFrom(const std::vector<Candidate>& candidates);
    // The best of candidates for item: its program and class (and title,
    // if asked), of the process started for it first; -1 for none.
    int BestFor(const Item& item, const std::vector<Candidate>& candidates,
                const std::set<HWND>& taken, bool sameTitle) const;

    HWND main_;
    HINSTANCE instance_;
    cTab* root_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<Item> items_;
    std::map<int, Launch> launches_;
    std::set<HWND> before_;  // the top-level windows when the restore began
    mutable std::map<DWORD, std::wstring> paths_;
    std::wstring report_;
    ::NoticeWindow notice_;
};
