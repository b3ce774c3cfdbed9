// Which rules are in force for a run, as linters choose them: a default set, `select`
// replacing it, `extend-select` adding to it and `ignore` taking from it. A pattern is a
// rule id or a family (the part of ids before the dot, such as "tra").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class RuleSelection {
public:
    // The default set: every rule that is on by default.
    RuleSelection() = default;
    RuleSelection(std::optional<std::vector<std::string>> select, std::vector<std::string> extend_select,
                  std::vector<std::string> ignore);

    // Whether findings of `rule_id` are reported. A rule that is off by default is on only
    // when `select` or `extend-select` names it by its id; a family names only the rules
    // of it that are on by default.
    bool enabled(std::string_view rule_id) const;

    // Whether `pattern` names a rule or a family of the registry.
    static bool known(std::string_view pattern);

private:
    std::optional<std::vector<std::string>> select_;
    std::vector<std::string> extend_select_;
    std::vector<std::string> ignore_;
};
