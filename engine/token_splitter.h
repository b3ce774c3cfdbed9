// TokenSplitter: cuts a whole text into Text, Blank and Delimiter tokens by a table of
// delimiter strings (first match in registration order). It knows no file format.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

class TokenSplitter {
public:
    // An empty `text` is kept in the table but never matches (it would match everywhere).
    void add_delimiter(std::int32_t id, const char* text);
    // Replaces the tokens with those of `text`, which ends at its first zero byte.
    void split(const char* text);
    // The same, taking over the caller's buffer instead of copying it.
    void split(std::string text);

    std::int32_t count() const { return count_; }
    // The first token, or null when there is none; restarts the walk.
    const Token* first();
    // The token after the one last handed out, or null past the last one.
    const Token* next();

private:
    void build_tokens();
    void append_run(TokenKind kind, std::size_t length);
    void append_delimiter(std::size_t entry);
    void append_number(std::size_t value);
    std::size_t read_number();
    const Token* decode();

    std::vector<DelimiterEntry> table_;
    // For each byte value, the table entries that begin with it, in registration order.
    std::array<std::vector<std::uint32_t>, 256> candidates_;

    std::string text_;
    // The token list, packed: a kind byte per token (runs followed by their length,
    // delimiters by their table index), since tokens tile the text without gaps.
    std::vector<std::uint8_t> packed_;
    std::int32_t count_ = 0;

    std::size_t read_at_ = 0;   // next byte of packed_ to decode
    std::size_t text_at_ = 0;   // start of the next token in text_
    bool walking_ = false;
    Token current_{};
};
