// session.ini, written whole and read entry by entry (see session_file.h).
#include "settings/session_file.h"

#include "base/handles.h"
#include "base/wide_text.h"
#include "settings/settings_ids.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

// What a read gives for a key the file does not hold: a written value never
// holds a control character, so it cannot be mistaken for one.
constexpr wchar_t kMissing[] = L"\x01";
// An escaped value may take up to six units for one of the value's.
constexpr DWORD kReadSize = kMaxSessionValue * 6 + 8;

std::wstring Escape(const std::wstring& value) {
    std::wstring out;
    out.reserve(value.size() + 2);
    for (const wchar_t c : value) {
        if (c == L'\\') {
            out += L"\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            wchar_t code[8];
            std::swprintf(code, 8, L"\\u%04X", static_cast<unsigned>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// False for anything Escape could not have written.
bool Unescape(const std::wstring& text, std::wstring* value) {
    value->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c < 0x20 || c == 0x7F) return false;
        if (c != L'\\') {
            *value += c;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == L'\\') {
            *value += L'\\';
            ++i;
            continue;
        }
        if (i + 5 >= text.size() || text[i + 1] != L'u') return false;
        unsigned code = 0;
        for (std::size_t k = i + 2; k < i + 6; ++k) {
            const int digit = HexDigit(text[k]);
            if (digit < 0) return false;
            code = code * 16 + static_cast<unsigned>(digit);
        }
        *value += static_cast<wchar_t>(code);
        i += 5;
    }
    return true;
}

class Reader {
public:
    explicit Reader(const std::string& path)
        : path_(Widened(path.c_str())), buffer_(kReadSize, L'\0') {}

    // The raw value; false when missing or too long to be one we wrote.
    bool Raw(const wchar_t* section, const wchar_t* key, std::wstring* out) {
        const DWORD n = GetPrivateProfileStringW(section, key, kMissing, &buffer_[0], kReadSize,
                                                 path_.c_str());
        if (n >= kReadSize - 2) return false;
        out->assign(buffer_.c_str(), n);
        return *out != kMissing;
    }

    bool Text(const wchar_t* section, const wchar_t* key, std::wstring* out) {
        std::wstring raw;
        return Raw(section, key, &raw) && Unescape(raw, out) && out->size() <= kMaxSessionValue;
    }

    // A whole number from 0 to limit, digits only.
    bool Number(const wchar_t* section, const wchar_t* key, long limit, long* out) {
        std::wstring raw;
        if (!Raw(section, key, &raw) || raw.empty() || raw.size() > 9) return false;
        long value = 0;
        for (const wchar_t c : raw) {
            if (c < L'0' || c > L'9') return false;
            value = value * 10 + (c - L'0');
        }
        if (value > limit) return false;
        *out = value;
        return true;
    }

private:
    std::wstring path_;
    std::wstring buffer_;
};

bool ReadEntry(Reader& reader, int index, SessionEntry* entry) {
    wchar_t section[24];
    std::swprintf(section, 24, settings_ids::kWindowSectionFormat, index);
    long pane = 0, process = 0, selected = 0;
    std::wstring check;
    if (!reader.Number(section, settings_ids::kPaneKey, kMaxSessionEntries, &pane) ||
        !reader.Number(section, settings_ids::kProcessKey, kMaxSessionEntries, &process) ||
        !reader.Number(section, settings_ids::kSelectedKey, 1, &selected) ||
        !reader.Text(section, settings_ids::kPathKey, &entry->path) ||
        !reader.Text(section, settings_ids::kCommandLineKey, &entry->commandLine) ||
        !reader.Text(section, settings_ids::kWindowClassKey, &entry->className) ||
        !reader.Text(section, settings_ids::kTitleKey, &entry->title) ||
        !reader.Raw(section, settings_ids::kCheckKey, &check)) {
        return false;
    }
    entry->pane = static_cast<int>(pane);
    entry->process = static_cast<int>(process);
    entry->selected = selected != 0;
    wchar_t expected[16];
    std::swprintf(expected, 16, settings_ids::kCheckFormat,
                  static_cast<unsigned>(SessionEntryCheck(*entry)));
    return !entry->path.empty() && !entry->className.empty() && check == expected;
}

// A section's head; each but the first after a blank line.
void AppendSection(std::wstring& file, const wchar_t* name, bool first = false) {
    if (!first) file += L"\r\n";
    file += L'[';
    file += name;
    file += L"]\r\n";
}

void AppendValue(std::wstring& file, const wchar_t* key, const std::wstring& value) {
    file += key;
    file += L"=\"";
    file += Escape(value);
    file += L"\"\r\n";
}

void AppendNumber(std::wstring& file, const wchar_t* key, long value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%ld", value);
    file += key;
    file += L'=';
    file += text;
    file += L"\r\n";
}

// The whole file as text: UTF-16 after its mark, as this version writes
// it, or the code page's text otherwise (its names then rarely match ours,
// and it counts as foreign).
bool FileText(const std::string& path, std::wstring* text) {
    std::string bytes;
    {
        const UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
            bytes.append(chunk, got);
        }
    }
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        text->assign(bytes.size() / 2 - 1, L'\0');
        if (!text->empty()) std::memcpy(&(*text)[0], bytes.data() + 2, text->size() * 2);
        return true;
    }
    *text = Widened(bytes.c_str());
    return true;
}

std::wstring Trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return L"";
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool SameName(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

// The keys this version writes in section; null for a section it does not
// write.
const wchar_t* const* KnownKeys(const std::wstring& section) {
    static const wchar_t* const kSession[] = {settings_ids::kRestoreKey, settings_ids::kCountKey,
                                              nullptr};
    static const wchar_t* const kLayout[] = {settings_ids::kSessionSplitRateKey, nullptr};
    static const wchar_t* const kWindow[] = {
        settings_ids::kPaneKey,        settings_ids::kProcessKey,     settings_ids::kSelectedKey,
        settings_ids::kPathKey,        settings_ids::kCommandLineKey, settings_ids::kWindowClassKey,
        settings_ids::kTitleKey,       settings_ids::kCheckKey,       nullptr};
    if (SameName(section, settings_ids::kSessionSection)) return kSession;
    if (SameName(section, settings_ids::kSessionLayoutSection)) return kLayout;
    // The prefix and a number, as kWindowSectionFormat writes it.
    const std::wstring prefix = settings_ids::kWindowSectionPrefix;
    if (section.size() > prefix.size() &&
        SameName(section.substr(0, prefix.size()), settings_ids::kWindowSectionPrefix) &&
        section.find_first_not_of(L"0123456789", prefix.size()) == std::wstring::npos) {
        return kWindow;
    }
    return nullptr;
}

bool Known(const wchar_t* const* keys, const std::wstring& key) {
    for (; *keys; ++keys) {
        if (SameName(key, *keys)) return true;
    }
    return false;
}

bool Writable(const SessionEntry& entry) {
    for (const std::wstring* value :
         {&entry.path, &entry.commandLine, &entry.className, &entry.title}) {
        if (value->size() > kMaxSessionValue) return false;
    }
    return !entry.path.empty() && !entry.className.empty() && entry.pane >= 0 &&
           entry.pane <= kMaxSessionEntries && entry.process >= 0 &&
           entry.process <= kMaxSessionEntries;
}

}  // namespace

bool& RestoreSessionOption() {
    static bool restore = false;
    return restore;
}

void LoadRestoreSessionOption(const std::string& sessionIni) {
    RestoreSessionOption() = GetPrivateProfileIntW(settings_ids::kSessionSection,
                                                   settings_ids::kRestoreKey, 0,
                                                   Widened(sessionIni.c_str()).c_str()) == 1;
}

// The file is UTF-16 and each entry's check runs over its 16-bit units,
// whichever width wrote or reads it.
static_assert(sizeof(wchar_t) == 2, "session.ini's text and check are 16-bit units");

std::uint32_t SessionEntryCheck(const SessionEntry& entry) {
    std::uint32_t crc = 0xFFFFFFFFu;
    auto add = [&crc](unsigned unit) {
        for (int byte = 0; byte < 2; ++byte) {
            crc ^= (unit >> (8 * byte)) & 0xFF;
            for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    };
    add(static_cast<unsigned>(entry.pane));
    add(static_cast<unsigned>(entry.process));
    add(entry.selected ? 1 : 0);
    for (const std::wstring* value :
         {&entry.path, &entry.commandLine, &entry.className, &entry.title}) {
        add(0xFFFF);  // so that a unit moved from one value to the next changes the check
        for (const wchar_t c : *value) add(static_cast<unsigned>(c));
    }
    return ~crc;
}

bool ReadSession(const std::string& sessionIni, Session* session) {
    *session = Session{};
    if (GetFileAttributesA(sessionIni.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    // Read from the disk, not from what the profile functions kept of an
    // earlier state of the file.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widened(sessionIni.c_str()).c_str());
    Reader reader(sessionIni);
    std::wstring layout;
    if (reader.Text(settings_ids::kSessionLayoutSection, settings_ids::kSessionSplitRateKey,
                    &layout)) {
        session->splitLayout = Narrowed(layout.c_str());
    }
    long count = 0;
    if (!reader.Number(settings_ids::kSessionSection, settings_ids::kCountKey, kMaxSessionEntries,
                       &count)) {
        return true;
    }
    for (int i = 0; i < count; ++i) {
        SessionEntry entry;
        if (ReadEntry(reader, i, &entry)) session->entries.push_back(std::move(entry));
    }
    return true;
}

bool SessionFileIsForeign(const std::string& sessionIni) {
    std::wstring text;
    if (!FileText(sessionIni, &text)) return false;
    const wchar_t* const* keys = nullptr;
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) break;  // the unfinished last line of a cut file
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        line = Trimmed(line);
        if (line.empty()) continue;
        if (line[0] == L'[') {
            const std::size_t close = line.find(L']');
            if (close == std::wstring::npos || close + 1 != line.size()) return true;
            keys = KnownKeys(Trimmed(line.substr(1, close - 1)));
            if (!keys) return true;
            inSection = true;
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (!inSection || equals == std::wstring::npos) return true;
        const std::wstring key = Trimmed(line.substr(0, equals));
        if (!Known(keys, key)) return true;
        if (SameName(key, settings_ids::kRestoreKey)) {
            const std::wstring value = Trimmed(line.substr(equals + 1));
            if (value != L"0" && value != L"1") return true;
        }
    }
    return false;
}

bool WriteSession(const std::string& sessionIni, bool restore, const Session* session) {
    // The byte order mark says UTF-16 to the profile functions.
    std::wstring file(1, L'\xFEFF');
    AppendSection(file, settings_ids::kSessionSection, true);
    AppendNumber(file, settings_ids::kRestoreKey, restore ? 1 : 0);
    std::vector<const SessionEntry*> written;
    if (session) {
        for (const SessionEntry& entry : session->entries) {
            if (Writable(entry) && written.size() < kMaxSessionEntries) written.push_back(&entry);
        }
    }
    AppendNumber(file, settings_ids::kCountKey, static_cast<long>(written.size()));
    if (session) {
        AppendSection(file, settings_ids::kSessionLayoutSection);
        AppendValue(file, settings_ids::kSessionSplitRateKey,
                    Widened(session->splitLayout.c_str()));
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        const SessionEntry& entry = *written[i];
        wchar_t section[24];
        std::swprintf(section, 24, settings_ids::kWindowSectionFormat, static_cast<int>(i));
        AppendSection(file, section);
        AppendNumber(file, settings_ids::kPaneKey, entry.pane);
        AppendNumber(file, settings_ids::kProcessKey, entry.process);
        AppendNumber(file, settings_ids::kSelectedKey, entry.selected ? 1 : 0);
        AppendValue(file, settings_ids::kPathKey, entry.path);
        AppendValue(file, settings_ids::kCommandLineKey, entry.commandLine);
        AppendValue(file, settings_ids::kWindowClassKey, entry.className);
        AppendValue(file, settings_ids::kTitleKey, entry.title);
        wchar_t check[16];
        std::swprintf(check, 16, settings_ids::kCheckFormat,
                      static_cast<unsigned>(SessionEntryCheck(entry)));
        file += settings_ids::kCheckKey;
        file += L'=';
        file += check;
        file += L"\r\n";
    }

    const std::string temporary = sessionIni + ".new";
    bool wrote = false;
    {
        // Closed before the move: a file still open cannot replace the old one.
        const UniqueFile out(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) return false;
        const DWORD bytes = static_cast<DWORD>(file.size() * sizeof(wchar_t));
        DWORD done = 0;
        wrote = WriteFile(out.get(), file.data(), bytes, &done, nullptr) && done == bytes &&
                FlushFileBuffers(out.get());
    }
    if (!wrote ||
        !MoveFileExA(temporary.c_str(), sessionIni.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    // The profile functions may keep the old file's contents.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widened(sessionIni.c_str()).c_str());
    return true;
}
