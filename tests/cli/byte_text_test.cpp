#include <gtest/gtest.h>

#include <string>

#include "byte_text.h"

namespace {

struct Utf8Row {
    const char* name;
    std::string bytes;
    bool valid;
    std::size_t utf16;
};

std::ostream& operator<<(std::ostream& out, const Utf8Row& row) { return out << row.name; }

class Utf8 : public testing::TestWithParam<Utf8Row> {};

TEST_P(Utf8, TellsWellFormedTextAndItsUtf16Length) {
    const Utf8Row& row = GetParam();
    EXPECT_EQ(is_valid_utf8(row.bytes), row.valid);
    EXPECT_EQ(utf16_length(row.bytes), row.utf16);
}

INSTANTIATE_TEST_SUITE_P(All, Utf8, testing::Values(
    Utf8Row{"Empty", "", true, 0},
    Utf8Row{"Ascii", "abc~", true, 4},
    Utf8Row{"TwoBytes", "\xC3\xA9", true, 1},
    Utf8Row{"ThreeBytes", "\xE2\x80\x99", true, 1},
    Utf8Row{"FourBytesAreTwoUnits", "\xF0\x9F\x98\x80", true, 2},
    Utf8Row{"HighestCodePoint", "\xF4\x8F\xBF\xBF", true, 2},
    Utf8Row{"CodePageByte", "caf\xE9", false, 4},
    Utf8Row{"StrayContinuation", "\x80", false, 1},
    Utf8Row{"CutSequence", "\xE2\x80", false, 2},
    Utf8Row{"OverlongTwoBytes", "\xC0\xAF", false, 2},
    Utf8Row{"OverlongThreeBytes", "\xE0\x80\xAF", false, 3},
    Utf8Row{"Surrogate", "\xED\xA0\x80", false, 3},
    Utf8Row{"AboveTheLastCodePoint", "\xF4\x90\x80\x80", false, 4},
    Utf8Row{"NotALeadByte", "\xF8\x88\x80\x80\x80", false, 5}));

TEST(Base64, EncodesWithPaddingAsRfc4648Shows) {
    EXPECT_EQ(base64(""), "");
    EXPECT_EQ(base64("f"), "Zg==");
    EXPECT_EQ(base64("fo"), "Zm8=");
    EXPECT_EQ(base64("foo"), "Zm9v");
    EXPECT_EQ(base64("foob"), "Zm9vYg==");
    EXPECT_EQ(base64("fooba"), "Zm9vYmE=");
    EXPECT_EQ(base64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(base64(std::string("\xFF\x00\xE9", 3)), "/wDp");
}

}  // namespace
