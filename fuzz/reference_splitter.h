// The token splitter's rules written the plain way, byte by byte, as the model the fuzz
// target compares TokenSplitter with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "token_splitter.h"

struct ReferenceDelimiter {
    std::int32_t id;
    std::string text;  // as add_delimiter keeps it: up to the first zero byte
};

struct ReferenceToken {
    TokenKind kind;
    std::int32_t start;
    std::int32_t length;
    std::int32_t id;              // a delimiter's id, else 0
    std::string_view delimiter;   // a delimiter's text, else empty
    std::string_view run;         // a Text or Blank token's bytes, else empty
};

// At each position the first entry of `table` that matches, in registration order; the bytes
// that match none form runs, Text when one of them is no blank. `text` ends at its first zero.
std::vector<ReferenceToken> reference_split(const std::vector<ReferenceDelimiter>& table,
                                            std::string_view text);
