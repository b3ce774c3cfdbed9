// The terms in which each grammar is described once: its delimiters, its foci and, for
// each state, what each class of token does there. The shared walk (walk.h) derives its
// fast table of moves from such a description and interprets it for everything else, so
// the two cannot drift apart.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace grammar {

// What a token does in a state.
enum class Act : std::uint8_t {
    Go,             // move to `target`
    Enter,          // remember the state, move to `target` (a comment, a tag), come back on Return
    Return,         // back to the state remembered by Enter
    ExpectedFound,  // fault: text(key), a blank, the found token's name
    Single,         // fault: text(key)
    NumberNamed,    // fault: text(key) joined to the found token's name
    NumberUnnamed,  // fault: text(key) alone
    TestNumber,     // a run that is a good number moves to `target`; any other is NumberUnnamed
    TestName,       // a run without a space byte moves to `target`; one with a space is Single
    TestLineEnd,    // a run that holds an LF returns; any other stays
};

struct Action {
    Act act = Act::Go;
    std::uint8_t target = 0;
    const char* key = nullptr;
};

constexpr Action go(int state) { return {Act::Go, static_cast<std::uint8_t>(state), nullptr}; }
constexpr Action enter(int state) { return {Act::Enter, static_cast<std::uint8_t>(state), nullptr}; }
constexpr Action back() { return {Act::Return, 0, nullptr}; }
constexpr Action expected(const char* key) { return {Act::ExpectedFound, 0, key}; }
constexpr Action single(const char* key) { return {Act::Single, 0, key}; }
constexpr Action number_named(const char* key) { return {Act::NumberNamed, 0, key}; }
constexpr Action number_unnamed(const char* key) { return {Act::NumberUnnamed, 0, key}; }
constexpr Action test_number(int state, const char* key) {
    return {Act::TestNumber, static_cast<std::uint8_t>(state), key};
}
constexpr Action test_name(int state, const char* spaces_key) {
    return {Act::TestName, static_cast<std::uint8_t>(state), spaces_key};
}
constexpr Action test_line_end() { return {Act::TestLineEnd, 0, nullptr}; }

constexpr std::uint8_t no_class = 0xFF;

// One exception to a state's rule for all other tokens.
struct On {
    std::uint8_t token_class = no_class;
    Action action;
};

constexpr std::size_t max_exceptions = 8;

struct StateRules {
    // The state's own number: its index in the grammar's list (checked at compile time).
    int state;
    // The focus the scan may take here (0 = every token): the delimiters that alone can
    // change the state.
    int focus;
    // What the end of the text still expects here; null where a text may end.
    const char* end_key;
    // Inside something opened by a delimiter (a text, a tag, a comment): the key of the note
    // that shows where, for a fault at the end of the text. Null elsewhere.
    const char* opened_key;
    // What every token does that `on` does not name.
    Action otherwise;
    std::array<On, max_exceptions> on;
};

// A delimiter as registered with the splitter, in table order.
struct Delimiter {
    int id;
    const char* text;
};

// A focus: the delimiter ids that alone matter in the states that name it.
constexpr std::size_t max_focus_ids = 4;
struct Focus {
    std::array<int, max_focus_ids> ids;
    std::size_t count;

    constexpr bool keeps(std::size_t token_class) const {
        for (std::size_t i = 0; i < count; ++i) {
            if (ids[i] == static_cast<int>(token_class)) return true;
        }
        return false;
    }
};

constexpr bool faults(Act act) {
    return act == Act::ExpectedFound || act == Act::Single || act == Act::NumberNamed || act == Act::NumberUnnamed;
}

constexpr bool needs_key(Act act) { return faults(act) || act == Act::TestNumber || act == Act::TestName; }

constexpr bool moves_to_target(Act act) {
    return act == Act::Go || act == Act::Enter || act == Act::TestNumber || act == Act::TestName;
}

// The full table of actions, by state and class of token, from a grammar's states.
template <class G>
constexpr auto action_table() {
    std::array<std::array<Action, G::class_count>, std::size(G::states)> table{};
    for (std::size_t s = 0; s < std::size(G::states); ++s) {
        for (std::size_t c = 0; c < G::class_count; ++c) table[s][c] = G::states[s].otherwise;
        for (const On& on : G::states[s].on) {
            if (on.token_class != no_class) table[s][on.token_class] = on.action;
        }
    }
    return table;
}

// The state in which a run is judged as a number: the walk judges good numbers there
// without its full rules. -1 when there is none or more than one.
template <class G>
constexpr int number_state() {
    constexpr auto table = action_table<G>();
    int found = -1;
    for (std::size_t s = 0; s < table.size(); ++s) {
        for (std::size_t c = 0; c < G::class_count; ++c) {
            if (table[s][c].act != Act::TestNumber) continue;
            if (c != G::text_class || found >= 0) return -1;
            found = static_cast<int>(s);
        }
    }
    return found;
}

// What a description must hold for the walk to rely on it.
template <class G>
constexpr bool well_formed() {
    constexpr std::size_t state_count = std::size(G::states);
    if (state_count == 0 || state_count >= 0xFF) return false;
    for (std::size_t s = 0; s < state_count; ++s) {
        const StateRules& rules = G::states[s];
        if (rules.state != static_cast<int>(s)) return false;
        if (rules.focus < 0 || rules.focus > static_cast<int>(std::size(G::foci))) return false;
        const auto valid = [&](const Action& a) {
            if (needs_key(a.act) && a.key == nullptr) return false;
            return !moves_to_target(a.act) || a.target < state_count;
        };
        if (!valid(rules.otherwise)) return false;
        for (const On& on : rules.on) {
            if (on.token_class == no_class) continue;
            if (on.token_class >= G::class_count || !valid(on.action)) return false;
        }
    }
    // Under a focus the scan hands on only the focus's delimiters: every other token must
    // leave the state as it is.
    constexpr auto table = action_table<G>();
    for (std::size_t s = 0; s < state_count; ++s) {
        const int focus = G::states[s].focus;
        if (focus == 0) continue;
        for (std::size_t c = 0; c < G::class_count; ++c) {
            if (G::foci[focus - 1].keeps(c)) continue;
            if (table[s][c].act != Act::Go || table[s][c].target != s) return false;
        }
    }
    for (const Delimiter& d : G::delimiters) {
        if (d.id < 0 || d.id >= static_cast<int>(G::delimiter_classes)) return false;
    }
    return G::delimiter_classes < G::class_count && G::text_class < G::class_count &&
           number_state<G>() >= 0;
}

}  // namespace grammar
