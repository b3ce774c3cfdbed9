// GrammarWalk: the one walk every grammar shares. It takes tokens one by one as the
// splitter finds them, moves by a table derived from the grammar's description, and
// interprets the description itself (its full rules) for what the table leaves open:
// faults, runs judged by their bytes, returns from comments and tags.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "diagnostic.h"
#include "grammars/grammar.h"
#include "token_splitter.h"

// Registers G's delimiters and foci in a splitter that has none yet, in table order.
template <class G>
void register_grammar(TokenSplitter& splitter) {
    for (const grammar::Delimiter& delimiter : G::delimiters) splitter.add_delimiter(delimiter.id, delimiter.text);
    for (const grammar::Focus& focus : G::foci) {
        splitter.add_focus(std::vector<std::int32_t>(focus.ids.begin(), focus.ids.begin() + focus.count));
    }
}

// With `Track`, the walk also keeps where what is open now was opened, for the note on a
// fault at the end of the text; the check itself does not pay for it.
template <class G, bool Track = false>
class GrammarWalk {
public:
    // One token, seen by its class in the table of moves; only a fault builds the token it
    // reports. Returns the focus of the state it leads to, or stop_visit once a fault is
    // found.
    template <class SomeToken>
    int step(const SomeToken& t) {
        std::uint8_t next = moves[state_][class_of(t)];
        // The full rules get a copy: the token itself then never has its address taken, and a
        // plain move need not build it in memory.
        if (next == look && (next = good_number(t)) == look) return by_rules(SomeToken(t));
        if constexpr (Track) note_opening(t.token(), next);
        state_ = next;
        return focus_of(next);
    }

    // The same step by the full rules alone, which judge every token themselves.
    template <class SomeToken>
    int by_rules(const SomeToken& t);

    // The fault found, else the fault the end of a text of `size` bytes leaves, if any.
    std::optional<Diagnostic> result(std::int32_t size) const;

    int state() const { return state_; }
    // With `Track`: the token that opened what is open now, as a note; none where nothing is.
    std::optional<Note> opened() const {
        const char* key = G::states[state_].opened_key;
        if (key == nullptr || opened_start_ < 0) return std::nullopt;
        return Note{key, opened_start_, opened_length_};
    }

private:
    static constexpr std::uint8_t look = 0xFF;
    static constexpr auto actions = grammar::action_table<G>();
    static constexpr int number_state = grammar::number_state<G>();

    // Plain moves: where a token goes when that needs no look at its bytes, no return
    // point and is no fault; `look` sends it to the full rules.
    static constexpr auto make_moves() {
        std::array<std::array<std::uint8_t, G::class_count>, actions.size()> table{};
        for (std::size_t s = 0; s < actions.size(); ++s) {
            for (std::size_t c = 0; c < G::class_count; ++c) {
                const grammar::Action& a = actions[s][c];
                table[s][c] = a.act == grammar::Act::Go ? a.target : look;
            }
        }
        return table;
    }
    static constexpr auto moves = make_moves();

    // Each state's focus in a table of its own, small enough to stay in the cache.
    static constexpr auto make_foci() {
        std::array<std::uint8_t, actions.size()> table{};
        for (std::size_t s = 0; s < actions.size(); ++s) table[s] = static_cast<std::uint8_t>(G::states[s].focus);
        return table;
    }
    static constexpr auto foci = make_foci();
    static int focus_of(int state) { return foci[static_cast<std::size_t>(state)]; }

    template <class SomeToken>
    static std::size_t class_of(const SomeToken& t) {
        if (t.kind() == TokenKind::Delimiter) return static_cast<std::size_t>(t.id());
        return G::run_class(t.kind() == TokenKind::Text, static_cast<std::size_t>(t.length()));
    }

    // Every entry or record has a number, so a good one is judged here rather than in the
    // full rules, which are left with the faults.
    template <class SomeToken>
    std::uint8_t good_number(const SomeToken& t) const {
        const bool good = state_ == number_state && t.kind() == TokenKind::Text && G::is_number(t.text());
        return good ? actions[number_state][G::text_class].target : look;
    }

    // The key naming `token` where something else was expected.
    static const char* found_key(const Token& token) {
        switch (token.kind) {
            case TokenKind::Text: return G::found_text;
            case TokenKind::Blank: return G::found_space;
            case TokenKind::Delimiter: break;
        }
        const std::int32_t id = token.delimiter->id;
        return id >= 0 && static_cast<std::size_t>(id) < G::delimiter_classes ? G::delimiter_keys[id] : G::found_text;
    }

    int fault(const Token& token, MessageForm form, const char* key, const char* argument) {
        fault_ = Diagnostic{key, Severity::Error, token.start, token.length, form, key, argument, {}};
        return TokenSplitter::stop_visit;
    }

    // A move to `next` by `token` opens something when `next` is inside something other
    // than the state it leaves.
    void note_opening(const Token& token, int next) {
        const char* now = G::states[state_].opened_key;
        const char* then = G::states[next].opened_key;
        if (then != nullptr && then != now) {
            opened_start_ = token.start;
            opened_length_ = token.length;
        }
    }

    int state_ = 0;
    int resume_ = 0;
    std::optional<Diagnostic> fault_;
    // With `Track`: where what is open now was opened, and where what Enter left was.
    std::int32_t opened_start_ = -1;
    std::int32_t opened_length_ = 0;
    std::int32_t resume_opened_start_ = -1;
    std::int32_t resume_opened_length_ = 0;

    template <class Grammar>
    friend struct WalkTables;
};

// What the walk derives from a grammar, for tests that hold the table against the rules.
template <class G>
struct WalkTables {
    static constexpr std::uint8_t look = GrammarWalk<G>::look;
    static constexpr const auto& moves = GrammarWalk<G>::moves;
};

template <class G, bool Track>
template <class SomeToken>
int GrammarWalk<G, Track>::by_rules(const SomeToken& t) {
    using grammar::Act;
    const grammar::Action& a = actions[state_][class_of(t)];
    switch (a.act) {
        case Act::Go:
            if constexpr (Track) note_opening(t.token(), a.target);
            state_ = a.target;
            break;
        case Act::Enter:
            if constexpr (Track) {
                resume_opened_start_ = opened_start_;
                resume_opened_length_ = opened_length_;
                note_opening(t.token(), a.target);
            }
            resume_ = state_;
            state_ = a.target;
            break;
        case Act::Return:
            if constexpr (Track) {
                opened_start_ = resume_opened_start_;
                opened_length_ = resume_opened_length_;
            }
            state_ = resume_;
            break;
        case Act::ExpectedFound: {
            const Token token = t.token();
            return fault(token, MessageForm::ExpectedFound, a.key, found_key(token));
        }
        case Act::Single: return fault(t.token(), MessageForm::Single, a.key, nullptr);
        case Act::NumberNamed: {
            const Token token = t.token();
            return fault(token, MessageForm::Number, a.key, found_key(token));
        }
        case Act::NumberUnnamed: return fault(t.token(), MessageForm::Number, a.key, nullptr);
        case Act::TestNumber:
            if (!G::is_number(t.text())) return fault(t.token(), MessageForm::Number, a.key, nullptr);
            if constexpr (Track) note_opening(t.token(), a.target);
            state_ = a.target;
            break;
        case Act::TestName:
            if (t.text().find(' ') != std::string_view::npos) {
                return fault(t.token(), MessageForm::Single, a.key, nullptr);
            }
            if constexpr (Track) note_opening(t.token(), a.target);
            state_ = a.target;
            break;
        case Act::TestLineEnd:
            if (t.text().find('\n') == std::string_view::npos) break;
            if constexpr (Track) {
                opened_start_ = resume_opened_start_;
                opened_length_ = resume_opened_length_;
            }
            state_ = resume_;
            break;
    }
    return focus_of(state_);
}

template <class G, bool Track>
std::optional<Diagnostic> GrammarWalk<G, Track>::result(std::int32_t size) const {
    if (fault_) return fault_;
    const char* expected = G::states[state_].end_key;
    if (expected == nullptr) return std::nullopt;
    return Diagnostic{G::end_key, Severity::Error, size, 0, MessageForm::End, G::end_key, expected, {}};
}
