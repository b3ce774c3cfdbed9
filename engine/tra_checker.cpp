#include "tra_checker.h"

#include <iterator>
#include <string_view>
#include <utility>

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

void TraChecker::add_delimiters(TokenSplitter& splitter) {
    for (const auto& delimiter : delimiters) {
        splitter.add_delimiter(static_cast<std::int32_t>(&delimiter - delimiters), delimiter.text);
    }
}

// The walk over one text's tokens, one step per token. Comments may open in the states
// that allow them; they return there when they end.
class TraChecker::Walk {
public:
    explicit Walk(TraChecker& checker) : checker_(checker) {}

    // One token, seen by kind and delimiter id (-1 for runs, as the table's ids are 0 and
    // up); only a fault builds the token it reports. False once a conflict is stored.
    template <class SomeToken>
    bool step(const SomeToken& t);
    // The conflict found, or what the end of a text of `file_size` bytes leaves.
    CheckResult result(std::int32_t file_size);

private:
    bool expected_found(const Token& token, const char* expected_key) {
        return stop(checker_.expected_found(token, expected_key, found_key(token)));
    }
    bool stop(CheckResult result) {
        result_ = result;
        return false;
    }

    TraChecker& checker_;
    int state_ = BetweenEntries;
    int resume_ = BetweenEntries;
    CheckResult result_ = CheckResult::clean();
};

CheckResult TraChecker::check(const char* path) {
    TokenSplitter splitter;
    add_delimiters(splitter);
    Walk walk(*this);
    return walk_file(path, splitter, walk);
}

CheckResult TraChecker::walk(const TokenSplitter& splitter, std::int32_t file_size) {
    Walk walk(*this);
    return walk_tokens(splitter, file_size, walk);
}

template <class SomeToken>
bool TraChecker::Walk::step(const SomeToken& t) {
    const int id = t.kind() == TokenKind::Delimiter ? t.id() : -1;
    const bool blank = t.kind() == TokenKind::Blank;
    const int comment = id == CommentLine ? InLineComment : id == CommentOpen ? InBlockComment : -1;
    switch (state_) {
        case BetweenEntries:
            if (id == At) state_ = AfterAt;
            else if (comment >= 0) resume_ = std::exchange(state_, comment);
            else if (!blank) return expected_found(t.token(), "tra.expected_at");
            break;
        case AfterAt:
            if (t.kind() == TokenKind::Text && is_entry_number(t.text())) {
                state_ = AfterNumber;
            } else {
                const Token token = t.token();
                const bool named = token.kind == TokenKind::Delimiter;
                return stop(checker_.number_form(token, "tra.expected_number", named ? found_key(token) : nullptr));
            }
            break;
        case AfterNumber:
            if (id == Equal) state_ = AfterEqual;
            else if (comment >= 0) resume_ = std::exchange(state_, comment);
            else if (!blank) return expected_found(t.token(), "tra.expected_equal");
            break;
        case AfterEqual:
            if (id == Tilde) state_ = InFirstText;
            else if (comment >= 0) resume_ = std::exchange(state_, comment);
            else if (!blank) return expected_found(t.token(), "tra.expected_tilde");
            break;
        case InFirstText:
        case InSecondText:
            if (id == Tilde) state_ = state_ == InFirstText ? AfterFirstText : AfterSecondText;
            else if (id == TagOpen) resume_ = std::exchange(state_, AfterTagOpen);
            else if (id == TagClose) return stop(checker_.single(t.token(), "tra.unexpected_tag_closed"));
            break;
        case AfterFirstText:
            if (id == Tilde) state_ = InSecondText;
            else if (id == BracketOpen) state_ = AfterSound1Open;
            else if (id == At) state_ = AfterAt;
            else if (comment >= 0) resume_ = std::exchange(state_, comment);
            else if (!blank) return expected_found(t.token(), "tra.expected_after_line1");
            break;
        case AfterTagOpen:
            if (t.kind() != TokenKind::Text) return expected_found(t.token(), "tra.expected_tag_text");
            if (holds(t.text(), ' ')) return stop(checker_.single(t.token(), "tra.tag_spaces"));
            state_ = AfterTagName;
            break;
        case AfterTagName:
            if (id == TagClose) state_ = resume_;
            else return expected_found(t.token(), "tra.expected_tag_close");
            break;
        case AfterSecondText:
            if (id == BracketOpen) state_ = AfterSound2Open;
            else if (id == At) state_ = AfterAt;
            else if (comment >= 0) resume_ = std::exchange(state_, comment);
            else if (!blank) return expected_found(t.token(), "tra.expected_after_line2");
            break;
        case AfterSound1Open:
        case AfterSound2Open:
            if (t.kind() != TokenKind::Text) return expected_found(t.token(), "tra.expected_sound_text");
            if (holds(t.text(), ' ')) return stop(checker_.single(t.token(), "tra.sound_spaces"));
            state_ = state_ == AfterSound1Open ? AfterSound1Name : AfterSound2Name;
            break;
        case AfterSound1Name:
            if (id == BracketClose) state_ = AfterSound1;
            else return expected_found(t.token(), "tra.expected_sound_close");
            break;
        case AfterSound1:
            if (id == Tilde) state_ = InSecondText;
            else if (id == At) state_ = AfterAt;
            else if (comment >= 0) resume_ = std::exchange(state_, comment);
            else if (!blank) return expected_found(t.token(), "tra.expected_after_sound1");
            break;
        case AfterSound2Name:
            if (id == BracketClose) state_ = BetweenEntries;
            else return expected_found(t.token(), "tra.expected_sound_close");
            break;
        case InBlockComment:
            if (id == CommentClose) state_ = resume_;
            break;
        case InLineComment:
            if (id < 0 && holds(t.text(), '\n')) state_ = resume_;
            break;
    }
    return true;
}

CheckResult TraChecker::Walk::result(std::int32_t file_size) {
    if (!result_.is_clean()) return result_;
    const char* expected = expected_at_end(state_);
    if (expected == nullptr) return CheckResult::clean();
    return checker_.conflict_at_end(file_size, "tra.unexpected_end", expected);
}
