// The walk's fast step against its full rules, for both grammars: in every state the walk
// can reach, every class of token must make the same move either way; and over random
// texts the check (fast steps under foci) must find what a walk by the full rules alone,
// handed every token, finds.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "diagnostic.h"
#include "dlg_checker.h"
#include "grammars/dlg_grammar.h"
#include "grammars/tra_grammar.h"
#include "token_splitter.h"
#include "tra_checker.h"
#include "walk.h"
#include "walk_by_rules.h"

namespace {

template <class G>
struct Family;

// Runs of each class with bytes that matter to some rule: a blank with and without an LF;
// a good number and bad ones; a name with and without a space; text with and without an LF.
template <>
struct Family<TraGrammar> {
    using Checker = TraChecker;
    static std::vector<std::string> runs() {
        return {" ", "\t", " \r\n", "12", "12\r\n", "1a", "1 2", "\t1", "a", "A B", "S\n1", "x y\n"};
    }
};

// A DLG run holds no LF: the LF is a delimiter. A number is digits alone.
template <>
struct Family<DlgGrammar> {
    using Checker = ArcanumDlgChecker;
    static std::vector<std::string> runs() {
        return {" ", "\t", "\r", "  ", " \t", "12", "007", "12 ", "1a", "a", "a b", "\t1"};
    }
};

// A text with its escapes shown, for messages.
std::string shown(std::string_view bytes) {
    std::string out;
    for (const char byte : bytes) {
        switch (byte) {
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += byte;
        }
    }
    return out;
}

std::string describe(const std::optional<Diagnostic>& fault) {
    if (!fault) return "none";
    return std::string(fault->rule) + " (" + severity_name(fault->severity) + ") at " + std::to_string(fault->start) +
           "+" + std::to_string(fault->length) + " form " + std::to_string(static_cast<int>(fault->form)) + " key " +
           fault->key + " argument " + (fault->argument == nullptr ? "null" : fault->argument);
}

// The whole Diagnostic alike, or both none.
testing::AssertionResult same_fault(const std::optional<Diagnostic>& a, const std::optional<Diagnostic>& b) {
    if (a == b) return testing::AssertionSuccess();
    return testing::AssertionFailure() << describe(a) << " against " << describe(b);
}

// A text split by the grammar's own delimiter table; its tokens live as long as it does.
template <class G>
class SplitText {
public:
    explicit SplitText(std::string text) : bytes_(text) {
        Family<G>::Checker::add_delimiters(splitter_);
        splitter_.split(std::move(text));
    }
    SplitText(const SplitText&) = delete;
    SplitText& operator=(const SplitText&) = delete;

    const std::string& bytes() const { return bytes_; }
    std::int32_t size() const { return static_cast<std::int32_t>(bytes_.size()); }
    std::vector<TokenSplitter::Reader> tokens() const {
        std::vector<TokenSplitter::Reader> found;
        for (TokenSplitter::Reader token(splitter_); token.next();) found.push_back(token);
        return found;
    }
    // The first token; a probe has exactly one.
    TokenSplitter::Reader first() const {
        TokenSplitter::Reader token(splitter_);
        token.next();
        return token;
    }

private:
    std::string bytes_;
    TokenSplitter splitter_;
};

template <class G>
std::size_t class_of(const TokenSplitter::Reader& token) {
    if (token.kind() == TokenKind::Delimiter) return static_cast<std::size_t>(token.id());
    return G::run_class(token.kind() == TokenKind::Text, static_cast<std::size_t>(token.length()));
}

template <class G>
using Probes = std::vector<std::unique_ptr<SplitText<G>>>;

// One token of each piece the grammar is tried with: each delimiter and each run above.
template <class G>
Probes<G> probes() {
    Probes<G> found;
    for (const grammar::Delimiter& delimiter : G::delimiters) found.push_back(std::make_unique<SplitText<G>>(delimiter.text));
    for (const std::string& run : Family<G>::runs()) found.push_back(std::make_unique<SplitText<G>>(run));
    return found;
}

// Hands every token of `text` to the full rules; none when they find a fault.
template <class G>
std::optional<GrammarWalk<G>> walk_by_rules(const SplitText<G>& text) {
    GrammarWalk<G> walk;
    for (const TokenSplitter::Reader& token : text.tokens()) {
        if (walk.by_rules(token) == TokenSplitter::stop_visit) return std::nullopt;
    }
    return walk;
}

// A walk as the probes see it, two tokens deep: its state, then for each probe a fault (-1)
// or where the full rules take it and what the probes do there. Two walks in one state
// can differ in where a comment or tag returns to; two tokens are enough to see a tag
// return (its name, its end).
template <class G>
void behaviour(const GrammarWalk<G>& walk, const Probes<G>& probes, int depth, std::vector<int>& seen) {
    seen.push_back(walk.state());
    if (depth == 0) return;
    for (const auto& probe : probes) {
        GrammarWalk<G> copy = walk;
        if (copy.by_rules(probe->first()) == TokenSplitter::stop_visit) {
            seen.push_back(-1);
        } else {
            behaviour(copy, probes, depth - 1, seen);
        }
    }
}

template <class G>
std::vector<int> behaviour(const GrammarWalk<G>& walk, const Probes<G>& probes) {
    std::vector<int> seen;
    behaviour(walk, probes, 2, seen);
    return seen;
}

// The shortest texts, made of probe pieces, that lead the full rules to each behaviour
// there is: a search over the walk, not over a copy of the description.
template <class G>
std::vector<std::string> reaching_texts(const Probes<G>& probes) {
    std::vector<std::string> texts{""};
    std::set<std::vector<int>> seen{behaviour(GrammarWalk<G>(), probes)};
    for (std::size_t next = 0; next < texts.size(); ++next) {
        for (const auto& probe : probes) {
            const SplitText<G> text(texts[next] + probe->bytes());
            const std::optional<GrammarWalk<G>> walk = walk_by_rules(text);
            if (walk && seen.insert(behaviour(*walk, probes)).second) texts.push_back(text.bytes());
        }
    }
    return texts;
}

// Random texts from the grammar's delimiters, digits, letters, blanks and line ends. Most
// pieces are chosen so that the text stays free of faults (the end aside), so that texts
// reach deep into entries and records rather than fault at their first bytes.
template <class G>
class TextMaker {
public:
    explicit TextMaker(std::uint32_t seed) : random_(seed) {
        for (const grammar::Delimiter& delimiter : G::delimiters) pieces_.emplace_back(delimiter.text);
        for (const char* piece : {"0", "1", "7", "42", "a", "Z", "x y", " ", "\t", "  ", "\n", "\r\n", "\r"}) {
            pieces_.emplace_back(piece);
        }
        Family<G>::Checker::add_delimiters(splitter_);
    }

    std::string make() {
        std::string text;
        bool faulty = false;
        const std::size_t count = random_() % 40;
        for (std::size_t i = 0; i < count; ++i) {
            std::string piece = pick();
            // Once a text faults, guiding it pays no more.
            if (!faulty && random_() % 8 != 0) {
                for (int attempt = 0; attempt < 4 && faults_early(text + piece); ++attempt) piece = pick();
            }
            text += piece;
            faulty = faulty || faults_early(text);
        }
        return text;
    }

private:
    const std::string& pick() { return pieces_[random_() % pieces_.size()]; }

    bool faults_early(const std::string& text) {
        const std::optional<Diagnostic> fault = fault_by_rules<G>(splitter_, text);
        return fault && fault->form != MessageForm::End;
    }

    std::mt19937 random_;
    std::vector<std::string> pieces_;
    TokenSplitter splitter_;
};

// The tests below copy walks midway.
static_assert(std::is_copy_constructible_v<GrammarWalk<TraGrammar>> && std::is_copy_constructible_v<GrammarWalk<DlgGrammar>>);

template <class G>
class WalkAgreement : public testing::Test {};

using Grammars = testing::Types<TraGrammar, DlgGrammar>;
TYPED_TEST_SUITE(WalkAgreement, Grammars);

TYPED_TEST(WalkAgreement, EachProbeIsOneTokenAndEveryClassIsProbed) {
    using G = TypeParam;
    std::set<std::size_t> classes;
    for (const auto& probe : probes<G>()) {
        const std::vector<TokenSplitter::Reader> tokens = probe->tokens();
        ASSERT_EQ(tokens.size(), 1u) << shown(probe->bytes());
        classes.insert(class_of<G>(tokens.front()));
    }
    EXPECT_EQ(classes.size(), G::class_count);
}

TYPED_TEST(WalkAgreement, EveryStateIsReached) {
    using G = TypeParam;
    const auto all = probes<G>();
    std::set<int> states;
    for (const std::string& bytes : reaching_texts<G>(all)) {
        const std::optional<GrammarWalk<G>> walk = walk_by_rules(SplitText<G>(bytes));
        ASSERT_TRUE(walk.has_value()) << shown(bytes);
        states.insert(walk->state());
    }
    EXPECT_EQ(states.size(), std::size(G::states));
}

// In each reached state, each probe token once to a copy's fast step and once to another
// copy's full rules: the same focus and state, or the same fault.
TYPED_TEST(WalkAgreement, FastStepAndFullRulesMoveAlikeFromEveryState) {
    using G = TypeParam;
    const auto all = probes<G>();
    int plain_moves = 0;
    int ruled_moves = 0;
    int faults = 0;
    for (const std::string& bytes : reaching_texts<G>(all)) {
        const SplitText<G> prefix(bytes);
        const std::optional<GrammarWalk<G>> ruled = walk_by_rules(prefix);
        ASSERT_TRUE(ruled.has_value()) << shown(bytes);
        // The check walks the same prefix by fast steps: it must stand where the rules do.
        GrammarWalk<G> walk;
        for (const TokenSplitter::Reader& token : prefix.tokens()) ASSERT_NE(walk.step(token), TokenSplitter::stop_visit);
        ASSERT_EQ(walk.state(), ruled->state()) << shown(bytes);
        ASSERT_EQ(behaviour(walk, all), behaviour(*ruled, all)) << shown(bytes);

        for (const auto& probe : all) {
            const TokenSplitter::Reader token = probe->first();
            GrammarWalk<G> fast = walk;
            GrammarWalk<G> full = walk;
            const int fast_focus = fast.step(token);
            const int full_focus = full.by_rules(token);
            const std::string where = "\"" + shown(bytes) + "\" (state " + std::to_string(walk.state()) + "), then \"" +
                                      shown(probe->bytes()) + "\"";
            EXPECT_EQ(fast_focus, full_focus) << where;
            EXPECT_EQ(fast.state(), full.state()) << where;
            EXPECT_TRUE(same_fault(fast.result(prefix.size()), full.result(prefix.size()))) << where;
            if (full_focus == TokenSplitter::stop_visit) {
                ++faults;
            } else if (WalkTables<G>::moves[walk.state()][class_of<G>(token)] != WalkTables<G>::look) {
                ++plain_moves;
            } else {
                ++ruled_moves;
            }
        }
    }
    // The table must have been tried on all three kinds of move, not only on some.
    EXPECT_GT(plain_moves, 0);
    EXPECT_GT(ruled_moves, 0);
    EXPECT_GT(faults, 0);
}

TYPED_TEST(WalkAgreement, CheckFindsWhatTheFullRulesFindOnRandomTexts) {
    using G = TypeParam;
    const typename Family<G>::Checker checker(nullptr);
    TokenSplitter splitter;
    Family<G>::Checker::add_delimiters(splitter);
    TextMaker<G> maker(20240607);
    int clean = 0;
    int faults_inside = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = maker.make();
        const std::optional<Diagnostic> checked = checker.first_fault(text);
        ASSERT_TRUE(same_fault(checked, fault_by_rules<G>(splitter, text))) << "\"" << shown(text) << "\"";
        if (!checked) {
            ++clean;
        } else if (checked->form != MessageForm::End) {
            ++faults_inside;
        }
    }
    // The texts must be of every sort: clean, unfinished and faulty.
    EXPECT_GT(clean, 100);
    EXPECT_GT(faults_inside, 100);
}

}  // namespace
