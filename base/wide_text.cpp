// Column widths of UTF-16 text. The full-width ranges follow the Unicode
// East Asian Width property (wide and fullwidth); characters outside them
// that the code page writes in two bytes (Greek, box drawing, "■") also
// show full-width in a Japanese font, and counted as before they keep the
// length of every title the code page can write as it was in bytes.
#include "base/wide_text.h"

namespace {

struct Range {
    unsigned first;
    unsigned last;
};

constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18AFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F2FF}, {0x1F300, 0x1F64F},
    {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

bool InWideRange(unsigned codePoint) {
    for (const Range& range : kWide) {
        if (codePoint < range.first) return false;
        if (codePoint <= range.last) return true;
    }
    return false;
}

bool TwoBytesInCodePage(wchar_t unit) {
    char bytes[4];
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes,
                                      sizeof bytes, nullptr, &lost);
    return n == 2 && !lost;
}

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

int CharacterColumns(unsigned codePoint) {
    if (codePoint < 0x80) return 1;
    if (InWideRange(codePoint)) return 2;
    if (codePoint <= 0xFFFF && TwoBytesInCodePage(static_cast<wchar_t>(codePoint))) return 2;
    return 1;
}

std::size_t WholeColumns(const wchar_t* text, std::size_t columns) {
    std::size_t units = 0;
    std::size_t used = 0;
    while (text[units]) {
        unsigned codePoint = text[units];
        std::size_t length = 1;
        if (IsHighSurrogate(text[units])) {
            if (!IsLowSurrogate(text[units + 1])) break;  // half a pair: no character
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[units + 1] - 0xDC00);
            length = 2;
        }
        used += static_cast<std::size_t>(CharacterColumns(codePoint));
        if (used > columns) break;
        units += length;
    }
    return units;
}

std::string Narrowed(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, &ansi[0], size, nullptr, nullptr);
    ansi.resize(static_cast<std::size_t>(size - 1));
    return ansi;
}

std::wstring Widened(const char* ansi) {
    const int size = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    if (size <= 1) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, &wide[0], size);
    wide.resize(static_cast<std::size_t>(size - 1));
    return wide;
}
