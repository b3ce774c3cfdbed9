#include "rules/rule_registry.h"

#include "grammars/dlg_grammar.h"
#include "grammars/tra_grammar.h"
#include "rules/syntax_rules.h"
#include "rules/tra_weidu_rules.h"

namespace {

std::vector<Rule> make_rules() {
    std::vector<Rule> rules;
    add_syntax_rules<TraGrammar>(rules);
    add_syntax_rules<DlgGrammar>(rules);
    add_tra_weidu_rules(rules);
    return rules;
}

}  // namespace

const std::vector<Rule>& all_rules() {
    static const std::vector<Rule> rules = make_rules();
    return rules;
}

const Rule* find_rule(std::string_view id) {
    for (const Rule& rule : all_rules()) {
        if (rule.id == id) return &rule;
    }
    return nullptr;
}

std::string rule_doc_anchor(std::string_view id) { return "rules.md#" + std::string(id); }
