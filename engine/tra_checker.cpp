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

// The foci the walk asks for, in the order they are added.
enum TraFocus { InText = 1, InComment = 2 };

// The focus of each state: inside a text only tildes and tags matter, inside a block
// comment only its end.
constexpr int focus_of[17] = {0, 0, 0, 0, InText, 0, 0, 0, InText, 0, 0, 0, 0, 0, 0, InComment, 0};

// What a token is to the walk: a delimiter by its id, or a run.
enum TraClass { BlankRun = 11, TextRun = 12, class_count = 13 };

// Where each state goes with each class of token, when that needs no look at the token's
// bytes, no return point and is no fault; `look` sends the token to the walk's full rules.
constexpr std::uint8_t look = 0xFF;
constexpr std::uint8_t L = look;
constexpr std::uint8_t moves[17][class_count] = {
    // Columns: @ = ~ " < > [ ] // /* */, then a Blank and a Text run; rows: the states.
    {AfterAt, L, L, L, L, L, L, L, L, L, L, BetweenEntries, L},                                       // BetweenEntries
    {L, L, L, L, L, L, L, L, L, L, L, L, L},                                                          // AfterAt
    {L, AfterEqual, L, L, L, L, L, L, L, L, L, AfterNumber, L},                                       // AfterNumber
    {L, L, InFirstText, L, L, L, L, L, L, L, L, AfterEqual, L},                                       // AfterEqual
    {InFirstText, InFirstText, AfterFirstText, InFirstText, L, L, InFirstText, InFirstText,
     InFirstText, InFirstText, InFirstText, InFirstText, InFirstText},                                // InFirstText
    {AfterAt, L, InSecondText, L, L, L, AfterSound1Open, L, L, L, L, AfterFirstText, L},              // AfterFirstText
    {L, L, L, L, L, L, L, L, L, L, L, L, L},                                                          // AfterTagOpen
    {L, L, L, L, L, L, L, L, L, L, L, L, L},                                                          // AfterTagName
    {InSecondText, InSecondText, AfterSecondText, InSecondText, L, L, InSecondText, InSecondText,
     InSecondText, InSecondText, InSecondText, InSecondText, InSecondText},                           // InSecondText
    {AfterAt, L, L, L, L, L, AfterSound2Open, L, L, L, L, AfterSecondText, L},                        // AfterSecondText
    {L, L, L, L, L, L, L, L, L, L, L, L, L},                                                          // AfterSound1Open
    {L, L, L, L, L, L, L, AfterSound1, L, L, L, L, L},                                                // AfterSound1Name
    {AfterAt, L, InSecondText, L, L, L, L, L, L, L, L, AfterSound1, L},                               // AfterSound1
    {L, L, L, L, L, L, L, L, L, L, L, L, L},                                                          // AfterSound2Open
    {L, L, L, L, L, L, L, BetweenEntries, L, L, L, L, L},                                             // AfterSound2Name
    {InBlockComment, InBlockComment, InBlockComment, InBlockComment, InBlockComment, InBlockComment,
     InBlockComment, InBlockComment, InBlockComment, InBlockComment, L, InBlockComment, InBlockComment}, // InBlockComment
    {InLineComment, InLineComment, InLineComment, InLineComment, InLineComment, InLineComment,
     InLineComment, InLineComment, InLineComment, InLineComment, InLineComment, L, L},                // InLineComment
};

template <class SomeToken>
int class_of(const SomeToken& t) {
    if (t.kind() == TokenKind::Delimiter) return t.id();
    return t.kind() == TokenKind::Text ? TextRun : BlankRun;
}

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
    splitter.add_focus({Tilde, TagOpen, TagClose});
    splitter.add_focus({CommentClose});
}

// The walk over one text's tokens, one step per token. Comments may open in the states
// that allow them; they return there when they end.
class TraChecker::Walk : WalkBase {
public:
    explicit Walk(TraChecker& checker) : WalkBase(checker, found_key) {}

    // One token, seen by its class in the table of moves; only a fault builds the token
    // it reports. Returns the focus of the state it leads to, or stop_visit once a
    // conflict is stored.
    template <class SomeToken>
    int step(const SomeToken& t) {
        std::uint8_t next = moves[state_][class_of(t)];
        // The full rules get a copy: the token itself then never has its address taken,
        // and a plain move need not build it in memory.
        if (next == look && (next = good_run(t)) == look) return look_at(SomeToken(t));
        state_ = next;
        return focus_of[next];
    }
    // The conflict found, or what the end of a text of `file_size` bytes leaves.
    CheckResult result(std::int32_t file_size);

private:
    // Where a good run leads in the state that judges a run by its bytes most often: an
    // entry's number. Every entry has one, so it is judged here rather than in the full
    // rules, which are left with the faults.
    template <class SomeToken>
    std::uint8_t good_run(const SomeToken& t) const {
        const bool number = state_ == AfterAt && t.kind() == TokenKind::Text && is_entry_number(t.text());
        return number ? std::uint8_t{AfterNumber} : look;
    }
    // The full rules, which see a token by kind and delimiter id (-1 for runs, as the
    // table's ids are 0 and up).
    template <class SomeToken>
    int look_at(const SomeToken& t);
    int state_ = BetweenEntries;
    int resume_ = BetweenEntries;
};

CheckResult TraChecker::check(const char* path) { return walk_file<Walk>(*this, path); }

CheckResult TraChecker::walk(const TokenSplitter& splitter, std::int32_t file_size) {
    return walk_tokens<Walk>(*this, splitter, file_size);
}

template <class SomeToken>
int TraChecker::Walk::look_at(const SomeToken& t) {
    const int id = t.kind() == TokenKind::Delimiter ? t.id() : -1;
    const bool blank = t.kind() == TokenKind::Blank;
    const int comment = id == CommentLine ? InLineComment : id == CommentOpen ? InBlockComment : -1;
    switch (state_) {
        case BetweenEntries:
            if (id == At) state_ = AfterAt;
            else if (comment >= 0) resume_ = std::exchange(state_, comment);
            else if (!blank) return expected_found(t.token(), "tra.expected_at");
            break;
        // good_run() has taken a good number.
        case AfterAt: {
            const Token token = t.token();
            const bool named = token.kind == TokenKind::Delimiter;
            return number_form(token, "tra.expected_number", named);
        }
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
            else if (id == TagClose) return single(t.token(), "tra.unexpected_tag_closed");
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
            if (holds(t.text(), ' ')) return single(t.token(), "tra.tag_spaces");
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
            if (holds(t.text(), ' ')) return single(t.token(), "tra.sound_spaces");
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
    return focus_of[state_];
}

CheckResult TraChecker::Walk::result(std::int32_t file_size) {
    return WalkBase::result(file_size, "tra.unexpected_end", expected_at_end(state_));
}
