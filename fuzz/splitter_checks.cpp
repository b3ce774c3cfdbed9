#include "splitter_checks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "fail.h"
#include "token_splitter.h"

namespace {

// Aborts with `what`, said of `way`, unless `holds`.
void require_of(bool holds, const char* way, const char* what) {
    if (!holds) fail((std::string(way) + " " + what).c_str());
}

bool same(const Token& token, const ReferenceToken& expected) {
    if (token.kind != expected.kind || token.start != expected.start || token.length != expected.length) {
        return false;
    }
    if (expected.kind == TokenKind::Delimiter) {
        return token.delimiter != nullptr && token.delimiter->id == expected.id &&
               token.delimiter->text == expected.delimiter && token.delimiter->length == expected.length &&
               token.text.empty();
    }
    return token.delimiter == nullptr && token.text == expected.run;
}

void require_count(const TokenSplitter& splitter, const std::vector<ReferenceToken>& expected) {
    require(splitter.count() == static_cast<std::int32_t>(expected.size()), "count() differs from the model");
}

void walk_first_next(TokenSplitter& splitter, const std::vector<ReferenceToken>& expected) {
    std::size_t i = 0;
    for (const Token* token = splitter.first(); token != nullptr; token = splitter.next(), ++i) {
        require(i < expected.size(), "first()/next() gives more tokens than the model");
        require(same(*token, expected[i]), "first()/next() gives a token unlike the model's");
    }
    require(i == expected.size(), "first()/next() gives fewer tokens than the model");
    require(splitter.next() == nullptr, "next() past the last token is not null");
}

// Right after a split, next() starts the walk by itself.
void walk_next_only(TokenSplitter& splitter, const std::vector<ReferenceToken>& expected) {
    std::size_t i = 0;
    for (const Token* token = splitter.next(); token != nullptr; token = splitter.next(), ++i) {
        require(i < expected.size(), "next() alone gives more tokens than the model");
        require(same(*token, expected[i]), "next() alone gives a token unlike the model's");
    }
    require(i == expected.size(), "next() alone gives fewer tokens than the model");
}

void walk_reader(const TokenSplitter& splitter, const std::vector<ReferenceToken>& expected) {
    TokenSplitter::Reader reader(splitter);
    std::size_t i = 0;
    for (; reader.next(); ++i) {
        require(i < expected.size(), "Reader gives more tokens than the model");
        const ReferenceToken& want = expected[i];
        require(reader.kind() == want.kind && reader.length() == want.length, "Reader kind or length differs");
        if (want.kind == TokenKind::Delimiter) {
            require(reader.id() == want.id, "Reader delimiter id differs");
        } else {
            require(reader.text() == want.run, "Reader run bytes differ");
        }
        require(same(reader.token(), want), "Reader token() differs from the model's");
    }
    require(i == expected.size(), "Reader gives fewer tokens than the model");
}

void add_entries(TokenSplitter& splitter, const std::vector<ReferenceDelimiter>& table, std::size_t from) {
    for (std::size_t i = from; i < table.size(); ++i) splitter.add_delimiter(table[i].id, table[i].text.c_str());
}

bool same_found(const TokenSplitter::Found& found, const ReferenceToken& want) {
    if (found.kind() != want.kind || found.length() != want.length || !same(found.token(), want)) return false;
    return want.kind != TokenKind::Delimiter || found.id() == want.id;
}

// The modes a visit takes, from what it was just handed: every token or one of two foci,
// the first keeping the first entry's id, the second the ids of every other entry.
int next_mode(const ReferenceToken& token, std::size_t index) {
    return static_cast<int>((static_cast<std::size_t>(token.start) * 7 + index) % 3);
}

std::vector<std::int32_t> focus_ids(const std::vector<ReferenceDelimiter>& table, int focus) {
    std::vector<std::int32_t> ids;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (focus == 1 ? i == 0 : i % 2 == 1) ids.push_back(table[i].id);
    }
    return ids;
}

// What a visit is checked against: the tokens the model hands on under the foci the
// visitor asks for, up to where it stops.
struct VisitPlan {
    std::vector<std::int32_t> foci[3];
    std::vector<const ReferenceToken*> handed;
    std::size_t stop_after;
};

VisitPlan plan_visit(const std::vector<ReferenceDelimiter>& table, const std::vector<ReferenceToken>& expected,
                     std::size_t stop_after) {
    VisitPlan plan{{{}, focus_ids(table, 1), focus_ids(table, 2)}, {}, stop_after};
    int mode = TokenSplitter::every_token;
    for (const ReferenceToken& token : expected) {
        if (mode != TokenSplitter::every_token) {
            const std::vector<std::int32_t>& ids = plan.foci[mode];
            const bool kept = token.kind == TokenKind::Delimiter &&
                              std::find(ids.begin(), ids.end(), token.id) != ids.end();
            if (!kept) continue;
        }
        plan.handed.push_back(&token);
        if (plan.handed.size() == stop_after) break;
        mode = next_mode(token, plan.handed.size());
    }
    return plan;
}

// Runs `visit(splitter, visitor)` (one way of visiting) with a visitor that checks each
// token against the plan and changes foci and stops as planned; `bytes` is where each
// token's text must lie.
template <class Visit>
void check_visit(const std::vector<ReferenceDelimiter>& table, const VisitPlan& plan, const char* way,
                 Visit&& visit) {
    TokenSplitter splitter;
    add_entries(splitter, table, 0);
    splitter.add_focus(plan.foci[1]);
    splitter.add_focus(plan.foci[2]);
    std::size_t i = 0;
    const bool finished = visit(splitter, [&](const TokenSplitter::Found& found) {
        require_of(i < plan.handed.size(), way, "hands on a token the model passes over");
        const ReferenceToken& want = *plan.handed[i];
        require_of(same_found(found, want), way, "hands on a token unlike the model's");
        ++i;
        return i == plan.stop_after ? TokenSplitter::stop_visit : next_mode(want, i);
    });
    require_of(i == plan.handed.size(), way, "hands on fewer tokens than the model");
    const bool stopped = plan.stop_after != 0 && plan.handed.size() == plan.stop_after;
    require_of(finished == !stopped, way, "reports a stop wrongly");
    require_of(splitter.count() == 0, way, "keeps a token list");
}

// visit_tokens over a block, and visit_text over an exactly sized heap copy (where a read
// past the text is caught), hand on the model's tokens, under a focus only the delimiters
// it keeps, and stop where the visitor stops them.
void check_visits(const std::vector<ReferenceDelimiter>& table, const std::string& text,
                  const std::vector<ReferenceToken>& expected, std::size_t stop_after) {
    const VisitPlan plan = plan_visit(table, expected, stop_after);
    check_visit(table, plan, "visit_tokens", [&text](TokenSplitter& splitter, auto&& visitor) {
        auto block = std::make_unique<char[]>(text.size() + 1);
        std::memcpy(block.get(), text.data(), text.size());
        return splitter.visit_tokens(std::move(block), text.size(), visitor);
    });
    check_visit(table, plan, "visit_text", [&text](TokenSplitter& splitter, auto&& visitor) {
        const auto exact = std::make_unique<char[]>(text.size());
        std::memcpy(exact.get(), text.data(), text.size());
        return splitter.visit_text(std::string_view(exact.get(), text.size()), [&](const TokenSplitter::Found& found) {
            require_of(found.text().data() == exact.get() + found.token().start, "visit_text",
                    "hands on a token that does not view the caller's bytes");
            return visitor(found);
        });
    });
}

}  // namespace

void check_all_ways(std::vector<ReferenceDelimiter> table, const ReferenceDelimiter& late_entry,
                    const std::string& text) {
    const std::vector<ReferenceToken> expected = reference_split(table, text);
    TokenSplitter splitter;
    add_entries(splitter, table, 0);
    splitter.split(text.c_str());
    require_count(splitter, expected);
    walk_next_only(splitter, expected);
    walk_first_next(splitter, expected);
    walk_reader(splitter, expected);

    // The other two ways in, on the same splitter: nothing of the last split may remain.
    splitter.split(std::string(text));
    require_count(splitter, expected);
    walk_first_next(splitter, expected);
    walk_reader(splitter, expected);

    auto block = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(block.get(), text.data(), text.size());
    splitter.split(std::move(block), text.size());
    require_count(splitter, expected);
    walk_reader(splitter, expected);
    walk_first_next(splitter, expected);

    check_visits(table, text, expected, 0);
    check_visits(table, text, expected, text.size() % 5 + 1);

    table.push_back(late_entry);
    add_entries(splitter, table, table.size() - 1);
    const std::string tail = text.substr(text.size() / 2);
    const std::vector<ReferenceToken> expected_tail = reference_split(table, tail);
    splitter.split(tail.c_str());
    require_count(splitter, expected_tail);
    walk_first_next(splitter, expected_tail);
    walk_reader(splitter, expected_tail);

}

void check_large(const std::vector<ReferenceDelimiter>& table, const std::string& text) {
    const std::vector<ReferenceToken> expected = reference_split(table, text);
    TokenSplitter splitter;
    add_entries(splitter, table, 0);
    splitter.split(text.c_str());
    require_count(splitter, expected);
    walk_first_next(splitter, expected);
    walk_reader(splitter, expected);
    check_visits(table, text, expected, 0);
}

