// Reading texts that are written back.
#include "settings/profile_text.h"

#include "base/code_page.h"

#include <windows.h>

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

}  // namespace

void ReadProfileText(const char* iniPath, const char* section, const char* key,
                     const char* fallback, char* out, std::size_t size) {
    if (size == 0) return;
    // Cleared first: where the cut falls inside a double-byte character,
    // Wine leaves that byte of the buffer as it was.
    std::memset(out, 0, size);
    GetPrivateProfileStringA(section, key, fallback, out, static_cast<DWORD>(size), iniPath);
    std::size_t end = WholeCharacters(out, size - 1);
    std::size_t start = 0;
    // What the reader takes off a value, until nothing more comes off.
    for (bool changed = true; changed;) {
        changed = false;
        while (start < end && IsBlank(out[start])) ++start, changed = true;
        while (end > start && IsBlank(out[end - 1])) --end, changed = true;
        if (end - start >= 2 && IsQuote(out[start]) && out[end - 1] == out[start]) {
            ++start;
            --end;
            changed = true;
        }
    }
    std::memmove(out, out + start, end - start);
    out[end - start] = '\0';
}
