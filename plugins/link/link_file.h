// The file $link: the panel's check box and its 64 slots' paths. One byte
// for the check box (any non-zero is on), then per slot in order a 4-byte
// little-endian length and that many path bytes (code page 932, no NUL).
#pragma once

#include <windows.h>

namespace link_file {

inline constexpr int kSlots = 64;
// A path of MAX_PATH bytes would leave no room for its terminator.
inline constexpr DWORD kLongestPath = MAX_PATH - 1;

struct Contents {
    bool autoTab = false;
    char paths[kSlots][MAX_PATH] = {};
};

// Reads file into contents. False when the file cannot be opened; contents
// is then untouched. The check box byte is taken when it is there; reading
// stops at the first record that is cut short or longer than kLongestPath,
// and the slots from there on stay empty.
bool Read(const char* file, Contents* contents);

// Writes contents as the whole file, made anew; false when it could not be
// made or written.
bool Write(const char* file, const Contents& contents);

}  // namespace link_file
