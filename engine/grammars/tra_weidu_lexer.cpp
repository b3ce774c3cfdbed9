#include "grammars/tra_weidu_lexer.h"

namespace {

bool word_start(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool word_byte(unsigned char c) { return word_start(c) || c == '#' || c == '.' || c == '-'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// The words of WeiDU's D language; in a TRA each is a syntax error, AT apart inside "( AT x )".
constexpr std::string_view keywords[] = {
    "ADD_STATE_TRIGGER", "ADD_TRANS_ACTION", "ADD_TRANS_TRIGGER", "ALTER_TRANS", "APPEND", "APPENDI",
    "APPEND_EARLY", "AT", "A_S_T", "A_T_T", "BEGIN", "BRANCH", "CHAIN", "CHAIN2", "CHAIN3", "COPY_TRANS",
    "COPY_TRANS_LATE", "DO", "END", "EXTEND", "EXTEND_BOTTOM", "EXTEND_BOTTOM_REGEXP", "EXTEND_TOP",
    "EXTEND_TOP_REGEXP", "EXTERN", "EXIT", "FLAGS", "GOTO", "IF", "IF_FILE_EXISTS", "INTERJECT",
    "INTERJECT_COPY_TRANS", "INTERJECT_COPY_TRANS2", "INTERJECT_COPY_TRANS3", "INTERJECT_COPY_TRANS4",
    "I_C_T", "I_C_T2", "I_C_T3", "I_C_T4", "JOURNAL", "REPLACE", "REPLACE_ACTION_TEXT",
    "REPLACE_ACTION_TEXT_PROCESS", "REPLACE_ACTION_TEXT_PROCESS_REGEXP", "REPLACE_ACTION_TEXT_REGEXP",
    "REPLACE_SAY", "REPLACE_STATE_TRIGGER", "REPLACE_TRIGGER_TEXT", "REPLACE_TRIGGER_TEXT_REGEXP",
    "REPLACE_TRANS_ACTION", "REPLACE_TRANS_TRIGGER", "REPLY", "R_A_T", "R_A_T_P_R", "R_S_T", "R_T_T",
    "SAFE", "SAY", "SET_WEIGHT", "SOLVED_JOURNAL", "THEN", "UNLESS", "UNSOLVED_JOURNAL", "WEIGHT",
};

bool is_keyword(std::string_view word) {
    for (std::string_view keyword : keywords) {
        if (keyword == word) return true;
    }
    return false;
}

// WeiDU reads numbers into a 63-bit integer.
constexpr std::uint64_t largest_number = (std::uint64_t{1} << 62) - 1;

}  // namespace

TraWeiduLexer::TraWeiduLexer(std::string_view text) : text_(text.substr(0, text.find('\0'))) {
    for (std::size_t& from : absent_from_) from = std::string_view::npos;
}

WeiduLexeme TraWeiduLexer::token(WeiduToken kind, std::size_t start, std::size_t end) {
    at_ = end;
    WeiduLexeme lexeme;
    lexeme.kind = kind;
    lexeme.start = static_cast<std::int32_t>(start);
    lexeme.length = static_cast<std::int32_t>(end - start);
    return lexeme;
}

WeiduLexeme TraWeiduLexer::fault(WeiduLexFault kind, std::size_t start, std::size_t length) {
    WeiduLexeme lexeme = token(WeiduToken::Fault, start, start + length);
    lexeme.fault = kind;
    return lexeme;
}

WeiduLexeme TraWeiduLexer::next() {
    const std::size_t size = text_.size();
    while (at_ < size) {
        const std::size_t start = at_;
        const char c = text_[start];
        const char after = start + 1 < size ? text_[start + 1] : '\0';
        switch (c) {
            case ' ': case '\t': case '\r': case '\n': case '\f':
                ++at_;
                continue;
            case '/':
                if (after == '/') {
                    const std::size_t line_end = text_.find('\n', start + 2);
                    at_ = line_end == std::string_view::npos ? size : line_end + 1;
                    continue;
                }
                if (after == '*') {
                    if (block_comment(start)) continue;
                    WeiduLexeme open = fault(WeiduLexFault::UnterminatedComment, size, 0);
                    open.opened = static_cast<std::int32_t>(start);
                    open.opened_length = 2;
                    return open;
                }
                return fault(WeiduLexFault::InvalidByte, start, 1);
            case '=': return token(after == '=' ? WeiduToken::DoubleEquals : WeiduToken::Equals, start, start + (after == '=' ? 2 : 1));
            case '+': return token(WeiduToken::Plus, start, start + 1);
            case '^': return token(WeiduToken::Join, start, start + 1);
            case '(': return token(WeiduToken::ParenOpen, start, start + 1);
            case ')': return token(WeiduToken::ParenClose, start, start + 1);
            case '[': return delimited(start, ']', 3, WeiduLexFault::UnterminatedSound);
            case '~':
                if (text_.compare(start, 5, "~~~~~") == 0) return wide_string(start);
                return delimited(start, '~', 0, WeiduLexFault::UnterminatedString);
            case '"': return delimited(start, '"', 1, WeiduLexFault::UnterminatedString);
            case '%': return delimited(start, '%', 2, WeiduLexFault::UnterminatedString);
            case '@': return number(WeiduToken::Entry, start);
            case '#': return number(WeiduToken::StrRef, start);
            case '!': return number(WeiduToken::ForcedRef, start);
            default:
                if (word_start(static_cast<unsigned char>(c))) return word(start);
                return fault(WeiduLexFault::InvalidByte, start, 1);
        }
    }
    return token(WeiduToken::End, size, size);
}

WeiduLexeme TraWeiduLexer::delimited(std::size_t start, char close, int slot, WeiduLexFault missing) {
    std::size_t& absent = absent_from_[slot];
    const std::size_t end = absent != std::string_view::npos && start + 1 >= absent
                                ? std::string_view::npos
                                : text_.find(close, start + 1);
    if (end == std::string_view::npos) {
        if (absent == std::string_view::npos || start + 1 < absent) absent = start + 1;
        return fault(missing, start, 1);
    }
    return token(close == ']' ? WeiduToken::Sound : WeiduToken::Text, start, end + 1);
}

WeiduLexeme TraWeiduLexer::number(WeiduToken kind, std::size_t start) {
    std::size_t at = start + 1;
    const bool negative = at < text_.size() && text_[at] == '-';
    if (negative) ++at;
    const std::size_t digits = at;
    std::uint64_t value = 0;
    bool too_large = false;
    for (; at < text_.size() && digit(text_[at]); ++at) {
        if (too_large) continue;
        value = value * 10 + static_cast<std::uint64_t>(text_[at] - '0');
        too_large = value > largest_number + 1;
    }
    if (at == digits) return fault(WeiduLexFault::InvalidByte, start, 1);
    if (too_large || (!negative && value > largest_number)) return fault(WeiduLexFault::NumberOutOfRange, start, at - start);
    return token(kind, start, at);
}

WeiduLexeme TraWeiduLexer::word(std::size_t start) {
    std::size_t at = start + 1;
    while (at < text_.size() && word_byte(static_cast<unsigned char>(text_[at]))) ++at;
    return token(is_keyword(text_.substr(start, at - start)) ? WeiduToken::Keyword : WeiduToken::Text, start, at);
}

WeiduLexeme TraWeiduLexer::wide_string(std::size_t start) {
    const std::size_t close = text_.find("~~~~~", start + 5);
    if (close == std::string_view::npos) {
        WeiduLexeme open = fault(WeiduLexFault::UnterminatedWide, text_.size(), 0);
        open.opened = static_cast<std::int32_t>(start);
        open.opened_length = 5;
        return open;
    }
    return token(WeiduToken::Text, start, close + 5);
}

bool TraWeiduLexer::block_comment(std::size_t start) {
    // Byte by byte, so "//*" inside holds a "/*" that opens a level of its own.
    std::size_t depth = 1;
    std::size_t at = start + 2;
    while (at + 1 < text_.size()) {
        if (text_[at] == '/' && text_[at + 1] == '*') {
            ++depth;
            at += 2;
        } else if (text_[at] == '*' && text_[at + 1] == '/') {
            at += 2;
            if (--depth == 0) {
                at_ = at;
                return true;
            }
        } else {
            ++at;
        }
    }
    at_ = text_.size();
    return false;
}
