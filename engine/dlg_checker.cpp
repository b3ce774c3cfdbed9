#include "dlg_checker.h"

#include <string_view>

#include "token_splitter.h"

namespace {

enum DlgDelimiter { BraceOpen = 0, BraceClose = 1, Newline = 2, Comment = 3 };

// The foci the walk asks for, in the order they are added.
enum DlgFocus { FieldFocus = 1, CommentFocus = 2 };

// The walk's states.
enum DlgState {
    LineStart = 0, AfterNumber = 1, AfterBraceClose = 2, AfterFirstBrace = 3, InField = 4,
    InComment = 5
};

// What a token is to the walk: a delimiter by its id, or a run.
enum DlgClass { OneBlank = 4, Blanks = 5, TextRun = 6, class_count = 7 };

// Where each state goes with each class of token, when that needs no look at the token's
// bytes and is no fault; `look` sends the token to the walk's full rules.
constexpr std::uint8_t look = 0xFF;
constexpr std::uint8_t moves[6][class_count] = {
    // Columns: { } line end //, then one blank, more blanks and a Text run; rows: the states.
    {AfterFirstBrace, look, LineStart, InComment, LineStart, LineStart, look},        // LineStart
    {look, AfterBraceClose, look, look, look, look, look},                               // AfterNumber
    {InField, look, LineStart, look, AfterBraceClose, look, look},                       // AfterBraceClose
    {look, look, look, look, look, look, look},                                          // AfterFirstBrace
    {look, AfterBraceClose, look, InField, InField, InField, InField},                   // InField
    {InComment, InComment, LineStart, InComment, InComment, InComment, InComment},       // InComment
};

// The focus of each state: inside a field only braces and line ends matter, inside a
// comment only line ends.
constexpr int focus_of[6] = {0, 0, 0, 0, FieldFocus, CommentFocus};

template <class SomeToken>
int class_of(const SomeToken& t) {
    if (t.kind() == TokenKind::Delimiter) return t.id();
    if (t.kind() == TokenKind::Text) return TextRun;
    return t.length() == 1 ? OneBlank : Blanks;
}

bool is_record_number(std::string_view text) {
    if (text.empty()) return false;
    for (char byte : text) {
        if (byte < '0' || byte > '9') return false;
    }
    return true;
}

}  // namespace

const char* ArcanumDlgChecker::found_key(const Token& token) {
    switch (token.kind) {
        case TokenKind::Text: return "arcanum_dlg.found_text";
        case TokenKind::Blank: return "arcanum_dlg.found_space";
        case TokenKind::Delimiter: break;
    }
    switch (token.delimiter->id) {
        case BraceOpen: return "arcanum_dlg.found_bracket_open";
        case BraceClose: return "arcanum_dlg.found_bracket_close";
        case Newline: return "arcanum_dlg.found_newline";
        default: return "arcanum_dlg.found_text";
    }
}

const char* ArcanumDlgChecker::describe_token(const Token& token) const {
    return text(token.kind == TokenKind::Delimiter ? found_key(token) : "arcanum_dlg.found_text");
}

void ArcanumDlgChecker::add_delimiters(TokenSplitter& splitter) {
    splitter.add_delimiter(BraceOpen, "{");
    splitter.add_delimiter(BraceClose, "}");
    splitter.add_delimiter(Newline, "\n");
    splitter.add_delimiter(Newline, "\r\n");
    splitter.add_delimiter(Comment, "//");
    splitter.add_focus({BraceOpen, BraceClose, Newline});
    splitter.add_focus({Newline});
}

// The walk over one text's tokens, one step per token.
class ArcanumDlgChecker::Walk : WalkBase {
public:
    explicit Walk(ArcanumDlgChecker& checker) : WalkBase(checker, found_key) {}

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
    // Where a good run leads in the one state that judges a run by its bytes: a record's
    // number. Every record has one, so it is judged here rather than in the full rules,
    // which are left with the faults.
    template <class SomeToken>
    std::uint8_t good_run(const SomeToken& t) const {
        const bool number = state_ == AfterFirstBrace && t.kind() == TokenKind::Text && is_record_number(t.text());
        return number ? std::uint8_t{AfterNumber} : look;
    }
    // The full rules, which see a token by kind and delimiter id (-1 for runs, as the
    // table's ids are 0 and up).
    template <class SomeToken>
    int look_at(const SomeToken& t);
    int state_ = LineStart;
};

CheckResult ArcanumDlgChecker::check(const char* path) { return walk_file<Walk>(*this, path); }

CheckResult ArcanumDlgChecker::walk(const TokenSplitter& splitter, std::int32_t file_size) {
    return walk_tokens<Walk>(*this, splitter, file_size);
}

template <class SomeToken>
int ArcanumDlgChecker::Walk::look_at(const SomeToken& t) {
    const int id = t.kind() == TokenKind::Delimiter ? t.id() : -1;
    switch (state_) {
        case LineStart:
            if (id == BraceOpen) state_ = AfterFirstBrace;
            else if (id == Comment) state_ = InComment;
            else if (id != Newline && t.kind() != TokenKind::Blank)
                return expected_found(t.token(), "arcanum_dlg.expected_bracket");
            break;
        case AfterFirstBrace: {
            // good_run() has taken a good number. Only a bad Text token goes unnamed: a blank
            // or a delimiter is named.
            const Token token = t.token();
            const bool named = token.kind != TokenKind::Text;
            return number_form(token, "arcanum_dlg.expected_number", named);
        }
        case AfterNumber:
            // The table has taken the closing brace.
            return expected_found(t.token(), "arcanum_dlg.expected_bracket_close");
        case AfterBraceClose:
            if (id == BraceOpen) state_ = InField;
            else if (id == Newline) state_ = LineStart;
            else if (t.kind() != TokenKind::Blank || t.length() != 1)
                return expected_found(t.token(), "arcanum_dlg.expected_next");
            break;
        case InField:
            if (id == BraceClose) state_ = AfterBraceClose;
            else if (id == BraceOpen) return single(t.token(), "arcanum_dlg.unexpected_bracket_open");
            else if (id == Newline) return single(t.token(), "arcanum_dlg.unexpected_newline");
            break;
        case InComment:
            if (id == Newline) state_ = LineStart;
            break;
    }
    return focus_of[state_];
}

CheckResult ArcanumDlgChecker::Walk::result(std::int32_t file_size) {
    const char* expected = nullptr;
    if (state_ == AfterNumber || state_ == InField) expected = "arcanum_dlg.expected_bracket_close";
    if (state_ == AfterFirstBrace) expected = "arcanum_dlg.expected_number";
    return WalkBase::result(file_size, "arcanum_dlg.unexpected_end", expected);
}
