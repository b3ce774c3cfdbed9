// The splitter against a plain byte-by-byte splitter written from the rules: random texts
// and tables, texts around the 64-byte blocks the splitter scans in, token lists that
// fill several chunks, and the Reader walk against first()/next().
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "token_splitter.h"

namespace {

using Table = std::vector<std::pair<int, std::string>>;

// A token as a comparable string: kind letter, start, length, then the run's bytes or the
// delimiter's id.
std::string describe(TokenKind kind, std::int32_t start, std::int32_t length, int id, std::string_view text) {
    std::string s = kind == TokenKind::Text ? "T" : kind == TokenKind::Blank ? "B" : "D";
    s += std::to_string(start) + "+" + std::to_string(length);
    if (kind == TokenKind::Delimiter) return s + "#" + std::to_string(id);
    return s + ":" + std::string(text);
}

bool is_blank(char byte) { return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n'; }

// At each position the entries in registration order, the first match taken; the bytes
// that match none form runs, Text when one of them is no blank.
std::vector<std::string> reference_tokens(const Table& table, const std::string& bytes) {
    const std::string text(bytes.c_str());  // up to the first zero byte
    std::vector<std::string> out;
    std::size_t i = 0;
    std::size_t run = 0;
    bool run_is_text = false;
    auto end_run = [&] {
        if (i == run) return;
        const auto kind = run_is_text ? TokenKind::Text : TokenKind::Blank;
        out.push_back(describe(kind, static_cast<std::int32_t>(run), static_cast<std::int32_t>(i - run), 0,
                               std::string_view(text).substr(run, i - run)));
    };
    while (i < text.size()) {
        const std::pair<int, std::string>* matched = nullptr;
        for (const auto& entry : table) {
            const std::string& d = entry.second;
            if (!d.empty() && text.compare(i, d.size(), d) == 0) {
                matched = &entry;
                break;
            }
        }
        if (matched == nullptr) {
            run_is_text = run_is_text || !is_blank(text[i]);
            ++i;
            continue;
        }
        end_run();
        const auto length = static_cast<std::int32_t>(matched->second.size());
        out.push_back(describe(TokenKind::Delimiter, static_cast<std::int32_t>(i), length, matched->first, {}));
        i += matched->second.size();
        run = i;
        run_is_text = false;
    }
    end_run();
    return out;
}

void add_table(TokenSplitter& splitter, const Table& table) {
    for (const auto& [id, text] : table) splitter.add_delimiter(id, text.c_str());
}

std::vector<std::string> walked_tokens(TokenSplitter& splitter) {
    std::vector<std::string> out;
    for (const Token* t = splitter.first(); t != nullptr; t = splitter.next()) {
        out.push_back(describe(t->kind, t->start, t->length, t->delimiter == nullptr ? 0 : t->delimiter->id, t->text));
    }
    return out;
}

std::vector<std::string> read_tokens(const TokenSplitter& splitter) {
    std::vector<std::string> out;
    for (TokenSplitter::Reader reader(splitter); reader.next();) {
        const Token t = reader.token();
        EXPECT_EQ(reader.kind(), t.kind);
        EXPECT_EQ(reader.length(), t.length);
        if (t.kind == TokenKind::Delimiter) {
            EXPECT_EQ(reader.id(), t.delimiter->id);
        } else {
            EXPECT_EQ(reader.text(), t.text);
        }
        out.push_back(describe(t.kind, t.start, t.length, t.delimiter == nullptr ? 0 : t.delimiter->id, t.text));
    }
    return out;
}

// Splits `text` with `table` and compares every walk with the reference.
void expect_like_reference(const Table& table, const std::string& text) {
    const std::vector<std::string> expected = reference_tokens(table, text);
    TokenSplitter splitter;
    add_table(splitter, table);
    splitter.split(text);
    ASSERT_EQ(splitter.count(), static_cast<int>(expected.size()));
    EXPECT_EQ(walked_tokens(splitter), expected);
    EXPECT_EQ(read_tokens(splitter), expected);
}

const Table tra_table = {{0, "@"}, {1, "="}, {2, "~"}, {3, "\""}, {4, "<"}, {5, ">"},
                         {6, "["}, {7, "]"}, {8, "//"}, {9, "/*"}, {10, "*/"}};
const Table dlg_table = {{0, "{"}, {1, "}"}, {2, "\n"}, {2, "\r\n"}, {3, "//"}};

TEST(TokenSplitterReference, RandomTextsAndTables) {
    std::mt19937 random(20240611);
    auto below = [&](std::uint32_t bound) { return static_cast<std::uint32_t>(random() % bound); };
    const std::string alphabet = "ab1 \t\r\n/*~@=<>{}\xE9\xFF";
    for (int round = 0; round < 3000; ++round) {
        Table table;
        const std::uint32_t entries = 1 + below(6);
        for (std::uint32_t e = 0; e < entries; ++e) {
            std::string d;
            for (std::uint32_t n = below(4); n > 0; --n) d += alphabet[below(static_cast<std::uint32_t>(alphabet.size()))];
            table.emplace_back(static_cast<int>(below(5)), d);
        }
        std::string text;
        const std::uint32_t length = below(round % 10 == 0 ? 700 : 150);
        for (std::uint32_t n = 0; n < length; ++n) {
            text += below(200) == 0 ? '\0' : alphabet[below(static_cast<std::uint32_t>(alphabet.size()))];
        }
        SCOPED_TRACE("round " + std::to_string(round));
        expect_like_reference(table, text);
    }
}

TEST(TokenSplitterReference, DelimitersAndZeroBytesAroundBlockEdges) {
    for (std::size_t size : {62u, 63u, 64u, 65u, 66u, 127u, 128u, 129u, 191u, 192u, 193u}) {
        for (std::size_t at = size - 3; at <= size; ++at) {
            std::string text(size, 'x');
            text.replace(at - 1, 2, "/*");
            text.resize(size);
            SCOPED_TRACE("size " + std::to_string(size) + ", comment at " + std::to_string(at - 1));
            expect_like_reference(tra_table, text);
            std::string crlf(size, ' ');
            crlf.replace(at - 1, 2, "\r\n");
            crlf.resize(size);
            expect_like_reference(dlg_table, crlf);
            std::string zero = text;
            zero[at - 1] = '\0';
            expect_like_reference(tra_table, zero);
        }
    }
}

TEST(TokenSplitterReference, LargeTextsAcrossBlockEdges) {
    // Texts from 512 KiB on are scanned two bytes per lookup: delimiters, line ends and
    // runs placed across block edges, and random bytes.
    std::mt19937 random(977);
    const char* const edges[] = {"/*", "*/", "//", "\r\n", "~~", "@1", " \t", "x/"};
    std::string text;
    for (std::size_t block = 0; text.size() < 540 * 1024; ++block) {
        text.append(61 + random() % 3, block % 5 == 0 ? ' ' : 'a');
        text += edges[random() % 8];
    }
    expect_like_reference(tra_table, text);
    expect_like_reference(dlg_table, text);

    const std::string alphabet = "ab \r\n/*~@{}";
    std::string noise;
    for (std::size_t n = 0; n < 520 * 1024; ++n) noise += alphabet[random() % alphabet.size()];
    expect_like_reference(tra_table, noise);
    expect_like_reference(dlg_table, noise);
}

TEST(TokenSplitterReference, RunsOfEveryLengthCodedShortOrLong) {
    std::string text;
    for (std::size_t length = 1; length <= 400; ++length) {
        text += std::string(length, length % 2 == 0 ? 'w' : ' ') + "~" + std::string(length, '\t') + "@";
    }
    expect_like_reference(tra_table, text);
}

TEST(TokenSplitterReference, LargeTablesUseTheirLastEntries) {
    Table table;
    for (int i = 0; i < 200; ++i) table.emplace_back(1000 + i, "<" + std::to_string(i) + ">");
    table.emplace_back(7, "!");
    std::string text;
    for (int i = 199; i >= 0; i -= 3) text += "<" + std::to_string(i) + ">ab!!<x> ";
    expect_like_reference(table, text);
}

TEST(TokenSplitterReference, TokenListsSpanningManyChunks) {
    // Over 600,000 tokens: their codes fill three chunks.
    std::string text;
    for (int i = 0; i < 100000; ++i) text += i % 7 == 0 ? "{12}{a b}\r\n" : "{}{x}\n";
    TokenSplitter splitter;
    add_table(splitter, dlg_table);
    splitter.split(text);
    const std::vector<std::string> expected = reference_tokens(dlg_table, text);
    ASSERT_EQ(splitter.count(), static_cast<int>(expected.size()));
    EXPECT_EQ(walked_tokens(splitter), expected);
    EXPECT_EQ(read_tokens(splitter), expected);
}

TEST(TokenSplitterReference, WalkRestartsAndStaysAtTheEnd) {
    TokenSplitter splitter;
    add_table(splitter, dlg_table);
    std::string text;
    for (int i = 0; i < 100; ++i) text += "{" + std::to_string(i) + "}";
    splitter.split(text);
    const std::vector<std::string> once = walked_tokens(splitter);
    EXPECT_EQ(walked_tokens(splitter), once) << "first() restarts a finished walk";
    EXPECT_EQ(splitter.next(), nullptr);
    EXPECT_EQ(splitter.next(), nullptr);

    splitter.first();
    for (int i = 0; i < 70; ++i) ASSERT_NE(splitter.next(), nullptr);
    const Token* again = splitter.first();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(describe(again->kind, again->start, again->length, again->delimiter->id, again->text), once[0])
        << "first() restarts a walk in the middle";
}

TEST(TokenSplitterReference, NextBeforeFirstStartsTheWalk) {
    TokenSplitter splitter;
    add_table(splitter, dlg_table);
    splitter.split("{1}");
    const Token* t = splitter.next();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->kind, TokenKind::Delimiter);
    EXPECT_EQ(t->start, 0);
}

TEST(TokenSplitterReference, TakesOverABlock) {
    TokenSplitter splitter;
    add_table(splitter, tra_table);
    const std::string text = "@1 = ~a~";
    std::unique_ptr<char[]> block(new char[text.size() + 1]);
    std::memcpy(block.get(), text.data(), text.size());
    block[text.size()] = 'x';  // overwritten: the text ends at `size`
    splitter.split(std::move(block), text.size());
    EXPECT_EQ(walked_tokens(splitter), reference_tokens(tra_table, text));
}

TEST(TokenSplitterReference, ReaderOfAnEmptySplitterHasNoToken) {
    TokenSplitter splitter;
    EXPECT_FALSE(TokenSplitter::Reader(splitter).next());
    splitter.split("");
    TokenSplitter::Reader reader(splitter);
    EXPECT_FALSE(reader.next());
    EXPECT_FALSE(reader.next());
}

}  // namespace
