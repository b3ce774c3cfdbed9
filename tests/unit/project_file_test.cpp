#include "project_file.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using test_files::write_bytes;

// The rule ids and families the tests' checker knows.
bool known_rule(std::string_view id) {
    const std::string_view known[] = {"tra", "arcanum_dlg", "tra.some_rule", "tra.tag_spaces"};
    return std::find(std::begin(known), std::end(known), id) != std::end(known);
}

void expect_same_file(const std::optional<fs::path>& found, const fs::path& expected) {
    ASSERT_TRUE(found.has_value()) << "expected " << expected;
    EXPECT_TRUE(found->is_absolute()) << *found;
    EXPECT_TRUE(fs::equivalent(*found, expected)) << *found << " is not " << expected;
}

class ProjectFileDiscovery : public ::testing::Test {
protected:
    test_files::ScratchDir dir;
    const fs::path deep = dir.path() / "a" / "b";

    void SetUp() override { fs::create_directories(deep); }
    void put_project_file(const fs::path& folder) { write_bytes((folder / "brindle.toml").string(), "[check]\n"); }
};

TEST_F(ProjectFileDiscovery, FindsTheFileInTheFolderItself) {
    put_project_file(deep);
    expect_same_file(find_project_file(deep), deep / "brindle.toml");
}

TEST_F(ProjectFileDiscovery, FindsTheFileInAFolderAbove) {
    put_project_file(dir.path());
    expect_same_file(find_project_file(deep), dir.path() / "brindle.toml");
}

TEST_F(ProjectFileDiscovery, TheNearestFileWins) {
    put_project_file(dir.path());
    put_project_file(dir.path() / "a");
    expect_same_file(find_project_file(deep), dir.path() / "a" / "brindle.toml");
}

TEST_F(ProjectFileDiscovery, WithoutOneBelowTheRootItFindsWhatLiesAboveTheScratchFolder) {
    // The system's temporary folder may itself lie below a brindle.toml; none is made here.
    const std::optional<fs::path> above = find_project_file(dir.path().parent_path());
    const std::optional<fs::path> found = find_project_file(deep);
    ASSERT_EQ(found.has_value(), above.has_value());
    if (found) {
        EXPECT_EQ(*found, *above);
    }
}

TEST_F(ProjectFileDiscovery, AFolderNamedLikeTheFileIsPassedOver) {
    put_project_file(dir.path());
    fs::create_directory(dir.path() / "a" / "brindle.toml");
    expect_same_file(find_project_file(deep), dir.path() / "brindle.toml");
}

// Restores the current folder, which the test changes, when it ends.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& folder) : before_(fs::current_path()) { fs::current_path(folder); }
    ~CurrentFolder() { fs::current_path(before_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    fs::path before_;
};

TEST_F(ProjectFileDiscovery, ARelativeFolderIsTakenFromTheCurrentFolder) {
    put_project_file(dir.path() / "a");
    const CurrentFolder inside(dir.path());
    expect_same_file(find_project_file(fs::path("a") / "b"), dir.path() / "a" / "brindle.toml");
    // "b/.." lies in "a", so the walk must not pass through "b" and take it for a parent.
    put_project_file(deep);
    expect_same_file(find_project_file(fs::path("a") / "b" / ".."), dir.path() / "a" / "brindle.toml");
}

class ProjectFileReading : public ::testing::Test {
protected:
    test_files::ScratchDir dir;
    const fs::path file = dir.path() / "brindle.toml";

    ProjectFileResult read(std::string_view text) {
        write_bytes(file.string(), text);
        return read_project_file(file, known_rule);
    }
};

TEST_F(ProjectFileReading, ReadsEveryKey) {
    const ProjectFileResult result = read(
        "[check]\nmax-faults = 100\n[rules]\nselect = [\"tra\", \"arcanum_dlg\"]\n"
        "extend-select = [\"tra.some_rule\"]\nignore = [\"tra.tag_spaces\"]\nwarnings-as-errors = true\n");
    ASSERT_FALSE(result.error) << result.error->text();
    ASSERT_TRUE(result.settings);
    const ProjectSettings& settings = *result.settings;
    EXPECT_EQ(settings.file, file);
    EXPECT_EQ(settings.max_faults, 100);
    EXPECT_EQ(settings.select, (std::vector<std::string>{"tra", "arcanum_dlg"}));
    EXPECT_EQ(settings.extend_select, std::vector<std::string>{"tra.some_rule"});
    EXPECT_EQ(settings.ignore, std::vector<std::string>{"tra.tag_spaces"});
    EXPECT_EQ(settings.warnings_as_errors, true);
}

TEST_F(ProjectFileReading, AnEmptyFileGivesNothing) {
    const ProjectFileResult result = read("# nothing set\n");
    ASSERT_TRUE(result.settings);
    EXPECT_FALSE(result.error);
    EXPECT_FALSE(result.settings->max_faults);
    EXPECT_FALSE(result.settings->select);
    EXPECT_TRUE(result.settings->extend_select.empty());
    EXPECT_TRUE(result.settings->ignore.empty());
    EXPECT_FALSE(result.settings->warnings_as_errors);
}

TEST_F(ProjectFileReading, AnEmptySelectionDiffersFromNone) {
    const ProjectFileResult result = read("[rules]\nselect = []\nwarnings-as-errors = false\n");
    ASSERT_TRUE(result.settings);
    EXPECT_EQ(result.settings->select, std::vector<std::string>{});
    EXPECT_EQ(result.settings->warnings_as_errors, false);
}

TEST_F(ProjectFileReading, NoLimitIsZeroAndOtherTomlSpellingsWork) {
    const ProjectFileResult result = read("check.max-faults = 0\nrules = { ignore = [ 'tra' ] }\n");
    ASSERT_TRUE(result.settings) << result.error->text();
    EXPECT_EQ(result.settings->max_faults, 0);
    EXPECT_EQ(result.settings->ignore, std::vector<std::string>{"tra"});
}

struct BadFile {
    const char* label;
    std::string_view text;
    std::int64_t line;
    std::int64_t column;
    std::string_view message;
};

std::ostream& operator<<(std::ostream& out, const BadFile& bad) { return out << bad.label; }

class BadProjectFile : public ProjectFileReading, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadProjectFile, IsAnErrorAtItsPlace) {
    const BadFile& bad = GetParam();
    const ProjectFileResult result = read(bad.text);
    EXPECT_FALSE(result.settings);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->file, file);
    EXPECT_EQ(result.error->line, bad.line);
    EXPECT_EQ(result.error->column, bad.column);
    EXPECT_EQ(result.error->message, bad.message);
}

INSTANTIATE_TEST_SUITE_P(
    EachFault, BadProjectFile,
    ::testing::Values(
        BadFile{"NotToml", "[check]\nmax-faults = \n", 2, 14,
                "Error while parsing key-value pair: expected value, saw '\\n'"},
        BadFile{"UnclosedHeader", "[check\n", 1, 7, "Error while parsing table header: expected ']', saw '\\n'"},
        BadFile{"KeyTwice", "[check]\nmax-faults = 1\nmax-faults = 2\n", 3, 14,
                "Error while parsing key-value pair: cannot redefine existing integer 'max-faults'"},
        BadFile{"UnknownTable", "[check]\nmax-faults = 1\n\n [dlg]\nrules = 'on'\n", 4, 3,
                "unknown table [dlg] (known: [check], [rules], [tra])"},
        BadFile{"UnknownArrayOfTables", "[[lsp]]\n", 1, 3, "unknown table [lsp] (known: [check], [rules], [tra])"},
        BadFile{"UnknownGrammar", "[tra]\ngrammar = 'loose'\n", 2, 11,
                "[tra] grammar must be one of \"strict\", \"weidu\", not \"loose\""},
        BadFile{"GrammarNotAString", "[tra]\ngrammar = 1\n", 2, 11,
                "[tra] grammar must be one of \"strict\", \"weidu\", not an integer"},
        BadFile{"KeyOutsideAnyTable", "max-faults = 1\n", 1, 1,
                "unknown key 'max-faults' outside any table (known tables: [check], [rules], [tra])"},
        BadFile{"UnknownKey", "[check]\n\n\nmax-fault = 1\n", 4, 1,
                "unknown key 'max-fault' in [check] (known: max-faults)"},
        BadFile{"UnknownRulesKey", "[rules]\n  selected = []\n", 2, 3,
                "unknown key 'selected' in [rules] (known: select, extend-select, ignore, warnings-as-errors)"},
        BadFile{"TableAsValue", "check = 5\n", 1, 9, "'check' must be a table, written [check], not an integer"},
        BadFile{"ArrayOfKnownTables", "[[rules]]\n", 1, 1, "'rules' must be a table, written [rules], not an array"},
        BadFile{"MaxFaultsString", "[check]\nmax-faults = \"100\"\n", 2, 14,
                "[check] max-faults must be a whole number, 0 or more, not a string"},
        BadFile{"MaxFaultsDecimal", "[check]\nmax-faults = 1.5\n", 2, 14,
                "[check] max-faults must be a whole number, 0 or more, not a decimal number"},
        BadFile{"MaxFaultsBoolean", "[check]\nmax-faults = true\n", 2, 14,
                "[check] max-faults must be a whole number, 0 or more, not a true/false value"},
        BadFile{"MaxFaultsNegative", "[check]\nmax-faults = -1\n", 2, 14,
                "[check] max-faults must be a whole number, 0 or more, not -1"},
        BadFile{"SelectString", "[rules]\nselect = \"tra\"\n", 2, 10,
                "[rules] select must be an array of strings (rule ids or families), not a string"},
        BadFile{"SelectItemNumber", "[rules]\nselect = [\"tra\", 3]\n", 2, 18,
                "[rules] select must be an array of strings (rule ids or families), but this item is an integer"},
        BadFile{"ExtendSelectTable", "[rules]\nextend-select = { tra = 1 }\n", 2, 17,
                "[rules] extend-select must be an array of strings (rule ids or families), not a table"},
        BadFile{"IgnoreNestedArray", "[rules]\nignore = [[\"tra\"]]\n", 2, 11,
                "[rules] ignore must be an array of strings (rule ids or families), but this item is an array"},
        BadFile{"WarningsAsErrorsString", "[rules]\nwarnings-as-errors = \"no\"\n", 2, 22,
                "[rules] warnings-as-errors must be true or false, not a string"},
        BadFile{"WarningsAsErrorsNumber", "[rules]\nwarnings-as-errors = 0\n", 2, 22,
                "[rules] warnings-as-errors must be true or false, not an integer"},
        BadFile{"UnknownRuleId", "[rules]\nignore = [\n  \"tra\",\n  \"tra.tag_space\",\n]\n", 4, 3,
                "unknown rule 'tra.tag_space' in [rules] ignore"},
        BadFile{"UnknownFamily", "[rules]\nselect = [\"tra\", \"trx\"]\n", 2, 18,
                "unknown rule family 'trx' in [rules] select"},
        BadFile{"UnknownRuleInExtendSelect", "[rules]\nextend-select = [\"arcanum_dlg.nope\"]\n", 2, 18,
                "unknown rule 'arcanum_dlg.nope' in [rules] extend-select"},
        // Tables come back sorted by name; the fault written first is the one reported.
        BadFile{"FirstFaultInTheFile", "[rules]\nignore = ['nope']\n[check]\nmax-faults = -2\n", 2, 11,
                "unknown rule family 'nope' in [rules] ignore"},
        BadFile{"FirstFaultAmongKeys", "[rules]\nwarnings-as-errors = 1\nignore = ['nope']\n", 2, 22,
                "[rules] warnings-as-errors must be true or false, not an integer"},
        // Columns count characters, as editors show them: "é" is one.
        BadFile{"ColumnsCountCharacters", "[rules]\nselect = [\"é\", \"x\"]\n", 2, 11,
                "unknown rule family 'é' in [rules] select"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.label); });

TEST_F(ProjectFileReading, AFileThatDoesNotExistCannotBeRead) {
    const fs::path missing = dir.path() / "gone" / "brindle.toml";
    const ProjectFileResult result = read_project_file(missing, known_rule);
    EXPECT_FALSE(result.settings);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->line, 0);
    EXPECT_EQ(result.error->column, 0);
    EXPECT_EQ(result.error->text(), missing.string() + ": cannot read the project file: it does not exist");
}

TEST_F(ProjectFileReading, AFolderCannotBeRead) {
    fs::create_directory(file);
    const ProjectFileResult result = read_project_file(file, known_rule);
    EXPECT_FALSE(result.settings);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->text(), file.string() + ": cannot read the project file: it is a folder");
}

TEST(ProjectFileErrorText, NamesFileLineAndColumn) {
    const ProjectFileError error{fs::path("mod") / "brindle.toml", 7, 12, "unknown rule 'x.y' in [rules] ignore"};
    EXPECT_EQ(error.text(), (fs::path("mod") / "brindle.toml").string() + ":7:12: unknown rule 'x.y' in [rules] ignore");
}

}  // namespace
