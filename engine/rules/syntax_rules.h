// The syntax rules of a grammar, read off its description: one rule per key a fault of
// its walk can begin with, and the end-of-text fault.
#pragma once

#include <vector>

#include "grammars/grammar.h"
#include "rules/rule_registry.h"

template <class G>
void add_syntax_rules(std::vector<Rule>& rules) {
    const auto add = [&rules](const char* key) {
        for (const Rule& rule : rules) {
            if (rule.id == key) return;
        }
        rules.push_back(Rule{key, Severity::Error, key, true});
    };
    for (const grammar::StateRules& state : G::states) {
        if (grammar::needs_key(state.otherwise.act)) add(state.otherwise.key);
        for (const grammar::On& on : state.on) {
            if (on.token_class != grammar::no_class && grammar::needs_key(on.action.act)) add(on.action.key);
        }
    }
    add(G::end_key);
}
