// visit_tokens: tokens handed on as they are found, with foci that pass over the tokens a
// walk ignores.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "token_splitter.h"

namespace {

// Kind letter, start, length, then the run's bytes or the delimiter's id, e.g. "T0+2:12" or "D3+1#0".
std::string describe(const TokenSplitter::Found& t) {
    const Token token = t.token();
    std::string s = t.kind() == TokenKind::Text ? "T" : t.kind() == TokenKind::Blank ? "B" : "D";
    s += std::to_string(token.start) + "+" + std::to_string(t.length());
    if (t.kind() == TokenKind::Delimiter) return s + "#" + std::to_string(t.id());
    return s + ":" + std::string(t.text());
}

std::unique_ptr<char[]> block_of(const std::string& text) {
    auto block = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(block.get(), text.data(), text.size());
    return block;
}

struct VisitCase {
    const char* name;
    std::vector<std::pair<int, const char*>> table;
    std::vector<std::vector<std::int32_t>> foci;
    std::string text;
    // What the visitor returns after each token it is handed; every_token after the last.
    std::vector<int> modes;
    std::vector<std::string> handed;
};

std::ostream& operator<<(std::ostream& out, const VisitCase& c) { return out << c.name; }

class VisitCases : public testing::TestWithParam<VisitCase> {};

TEST_P(VisitCases, HandsOnTheseTokens) {
    const VisitCase& c = GetParam();
    TokenSplitter splitter;
    for (const auto& [id, text] : c.table) splitter.add_delimiter(id, text);
    for (const auto& ids : c.foci) splitter.add_focus(ids);
    std::vector<std::string> handed;
    const bool finished = splitter.visit_tokens(block_of(c.text), c.text.size(), [&](const TokenSplitter::Found& t) {
        handed.push_back(describe(t));
        return handed.size() <= c.modes.size() ? c.modes[handed.size() - 1] : TokenSplitter::every_token;
    });
    EXPECT_TRUE(finished);
    EXPECT_EQ(handed, c.handed);
    EXPECT_EQ(splitter.count(), 0);
}

const std::string many_blocks_of_other_bytes = [] {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "ab@[";
    return text;
}();

INSTANTIATE_TEST_SUITE_P(Foci, VisitCases, testing::Values(
    VisitCase{"WithoutAFocusEveryTokenAsSplit", {{0, "~"}, {1, "@"}}, {}, "@1 ~a~", {},
              {"D0+1#1", "T1+2:1 ", "D3+1#0", "T4+1:a", "D5+1#0"}},
    VisitCase{"AFocusPassesOverRunsAndOtherDelimiters", {{0, "~"}, {1, "@"}, {2, "["}}, {{0}}, "~a @ [b~ c",
              {1, 0}, {"D0+1#0", "D7+1#0", "T8+2: c"}},
    // Far enough in for the blocks to be scanned for the focus's stops alone.
    VisitCase{"AByteInsideAnotherEntryIsNoStartOfAKeptOne", {{9, "/*"}, {10, "*/"}}, {{10}},
              "/*" + std::string(200, 'x') + "/*/ */", {1}, {"D0+2#9", "D206+2#10"}},
    VisitCase{"AnEarlierEntryStillWinsUnderAFocus", {{1, "@"}, {5, "~~"}, {0, "~"}}, {{0}}, "@~~b~",
              {1}, {"D0+1#1", "D4+1#0"}},
    VisitCase{"ARunMayBeginAFocusThatPassesOverTheDelimiterAfterIt", {{0, "{"}, {1, "}"}}, {{1}}, "a{b}c{",
              {1, 0}, {"T0+1:a", "D3+1#1", "T4+1:c", "D5+1#0"}},
    VisitCase{"ARunMayBeginAFocusThatKeepsTheDelimiterAfterIt", {{0, "{"}, {1, "}"}}, {{1}}, "a}b{c}",
              {1, 0}, {"T0+1:a", "D1+1#1", "T2+1:b", "D3+1#0", "T4+1:c", "D5+1#1"}},
    VisitCase{"AFocusHeldOverManyBlocksEndsWhereItsDelimiterIs", {{0, "~"}, {1, "@"}, {2, "["}}, {{0}},
              "~" + many_blocks_of_other_bytes + "~x", {1, 0}, {"D0+1#0", "D1201+1#0", "T1202+1:x"}},
    VisitCase{"OneFocusMayFollowAnother", {{0, "<"}, {1, ">"}, {2, "~"}}, {{1}, {0, 2}}, "<a~b>c<d>",
              {1, 2, 0}, {"D0+1#0", "D4+1#1", "D6+1#0", "T7+1:d", "D8+1#1"}},
    VisitCase{"TheTextMayEndUnderAFocus", {{0, "~"}}, {{0}}, "~abc", {1}, {"D0+1#0"}}),
    [](const testing::TestParamInfo<VisitCase>& info) { return std::string(info.param.name); });

TEST(TokenVisit, AVisitorThatStopsIsHandedNothingMore) {
    TokenSplitter splitter;
    splitter.add_delimiter(0, "~");
    const std::string text = "~a~b~";
    int handed = 0;
    const bool finished = splitter.visit_tokens(block_of(text), text.size(), [&](const TokenSplitter::Found&) {
        return ++handed == 2 ? TokenSplitter::stop_visit : TokenSplitter::every_token;
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(handed, 2);
}

TEST(TokenVisit, AVisitLeavesNoTokensBehind) {
    TokenSplitter splitter;
    splitter.add_delimiter(0, "~");
    splitter.split("~a~");
    ASSERT_EQ(splitter.count(), 3);
    const std::string text = "b~";
    splitter.visit_tokens(block_of(text), text.size(), [](const TokenSplitter::Found&) { return TokenSplitter::every_token; });
    EXPECT_EQ(splitter.count(), 0);
    EXPECT_EQ(splitter.first(), nullptr);
}

}  // namespace
