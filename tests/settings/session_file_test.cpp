// session.ini as written and read back: every text as written, whatever it
// holds, and no entry at all from a file that was cut or changed.
#include "settings/session_file.h"

#include "settings/settings_ids.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

using testing_support::TempDir;

namespace {

SessionEntry Entry(int pane, int process, bool selected, std::wstring title) {
    SessionEntry entry;
    entry.path = L"C:\\Program Files\\サンプル\\app.exe";
    entry.commandLine = L"\"C:\\Program Files\\サンプル\\app.exe\" --open \"a b\"";
    entry.className = L"AppWindow";
    entry.title = std::move(title);
    entry.pane = pane;
    entry.process = process;
    entry.selected = selected;
    return entry;
}

bool Same(const SessionEntry& a, const SessionEntry& b) {
    return a.path == b.path && a.commandLine == b.commandLine && a.className == b.className &&
           a.title == b.title && a.pane == b.pane && a.process == b.process &&
           a.selected == b.selected;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Store(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Texts a profile file would spoil if written as they are: spaces at either
// end, quotes at both ends, line breaks, an equals sign, a section bracket,
// backslashes before a "u", characters no code page has.
const wchar_t* const kAwkwardTitles[] = {
    L"  spaces at both ends  ",
    L"\"quoted\"",
    L"two\r\nlines\tand a tab",
    L"key=value [SECTION]",
    L"C:\\u0041\\\\",
    L"한국어 Café 😀",
    L"",
};

}  // namespace

TEST(SessionFile, EveryTextReadsBackAsWrittenWithTheLayoutAndTheOption) {
    TempDir dir;
    const std::string path = dir.File("session.ini");
    Session session;
    session.splitLayout = "V40 H65 ";
    int i = 0;
    for (const wchar_t* title : kAwkwardTitles) {
        session.entries.push_back(Entry(i % 3, i / 2, i % 3 == 1, title));
        ++i;
    }
    session.entries[2].commandLine.clear();
    ASSERT_TRUE(WriteSession(path, true, &session));
    EXPECT_EQ(Bytes(path).substr(0, 2), "\xFF\xFE") << "UTF-16 with its mark";

    Session read;
    ASSERT_TRUE(ReadSession(path, &read));
    EXPECT_EQ(read.splitLayout, "V40 H65 ");
    ASSERT_EQ(read.entries.size(), session.entries.size());
    for (std::size_t k = 0; k < read.entries.size(); ++k) {
        EXPECT_TRUE(Same(read.entries[k], session.entries[k])) << k;
    }
    RestoreSessionOption() = false;
    LoadRestoreSessionOption(path);
    EXPECT_TRUE(RestoreSessionOption());
    ASSERT_TRUE(WriteSession(path, false, nullptr));
    LoadRestoreSessionOption(path);
    EXPECT_FALSE(RestoreSessionOption());
    ASSERT_TRUE(ReadSession(path, &read));
    EXPECT_TRUE(read.entries.empty()) << "the option off keeps no windows";
    EXPECT_FALSE(ReadSession(dir.File("none.ini"), &read));
    LoadRestoreSessionOption(dir.File("none.ini"));
    EXPECT_FALSE(RestoreSessionOption()) << "off without a file";
}

// A file cut anywhere keeps only the entries before the cut; the one the cut
// falls in (its command line half there, say) is not read at all.
TEST(SessionFile, AFileCutShortKeepsOnlyTheWholeEntriesBeforeTheCut) {
    TempDir dir;
    const std::string path = dir.File("session.ini");
    Session session;
    for (int k = 0; k < 4; ++k) session.entries.push_back(Entry(0, k, k == 0, L"window"));
    session.entries[3].commandLine += L" --last-argument-that-a-cut-shortens";
    ASSERT_TRUE(WriteSession(path, true, &session));
    const std::string whole = Bytes(path);
    for (std::size_t cut = 2; cut < whole.size(); cut += 2) {
        Store(path, whole.substr(0, cut));
        Session read;
        ASSERT_TRUE(ReadSession(path, &read));
        for (std::size_t k = 0; k < read.entries.size(); ++k) {
            ASSERT_TRUE(Same(read.entries[k], session.entries[k])) << "cut at " << cut;
        }
    }
    Store(path, whole);
    Session read;
    ASSERT_TRUE(ReadSession(path, &read));
    EXPECT_EQ(read.entries.size(), 4u);
}

// One unit changed in a value, and the entry it belongs to goes; the others
// stay.
TEST(SessionFile, AChangedValueDropsItsEntryOnly) {
    TempDir dir;
    const std::string path = dir.File("session.ini");
    Session session;
    session.entries.push_back(Entry(0, 0, true, L"first"));
    session.entries.push_back(Entry(1, 0, true, L"second"));
    ASSERT_TRUE(WriteSession(path, true, &session));
    std::string bytes = Bytes(path);
    // "--open" of the second entry's command line becomes "--oPen".
    const std::string open("-\0-\0o\0p\0e\0n\0", 12);
    const std::size_t second = bytes.find(open, bytes.find(open) + 1);
    ASSERT_NE(second, std::string::npos);
    bytes[second + 6] = 'P';
    Store(path, bytes);
    Session read;
    ASSERT_TRUE(ReadSession(path, &read));
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].title, L"first");
}

// Counts and numbers outside what the program writes read as no entry;
// an overlong value is not written, so it cannot come back cut.
TEST(SessionFile, NumbersOutOfRangeAndOverlongValuesGiveNoEntry) {
    TempDir dir;
    const std::string path = dir.File("session.ini");
    Session session;
    session.entries.push_back(Entry(0, 0, true, std::wstring(kMaxSessionValue + 1, L'x')));
    session.entries.push_back(Entry(0, 0, false, L"kept"));
    ASSERT_TRUE(WriteSession(path, true, &session));
    Session read;
    ASSERT_TRUE(ReadSession(path, &read));
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].title, L"kept");

    const std::wstring wide(path.begin(), path.end());
    WritePrivateProfileStringW(L"WINDOW0", L"PANE", L"-1", wide.c_str());
    ASSERT_TRUE(ReadSession(path, &read));
    EXPECT_TRUE(read.entries.empty()) << "a negative pane";
    ASSERT_TRUE(WriteSession(path, true, &session));
    WritePrivateProfileStringW(L"SESSION", L"COUNT", L"4294967297", wide.c_str());
    ASSERT_TRUE(ReadSession(path, &read));
    EXPECT_TRUE(read.entries.empty()) << "a count beyond any pane chain";
}

// A file this version wrote is its own however it was cut (it is then
// written anew at close); a key or section of another name, or another
// RESTORE, makes it another version's, which is never written over.
TEST(SessionFile, OnlyWhatThisVersionDoesNotWriteMakesAFileForeign) {
    TempDir dir;
    const std::string path = dir.File("session.ini");
    EXPECT_FALSE(SessionFileIsForeign(path)) << "no file";
    Session session;
    session.splitLayout = "V40 ";
    session.entries.push_back(Entry(0, 0, true, L"window"));
    ASSERT_TRUE(WriteSession(path, true, &session));
    const std::string whole = Bytes(path);
    for (std::size_t cut = 2; cut <= whole.size(); cut += 2) {
        Store(path, whole.substr(0, cut));
        ASSERT_FALSE(SessionFileIsForeign(path)) << "cut at " << cut;
    }
    const std::wstring wide(path.begin(), path.end());
    for (const auto& change : {std::make_pair(L"WINDOW0", L"MONITOR"),
                               std::make_pair(L"LAYOUT", L"SPLITRATE"),
                               std::make_pair(L"SESSION", L"RESTORE")}) {
        Store(path, whole);
        WritePrivateProfileStringW(change.first, change.second, L"2", wide.c_str());
        EXPECT_TRUE(SessionFileIsForeign(path)) << Bytes(path).size();
    }
}
