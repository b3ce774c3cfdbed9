// TraWeiduLexer: cuts a TRA text into tokens the way the mod compiler WeiDU does: at each
// place the longest form wins, five tildes open a wide string, block comments nest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class WeiduToken : std::uint8_t {
    End,          // the end of the text
    Entry,        // @n
    StrRef,       // #n
    ForcedRef,    // !n
    Equals,       // =
    DoubleEquals, // ==
    Plus,         // +
    Join,         // ^
    ParenOpen,    // (
    ParenClose,   // )
    Sound,        // [ ... ]
    Text,         // ~..~ "..." %...% ~~~~~...~~~~~ or a bare word
    Keyword,      // a word WeiDU's D language reserves
    Fault,        // the lexer stopped: see WeiduLexFault
};

enum class WeiduLexFault : std::uint8_t {
    None,
    InvalidByte,           // at the byte
    UnterminatedString,    // at the opening ~, " or %
    UnterminatedSound,     // at the opening [
    UnterminatedComment,   // at the end; `opened` is the outermost /*
    UnterminatedWide,      // at the end; `opened` is the opening ~~~~~
    NumberOutOfRange,      // at the whole @n, #n or !n
};

struct WeiduLexeme {
    WeiduToken kind = WeiduToken::End;
    std::int32_t start = 0;
    std::int32_t length = 0;
    WeiduLexFault fault = WeiduLexFault::None;
    // Where the comment or wide string left open at the end began.
    std::int32_t opened = 0;
    std::int32_t opened_length = 0;
};

class TraWeiduLexer {
public:
    // The text ends at its first zero byte.
    explicit TraWeiduLexer(std::string_view text);

    // Goes on from `at`, as if the text began there.
    void restart(std::size_t at) { at_ = at; }
    WeiduLexeme next();
    std::size_t size() const { return text_.size(); }
    std::string_view text() const { return text_; }

private:
    WeiduLexeme token(WeiduToken kind, std::size_t start, std::size_t end);
    WeiduLexeme fault(WeiduLexFault kind, std::size_t start, std::size_t length);
    WeiduLexeme delimited(std::size_t start, char close, int slot, WeiduLexFault missing);
    WeiduLexeme number(WeiduToken kind, std::size_t start);
    WeiduLexeme word(std::size_t start);
    WeiduLexeme wide_string(std::size_t start);
    // Passes over a block comment opened at `start`; false when the text ends inside it.
    bool block_comment(std::size_t start);

    std::string_view text_;
    std::size_t at_ = 0;
    // Per closing delimiter (~ " % ]): a place from which it no longer occurs, so a text
    // with many unclosed openers is still searched once.
    std::size_t absent_from_[4];
};
