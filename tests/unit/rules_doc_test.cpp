// docs/rules.md against the rule registry: every rule has its section, and each section's
// bad example yields exactly that rule as its first fault while its fixed example is clean.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include "checker_list.h"
#include "rules/rule_registry.h"
#include "tra_weidu_checker.h"

namespace {

struct RuleSection {
    std::string fence;  // "tra", "dlg" or "tra-weidu": the kind of file the examples are
    std::string bad;
    std::string fixed;
};

// The sections of the page by rule id, each "<a id=...>", "### id", text, "Bad:", a fenced
// example, "Fixed:", a fenced example.
std::map<std::string, RuleSection> read_sections(const std::string& page) {
    static const std::regex section(
        "<a id=\"([a-z_]+\\.[a-z0-9_]+)\"></a>\\n### \\1\\n[^]*?"
        "\\nBad:\\n\\n```(tra-weidu|tra|dlg)\\n([^]*?)```\\n\\nFixed:\\n\\n```\\2\\n([^]*?)```\\n");
    std::map<std::string, RuleSection> sections;
    for (std::sregex_iterator it(page.begin(), page.end(), section), end; it != end; ++it) {
        sections[(*it)[1]] = RuleSection{(*it)[2], (*it)[3], (*it)[4]};
    }
    return sections;
}

std::string read_page() {
    std::ifstream in("docs/rules.md", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// An example is a whole file whose last line has no line end: a fault at the end of the
// text can only be shown that way.
std::string_view as_file(const std::string& block) {
    std::string_view text = block;
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    return text;
}

TEST(RulesDoc, EveryRuleHasASectionWhoseExamplesShowIt) {
    const std::string page = read_page();
    ASSERT_FALSE(page.empty()) << "docs/rules.md not found beside the tests";
    const std::map<std::string, RuleSection> sections = read_sections(page);
    for (const Rule& rule : all_rules()) {
        const std::string id(rule.id);
        SCOPED_TRACE(id);
        const auto found = sections.find(id);
        ASSERT_NE(found, sections.end()) << "no section in the expected shape";
        EXPECT_NE(page.find("| [`" + id + "`](#" + id + ") |"), std::string::npos) << "not in the table";
        std::unique_ptr<Checker> checker;
        if (found->second.fence == "tra-weidu") {
            EXPECT_EQ(id.substr(0, id.find('.')), "tra_weidu");
            checker = std::make_unique<TraWeiduChecker>(nullptr);
        } else {
            const std::optional<FileKind> kind = kind_named(found->second.fence);
            ASSERT_TRUE(kind);
            EXPECT_EQ(id.substr(0, id.find('.')), checker_kind(*kind).family);
            checker = checker_kind(*kind).make(nullptr);
        }
        const std::optional<Diagnostic> bad = checker->first_fault(as_file(found->second.bad));
        ASSERT_TRUE(bad) << "the bad example is clean";
        EXPECT_EQ(bad->rule, id);
        EXPECT_EQ(checker->first_fault(as_file(found->second.fixed)), std::nullopt) << "the fixed example has a fault";
    }
    EXPECT_EQ(sections.size(), all_rules().size()) << "a section names no rule of the registry";
}

}  // namespace
