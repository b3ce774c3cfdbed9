// The walk that goes on after a fault: faulty samples one per line each give their own
// fault at their own place, and a fault at the end of the text notes where what was left
// open began.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "dlg_checker.h"
#include "tra_checker.h"

// Shown by rule and range where a comparison fails.
void PrintTo(const Diagnostic& d, std::ostream* out) {
    *out << d.rule << " at " << d.start << "+" << d.length << " (" << d.notes.size() << " notes)";
}

namespace {

// Each sample's first fault, checked alone with its line end (a run at the end of a line
// holds it), moved to where the sample stands in `joined`.
std::vector<Diagnostic> faults_of_each(const Checker& checker, const std::vector<std::string>& samples,
                                       std::string& joined) {
    std::vector<Diagnostic> expected;
    for (const std::string& sample : samples) {
        std::optional<Diagnostic> fault = checker.first_fault(sample + "\n");
        if (!fault) {
            ADD_FAILURE() << "sample without a fault: " << sample;
            continue;
        }
        fault->start += static_cast<std::int32_t>(joined.size());
        expected.push_back(*fault);
        joined += sample + "\n";
    }
    return expected;
}

TEST(EveryFault, TraSamplesOnePerLineEachGiveTheirOwnFault) {
    const TraChecker checker(nullptr);
    std::string joined;
    const std::vector<Diagnostic> expected = faults_of_each(
        checker,
        {"hello", "@1a = ~a~", "@1 ~a~", "@1 = \"a\"", "@1 = ~a > b~", "@1 = ~<A B>~",
         "@1 = ~<>~", "@1 = ~a~ [S 1]", "@1 = ~a~ [ ]", "@1 = ~a~ [S1~", "@1 = ~a~ x", "@1 = ~a~ ~b~ ~c~",
         "@1 = ~a~ [S1] x", "@1 = ~a~ [S1] ~b~ [S2] ~c~", "@1 = ~a~ [S1] ~b~ ~c~",
         "  @1 = ~a~ stray", "@1 = ~a~ ~b~ [S2] [S3]"},
        joined);
    EXPECT_EQ(checker.all_faults(joined), expected);
}

TEST(EveryFault, DlgSamplesOnePerLineEachGiveTheirOwnFault) {
    const ArcanumDlgChecker checker(nullptr);
    std::string joined;
    const std::vector<Diagnostic> expected = faults_of_each(
        checker,
        {"x", "}", "{}", "{{", "{x}", "{ 1}", "{1 }", "{1}{a}  {b}", "{1} x", "{1}}", "{1}{a{b}", "{1}{a}//c",
         "{\t}", "  }"},
        joined);
    EXPECT_EQ(checker.all_faults(joined), expected);
}

TEST(EveryFault, ResumesOnlyAtALineStartingAnEntry) {
    const TraChecker checker(nullptr);
    // The fault's line runs on; lines that start no entry ("@x", "text @2") are passed over.
    const std::vector<Diagnostic> faults =
        checker.all_faults("@1 = \"a\" @2 = \"b\"\n@x\ntext @2 = \"c\"\r\n \t@3 = ~d~ x\n");
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_EQ(faults[0].start, 5);
    EXPECT_EQ(faults[0].rule, "tra.expected_tilde");
    EXPECT_EQ(faults[1].start, 46);
    EXPECT_EQ(faults[1].rule, "tra.expected_after_line1");
}

TEST(EveryFault, CleanTextAndTheFirstFaultAreTheFirstFaultWalks) {
    const TraChecker tra(nullptr);
    EXPECT_TRUE(tra.all_faults("@1 = ~a~\n@2 = ~b~ [S] ~c~\n").empty());
    const std::string text = "@1 = ~a~\n@2 ~b~\n@3 = ~c\n";
    ASSERT_FALSE(tra.all_faults(text).empty());
    EXPECT_EQ(tra.all_faults(text).front(), *tra.first_fault(text));
    // No fault after the last one is reported twice, and none after a zero byte.
    EXPECT_EQ(tra.all_faults(std::string("@1 ~a~\n@2 ~b~\0@3 ~c~\n", 22)).size(), 2u);
    EXPECT_EQ(tra.all_faults(std::string("@1 ~a~ \0\n@2 ~b~\n", 17)).size(), 1u) << "a zero byte passed over";
    const std::vector<Diagnostic> cut = tra.all_faults(std::string("@1 ~a~\n@2\0 ~b~", 14));
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[1].rule, "tra.unexpected_end");
    EXPECT_EQ(cut[1].start, 14);
}

struct OpenedRow {
    const char* name;
    bool tra;
    std::string text;
    const char* note_key;  // null: no note
    std::int32_t start;
    std::int32_t length;
};

void PrintTo(const OpenedRow& row, std::ostream* out) { *out << row.name; }

class OpenedHere : public testing::TestWithParam<OpenedRow> {};

TEST_P(OpenedHere, EndFaultNotesWhereItWasOpened) {
    const OpenedRow& row = GetParam();
    const TraChecker tra(nullptr);
    const ArcanumDlgChecker dlg(nullptr);
    const std::vector<Diagnostic> faults = row.tra ? tra.all_faults(row.text) : dlg.all_faults(row.text);
    ASSERT_FALSE(faults.empty());
    const Diagnostic& end = faults.back();
    EXPECT_EQ(end.form, MessageForm::End);
    EXPECT_EQ(end.start, static_cast<std::int32_t>(row.text.size()));
    if (row.note_key == nullptr) {
        EXPECT_TRUE(end.notes.empty());
        return;
    }
    ASSERT_EQ(end.notes.size(), 1u);
    EXPECT_EQ(end.notes[0], (Note{row.note_key, row.start, row.length}));
}

INSTANTIATE_TEST_SUITE_P(Rows, OpenedHere, testing::Values(
    OpenedRow{"Text", true, "@1 = ~abc", "tra.note_text_opened", 5, 1},
    OpenedRow{"SecondText", true, "@1 = ~a~ [S] ~b", "tra.note_text_opened", 13, 1},
    OpenedRow{"TextAfterATag", true, "@1 = ~x <A> y", "tra.note_text_opened", 5, 1},
    OpenedRow{"Tag", true, "@1 = ~x <A", "tra.note_tag_opened", 8, 1},
    OpenedRow{"Sound", true, "@1 = ~a~ [S1", "tra.note_sound_opened", 9, 1},
    OpenedRow{"BlockComment", true, "@1 = ~a~ /* note", "tra.note_comment_opened", 9, 2},
    OpenedRow{"CommentAfterALineComment", true, "@1 // c\n/* x", "tra.note_comment_opened", 8, 2},
    OpenedRow{"AfterAResumedFault", true, "@1 = \"x\"\n@2 = ~abc", "tra.note_text_opened", 14, 1},
    OpenedRow{"NothingOpen", true, "@1 =", nullptr, 0, 0},
    OpenedRow{"Field", false, "{1}{a", "arcanum_dlg.note_field_opened", 3, 1},
    OpenedRow{"LaterField", false, "{1}{a}{b", "arcanum_dlg.note_field_opened", 6, 1},
    OpenedRow{"RecordNumber", false, "{12", "arcanum_dlg.note_record_opened", 0, 1},
    OpenedRow{"RecordBrace", false, "x\n{", "arcanum_dlg.note_record_opened", 2, 1}));

}  // namespace
