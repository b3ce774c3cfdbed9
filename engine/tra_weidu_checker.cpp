#include "tra_weidu_checker.h"

#include <memory>
#include <new>

#include "grammars/tra_weidu_lexer.h"
#include "rules/tra_weidu_rules.h"

namespace {

// Where the parse stands; each place that can fail is named by the rule it reports.
enum class Place : std::uint8_t {
    Entry,       // before an entry, or the end of the text
    Equals,      // after @n
    Value,       // after = or !n
    AfterText,   // after the text, its sound still possible
    AfterSound,  // after the first sound
    AfterText2,  // after the female text
    Joined,      // after ^
    Joined2,     // after ^ in the female text
    ParenAt,     // after (
    ParenName,   // after ( AT
    ParenClose,  // after ( AT name
};

const char* expected_at(Place place) {
    switch (place) {
        case Place::Entry: return tra_weidu::expected_entry;
        case Place::Equals: return tra_weidu::expected_equals;
        case Place::Value: return tra_weidu::expected_value;
        case Place::AfterText: return tra_weidu::expected_after_text;
        case Place::AfterSound: return tra_weidu::expected_after_sound;
        case Place::AfterText2: return tra_weidu::expected_after_text2;
        case Place::Joined: case Place::Joined2: return tra_weidu::expected_joined_text;
        case Place::ParenAt: case Place::ParenName: case Place::ParenClose: return tra_weidu::expected_at_form;
    }
    return tra_weidu::expected_entry;
}

const char* found_key(WeiduToken token) {
    switch (token) {
        case WeiduToken::Entry: return tra_weidu::found_entry;
        case WeiduToken::StrRef: return tra_weidu::found_strref;
        case WeiduToken::ForcedRef: return tra_weidu::found_forced_strref;
        case WeiduToken::Equals: return tra_weidu::found_equals;
        case WeiduToken::DoubleEquals: return tra_weidu::found_double_equals;
        case WeiduToken::Plus: return tra_weidu::found_plus;
        case WeiduToken::Join: return tra_weidu::found_join;
        case WeiduToken::ParenOpen: return tra_weidu::found_paren_open;
        case WeiduToken::ParenClose: return tra_weidu::found_paren_close;
        case WeiduToken::Sound: return tra_weidu::found_sound;
        default: return tra_weidu::found_text;
    }
}

// The place after `token` at `place`, or none when the place does not take it.
std::optional<Place> step(Place place, const WeiduLexeme& token, std::string_view text) {
    const WeiduToken kind = token.kind;
    const bool end_or_entry = kind == WeiduToken::End || kind == WeiduToken::Entry;
    const auto next_entry = [kind] { return kind == WeiduToken::End ? Place::Entry : Place::Equals; };
    switch (place) {
        case Place::Entry:
            if (end_or_entry) return next_entry();
            break;
        case Place::Equals:
            if (kind == WeiduToken::Equals) return Place::Value;
            break;
        case Place::Value:
            if (kind == WeiduToken::Text) return Place::AfterText;
            if (kind == WeiduToken::StrRef || kind == WeiduToken::Entry) return Place::Entry;
            if (kind == WeiduToken::ParenOpen) return Place::ParenAt;
            if (kind == WeiduToken::ForcedRef) return Place::Value;
            break;
        case Place::AfterText:
            if (kind == WeiduToken::Join) return Place::Joined;
            if (kind == WeiduToken::Sound) return Place::AfterSound;
            if (kind == WeiduToken::Text) return Place::AfterText2;
            if (end_or_entry) return next_entry();
            break;
        case Place::AfterSound:
            if (kind == WeiduToken::Text) return Place::AfterText2;
            if (end_or_entry) return next_entry();
            break;
        case Place::AfterText2:
            if (kind == WeiduToken::Join) return Place::Joined2;
            if (kind == WeiduToken::Sound) return Place::Entry;
            if (end_or_entry) return next_entry();
            break;
        case Place::Joined:
        case Place::Joined2:
            if (kind == WeiduToken::Text) return place == Place::Joined ? Place::AfterText : Place::AfterText2;
            break;
        case Place::ParenAt:
            if (kind == WeiduToken::Keyword && text.substr(static_cast<std::size_t>(token.start), 2) == "AT" &&
                token.length == 2) {
                return Place::ParenName;
            }
            break;
        case Place::ParenName:
            if (kind == WeiduToken::Text) return Place::ParenClose;
            break;
        case Place::ParenClose:
            if (kind == WeiduToken::ParenClose) return Place::Entry;
            break;
    }
    return std::nullopt;
}

Diagnostic single(const char* rule, const WeiduLexeme& at) {
    Diagnostic fault;
    fault.rule = rule;
    fault.start = at.start;
    fault.length = at.length;
    fault.form = MessageForm::Single;
    fault.key = rule;
    return fault;
}

Diagnostic at_end(const char* rule, std::int32_t size, const char* expected, Note opened) {
    Diagnostic fault;
    fault.rule = rule;
    fault.start = size;
    fault.length = 0;
    fault.form = MessageForm::End;
    fault.key = rule;
    fault.argument = expected;
    fault.notes.push_back(opened);
    return fault;
}

Diagnostic lexer_fault(const WeiduLexeme& token) {
    switch (token.fault) {
        case WeiduLexFault::UnterminatedString: return single(tra_weidu::unterminated_string, token);
        case WeiduLexFault::UnterminatedSound: return single(tra_weidu::unterminated_sound, token);
        case WeiduLexFault::NumberOutOfRange: return single(tra_weidu::number_out_of_range, token);
        case WeiduLexFault::UnterminatedComment:
            return at_end(tra_weidu::unterminated_comment, token.start, tra_weidu::expected_comment_end,
                          Note{tra_weidu::note_comment_opened, token.opened, token.opened_length});
        case WeiduLexFault::UnterminatedWide:
            return at_end(tra_weidu::unterminated_wide_string, token.start, tra_weidu::expected_wide_string_end,
                          Note{tra_weidu::note_wide_string_opened, token.opened, token.opened_length});
        default: return single(tra_weidu::invalid_byte, token);
    }
}

// The first fault from where the lexer stands, read as the start of a file.
std::optional<Diagnostic> parse(TraWeiduLexer& lexer) {
    Place place = Place::Entry;
    WeiduLexeme entry;
    for (;;) {
        const WeiduLexeme token = lexer.next();
        if (token.kind == WeiduToken::Fault) return lexer_fault(token);
        const std::optional<Place> next = step(place, token, lexer.text());
        if (!next) {
            if (token.kind == WeiduToken::Keyword) return single(tra_weidu::keyword, token);
            if (token.kind == WeiduToken::End) {
                return at_end(tra_weidu::unexpected_end, token.start, expected_at(place),
                              Note{tra_weidu::note_entry_opened, entry.start, entry.length});
            }
            Diagnostic fault;
            fault.rule = expected_at(place);
            fault.start = token.start;
            fault.length = token.length;
            fault.form = MessageForm::ExpectedFound;
            fault.key = expected_at(place);
            fault.argument = found_key(token.kind);
            return fault;
        }
        if (token.kind == WeiduToken::End) return std::nullopt;
        if (*next == Place::Equals) entry = token;
        place = *next;
    }
}

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f'; }

// The start of the first line after `at` whose first bytes past blanks are "@", an
// optional "-" and a digit; npos when none is.
std::size_t resume_after(std::string_view text, std::size_t at) {
    for (std::size_t line = text.find('\n', at); line != std::string_view::npos; line = text.find('\n', line + 1)) {
        std::size_t first = line + 1;
        while (first < text.size() && blank(text[first])) ++first;
        if (first >= text.size() || text[first] != '@') continue;
        std::size_t number = first + 1;
        if (number < text.size() && text[number] == '-') ++number;
        if (number < text.size() && text[number] >= '0' && text[number] <= '9') return line + 1;
    }
    return std::string_view::npos;
}

}  // namespace

CheckResult TraWeiduChecker::check(const char* path) {
    std::unique_ptr<char[]> block;
    std::int32_t file_size = 0;
    if (!read_text(path, block, file_size)) return CheckResult::unreadable();
    return report(first_fault(std::string_view(block.get(), static_cast<std::size_t>(file_size))));
}

std::optional<Diagnostic> TraWeiduChecker::first_fault(std::string_view bytes) const {
    TraWeiduLexer lexer(bytes);
    return parse(lexer);
}

std::vector<Diagnostic> TraWeiduChecker::all_faults(std::string_view bytes) const {
    TraWeiduLexer lexer(bytes);
    std::vector<Diagnostic> faults;
    while (std::optional<Diagnostic> fault = parse(lexer)) {
        const bool at_end = fault->form == MessageForm::End;
        const auto at = static_cast<std::size_t>(fault->start);
        faults.push_back(std::move(*fault));
        if (at_end) break;
        const std::size_t from = resume_after(lexer.text(), at);
        if (from == std::string_view::npos) break;
        lexer.restart(from);
    }
    return faults;
}
