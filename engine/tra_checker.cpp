#include "tra_checker.h"

#include <iterator>
#include <string_view>

#include "token_splitter.h"

namespace {

enum TraDelimiter {
    At, Equal, Tilde, Quote, TagOpen, TagClose, BracketOpen, BracketClose,
    CommentLine, CommentOpen, CommentClose
};

struct TraDelimiterInfo {
    const char* text;
    const char* found_key;
};

// Registered in this order; the index is the delimiter's id.
const TraDelimiterInfo delimiters[] = {
    {"@", "tra.found_at"},
    {"=", "tra.found_equal"},
    {"~", "tra.found_tilde"},
    {"\"", "tra.found_quote"},
    {"<", "tra.found_tag_open"},
    {">", "tra.found_tag_closed"},
    {"[", "tra.found_bracket_open"},
    {"]", "tra.found_bracket_closed"},
    {"//", "tra.found_comment_line"},
    {"/*", "tra.found_comment_open"},
    {"*/", "tra.found_comment_closed"},
};

// The walk's states.
enum TraState {
    BetweenEntries = 0, AfterAt = 1, AfterNumber = 2, AfterEqual = 3, InFirstText = 4,
    AfterFirstText = 5, AfterTagOpen = 6, AfterTagName = 7, InSecondText = 8,
    AfterSecondText = 9, AfterSound1Open = 10, AfterSound1Name = 11, AfterSound1 = 12,
    AfterSound2Open = 13, AfterSound2Name = 14, InBlockComment = 15, InLineComment = 16
};

// What the end of the text expects in each state; null where the end is accepted.
const char* expected_at_end(int state) {
    switch (state) {
        case AfterAt: return "tra.expected_number";
        case AfterNumber: return "tra.expected_equal";
        case AfterEqual:
        case InFirstText:
        case InSecondText: return "tra.expected_tilde";
        case AfterTagOpen: return "tra.expected_tag_text";
        case AfterTagName: return "tra.expected_tag_close";
        case AfterSound1Open:
        case AfterSound2Open: return "tra.expected_sound_text";
        case AfterSound1Name:
        case AfterSound2Name: return "tra.expected_sound_close";
        case InBlockComment: return "tra.expected_comment_close";
        default: return nullptr;
    }
}

bool is(const Token& token, TraDelimiter delimiter) {
    return token.kind == TokenKind::Delimiter && token.delimiter->id == delimiter;
}

bool is_blank_byte(char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

// One or more digits, then nothing but blanks (line ends included).
bool is_entry_number(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i == 0) return false;
    for (; i < text.size(); ++i) {
        if (!is_blank_byte(text[i])) return false;
    }
    return true;
}

bool holds(std::string_view text, char byte) {
    return text.find(byte) != std::string_view::npos;
}

}  // namespace

const char* TraChecker::found_key(const Token& token) {
    switch (token.kind) {
        case TokenKind::Text: return "tra.found_text";
        case TokenKind::Blank: return "tra.found_space";
        case TokenKind::Delimiter: break;
    }
    const auto id = token.delimiter->id;
    if (id >= 0 && id < static_cast<int>(std::size(delimiters))) return delimiters[id].found_key;
    return "tra.found_text";
}

const char* TraChecker::describe_token(const Token& token) const {
    return text(token.kind == TokenKind::Delimiter ? found_key(token) : "tra.found_text");
}

CheckResult TraChecker::check(const char* path) {
    TokenSplitter splitter;
    for (const auto& delimiter : delimiters) {
        splitter.add_delimiter(static_cast<std::int32_t>(&delimiter - delimiters), delimiter.text);
    }
    std::int32_t file_size = 0;
    if (!read_tokens(path, splitter, file_size)) return CheckResult::unreadable();

    auto expected_found = [this](const Token& token, const char* expected_key) {
        return Checker::expected_found(token, expected_key, found_key(token));
    };

    int state = BetweenEntries;
    int resume = BetweenEntries;
    // Comments may open in the states that allow them; they return there when they end.
    auto opens_comment = [&](const Token& token) {
        if (is(token, CommentLine)) {
            resume = state;
            state = InLineComment;
            return true;
        }
        if (is(token, CommentOpen)) {
            resume = state;
            state = InBlockComment;
            return true;
        }
        return false;
    };

    for (const Token* token = splitter.first(); token != nullptr; token = splitter.next()) {
        const Token& t = *token;
        const bool blank = t.kind == TokenKind::Blank;
        switch (state) {
            case BetweenEntries:
                if (is(t, At)) state = AfterAt;
                else if (opens_comment(t) || blank) {}
                else return expected_found(t, "tra.expected_at");
                break;
            case AfterAt:
                if (t.kind == TokenKind::Text && is_entry_number(t.text)) {
                    state = AfterNumber;
                } else {
                    const bool named = t.kind == TokenKind::Delimiter;
                    return number_form(t, "tra.expected_number", named ? found_key(t) : nullptr);
                }
                break;
            case AfterNumber:
                if (is(t, Equal)) state = AfterEqual;
                else if (opens_comment(t) || blank) {}
                else return expected_found(t, "tra.expected_equal");
                break;
            case AfterEqual:
                if (is(t, Tilde)) state = InFirstText;
                else if (opens_comment(t) || blank) {}
                else return expected_found(t, "tra.expected_tilde");
                break;
            case InFirstText:
            case InSecondText:
                if (is(t, Tilde)) {
                    state = state == InFirstText ? AfterFirstText : AfterSecondText;
                } else if (is(t, TagOpen)) {
                    resume = state;
                    state = AfterTagOpen;
                } else if (is(t, TagClose)) {
                    return single(t, "tra.unexpected_tag_closed");
                }
                break;
            case AfterFirstText:
                if (is(t, Tilde)) state = InSecondText;
                else if (is(t, BracketOpen)) state = AfterSound1Open;
                else if (is(t, At)) state = AfterAt;
                else if (opens_comment(t) || blank) {}
                else return expected_found(t, "tra.expected_after_line1");
                break;
            case AfterTagOpen:
                if (t.kind != TokenKind::Text) return expected_found(t, "tra.expected_tag_text");
                if (holds(t.text, ' ')) return single(t, "tra.tag_spaces");
                state = AfterTagName;
                break;
            case AfterTagName:
                if (is(t, TagClose)) state = resume;
                else return expected_found(t, "tra.expected_tag_close");
                break;
            case AfterSecondText:
                if (is(t, BracketOpen)) state = AfterSound2Open;
                else if (is(t, At)) state = AfterAt;
                else if (opens_comment(t) || blank) {}
                else return expected_found(t, "tra.expected_after_line2");
                break;
            case AfterSound1Open:
            case AfterSound2Open:
                if (t.kind != TokenKind::Text) return expected_found(t, "tra.expected_sound_text");
                if (holds(t.text, ' ')) return single(t, "tra.sound_spaces");
                state = state == AfterSound1Open ? AfterSound1Name : AfterSound2Name;
                break;
            case AfterSound1Name:
                if (is(t, BracketClose)) state = AfterSound1;
                else return expected_found(t, "tra.expected_sound_close");
                break;
            case AfterSound1:
                if (is(t, Tilde)) state = InSecondText;
                else if (is(t, At)) state = AfterAt;
                else if (opens_comment(t) || blank) {}
                else return expected_found(t, "tra.expected_after_sound1");
                break;
            case AfterSound2Name:
                if (is(t, BracketClose)) state = BetweenEntries;
                else return expected_found(t, "tra.expected_sound_close");
                break;
            case InBlockComment:
                if (is(t, CommentClose)) state = resume;
                break;
            case InLineComment:
                if (t.kind != TokenKind::Delimiter && holds(t.text, '\n')) state = resume;
                break;
        }
    }

    const char* expected = expected_at_end(state);
    if (expected == nullptr) return CheckResult::clean();
    return conflict_at_end(file_size, "tra.unexpected_end", expected);
}
