#include <gtest/gtest.h>

#include <string>

#include "check_file.h"
#include "language_catalog.h"
#include "test_files.h"

namespace {

struct CheckRow {
    const char* name;
    FileKind kind;
    std::string bytes;
    Verdict verdict;
    std::int32_t start;
    std::int32_t length;
    std::int64_t line;
    std::int64_t column;
    std::string line_text;
    std::string reason;
};

std::ostream& operator<<(std::ostream& out, const CheckRow& row) { return out << row.name; }

class CheckTarget : public testing::TestWithParam<CheckRow> {
protected:
    void SetUp() override { ASSERT_TRUE(english.load("English")) << "run from a folder holding languages/"; }
    LanguageCatalog english;
    test_files::ScratchDir dir;
};

TEST_P(CheckTarget, GivesTheEnginesConflictWithItsLineAndColumn) {
    const CheckRow& row = GetParam();
    const std::string path = dir.file("sample");
    test_files::write_bytes(path, row.bytes);
    const CheckerSet checkers(&english);
    const FileReport report = check_target(Target{path, row.kind, ""}, checkers);
    EXPECT_EQ(report.path, path);
    EXPECT_EQ(report.kind, row.kind);
    ASSERT_EQ(report.verdict, row.verdict) << report.error;
    EXPECT_EQ(report.error, "");
    if (row.verdict != Verdict::Conflict) return;
    EXPECT_EQ(report.conflict.start, row.start);
    EXPECT_EQ(report.conflict.length, row.length);
    EXPECT_EQ(report.conflict.position.line, row.line);
    EXPECT_EQ(report.conflict.position.column, row.column);
    EXPECT_EQ(report.conflict.line_text, row.line_text);
    EXPECT_EQ(report.conflict.reason, row.reason);
}

const char* const quote = "Expected a tilde (~) but found a double quote (\")";

INSTANTIATE_TEST_SUITE_P(All, CheckTarget, testing::Values(
    CheckRow{"CleanTra", FileKind::Tra, "@1 = ~a~\r\n", Verdict::Clean, 0, 0, 0, 0, "", ""},
    CheckRow{"CleanDlg", FileKind::Dlg, "{1}{a}\n", Verdict::Clean, 0, 0, 0, 0, "", ""},
    CheckRow{"Lf", FileKind::Tra, "@1 = ~a~\n@2 = \"b\"\n", Verdict::Conflict, 14, 1, 2, 6, "@2 = \"b\"", quote},
    CheckRow{"CrLf", FileKind::Tra, "@1 = ~a~\r\n@2 = \"b\"\r\n", Verdict::Conflict, 15, 1, 2, 6, "@2 = \"b\"", quote},
    CheckRow{"LoneCr", FileKind::Tra, "@1 = ~a~\r@2 = \"b\"\r", Verdict::Conflict, 14, 1, 1, 15,
             "@1 = ~a~\r@2 = \"b\"\r", quote},
    CheckRow{"EndOfTextAfterLastByte", FileKind::Tra, "@1 = ~abc", Verdict::Conflict, 9, 0, 1, 10, "@1 = ~abc",
             "Unexpected end of file. Expected a tilde (~)"},
    CheckRow{"EndOfTextAfterFinalCrLf", FileKind::Dlg, "{1}{a}\r\n{2", Verdict::Conflict, 10, 0, 2, 3, "{2",
             "Unexpected end of file. Expected a closing brace (})"},
    CheckRow{"ConflictOnTheCrLf", FileKind::Dlg, "{1}{a\r\n}", Verdict::Conflict, 5, 2, 1, 6, "{1}{a",
             "The line ends inside a field, before its closing brace (})"},
    CheckRow{"KindChoosesTheChecker", FileKind::Dlg, "@1 = ~a~", Verdict::Conflict, 0, 8, 1, 1, "@1 = ~a~",
             "Expected a record starting with an opening brace ({), a comment (//) or an empty line "
             "but found text"}));

// The Russian file is written in Windows-1251; the report holds the reason in UTF-8.
TEST(CheckTargetReason, ComesInUtf8FromALanguageInACodePage) {
    LanguageCatalog russian;
    ASSERT_TRUE(russian.load("Russian")) << "run from a folder holding languages/";
    test_files::ScratchDir dir;
    const std::string path = dir.file("sample.tra");
    test_files::write_bytes(path, "@1 = ~a~\n@2 = \"b\"\n");
    const CheckerSet checkers(&russian);
    const FileReport report = check_target(Target{path, FileKind::Tra, ""}, checkers);
    ASSERT_EQ(report.verdict, Verdict::Conflict) << report.error;
    EXPECT_EQ(report.conflict.reason, std::string("Ожидалось: тильда (~) — найдено: двойная кавычка (\")"));
}

TEST(CheckBytes, TheLimitShowsTheFirstFindingsAndCountsThemAll) {
    const CheckerSet checkers(nullptr);
    const std::string text = "@1 = \"a\"\n@2 ~b~\n@3 = ~c~ [S 3]\n@5 = ~open\n";
    ReportSettings settings;
    settings.max_faults = 1;
    const FileReport limited = check_bytes("f.tra", FileKind::Tra, text, checkers.of(FileKind::Tra), settings);
    ASSERT_EQ(limited.faults.size(), 1u);
    EXPECT_EQ(limited.faults[0].rule, "tra.expected_tilde");
    EXPECT_EQ(limited.truncated, 3u);
    EXPECT_EQ(limited.errors, 4);
    EXPECT_EQ(limited.failing, 4);

    settings.max_faults = 0;
    settings.rules = RuleSelection(std::nullopt, {}, {"tra.expected_tilde"});
    const FileReport all = check_bytes("f.tra", FileKind::Tra, text, checkers.of(FileKind::Tra), settings);
    ASSERT_EQ(all.faults.size(), 3u);
    EXPECT_EQ(all.truncated, 0u);
    // The conflict stays the first syntax fault, whatever rules are in force.
    EXPECT_EQ(all.conflict.rule, "tra.expected_tilde");
    EXPECT_EQ(all.faults[0].rule, "tra.expected_equal");
    EXPECT_EQ(all.faults[0].position.line, 2);
    ASSERT_EQ(all.faults[2].notes.size(), 1u);
    EXPECT_EQ(all.faults[2].notes[0].position.line, 4);
    EXPECT_EQ(all.faults[2].notes[0].position.column, 6);
}

TEST(RuleChoice, SelectExtendAndIgnoreByIdOrFamily) {
    EXPECT_TRUE(RuleSelection().enabled("tra.tag_spaces"));
    EXPECT_FALSE(RuleSelection(std::vector<std::string>{"arcanum_dlg"}, {}, {}).enabled("tra.tag_spaces"));
    EXPECT_TRUE(RuleSelection(std::vector<std::string>{"arcanum_dlg"}, {"tra"}, {}).enabled("tra.tag_spaces"));
    EXPECT_FALSE(RuleSelection(std::nullopt, {}, {"tra"}).enabled("tra.tag_spaces"));
    EXPECT_FALSE(RuleSelection(std::nullopt, {"tra.tag_spaces"}, {"tra.tag_spaces"}).enabled("tra.tag_spaces"));
    EXPECT_TRUE(RuleSelection::known("tra"));
    EXPECT_TRUE(RuleSelection::known("arcanum_dlg.expected_next"));
    EXPECT_FALSE(RuleSelection::known("tr"));
    EXPECT_FALSE(RuleSelection::known("tra.tag_space"));
}

TEST(CheckTargetErrors, MissingFileIsUnreadableWithTheSystemsReason) {
    test_files::ScratchDir dir;
    const CheckerSet checkers(nullptr);
    const FileReport report = check_target(Target{dir.file("gone.tra"), FileKind::Tra, ""}, checkers);
    EXPECT_EQ(report.verdict, Verdict::Unreadable);
    EXPECT_NE(report.error, "");
}

TEST(CheckTargetErrors, DiscoveryErrorIsPassedOn) {
    const CheckerSet checkers(nullptr);
    const FileReport report = check_target(Target{"x", std::nullopt, "Permission denied"}, checkers);
    EXPECT_EQ(report.verdict, Verdict::Unreadable);
    EXPECT_EQ(report.error, "Permission denied");
}

TEST(ReadFile, GivesExactBytesOrTheSystemsReason) {
    test_files::ScratchDir dir;
    const std::string bytes("a\r\nb\0c\xFF", 7);
    test_files::write_bytes(dir.file("f"), bytes);
    EXPECT_EQ(read_file(dir.file("f")).bytes(), bytes);
    EXPECT_EQ(read_file(dir.file("f")).error, "");
    EXPECT_NE(read_file(dir.file("none")).error, "");
}

}  // namespace
