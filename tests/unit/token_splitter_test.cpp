#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "token_splitter.h"

namespace {

// A token as a compact, comparable string: kind letter, start, length, then the run's
// bytes or the delimiter's id, e.g. "T0+2:12" or "D3+1#0".
std::string describe(const Token& t) {
    std::string s = t.kind == TokenKind::Text ? "T" : t.kind == TokenKind::Blank ? "B" : "D";
    s += std::to_string(t.start) + "+" + std::to_string(t.length);
    if (t.kind == TokenKind::Delimiter) return s + "#" + std::to_string(t.delimiter->id);
    return s + ":" + std::string(t.text);
}

std::vector<std::string> tokens_of(TokenSplitter& splitter) {
    std::vector<std::string> out;
    for (const Token* t = splitter.first(); t != nullptr; t = splitter.next()) out.push_back(describe(*t));
    EXPECT_EQ(static_cast<int>(out.size()), splitter.count());
    return out;
}

struct Case {
    const char* name;
    std::vector<std::pair<int, const char*>> table;
    std::string text;
    std::vector<std::string> tokens;
};

std::ostream& operator<<(std::ostream& out, const Case& c) { return out << c.name; }

class SplitCases : public testing::TestWithParam<Case> {};

TEST_P(SplitCases, GivesTheseTokens) {
    TokenSplitter splitter;
    for (const auto& [id, text] : GetParam().table) splitter.add_delimiter(id, text);
    splitter.split(GetParam().text.c_str());
    EXPECT_EQ(tokens_of(splitter), GetParam().tokens);
}

const std::vector<std::pair<int, const char*>> dlg_table = {{0, "{"}, {1, "}"}, {2, "\n"}, {2, "\r\n"}, {3, "//"}};

INSTANTIATE_TEST_SUITE_P(Splitter, SplitCases, testing::Values(
    Case{"EmptyText", {{2, "~"}}, "", {}},
    Case{"TwoTildes", {{2, "~"}}, "~~", {"D0+1#2", "D1+1#2"}},
    Case{"NoDelimiter", {{2, "~"}}, "ab", {"T0+2:ab"}},
    Case{"BlanksOnly", {{2, "~"}}, " \t\r\n", {"B0+4: \t\r\n"}},
    Case{"OneOtherByteMakesTheWholeRunText", {{2, "~"}}, "~  ab c ~", {"D0+1#2", "T1+7:  ab c ", "D8+1#2"}},
    Case{"RunAtTheEndKeepsItsFullLength", {{0, "@"}}, "@12", {"D0+1#0", "T1+2:12"}},
    Case{"DelimiterPastTheEndDoesNotMatch", {{8, "//"}}, "a/", {"T0+2:a/"}},
    Case{"CrLfAndLf", dlg_table, "a\r\nb\nc\rd", {"T0+1:a", "D1+2#2", "T3+1:b", "D4+1#2", "T5+3:c\rd"}},
    Case{"FirstEntryInTableOrderWins", {{1, "/"}, {8, "//"}}, "//", {"D0+1#1", "D1+1#1"}},
    Case{"LongerLaterEntryIsNotTried", {{0, "a"}, {1, "ab"}}, "ab", {"D0+1#0", "T1+1:b"}},
    Case{"SharedFirstByte", {{8, "//"}, {9, "/*"}, {10, "*/"}}, "/*x*//a", {"D0+2#9", "T2+1:x", "D3+2#10", "T5+2:/a"}},
    Case{"EmptyDelimiterNeverMatches", {{5, ""}, {2, "~"}}, "a~", {"T0+1:a", "D1+1#2"}},
    Case{"HighBytes", {{7, "\xFF"}}, "\xFE\xFF\x80", {"T0+1:\xFE", "D1+1#7", "T2+1:\x80"}}));

TEST(TokenSplitter, EmptyListHasNoFirstToken) {
    TokenSplitter splitter;
    splitter.split("");
    EXPECT_EQ(splitter.count(), 0);
    EXPECT_EQ(splitter.first(), nullptr);
    EXPECT_EQ(splitter.next(), nullptr);
}

TEST(TokenSplitter, NextPastTheEndStaysNone) {
    TokenSplitter splitter;
    splitter.add_delimiter(0, "@");
    splitter.split("@1");
    ASSERT_NE(splitter.first(), nullptr);
    ASSERT_NE(splitter.next(), nullptr);
    EXPECT_EQ(splitter.next(), nullptr);
    EXPECT_EQ(splitter.next(), nullptr);
    EXPECT_EQ(describe(*splitter.first()), "D0+1#0") << "first() restarts the walk";
}

TEST(TokenSplitter, SecondSplitReplacesAllTokensAndKeepsTheTable) {
    TokenSplitter splitter;
    splitter.add_delimiter(2, "~");
    splitter.split("a~b~c");
    splitter.split("~x");
    EXPECT_EQ(tokens_of(splitter), (std::vector<std::string>{"D0+1#2", "T1+1:x"}));
}

TEST(TokenSplitter, TextEndsAtItsFirstZeroByte) {
    TokenSplitter splitter;
    splitter.add_delimiter(2, "~");
    splitter.split(std::string("a~\0~b", 5));
    EXPECT_EQ(tokens_of(splitter), (std::vector<std::string>{"T0+1:a", "D1+1#2"}));
}

TEST(TokenSplitter, LongRunsAndLargeTablesKeepExactPositions) {
    TokenSplitter splitter;
    for (int i = 0; i < 300; ++i) splitter.add_delimiter(i, ("<" + std::to_string(i) + ">").c_str());
    const std::string long_run(100000, 'x');
    splitter.split("<299>" + long_run + "<7> <252><253>");
    EXPECT_EQ(tokens_of(splitter),
              (std::vector<std::string>{"D0+5#299", "T5+100000:" + long_run, "D100005+3#7", "B100008+1: ",
                                        "D100009+5#252", "D100014+5#253"}));
}

}  // namespace
