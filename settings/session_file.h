// session.ini: the windows the panes held when the program last closed, so
// that the next start can bring them back, and the option that asks for it.
//
// The file is UTF-16 with a byte-order mark, so that paths, command lines and
// titles keep characters the code page cannot write. Every value is quoted
// and escaped, so spaces at either end, quotes and line breaks read back as
// written. Each window's entry carries a check value over its fields: an
// entry that was cut short or changed does not read back at all, and nothing
// is ever started from half an entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SessionEntry {
    std::wstring path;         // the executable of the window's process
    std::wstring commandLine;  // empty when the platform did not give it
    std::wstring className;
    std::wstring title;
    int pane = 0;     // 0 the main window's pane, 1 its split-off pane, ...
    int process = 0;  // entries of one process share the number
    bool selected = false;
};

struct Session {
    // The split of the pane chain, as "SPLITRATE" of system.ini writes it.
    std::string splitLayout;
    // Pane by pane, each in tab order.
    std::vector<SessionEntry> entries;
};

// The most entries a file is read for; more than any pane chain holds.
inline constexpr int kMaxSessionEntries = 1024;
// The longest value an entry may hold; a longer one is not written.
inline constexpr std::size_t kMaxSessionValue = 4096;

// The option "前回のウィンドウを復元する", as loaded or as the settings
// page last set it.
bool& RestoreSessionOption();
// Reads the option from sessionIni; off when the file or the key is missing.
void LoadRestoreSessionOption(const std::string& sessionIni);

// Reads every entry that reads back whole; false when the file is missing.
bool ReadSession(const std::string& sessionIni, Session* session);
// Whether sessionIni holds anything this version does not write: a section
// or key of another name, a line outside any section, or a RESTORE other
// than 0 or 1 (a newer version's file, or one edited by hand). Such a file
// is the user's to keep and is never replaced. A line without its line
// break at the very end is left out: a cut file is damaged, not foreign.
// A missing file is not foreign.
bool SessionFileIsForeign(const std::string& sessionIni);
// Replaces sessionIni with the option and session (null: no windows) in one
// step, so that a failure part way leaves the old file as it was.
bool WriteSession(const std::string& sessionIni, bool restore, const Session* session);

// The entry's check value as the file stores it.
std::uint32_t SessionEntryCheck(const SessionEntry& entry);
