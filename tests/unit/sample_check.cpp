#include "sample_check.h"

#include <optional>

#include "rules/rule_registry.h"
#include "wording.h"

Outcome check_path(Checker& checker, const std::string& path) { return outcome_of(checker.check(path.c_str())); }

Outcome outcome_of(const CheckResult& result) {
    if (result.conflict() == nullptr) return Outcome{result.code(), 0, 0, ""};
    const Conflict& c = *result.conflict();
    return Outcome{result.code(), c.start, c.length, c.reason.c_str()};
}

// The finding as data, worded here as the checker's Conflict would word it; a syntax
// fault's rule is the key of its first text and is in the registry.
Outcome check_bytes(Checker& checker, std::string_view bytes) {
    const std::optional<Diagnostic> fault = checker.first_fault(bytes);
    if (!fault) return clean_outcome;
    const Rule* rule = find_rule(fault->rule);
    if (rule == nullptr || fault->rule != fault->key || fault->severity != rule->severity) {
        return Outcome{1, fault->start, fault->length, "unregistered rule " + std::string(fault->rule)};
    }
    return Outcome{1, fault->start, fault->length, worded(*fault, checker.catalog())};
}
