#include <gtest/gtest.h>

#include "key_catalog.h"
#include "sample_check.h"
#include "tra_checker.h"

namespace {

class TraSamples : public testing::TestWithParam<Sample> {};

TEST_P(TraSamples, ReportsTheFirstConflictExactly) {
    key_catalog::KeyCatalog catalog;
    TraChecker checker(catalog.get());
    EXPECT_EQ(check_bytes(checker, GetParam().text), GetParam().expected);
    // Walking kept tokens is the same check.
    EXPECT_EQ(walk_bytes(checker, GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Accepted, TraSamples, testing::Values(
    Sample{"MultiLineCrLf",
           "// Greetings\r\n"
           "@1 = ~Hello, <CHARNAME>.~ [HELLO1]\r\n"
           "@2 = ~He said \"yes\".~ ~She said \"yes\".~\r\n"
           "@3 = ~First~ [SND1] // male\r\n"
           "~Second~ [SND2]\r\n"
           "/* two\r\n"
           "   lines */ @4=~~\r\n", clean_outcome},
    Sample{"LineCommentSwallowsRestOfRun", "// note\r\nstray @1 = ~a~", clean_outcome},
    Sample{"A1_OpenLineCommentAtEnd", "@1 = // unfinished", clean_outcome},
    Sample{"A2_BlockCommentBeforeEqual", "@1 /* c */ = ~a~", clean_outcome},
    Sample{"A3", "@1 = ~a~ [S1]~b~", clean_outcome},
    Sample{"A4", "@1 = ~a~~b~", clean_outcome},
    Sample{"A5_NoLineEndBetweenEntries", "@1=~a~@2=~b~", clean_outcome},
    Sample{"A6_TildeAfterFirstSound", "@1 = ~a~ [S1] ~c~", clean_outcome},
    Sample{"EmptyFile", "", clean_outcome},
    Sample{"BlanksAndLineEndsOnly", " \t\r\n\r\n  ", clean_outcome},
    Sample{"CommentsOnly", "// a\n/* b */\n", clean_outcome},
    Sample{"TabAndLineEndInTagAndSoundNames", "@1 = ~<A\tB>~ [S\n1]", clean_outcome},
    Sample{"DuplicateAndUnorderedNumbers", "@2 = ~a~\n@1 = ~b~\n@1 = ~c~\n", clean_outcome},
    Sample{"NumberFollowedByLineEnd", "@1\r\n= ~a~", clean_outcome},
    Sample{"DelimitersArePlainInsideTexts", "@1 = ~@=\"[]//\"/**/~", clean_outcome},
    Sample{"SecondSoundReturnsBetweenEntries", "@1 = ~a~ [S1] ~b~ [S2] @2 = ~c~", clean_outcome},
    Sample{"LoneCrDoesNotEndLineComment", "// a\r@1 = ~a~ \"", clean_outcome}));

INSTANTIATE_TEST_SUITE_P(Conflicts, TraSamples, testing::Values(
    Sample{"R1_BlankBeforeNumber", "@ 1 = ~a~", conflict(1, 3, "tra.expected_number")},
    Sample{"R2_LetterInNumber", "@1a = ~a~", conflict(1, 3, "tra.expected_number")},
    Sample{"R3_NoNumber", "@=~a~", conflict(1, 1, "tra.expected_numbertra.found_equal")},
    Sample{"R4", "@1 ~a~", conflict(3, 1, "tra.expected_equal tra.found_tilde")},
    Sample{"R5_DoubleQuotedText", "@1 = \"a\"", conflict(5, 1, "tra.expected_tilde tra.found_quote")},
    Sample{"R6", "@1 = ~a > b~", conflict(8, 1, "tra.unexpected_tag_closed")},
    Sample{"R7", "@1 = ~<A B>~", conflict(7, 3, "tra.tag_spaces")},
    Sample{"R8", "@1 = ~<>~", conflict(7, 1, "tra.expected_tag_text tra.found_tag_closed")},
    Sample{"R9", "@1 = ~a~ [S 1]", conflict(10, 3, "tra.sound_spaces")},
    Sample{"R10", "@1 = ~a~ [ ]", conflict(10, 1, "tra.expected_sound_text tra.found_space")},
    Sample{"R11", "@1 = ~a~ [S1~", conflict(12, 1, "tra.expected_sound_close tra.found_tilde")},
    Sample{"R12", "@1 = ~a~ x", conflict(8, 2, "tra.expected_after_line1 tra.found_text")},
    Sample{"R13", "@1 = ~a~ ~b~ ~c~", conflict(13, 1, "tra.expected_after_line2 tra.found_tilde")},
    Sample{"R14", "@1 = ~a~ [S1] x", conflict(13, 2, "tra.expected_after_sound1 tra.found_text")},
    Sample{"R15", "@1 = ~a~ [S1] ~b~ [S2] ~c~", conflict(23, 1, "tra.expected_at tra.found_tilde")},
    Sample{"R16", "hello", conflict(0, 5, "tra.expected_at tra.found_text")},
    Sample{"R17_UnclosedText", "@1 = ~abc", conflict(9, 0, "tra.unexpected_end tra.expected_tilde")},
    Sample{"R18_UnclosedBlockComment", "@1 = ~a~ /* note",
           conflict(16, 0, "tra.unexpected_end tra.expected_comment_close")},
    Sample{"R19_CommentBeforeNumber", "@/* c */1 = ~a~",
           conflict(1, 2, "tra.expected_numbertra.found_comment_open")},
    Sample{"R20", "@1 = ~a~ [S1] ~b~ ~c~", conflict(18, 1, "tra.expected_after_line2 tra.found_tilde")},
    Sample{"EndAfterAt", "@", conflict(1, 0, "tra.unexpected_end tra.expected_number")},
    Sample{"EndAfterNumber", "@1 ", conflict(3, 0, "tra.unexpected_end tra.expected_equal")},
    Sample{"EndInTag", "@1=~<A", conflict(6, 0, "tra.unexpected_end tra.expected_tag_close")},
    Sample{"EndInSecondSound", "@1=~a~~b~[", conflict(10, 0, "tra.unexpected_end tra.expected_sound_text")},
    Sample{"StrayCommentClose", "*/", conflict(0, 2, "tra.expected_at tra.found_comment_closed")},
    Sample{"SoundDirectlyClosed", "@1=~a~[S1]]", conflict(10, 1, "tra.expected_after_sound1 tra.found_bracket_closed")},
    Sample{"TagClosedInSecondText", "@1=~a~~>~", conflict(7, 1, "tra.unexpected_tag_closed")}));

}  // namespace
