// The registry of rules: every kind of finding with its stable id, severity, message key
// and documentation anchor. Front ends list rules and look them up here; checks name the
// rule of each finding by its id.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "diagnostic.h"

struct Rule {
    // "<family>.<name>" in lower case, e.g. "tra.expected_tilde".
    std::string_view id;
    Severity severity;
    // The key of the message's first text: what the rule says in the user's language.
    const char* message_key;
    // Off by default, a rule is on only where it is selected by its own id.
    bool on_by_default = true;
};

// Every rule, family by family in the order of the checker list, each family in the order
// its grammar first names them.
const std::vector<Rule>& all_rules();
// The rule of `id`, or null.
const Rule* find_rule(std::string_view id);
// Where the rule is explained: "rules.md#<id>", relative to the documentation folder.
std::string rule_doc_anchor(std::string_view id);
