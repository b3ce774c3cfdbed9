// The WeiDU TRA checker against what WeiDU itself answers for the same files: each row's
// verdict was WeiDU's own (a clean file, or a fault at that byte).
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "key_catalog.h"
#include "rules/rule_registry.h"
#include "sample_check.h"
#include "tra_weidu_checker.h"

namespace {

struct WeiduRow {
    const char* name;
    std::string text;
    const char* rule;  // null: WeiDU accepts the file
    int start;
    int length;
};

void PrintTo(const WeiduRow& row, std::ostream* out) { *out << row.name; }

class WeiduVerdicts : public testing::TestWithParam<WeiduRow> {};

TEST_P(WeiduVerdicts, FirstFaultIsWeidusFirstError) {
    const TraWeiduChecker checker(nullptr);
    const WeiduRow& row = GetParam();
    const std::optional<Diagnostic> fault = checker.first_fault(row.text);
    if (row.rule == nullptr) {
        EXPECT_EQ(fault, std::nullopt) << (fault ? std::string(fault->rule) : "");
        EXPECT_TRUE(checker.all_faults(row.text).empty());
        return;
    }
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->rule, row.rule);
    EXPECT_EQ(fault->start, row.start);
    EXPECT_EQ(fault->length, row.length);
    EXPECT_EQ(fault->severity, Severity::Error);
    EXPECT_NE(find_rule(fault->rule), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Accepted, WeiduVerdicts, testing::Values(
    WeiduRow{"TildeText", "@1 = ~a~\n", nullptr, 0, 0},
    WeiduRow{"QuotedTextHoldsTildes", "@1 = \"a ~b~\"\n", nullptr, 0, 0},
    WeiduRow{"PercentText", "@1 = %a%\n", nullptr, 0, 0},
    WeiduRow{"WideStringHoldsTildes", "@1 = ~~~~~a ~b~ \"c\"~~~~~\n", nullptr, 0, 0},
    WeiduRow{"JoinedForms", "@1 = ~a~ ^ \"b\" ^ c\n", nullptr, 0, 0},
    WeiduRow{"EmptySound", "@1 = ~a~ []\n", nullptr, 0, 0},
    WeiduRow{"MaleAndFemaleWithSounds", "@1 = ~he~ [SNDM] ~she~ [SNDF]\n", nullptr, 0, 0},
    WeiduRow{"NegativeAndZeroPadded", "@-5 = ~a~\n@007 = ~b~\n", nullptr, 0, 0},
    WeiduRow{"BareWords", "@1 = hello_world.v2\n@2 = 123\n", nullptr, 0, 0},
    WeiduRow{"NestedComments", "@1 = ~a~ /* x /* y */ z */ // c\n", nullptr, 0, 0},
    WeiduRow{"LowerCaseEndIsAWord", "@1 = end", nullptr, 0, 0},
    WeiduRow{"SoundWithBlanks", "@1 = ~a~ [ S 1 ]", nullptr, 0, 0},
    WeiduRow{"SoundOverLines", "@1 = ~a~ [S\nX]", nullptr, 0, 0},
    WeiduRow{"NoSeparators", "@1=~a~@1=~b~", nullptr, 0, 0},
    WeiduRow{"CommentsBetweenParts", "@1 /* c */ = // c\n ~a~", nullptr, 0, 0},
    WeiduRow{"JoinsInBothTexts", "@1 = ~a~ ^ ~b~ [S] ~c~ ^ d [T]", nullptr, 0, 0},
    WeiduRow{"LargestNumbers", "@-4611686018427387904 = ~a~ @4611686018427387903 = ~b~", nullptr, 0, 0},
    WeiduRow{"Empty", "", nullptr, 0, 0},
    WeiduRow{"CrLf", "@1 = ~a~\r\n@2 = ~b~\r\n", nullptr, 0, 0},
    WeiduRow{"LineCommentAtEnd", "@1 = ~a~ // no final newline", nullptr, 0, 0},
    WeiduRow{"StrRefs", "@1 = #123\n@2 = #-1\n", nullptr, 0, 0},
    WeiduRow{"EntryRef", "@1 = ~a~\n@2 = @1\n", nullptr, 0, 0},
    WeiduRow{"ForcedRef", "@1 = !5 ~a~", nullptr, 0, 0},
    WeiduRow{"AtForm", "@1 = (AT foo)", nullptr, 0, 0},
    WeiduRow{"NestingFromLineCommentStar", "/* x //* y */ */", nullptr, 0, 0},
    WeiduRow{"FormFeedIsBlank", "@1 =\f~a~", nullptr, 0, 0},
    // The TRA grammar's own samples that WeiDU takes too.
    WeiduRow{"StrictMultiLine",
             "// Greetings\r\n@1 = ~Hello, <CHARNAME>.~ [HELLO1]\r\n@2 = ~He said \"yes\".~ ~She said \"yes\".~\r\n"
             "@3 = ~First~ [SND1] // male\r\n~Second~ [SND2]\r\n/* two\r\n   lines */ @4=~~\r\n",
             nullptr, 0, 0},
    WeiduRow{"StrictSoundThenText", "@1 = ~a~ [S1]~b~", nullptr, 0, 0},
    WeiduRow{"StrictTwoTextsTouching", "@1 = ~a~~b~", nullptr, 0, 0},
    WeiduRow{"StrictTagAndSoundNames", "@1 = ~<A\tB>~ [S\n1]", nullptr, 0, 0},
    WeiduRow{"StrictNumberThenLineEnd", "@1\r\n= ~a~", nullptr, 0, 0},
    WeiduRow{"StrictDelimitersInText", "@1 = ~@=\"[]//\"/**/~", nullptr, 0, 0},
    WeiduRow{"StrictSecondSound", "@1 = ~a~ [S1] ~b~ [S2] @2 = ~c~", nullptr, 0, 0},
    WeiduRow{"StrictLoneCrInLineComment", "// a\r@1 = ~a~ \"", nullptr, 0, 0}),
    [](const testing::TestParamInfo<WeiduRow>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Rejected, WeiduVerdicts, testing::Values(
    WeiduRow{"KeywordAsText", "@1 = END\n", "tra_weidu.keyword", 5, 3},
    WeiduRow{"SymbolicKey", "@X = ~a~\n", "tra_weidu.invalid_byte", 0, 1},
    WeiduRow{"ByteOrderMark", "\xEF\xBB\xBF@1 = ~a~\n", "tra_weidu.invalid_byte", 0, 1},
    WeiduRow{"OpenComment", "@1 = ~a~ /* x\n", "tra_weidu.unterminated_comment", 14, 0},
    WeiduRow{"OpenTilde", "@1 = ~a\n", "tra_weidu.unterminated_string", 5, 1},
    WeiduRow{"NoEquals", "@1 ~a~\n", "tra_weidu.expected_equals", 3, 3},
    WeiduRow{"ThirdText", "@1 = ~a~ ~b~ ~c~\n", "tra_weidu.expected_after_text2", 13, 3},
    WeiduRow{"JoinAfterSound", "@1 = ~a~ [S1] ^ ~b~\n", "tra_weidu.expected_after_sound", 14, 1},
    WeiduRow{"NoEqualsOnLineTwo", "@1 = ~a~\n  @2 ~b~\n", "tra_weidu.expected_equals", 14, 3},
    WeiduRow{"NumberTooLarge", "@99999999999999999999 = ~a~\n", "tra_weidu.number_out_of_range", 0, 21},
    WeiduRow{"NumberOneTooLarge", "@4611686018427387904 = ~a~", "tra_weidu.number_out_of_range", 0, 20},
    WeiduRow{"TabBeforeEntry", "\t@1 ~b~\n", "tra_weidu.expected_equals", 4, 3},
    WeiduRow{"OpenWideString", "@1 = ~~~~~a\n", "tra_weidu.unterminated_wide_string", 12, 0},
    WeiduRow{"ThreeTildes", "@1 = ~a~~\n", "tra_weidu.unterminated_string", 8, 1},
    WeiduRow{"OpenSound", "@1 = ~a~ [S1\n", "tra_weidu.unterminated_sound", 9, 1},
    WeiduRow{"TwoSounds", "@1 = ~a~ [S1] [S2]\n", "tra_weidu.expected_after_sound", 14, 4},
    WeiduRow{"DoubleEquals", "@1 == ~a~\n", "tra_weidu.expected_equals", 3, 2},
    WeiduRow{"EndAfterEquals", "@1 = ~a~\n@2 =\n", "tra_weidu.unexpected_end", 14, 0},
    WeiduRow{"EndAfterJoin", "@1 = ~a~ ^\n", "tra_weidu.unexpected_end", 11, 0},
    WeiduRow{"StrayBracket", "@1 = ~a~ ]\n", "tra_weidu.invalid_byte", 9, 1},
    WeiduRow{"StrayCommentEnd", "@1 = ~a~ */\n", "tra_weidu.invalid_byte", 9, 1},
    WeiduRow{"VerticalTab", "@1 = ~a~\v\n", "tra_weidu.invalid_byte", 8, 1},
    WeiduRow{"NonBreakingSpace", "@1 = ~a~\xC2\xA0\n", "tra_weidu.invalid_byte", 8, 1},
    WeiduRow{"KeywordLine", "@1 = ~a~\n  THEN\n", "tra_weidu.keyword", 11, 4},
    WeiduRow{"LineCommentStarOpensLevel", "/* x //* y */", "tra_weidu.unterminated_comment", 13, 0},
    WeiduRow{"BlankAfterAt", "@ 1 = ~a~", "tra_weidu.invalid_byte", 0, 1},
    WeiduRow{"WordAtTopLevel", "// note\r\nstray @1 = ~a~", "tra_weidu.expected_entry", 9, 5},
    WeiduRow{"EndAfterEntryNumber", "@1 = // unfinished", "tra_weidu.unexpected_end", 18, 0},
    WeiduRow{"OtherKeywordInAtForm", "@1 = ( THEN x )", "tra_weidu.keyword", 7, 4},
    WeiduRow{"AtFormWithoutClose", "@1 = ( AT x @2", "tra_weidu.expected_at_form", 12, 2},
    WeiduRow{"PlusJoins", "@1 = ~a~ + ~b~", "tra_weidu.expected_after_text", 9, 1},
    WeiduRow{"JoinThenSound", "@1 = ~a~ ^ [S]", "tra_weidu.expected_joined_text", 11, 3},
    WeiduRow{"ValueIsASound", "@1 = [S]", "tra_weidu.expected_value", 5, 3},
    WeiduRow{"ZeroByteEndsTheText", std::string("@1 = \0~a~", 9), "tra_weidu.unexpected_end", 5, 0}),
    [](const testing::TestParamInfo<WeiduRow>& info) { return std::string(info.param.name); });

// An opener without its closer pairs with the next one of its kind, however far.
TEST(TraWeiduChecker, StrayDelimiterPairsWithTheNextOne) {
    const std::optional<Diagnostic> fault = TraWeiduChecker(nullptr).first_fault("@1 = ~a\n@2 = ~b~");
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->rule, "tra_weidu.unterminated_string");
    EXPECT_EQ(fault->start, 15);
    EXPECT_EQ(TraWeiduChecker(nullptr).first_fault("@1 = ~a\n@2 = ~ b"), std::nullopt);
}

TEST(TraWeiduChecker, EndFaultsNoteWhereWhatWasLeftOpenBegan) {
    const TraWeiduChecker checker(nullptr);
    const struct { const char* text; Note note; } rows[] = {
        {"@1 = ~a~ /* x /* y */", Note{"tra_weidu.note_comment_opened", 9, 2}},
        {"@1 = ~~~~~a ~~~~", Note{"tra_weidu.note_wide_string_opened", 5, 5}},
        {"@1 = ~a~\n@22 =", Note{"tra_weidu.note_entry_opened", 9, 3}},
    };
    for (const auto& row : rows) {
        const std::optional<Diagnostic> fault = checker.first_fault(row.text);
        ASSERT_TRUE(fault) << row.text;
        EXPECT_EQ(fault->form, MessageForm::End) << row.text;
        ASSERT_EQ(fault->notes.size(), 1u) << row.text;
        EXPECT_EQ(fault->notes[0], row.note) << row.text;
    }
}

TEST(TraWeiduChecker, EveryFaultResumesAtTheNextEntryLine) {
    const TraWeiduChecker checker(nullptr);
    const std::string text =
        "@1 = END ~more~\n"
        "@2 = ~ok~\n"
        "@3 ~a~\n"
        "  x y z\n"
        "\t@-4 = ~b~ ]\n"
        "@5 = ~c~\n"
        "@6 = \"open\n"
        "@7 = ~d~ /* never closed\n";
    const std::vector<Diagnostic> faults = checker.all_faults(text);
    struct Expected { const char* rule; std::size_t start; int length; };
    const Expected expected[] = {
        {"tra_weidu.keyword", text.find("END"), 3},
        {"tra_weidu.expected_equals", text.find("~a~"), 3},
        {"tra_weidu.invalid_byte", text.find(']'), 1},
        {"tra_weidu.unterminated_string", text.find("\"open"), 1},
        {"tra_weidu.unterminated_comment", text.size(), 0},
    };
    ASSERT_EQ(faults.size(), std::size(expected));
    for (std::size_t i = 0; i < faults.size(); ++i) {
        EXPECT_EQ(faults[i].rule, expected[i].rule) << i;
        EXPECT_EQ(faults[i].start, static_cast<std::int32_t>(expected[i].start)) << i;
        EXPECT_EQ(faults[i].length, expected[i].length) << i;
    }
    EXPECT_EQ(faults.front(), checker.first_fault(text));
    EXPECT_EQ(faults.back().notes.at(0).start, static_cast<std::int32_t>(text.find("/*")));
}

TEST(TraWeiduChecker, ManyUnclosedOpenersAreEachReported) {
    std::string text;
    for (int i = 0; i < 50; ++i) text += "@" + std::to_string(i) + " = ~a~ [S\n";
    const std::vector<Diagnostic> faults = TraWeiduChecker(nullptr).all_faults(text);
    ASSERT_EQ(faults.size(), 50u);
    EXPECT_EQ(faults[49].rule, "tra_weidu.unterminated_sound");
    EXPECT_EQ(faults[49].start, static_cast<std::int32_t>(text.rfind('[')));
}

TEST(TraWeiduChecker, ReasonsAreWordedFromTheirKeys) {
    key_catalog::KeyCatalog catalog;
    TraWeiduChecker checker(catalog.get());
    EXPECT_EQ(check_bytes(checker, "@1 ~a~"), conflict(3, 3, "tra_weidu.expected_equals tra_weidu.found_text"));
    EXPECT_EQ(check_bytes(checker, "@1 = ~a~ /*"), conflict(11, 0, "tra_weidu.unterminated_comment tra_weidu.expected_comment_end"));
    EXPECT_EQ(check_bytes(checker, "@1 = ~a~ ;"), conflict(9, 1, "tra_weidu.invalid_byte"));
    EXPECT_EQ(check_bytes(checker, "@1 = ~a~ [S] ~b~ [T]"), clean_outcome);
}

TEST(TraWeiduChecker, RegistryListsTheFamily) {
    for (const char* id : {"tra_weidu.invalid_byte", "tra_weidu.unterminated_comment", "tra_weidu.keyword",
                           "tra_weidu.unexpected_end", "tra_weidu.expected_at_form"}) {
        const Rule* rule = find_rule(id);
        ASSERT_NE(rule, nullptr) << id;
        EXPECT_EQ(rule->severity, Severity::Error);
    }
}

}  // namespace
