// The UTF-16 text a Windows console is given: UTF-8 decoded, other bytes read in the ANSI
// code page, and no character split between two writes.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "console_text.h"

namespace {

struct Utf16Row {
    const char* name;
    std::string bytes;
    int fallback_code_page;
    std::u16string utf16;
};

std::ostream& operator<<(std::ostream& out, const Utf16Row& row) { return out << row.name; }

class ConsoleUtf16 : public testing::TestWithParam<Utf16Row> {};

TEST_P(ConsoleUtf16, DecodesUtf8AndReadsOtherBytesInTheFallbackPage) {
    EXPECT_EQ(console_utf16(GetParam().bytes, GetParam().fallback_code_page), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(All, ConsoleUtf16, testing::Values(
    Utf16Row{"Ascii", "a.tra:1:4: error\n", 1252, u"a.tra:1:4: error\n"},
    Utf16Row{"TwoAndThreeBytes", "é – Ж", 1252, u"\u00E9 \u2013 \u0416"},
    Utf16Row{"FourBytesAreASurrogatePair", "\xF0\x9F\x98\x80", 1252, u"\xD83D\xDE00"},
    Utf16Row{"AnsiPathBeforeAUtf8Reason", "caf\xE9.tra: \xD0\x96", 1252, u"caf\u00E9.tra: \u0416"},
    Utf16Row{"AnsiPathInCyrillic", "\xD4\xE0\xE9\xEB.tra", 1251, u"\u0424\u0430\u0439\u043B.tra"},
    Utf16Row{"UndefinedInTheFallbackPage", "\x81", 1252, u"\uFFFD"},
    Utf16Row{"FallbackPageUnknown", "\xE9", 932, u"\uFFFD"},
    Utf16Row{"CutSequenceIsReadByteByByte", "\xE2\x80", 1252, u"\u00E2\u20AC"}),
    [](const testing::TestParamInfo<Utf16Row>& info) { return std::string(info.param.name); });

struct CompleteRow {
    const char* name;
    std::string bytes;
    std::size_t length;
};

std::ostream& operator<<(std::ostream& out, const CompleteRow& row) { return out << row.name; }

class CompleteLength : public testing::TestWithParam<CompleteRow> {};

TEST_P(CompleteLength, HoldsBackOnlyASequenceStillToBeFinished) {
    EXPECT_EQ(complete_length(GetParam().bytes), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(All, CompleteLength, testing::Values(
    CompleteRow{"Empty", "", 0},
    CompleteRow{"Ascii", "abc", 3},
    CompleteRow{"WholeSequence", "a\xE2\x80\x93", 4},
    CompleteRow{"LeadByteAlone", "a\xC3", 1},
    CompleteRow{"ThreeOfFour", "a\xF0\x9F\x98", 1},
    CompleteRow{"OnlyACutSequence", "\xF0\x9F\x98", 0},
    CompleteRow{"StrayContinuation", "a\x80", 2},
    CompleteRow{"TwoByteLeadWithItsContinuation", "\xC3\xA9", 2},
    CompleteRow{"ByteThatLeadsNothing", "a\xFF", 2}),
    [](const testing::TestParamInfo<CompleteRow>& info) { return std::string(info.param.name); });

// Collects what a Utf16Buffer writes, piece by piece.
struct Written {
    std::vector<std::u16string> pieces;
    std::u16string all() const {
        std::u16string text;
        for (const std::u16string& piece : pieces) text += piece;
        return text;
    }
};

TEST(Utf16Buffer, KeepsCharactersWholeWhenTheBufferFillsMidSequence) {
    Written written;
    {
        Utf16Buffer buffer([&](std::u16string_view piece) { written.pieces.emplace_back(piece); return true; },
                           1252, 4);
        std::ostream out(&buffer);
        out << "ab\xE2\x80\x94" << "cd\xF0\x9F\x98\x80" << std::flush;
    }
    EXPECT_EQ(written.all(), u"ab\u2014cd\xD83D\xDE00");
    ASSERT_GT(written.pieces.size(), 1u);
    for (const std::u16string& piece : written.pieces) {
        EXPECT_EQ(piece.find(u'\uFFFD'), std::u16string::npos);
        EXPECT_NE(piece.back(), u'\xD83D') << "a surrogate pair split between writes";
    }
}

TEST(Utf16Buffer, WritesOnFlushAndWhatIsLeftAtTheEnd) {
    Written written;
    {
        Utf16Buffer buffer([&](std::u16string_view piece) { written.pieces.emplace_back(piece); return true; },
                           1251);
        std::ostream out(&buffer);
        out << "a\n" << std::flush;
        EXPECT_EQ(written.all(), u"a\n");
        out << "\xD4\xE0\xE9\xEB";
        EXPECT_EQ(written.all(), u"a\n");
    }
    EXPECT_EQ(written.all(), u"a\n\u0424\u0430\u0439\u043B");
}

TEST(Utf16Buffer, AFailedWriteFailsTheStream) {
    Utf16Buffer buffer([](std::u16string_view) { return false; }, 1252);
    std::ostream out(&buffer);
    out << "x" << std::flush;
    EXPECT_TRUE(out.bad());
}

}  // namespace
