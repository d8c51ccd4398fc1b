// The session's restore and its snapshot (see session_restore.h).
#include "app/session_restore.h"

#include "app/app_texts.h"
#include "base/handles.h"
#include "base/messages.h"
#include "base/process_info.h"
#include "base/window_class.h"
#include "launcher/shell_launch.h"
#include "tabs/pane.h"

#include <algorithm>
#include <cwchar>

namespace {

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return !a.empty() && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[257] = L"";
    const int n = GetClassNameW(window, name, 257);
    return std::wstring(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::wstring FileName(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Folder(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash);
}

bool IsProgramFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Starts path with its command line (or the quoted path alone); the process
// id, or 0.
DWORD StartProgram(const SessionEntry& entry) {
    std::wstring line = entry.commandLine.empty() ? L"\"" + entry.path + L"\"" : entry.commandLine;
    const std::wstring folder = Folder(entry.path);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const std::wstring program = UnredirectedPath(entry.path);
    if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        return 0;
    }
    // The process is found again by its id; neither handle is needed.
    const UniqueHandle thread(started.hThread);
    const UniqueHandle process(started.hProcess);
    return started.dwProcessId;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// This program's own file.
std::wstring OwnProgramPath() {
    std::wstring path(MAX_PATH * 4, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(n < path.size() ? n : 0);
    return path;
}

// A title as the notice shows it: long ones end in an ellipsis.
std::wstring Shortened(const std::wstring& title) {
    constexpr std::size_t kLongest = 80;
    if (title.size() <= kLongest) return title;
    std::size_t cut = kLongest;
    if (IS_HIGH_SURROGATE(title[cut - 1])) --cut;
    return title.substr(0, cut) + app_texts::kRestoreTitleCut;
}

}  // namespace

// Without a message to the window's application, which may be hung.
std::wstring SessionTitle(HWND window) {
    std::wstring title(kMaxSessionValue + 1, L'\0');
    const int n = InternalGetWindowText(window, &title[0], static_cast<int>(title.size()));
    title.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    if (title.size() == kMaxSessionValue && IS_HIGH_SURROGATE(title.back())) title.pop_back();
    return title;
}

Session TakeSession(const cTab& root) {
    Session session;
    session.splitLayout = root.SplitLayoutText();
    std::map<DWORD, int> processes;
    int paneNumber = 0;
    for (const cTab* pane = &root; pane; pane = pane->Child(), ++paneNumber) {
        const int selected = pane->Selected();
        for (int i = 0; i < pane->TabCount(); ++i) {
            const CapturedWindow* record = pane->RecordAt(i);
            if (!record || !record->Window()) continue;
            DWORD processId = 0;
            GetWindowThreadProcessId(record->Window(), &processId);
            if (processId == GetCurrentProcessId()) continue;
            SessionEntry entry;
            entry.path = ProcessImagePath(processId);
            if (entry.path.empty()) continue;  // nothing to start it again from
            entry.commandLine = ProcessCommandLine(processId);
            entry.className = ClassOf(record->Window());
            entry.title = SessionTitle(record->Window());
            entry.pane = paneNumber;
            entry.process = processes.emplace(processId, static_cast<int>(processes.size()))
                                .first->second;
            entry.selected = i == selected;
            session.entries.push_back(std::move(entry));
        }
    }
    return session;
}

SessionRestore::~SessionRestore() {
    if (timer_) KillTimer(main_, timer_);
}

void SessionRestore::Start(cTab& root, Session session) {
    root_ = &root;
    if (!root.Child()) root.ApplySplitLayout(session.splitLayout);
    items_.clear();
    // A window of this program (a tool's panel, as an older version wrote
    // it) cannot come back by a start: this program would find itself
    // running and end.
    const std::wstring self = OwnProgramPath();
    for (SessionEntry& entry : session.entries) {
        if (!SamePath(entry.path, self)) items_.push_back(Item{std::move(entry)});
    }
    for (HWND window : TopLevelWindows()) before_.insert(window);
    TakeRunningWindows();
    StartPrograms();
    // Also when every window landed: each has a second to prove itself.
    if (!items_.empty()) timer_ = SetTimer(main_, kSessionRestoreTimer, kTickMs, nullptr);
    if (!timer_) Finish();
}

cTab& SessionRestore::PaneAt(int number) const {
    cTab* pane = root_;
    for (int i = 0; i < number && pane->Child(); ++i) pane = pane->Child();
    return *pane;
}

const std::wstring& SessionRestore::PathOf(DWORD processId) const {
    auto found = paths_.find(processId);
    if (found == paths_.end()) found = paths_.emplace(processId, ProcessImagePath(processId)).first;
    return found->second;
}

DWORD SessionRestore::LaunchedFor(const Item& item) const {
    const auto launch = launches_.find(item.entry.process);
    return launch == launches_.end() ? 0 : launch->second;
}

std::vector<SessionRestore::Candidate> SessionRestore::Candidates(bool onlyNew) const {
    std::vector<Candidate> candidates;
    for (HWND window : TopLevelWindows()) {
        if (onlyNew && before_.count(window)) continue;
        if (!IsCapturableTopLevel(window)) continue;
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == GetCurrentProcessId()) continue;
        candidates.push_back({window, processId, ClassOf(window)});
    }
    return candidates;
}

// A window of another process without the entry's title is the user's own
// (another document of the same editor): it is never taken.
int SessionRestore::BestFor(const Item& item, const std::vector<Candidate>& candidates,
                            const std::set<HWND>& taken, bool sameTitle) const {
    const DWORD launched = LaunchedFor(item);
    if (!sameTitle && !launched) return -1;
    int best = -1, bestScore = -1;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& c = candidates[i];
        if (taken.count(c.window) || c.className != item.entry.className) continue;
        if (!sameTitle && c.processId != launched) continue;
        if (!SamePath(PathOf(c.processId), item.entry.path)) continue;
        if (sameTitle && SessionTitle(c.window) != item.entry.title) continue;
        const int score = launched && c.processId == launched ? 1 : 0;
        if (score > bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    return best;
}

void SessionRestore::TakeRunningWindows() { TakeFrom(Candidates(false)); }

// Windows with their entry's title first, for every entry, so that an entry
// taking any window of its process cannot take the one another entry names.
void SessionRestore::TakeFrom(const std::vector<Candidate>& candidates) {
    if (candidates.empty()) return;
    std::set<HWND> taken;
    for (const bool sameTitle : {true, false}) {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].state != State::kWaiting) continue;
            const int best = BestFor(items_[i], candidates, taken, sameTitle);
            if (best < 0) continue;
            taken.insert(candidates[best].window);
            Land(i, candidates[best].window);
        }
    }
}

void SessionRestore::StartPrograms() {
    for (Item& item : items_) {
        if (item.state != State::kWaiting) continue;
        if (!IsProgramFile(item.entry.path)) {
            item.state = State::kSkipped;
            item.reason = Reason::kProgramGone;
            continue;
        }
        auto launch = launches_.find(item.entry.process);
        if (launch == launches_.end()) {
            // One start for all the windows one process had.
            launch = launches_.emplace(item.entry.process, StartProgram(item.entry)).first;
        }
        item.since = GetTickCount();
        if (!launch->second) {
            item.state = State::kSkipped;
            item.reason = Reason::kNotStarted;
        }
    }
}

bool SessionRestore::Wants(HWND window) const {
    if (!Active()) return false;
    const std::wstring className = ClassOf(window);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    for (const Item& item : items_) {
        // A window that has just landed may still hand its entry on.
        const bool open = item.state == State::kWaiting ||
                          (item.state == State::kLanded && !item.settled);
        if (!open || item.entry.className != className) continue;
        if (processId != LaunchedFor(item) && SessionTitle(window) != item.entry.title) continue;
        if (SamePath(PathOf(processId), item.entry.path)) return true;
    }
    return false;
}

void SessionRestore::OnTimer() {
    paths_.clear();  // a process id may have been given to another process
    HandBackClosed();
    TakeNewWindows();
    GiveUpLateOnes();
    if (Settled()) Finish();
}

// A window gone within a second of landing was a splash or a window the
// program replaced at once: the entry waits for the next one, kWaitMs from
// now.
void SessionRestore::HandBackClosed() {
    const DWORD now = GetTickCount();
    for (Item& item : items_) {
        if (item.state != State::kLanded || item.settled) continue;
        if (!IsWindow(item.window)) {
            item.state = State::kWaiting;
            item.window = nullptr;
            item.since = now;
        } else if (now - item.since >= kSettleMs) {
            item.settled = true;
        }
    }
}

void SessionRestore::TakeNewWindows() { TakeFrom(Candidates(true)); }

void SessionRestore::GiveUpLateOnes() {
    const DWORD now = GetTickCount();
    for (Item& item : items_) {
        if (item.state == State::kWaiting && now - item.since >= kWaitMs) {
            item.state = State::kSkipped;
            item.reason = Reason::kNoWindow;
        }
    }
}

bool SessionRestore::Settled() const {
    for (const Item& item : items_) {
        if (item.state == State::kWaiting || (item.state == State::kLanded && !item.settled)) {
            return false;
        }
    }
    return true;
}

// The window goes after the entries of its pane that came before it and
// are back already, whatever else the pane has gained meanwhile.
bool SessionRestore::Land(std::size_t index, HWND window) {
    Item& item = items_[index];
    cTab& pane = PaneAt(item.entry.pane);
    int at = 0;
    for (std::size_t i = 0; i < index; ++i) {
        if (items_[i].state != State::kLanded || &PaneAt(items_[i].entry.pane) != &pane) continue;
        const int tab = pane.IndexOfWindow(items_[i].window);
        if (tab >= at) at = tab + 1;
    }
    if (!pane.AddNewWindow(window, at)) return false;
    item.state = State::kLanded;
    item.window = window;
    item.since = GetTickCount();
    item.settled = false;
    SelectRemembered(pane, item.entry.pane);
    return true;
}

void SessionRestore::SelectRemembered(cTab& pane, int paneNumber) {
    for (const Item& item : items_) {
        if (item.entry.pane != paneNumber || !item.entry.selected) continue;
        if (item.state != State::kLanded) return;
        const int tab = pane.IndexOfWindow(item.window);
        if (tab >= 0 && tab != pane.Selected()) pane.Tabs().Select(tab);
        return;
    }
}

void SessionRestore::Finish() {
    if (timer_) KillTimer(main_, timer_);
    timer_ = 0;
    report_.clear();
    for (const Item& item : items_) {
        if (item.state != State::kSkipped) continue;
        const wchar_t* reason = item.reason == Reason::kProgramGone  ? app_texts::kRestoreProgramGone
                                : item.reason == Reason::kNotStarted ? app_texts::kRestoreNotStarted
                                                                     : app_texts::kRestoreNoWindow;
        report_ += L"\n";
        report_ += app_texts::kRestoreLineStart;
        report_ += Shortened(item.entry.title.empty() ? item.entry.className : item.entry.title);
        report_ += L" (" + FileName(item.entry.path) + L"): ";
        report_ += reason;
    }
    if (report_.empty()) return;
    report_ = app_texts::kRestoreNoticeHeading + report_;
    notice_.Add(instance_, report_);
}

std::vector<SessionEntry> SessionRestore::Waiting() const {
    std::vector<SessionEntry> waiting;
    for (const Item& item : items_) {
        if (item.state == State::kWaiting) waiting.push_back(item.entry);
    }
    return waiting;
}

// ---- The file over the run ---------------------------------------------------

void LastSession::Attach(HWND main, HINSTANCE instance, std::string sessionIni) {
    main_ = main;
    instance_ = instance;
    path_ = std::move(sessionIni);
    savedOption_ = RestoreSessionOption();
}

void LastSession::Start(cTab& root) {
    Session session;
    ReadSession(path_, &session);
    if (SessionFileIsForeign(path_)) {
        TellOnce(app_texts::kSessionKept);
    } else if (!WriteSession(path_, true, &session)) {
        TellOnce(app_texts::kSessionNotWritten);
    }
    restore_ = std::make_unique<SessionRestore>(main_, instance_, notice_);
    restore_->Start(root, std::move(session));
}

void LastSession::Save(const cTab& root) {
    const bool restore = RestoreSessionOption();
    const bool exists = GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!restore && !exists) return;
    // Not even the option goes into a file of another version: whatever it
    // holds beyond what this one knows would be lost.
    if (SessionFileIsForeign(path_)) {
        if (restore != savedOption_) TellOnce(app_texts::kSessionKept);
        return;
    }
    bool written = false;
    if (!restore) {
        written = WriteSession(path_, false, nullptr);
    } else {
        Session session = TakeSession(root);
        if (restore_) {
            // Windows still waited for stay in the session, each process
            // apart from those of the tabs.
            int process = 0;
            for (const SessionEntry& entry : session.entries) {
                process = std::max(process, entry.process + 1);
            }
            for (SessionEntry entry : restore_->Waiting()) {
                entry.process += process;
                session.entries.push_back(std::move(entry));
            }
        }
        written = WriteSession(path_, true, &session);
    }
    if (written) {
        savedOption_ = restore;
    } else {
        TellOnce(app_texts::kSessionNotWritten);
    }
}

void LastSession::OptionChanged(const cTab& root) {
    if (RestoreSessionOption() != savedOption_) Save(root);
}

void LastSession::Stop() {
    restore_.reset();
    notice_.Close();
}

void LastSession::TellOnce(const wchar_t* text) {
    if (told_) return;
    told_ = true;
    notice_.Add(instance_, text);
}
