// Reads a packed token list one token at a time: kind, delimiter id and length come from a
// single code, and a whole Token is built only when asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scan/token.h"
#include "scan/token_chunks.h"
#include "scan/token_codes.h"

namespace token_scan {

// A split's token list with what reading it needs: the codes' meanings, the delimiter
// table they point into, and the text the runs lie in.
struct PackedTokens {
    TokenChunks chunks;
    CodeTable codes{};
    const DelimiterEntry* table = nullptr;
    const char* text = "";
};

class TokenReader {
public:
    explicit TokenReader(const PackedTokens& tokens)
        : tokens_(&tokens), in_(tokens.chunks.empty() ? no_tokens : tokens.chunks.chunk(0)) {}
    // Steps to the next token, the first one at the first call; false past the last.
    bool next();
    TokenKind kind() const { return kind_; }
    // The id of a Delimiter token's entry.
    std::int32_t id() const { return id_; }
    std::int32_t length() const { return static_cast<std::int32_t>(length_); }
    // The bytes of a Text or Blank token.
    std::string_view text() const { return std::string_view(tokens_->text + start_, length_); }
    // The whole token.
    Token token() const {
        return Token{kind_, static_cast<std::int32_t>(start_), static_cast<std::int32_t>(length_), delimiter_,
                     std::string_view(tokens_->text + start_, delimiter_ == nullptr ? length_ : 0)};
    }

private:
    // What a reader reads when there is no token list at all.
    static constexpr std::uint8_t no_tokens[1] = {chunk_end};

    bool next_long();

    const PackedTokens* tokens_;
    std::size_t chunk_ = 0;
    const std::uint8_t* in_;
    std::size_t at_ = 0;  // start of the next token
    std::size_t start_ = 0;
    std::size_t length_ = 0;
    TokenKind kind_ = TokenKind::Text;
    std::int32_t id_ = 0;
    const DelimiterEntry* delimiter_ = nullptr;
};

inline bool TokenReader::next() {
    const CodeInfo* info = &tokens_->codes[*in_];
    // Escape codes and chunk ends have no length of their own.
    while (info->length == 0) {
        if (*in_ != chunk_end) return next_long();
        if (chunk_ + 1 >= tokens_->chunks.size()) return false;
        in_ = tokens_->chunks.chunk(++chunk_);
        info = &tokens_->codes[*in_];
    }
    ++in_;
    kind_ = info->kind;
    id_ = info->id;
    delimiter_ = info->delimiter;
    length_ = info->length;
    start_ = at_;
    at_ += length_;
    return true;
}

// An escape code: a long run or a delimiter of a large table index. Inline like next(), so
// that a reader that lives in a local variable can stay in registers.
inline bool TokenReader::next_long() {
    const std::uint8_t code = *in_++;
    std::size_t number = 0;
    unsigned shift = 0;
    std::uint8_t byte;
    do {
        byte = *in_++;
        number |= static_cast<std::size_t>(byte & 0x7F) << shift;
        shift += 7;
    } while ((byte & 0x80) != 0);
    kind_ = tokens_->codes[code].kind;
    delimiter_ = nullptr;
    length_ = number;
    if (code == far_delimiter) {
        delimiter_ = &tokens_->table[number];
        id_ = delimiter_->id;
        length_ = static_cast<std::size_t>(delimiter_->length);
    }
    start_ = at_;
    at_ += length_;
    return true;
}

}  // namespace token_scan
