// The profile hex form against the worked example and the platform's own
// profile-struct functions, whose files ours must read and write.
#include "settings/profile_hex.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

using testing_support::TempDir;

namespace {

struct Sample {
    unsigned char bytes[5];
};

TEST(ProfileHex, EncodesTheWorkedExampleWithItsChecksum) {
    const unsigned char bytes[] = {0x01, 0x02, 0xFF};
    EXPECT_EQ(profile_hex::Encode(bytes, 3), "0102FF02");
    unsigned char back[3] = {};
    ASSERT_TRUE(profile_hex::Decode("0102FF02", back, 3));
    EXPECT_EQ(0, std::memcmp(bytes, back, 3));
    ASSERT_TRUE(profile_hex::Decode("0102ff02", back, 3)) << "lower-case digits are accepted";
}

TEST(ProfileHex, RefusesMalformedValuesAndLeavesTheDestinationAlone) {
    const unsigned char keep[3] = {7, 8, 9};
    for (const char* text : {"0102FF03",    // checksum
                             "0102FF0",     // one short
                             "0102FF020",   // one long (odd)
                             "0102FF0200",  // one byte long
                             "0102GF02",    // not hex
                             "0102FF 2",    // space
                             ""}) {
        unsigned char out[3] = {7, 8, 9};
        EXPECT_FALSE(profile_hex::Decode(text, out, 3)) << text;
        EXPECT_EQ(0, std::memcmp(out, keep, 3)) << text;
    }
}

TEST(ProfileHex, ReadsWhatThePlatformWritesAndTheOtherWayRound) {
    TempDir dir;
    const std::string ini = dir.File("x.ini");
    Sample written{{0x00, 0x7F, 0x80, 0xFE, 0x5C}};
    ASSERT_TRUE(WritePrivateProfileStructA("S", "PLATFORM", &written, sizeof written, ini.c_str()));
    Sample read{};
    ASSERT_TRUE(profile_hex::ReadStruct(ini.c_str(), "S", "PLATFORM", &read, sizeof read));
    EXPECT_EQ(0, std::memcmp(&written, &read, sizeof read));

    ASSERT_TRUE(profile_hex::WriteStruct(ini.c_str(), "S", "OURS", &written, sizeof written));
    Sample platform{};
    ASSERT_TRUE(GetPrivateProfileStructA("S", "OURS", &platform, sizeof platform, ini.c_str()));
    EXPECT_EQ(0, std::memcmp(&written, &platform, sizeof platform));

    char text[64] = "";
    GetPrivateProfileStringA("S", "OURS", "", text, sizeof text, ini.c_str());
    EXPECT_STREQ(text, "007F80FE5C59");
}

TEST(ProfileHex, MissingKeyIsRefused) {
    TempDir dir;
    Sample out{{1, 2, 3, 4, 5}};
    EXPECT_FALSE(profile_hex::ReadStruct(dir.File("none.ini").c_str(), "S", "K", &out, sizeof out));
    EXPECT_EQ(out.bytes[4], 5);
}

}  // namespace
