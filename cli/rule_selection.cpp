#include "rule_selection.h"

#include <algorithm>
#include <utility>

#include "rules/rule_registry.h"

namespace {

std::string_view family_of(std::string_view id) { return id.substr(0, id.find('.')); }

bool names(std::string_view pattern, std::string_view id) {
    return pattern == id || (pattern.find('.') == std::string_view::npos && pattern == family_of(id));
}

// Whether a pattern of `patterns` turns `id` on: by its id, or by its family when the rule
// is on by default.
bool turns_on(const std::vector<std::string>& patterns, std::string_view id, bool on_by_default) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& p) { return p == id || (on_by_default && names(p, id)); });
}

}  // namespace

RuleSelection::RuleSelection(std::optional<std::vector<std::string>> select, std::vector<std::string> extend_select,
                             std::vector<std::string> ignore)
    : select_(std::move(select)), extend_select_(std::move(extend_select)), ignore_(std::move(ignore)) {}

bool RuleSelection::enabled(std::string_view rule_id) const {
    const Rule* rule = find_rule(rule_id);
    const bool on_by_default = rule == nullptr || rule->on_by_default;
    bool on = select_ ? turns_on(*select_, rule_id, on_by_default) : on_by_default;
    if (turns_on(extend_select_, rule_id, on_by_default)) on = true;
    if (std::any_of(ignore_.begin(), ignore_.end(), [&](const std::string& p) { return names(p, rule_id); })) on = false;
    return on;
}

bool RuleSelection::known(std::string_view pattern) {
    const std::vector<Rule>& rules = all_rules();
    return std::any_of(rules.begin(), rules.end(), [&](const Rule& rule) { return names(pattern, rule.id); });
}
