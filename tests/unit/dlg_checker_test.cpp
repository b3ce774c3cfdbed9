#include <gtest/gtest.h>

#include "dlg_checker.h"
#include "key_catalog.h"
#include "sample_check.h"

namespace {

class DlgSamples : public testing::TestWithParam<Sample> {};

TEST_P(DlgSamples, ReportsTheFirstConflictExactly) {
    key_catalog::KeyCatalog catalog;
    ArcanumDlgChecker checker(catalog.get());
    EXPECT_EQ(check_bytes(checker, GetParam().text), GetParam().expected);
    // Walking kept tokens is the same check.
    EXPECT_EQ(walk_bytes(checker, GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Accepted, DlgSamples, testing::Values(
    Sample{"MultiLineCrLf",
           "// Dialogue of a guard\r\n"
           "{1}{Halt! Who goes there?}{}{}{}{}{}\r\n"
           "\r\n"
           "  {2}{Friend.} {}\r\n"
           "{10}{a//b}{}\r\n", clean_outcome},
    Sample{"A1_OneBlankBetweenFields", "{1}{a} {b}", clean_outcome},
    Sample{"A2_NumberOnly", "{1}", clean_outcome},
    Sample{"A3_Comment", "// note", clean_outcome},
    Sample{"A4_CommentMarkerInField", "{1}{a//b}", clean_outcome},
    Sample{"A5_LeadingZeros", "{007}{x}", clean_outcome},
    Sample{"A1WithTrailingTab", "{1}{a} {b}\t", clean_outcome},
    Sample{"A1WithLoneCrBetweenFields", "{1}{a}\r{b}", clean_outcome},
    Sample{"OneBlankBeforeLineEnd", "{1} \n{1}", clean_outcome},
    Sample{"EmptyFile", "", clean_outcome},
    Sample{"BlankAndCommentLines", "\n  \r\n// a\n\t// b\r\n", clean_outcome}));

INSTANTIATE_TEST_SUITE_P(Conflicts, DlgSamples, testing::Values(
    Sample{"R1", "x", conflict(0, 1, "arcanum_dlg.expected_bracket arcanum_dlg.found_text")},
    Sample{"R2", "}", conflict(0, 1, "arcanum_dlg.expected_bracket arcanum_dlg.found_bracket_close")},
    Sample{"R3", "{}", conflict(1, 1, "arcanum_dlg.expected_numberarcanum_dlg.found_bracket_close")},
    Sample{"R4", "{{", conflict(1, 1, "arcanum_dlg.expected_numberarcanum_dlg.found_bracket_open")},
    Sample{"R5", "{x}", conflict(1, 1, "arcanum_dlg.expected_number")},
    Sample{"R6_BlankBeforeDigit", "{ 1}", conflict(1, 2, "arcanum_dlg.expected_number")},
    Sample{"R7_BlankAfterDigit", "{1 }", conflict(1, 2, "arcanum_dlg.expected_number")},
    Sample{"R8", "{1", conflict(2, 0, "arcanum_dlg.unexpected_end arcanum_dlg.expected_bracket_close")},
    Sample{"R9", "{", conflict(1, 0, "arcanum_dlg.unexpected_end arcanum_dlg.expected_number")},
    Sample{"R10_TwoBlanksBetweenFields", "{1}{a}  {b}",
           conflict(6, 2, "arcanum_dlg.expected_next arcanum_dlg.found_space")},
    Sample{"R11", "{1} x", conflict(3, 2, "arcanum_dlg.expected_next arcanum_dlg.found_text")},
    Sample{"R12", "{1}}", conflict(3, 1, "arcanum_dlg.expected_next arcanum_dlg.found_bracket_close")},
    Sample{"R13", "{1}{a{b}", conflict(5, 1, "arcanum_dlg.unexpected_bracket_open")},
    Sample{"R14", "{1}{a", conflict(5, 0, "arcanum_dlg.unexpected_end arcanum_dlg.expected_bracket_close")},
    Sample{"R15_CommentAfterRecord", "{1}{a}//c",
           conflict(6, 2, "arcanum_dlg.expected_next arcanum_dlg.found_text")},
    Sample{"R14WithLf", "{1}{a\n}", conflict(5, 1, "arcanum_dlg.unexpected_newline")},
    Sample{"R14WithCrLf", "{1}{a\r\n}", conflict(5, 2, "arcanum_dlg.unexpected_newline")},
    Sample{"R8WithLf", "{1\n}",
           conflict(2, 1, "arcanum_dlg.expected_bracket_close arcanum_dlg.found_newline")},
    Sample{"BlankInNumberBraces", "{\t}", conflict(1, 1, "arcanum_dlg.expected_numberarcanum_dlg.found_space")},
    Sample{"TwoBlanksBeforeLineEnd", "{1}  \n{1}",
           conflict(3, 2, "arcanum_dlg.expected_next arcanum_dlg.found_space")}));

}  // namespace
