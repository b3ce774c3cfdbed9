// visit_text: the caller's bytes scanned in place, in a heap buffer of exactly their size
// (no zero byte after them), give the tokens a split of the same bytes gives. Under
// AddressSanitizer a read past the buffer fails the test.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "token_splitter.h"

namespace {

// Kind letter, start, length, then the run's bytes or the delimiter's id, e.g. "T0+2:12" or "D3+1#0".
std::string describe(const Token& token) {
    std::string s = token.kind == TokenKind::Text ? "T" : token.kind == TokenKind::Blank ? "B" : "D";
    s += std::to_string(token.start) + "+" + std::to_string(token.length);
    if (token.kind == TokenKind::Delimiter) return s + "#" + std::to_string(token.delimiter->id);
    return s + ":" + std::string(token.text);
}

// One-byte entries, pairs that begin alike, a pair after a one-byte entry of its first byte
// (never matched), and a three-byte entry, for ends that cut a delimiter anywhere.
void add_entries(TokenSplitter& splitter) {
    splitter.add_delimiter(0, "~");
    splitter.add_delimiter(1, "//");
    splitter.add_delimiter(2, "/*");
    splitter.add_delimiter(3, "*/");
    splitter.add_delimiter(4, "\r\n");
    splitter.add_delimiter(5, "\n");
    splitter.add_delimiter(6, "<<<");
    splitter.add_delimiter(7, "@");
    splitter.add_delimiter(8, "~~");
}

std::vector<std::string> split_tokens(const std::string& text) {
    TokenSplitter splitter;
    add_entries(splitter);
    splitter.split(std::string(text));
    std::vector<std::string> tokens;
    for (const Token* token = splitter.first(); token != nullptr; token = splitter.next()) {
        tokens.push_back(describe(*token));
    }
    return tokens;
}

// The foci and the modes a visit changes between, from the token just handed on: a focus
// on the comment ends, one on the line ends, or every token.
constexpr int modes = 3;
int next_mode(const TokenSplitter::Found& found, int index) { return (found.length() * 5 + index) % modes; }

void add_foci(TokenSplitter& splitter) {
    splitter.add_focus({3});
    splitter.add_focus({4, 5});
}

// Visits `text` from an exactly sized heap copy and describes the tokens; each run's
// text() must view the copy itself.
std::vector<std::string> visit_text_tokens(const std::string& text, bool with_foci) {
    const std::size_t size = text.size();
    const auto bytes = std::make_unique<char[]>(size);
    if (size != 0) std::memcpy(bytes.get(), text.data(), size);
    TokenSplitter splitter;
    add_entries(splitter);
    add_foci(splitter);
    std::vector<std::string> tokens;
    int index = 0;
    const std::string_view view(bytes.get(), size);
    const bool finished = splitter.visit_text(view, [&](const TokenSplitter::Found& found) {
        const Token token = found.token();
        EXPECT_EQ(found.text().data(), bytes.get() + token.start);
        tokens.push_back(describe(token));
        return with_foci ? next_mode(found, ++index) : TokenSplitter::every_token;
    });
    EXPECT_TRUE(finished);
    EXPECT_EQ(splitter.count(), 0);
    return tokens;
}

std::vector<std::string> visit_block_tokens(const std::string& text) {
    auto block = std::make_unique<char[]>(text.size() + 1);
    if (!text.empty()) std::memcpy(block.get(), text.data(), text.size());
    TokenSplitter splitter;
    add_entries(splitter);
    add_foci(splitter);
    std::vector<std::string> tokens;
    int index = 0;
    splitter.visit_tokens(std::move(block), text.size(), [&](const TokenSplitter::Found& found) {
        tokens.push_back(describe(found.token()));
        return next_mode(found, ++index);
    });
    return tokens;
}

// `size` bytes: plain filler, then `tail`.
std::string ending_in(std::size_t size, const std::string& tail) { return std::string(size - tail.size(), 'x') + tail; }

struct TextCase {
    const char* name;
    std::string text;
};

std::ostream& operator<<(std::ostream& out, const TextCase& c) { return out << c.name; }

class VisitTextCases : public testing::TestWithParam<TextCase> {};

TEST_P(VisitTextCases, GivesTheTokensOfASplit) {
    const std::string& text = GetParam().text;
    const std::vector<std::string> expected = split_tokens(text);
    EXPECT_EQ(visit_text_tokens(text, false), expected);
}

TEST_P(VisitTextCases, UnderFociGivesTheTokensOfAVisitedBlock) {
    const std::string& text = GetParam().text;
    EXPECT_EQ(visit_text_tokens(text, true), visit_block_tokens(text));
}

constexpr std::size_t large = 512 * 1024;

INSTANTIATE_TEST_SUITE_P(TokenSplitterVisitText, VisitTextCases, testing::Values(
    TextCase{"Empty", ""},
    TextCase{"OnePlainByte", "x"},
    TextCase{"OneDelimiterByte", "~"},
    TextCase{"OneByteThatBeginsOnlyPairs", "/"},
    TextCase{"OneCarriageReturn", "\r"},
    TextCase{"PairEndingExactlyAtTheEnd", "a//"},
    TextCase{"ThreeByteEntryCutByTheEnd", "a<<"},
    TextCase{"ThreeByteEntryEndingAtTheEnd", "a<<<"},
    TextCase{"BlankRunToTheEnd", "~ \t "},
    TextCase{"Size63EndingInADelimiter", ending_in(63, "~")},
    TextCase{"Size63EndingInACutPair", ending_in(63, "/")},
    TextCase{"Size64Plain", ending_in(64, "")},
    TextCase{"Size64EndingInADelimiter", ending_in(64, "~")},
    TextCase{"Size64EndingInACutPair", ending_in(64, "/")},
    TextCase{"Size64EndingInACutLineEnd", ending_in(64, "\r")},
    TextCase{"Size64EndingInAPair", ending_in(64, "\r\n")},
    TextCase{"Size65PairAcrossTheBlockEdge", ending_in(65, "*/")},
    TextCase{"Size65EndingInACutPair", ending_in(65, "*")},
    TextCase{"Size127EndingInACutLineEnd", ending_in(127, "\r")},
    TextCase{"Size128EndingInADelimiter", ending_in(128, "@")},
    TextCase{"Size128EndingInACutThreeByteEntry", ending_in(128, "<<")},
    TextCase{"Size192EndingInACutPair", ending_in(192, "/")},
    TextCase{"Size256EndingInACutDoubleTilde", ending_in(256, "~")},
    TextCase{"ZeroByteInsideEndsTheText", std::string("a~b\0~c//", 8)},
    TextCase{"ZeroByteLastInABlock", ending_in(64, std::string(1, '\0'))},
    TextCase{"ZeroByteInsideACutPair", std::string("x/\0/", 4)},
    TextCase{"LargeEndingInACutPair", ending_in(large, "/")},
    TextCase{"LargeEndingInACutLineEnd", ending_in(large + 1, "x\r")},
    TextCase{"LargeWithLinesEndingInAPartialBlock", [] {
        std::string text;
        while (text.size() < large + 100) text += "@1 ~a~ // b\r\n/* c */\n";
        text.resize(large + 100);
        return text;
    }()}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(TokenSplitterVisitText, AnEmptyVectorHasNoBytesAtAll) {
    const std::vector<char> none;
    TokenSplitter splitter;
    add_entries(splitter);
    int handed = 0;
    EXPECT_TRUE(splitter.visit_text(std::string_view(none.data(), none.size()), [&](const TokenSplitter::Found&) {
        ++handed;
        return TokenSplitter::every_token;
    }));
    EXPECT_EQ(handed, 0);
}

TEST(TokenSplitterVisitText, AVisitorThatStopsIsHandedNothingMore) {
    const std::vector<char> bytes = {'~', 'a', '~', 'b', '~'};
    TokenSplitter splitter;
    add_entries(splitter);
    int handed = 0;
    const std::string_view view(bytes.data(), bytes.size());
    const bool finished = splitter.visit_text(view, [&](const TokenSplitter::Found&) {
        return ++handed == 2 ? TokenSplitter::stop_visit : TokenSplitter::every_token;
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(handed, 2);
}

TEST(TokenSplitterVisitText, LeavesNoTokensOfAnEarlierSplit) {
    TokenSplitter splitter;
    add_entries(splitter);
    splitter.split("~a~");
    ASSERT_EQ(splitter.count(), 3);
    const std::vector<char> bytes = {'b', '~'};
    splitter.visit_text(std::string_view(bytes.data(), bytes.size()), [](const TokenSplitter::Found&) {
        return TokenSplitter::every_token;
    });
    EXPECT_EQ(splitter.count(), 0);
    EXPECT_EQ(splitter.first(), nullptr);
}

}  // namespace
