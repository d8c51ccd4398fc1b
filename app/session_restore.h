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
#include <memory>
#include <set>
#include <string>
#include <vector>

class cTab;

// The tabs of the pane chain from root as session entries. Windows of this
// program's own process (a tool's panel held as a tab) are left out: their
// program is this one, and starting it again starts no second Panelry.
Session TakeSession(const cTab& root);

// A window's title as an entry keeps it: cut to what the file holds, never
// between the halves of a character. Titles are compared in this form.
std::wstring SessionTitle(HWND window);

class SessionRestore {
public:
    static constexpr DWORD kWaitMs = 15000;
    static constexpr UINT kTickMs = 250;
    // A window taken that closes within this long was not the one the entry
    // waited for (a splash window of the same class, say): the entry goes
    // on waiting for the next window.
    static constexpr DWORD kSettleMs = 1000;

    SessionRestore(HWND main, HINSTANCE instance, NoticeWindow& notice)
        : main_(main), instance_(instance), notice_(notice) {}
    SessionRestore(const SessionRestore&) = delete;
    SessionRestore& operator=(const SessionRestore&) = delete;
    ~SessionRestore();

    // Splits root as the session was split (when it is not split yet),
    // takes the running windows with an entry's title and starts the
    // programs of the other entries.
    void Start(cTab& root, Session session);
    // Whether windows are still waited for (or have just landed).
    bool Active() const { return timer_ != 0; }
    // A new window that one of the waiting entries (or one whose window has
    // just landed, and may yet close) may take: it is left to the restore
    // rather than captured by the automatic capture.
    bool Wants(HWND window) const;
    // The main window's timer kSessionRestoreTimer.
    void OnTimer();
    // The entries still waited for, to be kept for the next start.
    std::vector<SessionEntry> Waiting() const;
    // What could not be brought back, as the notice tells it; empty if all.
    const std::wstring& Report() const { return report_; }

private:
    enum class State { kWaiting, kLanded, kSkipped };
    enum class Reason { kNone, kProgramGone, kNotStarted, kNoWindow };
    struct Item {
        SessionEntry entry;
        State state = State::kWaiting;
        Reason reason = Reason::kNone;
        HWND window = nullptr;
        // Waiting: since when (its program's start, or the hand-back);
        // landed: when.
        DWORD since = 0;
        bool settled = false;  // landed, and still there kSettleMs later
    };
    struct Candidate {
        HWND window;
        DWORD processId;
        std::wstring className;
    };

    void TakeRunningWindows();
    void StartPrograms();
    void HandBackClosed();
    void TakeNewWindows();
    void GiveUpLateOnes();
    bool Settled() const;
    bool Land(std::size_t index, HWND window);
    void SelectRemembered(cTab& pane, int paneNumber);
    void Finish();
    cTab& PaneAt(int number) const;
    std::vector<Candidate> Candidates(bool onlyNew) const;
    const std::wstring& PathOf(DWORD processId) const;
    DWORD LaunchedFor(const Item& item) const;
    void TakeFrom(const std::vector<Candidate>& candidates);
    // The best of candidates for item, -1 for none: of its program and
    // class, and either with its title (sameTitle) or of the process
    // started for it; the process started for it first.
    int BestFor(const Item& item, const std::vector<Candidate>& candidates,
                const std::set<HWND>& taken, bool sameTitle) const;

    HWND main_;
    HINSTANCE instance_;
    NoticeWindow& notice_;
    cTab* root_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<Item> items_;
    std::map<int, DWORD> launches_;  // entry.process -> the process started for it
    std::set<HWND> before_;  // the top-level windows when the restore began
    mutable std::map<DWORD, std::wstring> paths_;
    std::wstring report_;
};

// session.ini over a run: read at the start and its windows brought back,
// written when the option is changed, when the Windows session ends and at
// close. A file this version does not fully understand is kept as it is;
// a write that fails, or a file kept while there was something to save, is
// told once, in the notice.
class LastSession {
public:
    void Attach(HWND main, HINSTANCE instance, std::string sessionIni);
    // At the start, with the option on: the restore, and a first write of
    // what was read, so that a file that cannot be written is told now,
    // while the user is there, rather than lost at close.
    void Start(cTab& root);
    // The tabs (and the windows still waited for) with the option on; the
    // option off alone otherwise, in a file that exists already.
    void Save(const cTab& root);
    // After the settings dialog: the option written at once when changed.
    void OptionChanged(const cTab& root);
    bool Wants(HWND window) const { return restore_ && restore_->Wants(window); }
    void OnTimer() {
        if (restore_) restore_->OnTimer();
    }
    // With the main window: no more timer, no notice.
    void Stop();
    const SessionRestore* Restore() const { return restore_.get(); }

private:
    void TellOnce(const wchar_t* text);

    HWND main_ = nullptr;
    HINSTANCE instance_ = nullptr;
    std::string path_;
    bool savedOption_ = false;  // the option as the file holds it
    bool told_ = false;
    ::NoticeWindow notice_;
    std::unique_ptr<SessionRestore> restore_;
};
