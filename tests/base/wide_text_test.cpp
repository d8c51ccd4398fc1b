// Column widths and cuts of UTF-16 text: full-width characters take two
// columns, a cut keeps only whole characters, surrogate pairs included.
#include "base/wide_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Wide literals with characters the code page cannot write stay out of the
// assertions, which quote their arguments as narrow text.
const std::wstring kTitle = L"한국어 café 😀";  // 6 + 1 + 4 + 1 + 2 columns
const std::wstring kTitleWithoutEmoji = L"한국어 café ";
const std::wstring kKoreanAndSpace = L"한국어 ";
const std::wstring kKorean = L"한국어";
const std::wstring kTwoSyllables = L"한국";
const std::wstring kMixed = L"aé😀b";
const std::wstring kMixedToAccent = L"aé";
const std::wstring kMixedToEmoji = L"aé😀";

std::wstring Cut(const std::wstring& text, std::size_t columns) {
    return text.substr(0, WholeColumns(text.c_str(), columns));
}

TEST(WideText, FullWidthCharactersTakeTwoColumns) {
    EXPECT_EQ(CharacterColumns(L'a'), 1);
    EXPECT_EQ(CharacterColumns(0xE9), 1) << "e acute";
    EXPECT_EQ(CharacterColumns(0xD55C), 2) << "a Hangul syllable";
    EXPECT_EQ(CharacterColumns(0x65E5), 2) << "日";
    EXPECT_EQ(CharacterColumns(0x30E1), 2) << "メ";
    EXPECT_EQ(CharacterColumns(0xFF76), 1) << "half-width ｶ";
    EXPECT_EQ(CharacterColumns(0xFF21), 2) << "full-width Ａ";
    EXPECT_EQ(CharacterColumns(0x1F600), 2) << "a grinning face emoji";
    EXPECT_EQ(CharacterColumns(0x25A0), 2) << "■, two bytes in the code page";
}

TEST(WideText, ACutKeepsWholeCharactersCountingFullWidthAsTwo) {
    EXPECT_EQ(Cut(kTitle, 14), kTitle);
    EXPECT_EQ(Cut(kTitle, 13), kTitleWithoutEmoji) << "the emoji goes whole, not half";
    EXPECT_EQ(Cut(kTitle, 12), kTitleWithoutEmoji);
    EXPECT_EQ(Cut(kTitle, 7), kKoreanAndSpace);
    EXPECT_EQ(Cut(kTitle, 6), kKorean);
    EXPECT_EQ(Cut(kTitle, 5), kTwoSyllables) << "never half of the third syllable";
    EXPECT_EQ(Cut(kTitle, 1), L"");
    EXPECT_EQ(Cut(kTitle, 0), L"");
    EXPECT_EQ(Cut(kMixed, 3), kMixedToAccent) << "the surrogate pair is not split";
    EXPECT_EQ(Cut(kMixed, 4), kMixedToEmoji);
}

TEST(WideText, ATitleTheCodePageCanWriteIsCutAsItsBytesWere) {
    EXPECT_EQ(Cut(L"メモ帳 - Sample", 4), L"メモ");
    EXPECT_EQ(Cut(L"メモ帳 - Sample", 5), L"メモ");
    EXPECT_EQ(Cut(L"■[abc", 3), L"■[");
}

TEST(WideText, AHighSurrogateWithoutItsPairIsNoCharacter) {
    const wchar_t broken[] = {L'a', 0xD83D, 0};
    EXPECT_EQ(WholeColumns(broken, 10), 1u);
}

TEST(WideText, OwnTextsTurnWide) {
    EXPECT_EQ(Widened("■[ %s ]"), L"■[ %s ]");
    EXPECT_EQ(Widened(""), L"");
}

}  // namespace
