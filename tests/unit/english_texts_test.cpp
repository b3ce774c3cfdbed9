// The shipped English texts: every key present, and every form of composed reason a
// clean sentence.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "dlg_checker.h"
#include "key_catalog.h"
#include "language_catalog.h"
#include "sample_check.h"
#include "tra_checker.h"

namespace {

class EnglishTexts : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(english.load("English")) << "run from a folder holding languages/"; }
    LanguageCatalog english;
};

TEST_F(EnglishTexts, EveryMessageKeyHasAText) {
    for (const std::string& key : key_catalog::all_message_keys()) {
        EXPECT_STRNE(english.lookup(key.c_str()), "") << key;
    }
}

TEST_F(EnglishTexts, ComposedReasonsReadAsSentences) {
    TraChecker tra(&english);
    ArcanumDlgChecker dlg(&english);
    struct Row { Checker* checker; const char* text; const char* reason; };
    const Row rows[] = {
        {&tra, "@1 ~a~", "Expected an equals sign (=) after the entry number but found a tilde (~)"},
        {&tra, "@1 = \"a\"", "Expected a tilde (~) but found a double quote (\")"},
        {&tra, "@=~a~", "Expected an entry number (digits only) right after the at sign (@) but found an equals sign (=)"},
        {&tra, "@1a = ~a~", "Expected an entry number (digits only) right after the at sign (@) "},
        {&tra, "@1 = ~<A B>~", "Tag names must not contain spaces"},
        {&tra, "@1 = ~abc", "Unexpected end of file. Expected a tilde (~)"},
        {&dlg, "{1}{a}  {b}", "Expected the next field ({) or the end of the line but found blank space"},
        {&dlg, "{}", "Expected a record number (digits only) inside the first braces but found a closing brace (})"},
        {&dlg, "{1}{a", "Unexpected end of file. Expected a closing brace (})"},
        {&dlg, "{1}{a\n}", "The line ends inside a field, before its closing brace (})"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(check_bytes(*row.checker, row.text).reason, row.reason) << row.text;
    }
}

// Every found text must follow every expected text with one blank, and the number
// texts directly: no doubled or missing blank, sentence case throughout.
TEST_F(EnglishTexts, FoundTextsJoinBothWays) {
    for (const char* prefix : {"tra.", "arcanum_dlg."}) {
        const std::string number = english.lookup((std::string(prefix) + "expected_number").c_str());
        EXPECT_EQ(number.back(), ' ') << prefix << "expected_number is followed directly by a found text";
        for (const std::string& key : key_catalog::all_message_keys()) {
            if (key.rfind(prefix, 0) != 0) continue;
            const std::string text = english.lookup(key.c_str());
            const bool found = key.find(".found_") != std::string::npos;
            if (found) {
                EXPECT_EQ(text.rfind("but found ", 0), 0u) << key;
            } else {
                EXPECT_TRUE(std::isupper(static_cast<unsigned char>(text[0]))) << key;
            }
            EXPECT_EQ(text.find("  "), std::string::npos) << key;
        }
    }
}

}  // namespace
