// The code pages of the language files converted to UTF-8: each page's own letters and
// punctuation, the bytes it leaves undefined, and ASCII unchanged.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "code_page.h"
#include "utf8.h"

namespace {

const std::string replacement = "\xEF\xBF\xBD";

struct ConversionRow {
    const char* name;
    int code_page;
    std::string bytes;
    std::string utf8;
};

std::ostream& operator<<(std::ostream& out, const ConversionRow& row) { return out << row.name; }

class Conversion : public testing::TestWithParam<ConversionRow> {};

TEST_P(Conversion, GivesTheCharactersOfThePage) {
    EXPECT_EQ(to_utf8(GetParam().bytes, GetParam().code_page), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(All, Conversion, testing::Values(
    ConversionRow{"PolishSmall", 1250, "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF", "ąćęłńóśźż"},
    ConversionRow{"PolishCapital", 1250, "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF", "ĄĆĘŁŃÓŚŹŻ"},
    ConversionRow{"CzechAndHungarian", 1250, "\x9A\x9E\xE8\xF8\xF9\xF5\xFB", "šžčřůőű"},
    ConversionRow{"CentralEuropeanMarks", 1250, "\x84\x93\x94\x96\x80\xA1\xFF", "„“”–€ˇ˙"},
    ConversionRow{"CentralEuropeanUndefined", 1250, "a\x81\x83\x88\x90\x98z",
                  "a" + replacement + replacement + replacement + replacement + replacement + "z"},
    ConversionRow{"RussianLetters", 1251, "\xC0\xDF\xE0\xFF\xA8\xB8", "АЯаяЁё"},
    ConversionRow{"UkrainianAndSerbian", 1251, "\xAA\xBA\xAF\xBF\xB2\xB3\xA5\xB4\x8A\x9A", "ЄєЇїІіҐґЉљ"},
    ConversionRow{"CyrillicMarks", 1251, "\x97\xB9\x88\xAB\xBB", "—№€«»"},
    ConversionRow{"CyrillicUndefined", 1251, "\x98", replacement},
    ConversionRow{"GermanAndFrench", 1252, "\xE4\xF6\xFC\xDF\xE9\xE8\xE0\xE7\xEA", "äöüßéèàçê"},
    ConversionRow{"WesternMarks", 1252, "\x80\x8C\x9C\x9F\x96\x97\x85\x83\xFF", "€ŒœŸ–—…ƒÿ"},
    ConversionRow{"WesternUndefined", 1252, "\x81\x8D\x8F\x90\x9D",
                  replacement + replacement + replacement + replacement + replacement},
    ConversionRow{"Utf8PassesUnchanged", 65001, "ą – Ж 😀", "ą – Ж 😀"},
    ConversionRow{"Utf8StrayBytesReplaced", 65001, "caf\xE9 \xE2\x80", "caf" + replacement + " " + replacement + replacement},
    ConversionRow{"UnknownPageKeepsOnlyAscii", 437, "a\x80\xFF", "a" + replacement + replacement},
    ConversionRow{"Empty", 1251, "", ""}),
    [](const testing::TestParamInfo<ConversionRow>& info) { return std::string(info.param.name); });

class EveryPage : public testing::TestWithParam<int> {};

TEST_P(EveryPage, LeavesAsciiAsItIs) {
    std::string ascii;
    for (int byte = 0; byte < 0x80; ++byte) ascii += static_cast<char>(byte);
    EXPECT_EQ(to_utf8(ascii, GetParam()), ascii);
}

TEST_P(EveryPage, KnowsItself) { EXPECT_TRUE(is_known_code_page(GetParam())); }

INSTANTIATE_TEST_SUITE_P(Known, EveryPage, testing::Values(1250, 1251, 1252, 65001));

struct UpperHalfRow {
    int code_page;
    int undefined;  // bytes 0x80 to 0xFF the page gives no character
};

std::ostream& operator<<(std::ostream& out, const UpperHalfRow& row) { return out << row.code_page; }

class UpperHalf : public testing::TestWithParam<UpperHalfRow> {};

// A wrong entry in a table most likely repeats a character or leaves the page's range.
TEST_P(UpperHalf, GivesEachDefinedByteItsOwnNonAsciiCharacter) {
    std::set<char32_t> seen;
    int undefined = 0;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const char32_t character = single_byte_character(static_cast<unsigned char>(byte), GetParam().code_page);
        if (character == 0xFFFD) {
            ++undefined;
            continue;
        }
        EXPECT_GE(character, 0xA0u) << byte;
        EXPECT_TRUE(seen.insert(character).second) << byte;
        const std::string one(1, static_cast<char>(byte));
        EXPECT_TRUE(is_valid_utf8(to_utf8(one, GetParam().code_page))) << byte;
    }
    EXPECT_EQ(undefined, GetParam().undefined);
}

INSTANTIATE_TEST_SUITE_P(SingleByte, UpperHalf,
                         testing::Values(UpperHalfRow{1250, 5}, UpperHalfRow{1251, 1}, UpperHalfRow{1252, 5}));

TEST(CodePages, OthersAreUnknown) {
    for (const int code_page : {0, 437, 1253, 28591, 65000}) EXPECT_FALSE(is_known_code_page(code_page)) << code_page;
}

struct AppendRow {
    char32_t code_point;
    std::string utf8;
};

TEST(AppendUtf8, WritesEachLengthAtItsBounds) {
    const AppendRow rows[] = {
        {0x7F, "\x7F"},          {0x80, "\xC2\x80"},          {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"}, {0xFFFD, "\xEF\xBF\xBD"},     {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const AppendRow& row : rows) {
        std::string out = "x";
        append_utf8(out, row.code_point);
        EXPECT_EQ(out, "x" + row.utf8) << static_cast<unsigned long>(row.code_point);
    }
}

}  // namespace
