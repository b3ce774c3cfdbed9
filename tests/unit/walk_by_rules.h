// The first fault of a text by a walk's full rules alone: every token handed to by_rules,
// no focus and no table. What the check must find; shared by the tests and the fuzz target.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "diagnostic.h"
#include "token_splitter.h"
#include "walk.h"

// `splitter` holds G's delimiter table.
template <class G>
std::optional<Diagnostic> fault_by_rules(TokenSplitter& splitter, std::string_view bytes) {
    GrammarWalk<G> walk;
    splitter.visit_text(bytes, [&walk](const TokenSplitter::Found& token) {
        return walk.by_rules(token) == TokenSplitter::stop_visit ? TokenSplitter::stop_visit : TokenSplitter::every_token;
    });
    return walk.result(static_cast<std::int32_t>(bytes.size()));
}
