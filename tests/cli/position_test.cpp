#include <gtest/gtest.h>

#include <string>

#include "position.h"

namespace {

struct PositionRow {
    const char* name;
    std::string text;
    std::size_t offset;
    std::int64_t line;
    std::int64_t column;
    std::string line_text;
};

std::ostream& operator<<(std::ostream& out, const PositionRow& row) { return out << row.name; }

class Positions : public testing::TestWithParam<PositionRow> {};

TEST_P(Positions, CountLinesAtLfAndColumnsInBytes) {
    const PositionRow& row = GetParam();
    const TextPosition position = position_of(row.text, row.offset);
    EXPECT_EQ(position.line, row.line);
    EXPECT_EQ(position.column, row.column);
    EXPECT_EQ(line_at(row.text, row.offset), row.line_text);
}

INSTANTIATE_TEST_SUITE_P(All, Positions, testing::Values(
    PositionRow{"FirstByte", "@1 = ~a~", 0, 1, 1, "@1 = ~a~"},
    PositionRow{"InFirstLine", "@1 = ~a~\n@2", 5, 1, 6, "@1 = ~a~"},
    PositionRow{"AfterLf", "ab\ncd\nef", 4, 2, 2, "cd"},
    PositionRow{"AfterCrLf", "ab\r\ncd\r\nef", 5, 2, 2, "cd"},
    PositionRow{"AtCrOfCrLf", "ab\r\ncd", 2, 1, 3, "ab"},
    PositionRow{"AtLf", "ab\ncd", 2, 1, 3, "ab"},
    PositionRow{"LoneCrIsNoLineEnd", "ab\rcd", 4, 1, 5, "ab\rcd"},
    PositionRow{"EndWithoutFinalLineEnd", "ab\ncd", 5, 2, 3, "cd"},
    PositionRow{"EndAfterFinalLf", "ab\n", 3, 2, 1, ""},
    PositionRow{"EndAfterFinalCrLf", "ab\r\n", 4, 2, 1, ""},
    PositionRow{"PastTheEndIsTheEnd", "ab", 9, 1, 3, "ab"},
    PositionRow{"EmptyText", "", 0, 1, 1, ""},
    PositionRow{"MultiByteCharactersCountAsBytes", "\xC3\xA9t\xC3\xA9 ~", 5, 1, 6, "\xC3\xA9t\xC3\xA9 ~"},
    PositionRow{"EmptyLines", "\n\n\nx", 3, 4, 1, "x"}));

struct CaretRow {
    const char* name;
    std::string line;
    std::size_t column;
    std::size_t length;
    std::string marker;
};

std::ostream& operator<<(std::ostream& out, const CaretRow& row) { return out << row.name; }

class Carets : public testing::TestWithParam<CaretRow> {};

TEST_P(Carets, PointAtTheRangeOnTheLine) {
    const CaretRow& row = GetParam();
    EXPECT_EQ(caret_marker(row.line, row.column, row.length), row.marker);
}

INSTANTIATE_TEST_SUITE_P(All, Carets, testing::Values(
    CaretRow{"FirstColumn", "hello", 1, 5, "^~~~~"},
    CaretRow{"OneByte", "@1 = \"a\"", 6, 1, "     ^"},
    CaretRow{"EmptyRangeAfterTheLastByte", "abc", 4, 0, "   ^"},
    CaretRow{"EmptyLine", "", 1, 0, "^"},
    CaretRow{"RangeCutAtTheLineEnd", "ab cd", 4, 40, "   ^~"},
    CaretRow{"AtTheLineEnd", "{1}{a", 6, 2, "     ^"},
    CaretRow{"TabsKept", "\t\tab\tc", 6, 1, "\t\t  \t^"},
    CaretRow{"Utf8CharactersTakeOnePlace", "\xC3\xA9t\xC3\xA9 x", 7, 1, "    ^"},
    CaretRow{"Utf8RangeCountsCharacters", "a \xC3\xA9\xC3\xA9 b", 3, 4, "  ^~"},
    CaretRow{"CodePageBytesTakeOnePlaceEach", "\xE9t\xE9 x", 5, 1, "    ^"}));

}  // namespace
