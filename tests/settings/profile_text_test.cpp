// Texts read so that writing them and reading them again gives the same
// text: cut at whole characters, without what the next read would take off.
#include "settings/profile_text.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using testing_support::TempDir;
using testing_support::WriteFileText;

namespace {

class ProfileText : public ::testing::Test {
protected:
    // value as the file holds it, read into size bytes.
    std::string Read(const std::string& value, std::size_t size) {
        WriteFileText(ini, "[S]\r\nK=" + value + "\r\n");
        std::string out(size, '\x7F');
        ReadProfileText(ini.c_str(), "S", "K", "", out.data(), size);
        return out.c_str();
    }
    // Written and read again into the same size.
    std::string Again(const std::string& text, std::size_t size) {
        WritePrivateProfileStringA("S", "K", text.c_str(), ini.c_str());
        std::string out(size, '\x7F');
        ReadProfileText(ini.c_str(), "S", "K", "", out.data(), size);
        return out.c_str();
    }

    TempDir dir;
    std::string ini = dir.File("text.ini");
};

TEST_F(ProfileText, ATextThatFitsIsReadAsTheFileHoldsIt) {
    EXPECT_EQ(Read("Notepad", 32), "Notepad");
    EXPECT_EQ(Read("タブ(&T)", 32), "タブ(&T)");
    EXPECT_EQ(Read("", 32), "");
}

TEST_F(ProfileText, ACutTextEndsWithAWholeCharacterAndNoBlank) {
    // "ab" and four double-byte characters: eight bytes, cut to six.
    const std::string japanese = "abタブ操作";
    const std::string cut = Read(japanese, 6);
    EXPECT_EQ(cut, "abタ") << "no lone lead byte";
    EXPECT_EQ(Again(cut, 6), cut);

    const std::string spaced = Read("folder with a  space", 15);
    EXPECT_EQ(spaced, "folder with a") << "the blank at the cut is gone";
    EXPECT_EQ(Again(spaced, 15), spaced);
}

TEST_F(ProfileText, QuotesACutLeavesAroundTheTextComeOff) {
    const std::string cut = Read("\"quoted\" and more", 9);
    EXPECT_EQ(cut, "quoted");
    EXPECT_EQ(Again(cut, 9), cut);
}

TEST_F(ProfileText, TheFallbackIsReadTheSameWay) {
    std::string out(8, '\x7F');
    ReadProfileText(ini.c_str(), "S", "missing", "tool", out.data(), out.size());
    EXPECT_STREQ(out.c_str(), "tool");
}

}  // namespace
