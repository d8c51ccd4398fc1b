// ANSI text in the system's code page (932 for this program's users), where
// a character is one byte or a lead byte and the byte after it.
#pragma once

#include <windows.h>

#include <cstddef>

// How many bytes of text, at most limit, form whole characters: a cut never
// falls inside a double-byte character, and a lead byte at the very end,
// with nothing after it, is no character.
inline std::size_t WholeCharacters(const char* text, std::size_t limit) {
    std::size_t n = 0;
    while (n < limit && text[n]) {
        const std::size_t width = IsDBCSLeadByte(static_cast<BYTE>(text[n])) ? 2 : 1;
        if (n + width > limit || (width == 2 && !text[n + 1])) break;
        n += width;
    }
    return n;
}
