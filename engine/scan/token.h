// What the token splitter hands out: a token's kind, the delimiter entries of its table, and
// a token as first()/next() give it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class TokenKind : std::uint8_t { Text = 0, Blank = 1, Delimiter = 2 };

struct DelimiterEntry {
    std::int32_t id;
    std::string text;
    std::int32_t length;
};

// One token as handed out by first()/next(). `text` views the run's bytes inside the
// splitter's copy of the text (valid until the next split); it is empty for delimiters.
struct Token {
    TokenKind kind;
    std::int32_t start;
    std::int32_t length;
    const DelimiterEntry* delimiter;
    std::string_view text;
};
