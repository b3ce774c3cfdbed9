// The frame every checker shares: reading, unreadable files, zero bytes, missing texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dlg_checker.h"
#include "key_catalog.h"
#include "sample_check.h"
#include "test_files.h"
#include "token_splitter.h"
#include "tra_checker.h"

namespace {

TEST(CheckerFrame, UnreadablePathGivesMinusOneAndKeepsThePreviousConflict) {
    key_catalog::KeyCatalog catalog;
    TraChecker checker(catalog.get());
    test_files::ScratchDir dir;
    test_files::write_bytes(dir.file("hello.tra"), "hello");
    const Outcome first = check_path(checker, dir.file("hello.tra"));
    ASSERT_EQ(first.code, 1);

    EXPECT_EQ(checker.check(dir.file("missing.tra").c_str()).code(), -1);
    EXPECT_EQ(checker.check(dir.path().string().c_str()).code(), -1) << "a folder is no file";
    EXPECT_EQ(checker.conflict().start, first.start);
    EXPECT_EQ(checker.conflict().length, first.length);
    EXPECT_EQ(std::string(checker.conflict().reason.c_str()), first.reason);
}

// Not in the Windows build: Wine here hangs on a 3 GB sparse file, and a 32-bit process
// meets the same limit through its 32-bit file offsets anyway.
#ifndef _WIN32
TEST(CheckerFrame, FileTooLargeForItsSizeToBeTakenIsUnreadable) {
    test_files::ScratchDir dir;
    const std::string path = dir.file("huge.tra");
    test_files::write_bytes(path, "@1 = ~a~");
    std::error_code error;
    std::filesystem::resize_file(path, 3'000'000'000ull, error);  // sparse: no disk space used
    if (error) GTEST_SKIP() << "cannot make a 3 GB sparse file here: " << error.message();
    TraChecker checker(nullptr);
    EXPECT_EQ(checker.check(path.c_str()).code(), -1);
}
#endif

TEST(CheckerFrame, SecondCheckDescribesOnlyTheSecondFault) {
    key_catalog::KeyCatalog catalog;
    TraChecker checker(catalog.get());
    test_files::ScratchDir dir;
    test_files::write_bytes(dir.file("a.tra"), "@1 = ~a~ [S 1]");
    test_files::write_bytes(dir.file("b.tra"), "@1 ~a~");
    check_path(checker, dir.file("a.tra"));
    EXPECT_EQ(check_path(checker, dir.file("b.tra")), (Outcome{1, 3, 1, "tra.expected_equal tra.found_tilde"}));
    EXPECT_EQ(std::string(checker.conflict().reason.c_str()), "tra.expected_equal tra.found_tilde");
}

TEST(CheckerFrame, TextEndsAtAZeroByteButTheEndFaultReportsTheFileSize) {
    key_catalog::KeyCatalog catalog;
    TraChecker tra(catalog.get());
    const std::string with_zero("@1 = ~a\0~ x", 11);
    EXPECT_EQ(check_bytes(tra, with_zero), (Outcome{1, 11, 0, "tra.unexpected_end tra.expected_tilde"}));
    EXPECT_EQ(check_bytes(tra, std::string("@1 = ~a~\0 x", 11)), clean_outcome);

    ArcanumDlgChecker dlg(catalog.get());
    EXPECT_EQ(check_bytes(dlg, std::string("{1}{a\0}", 7)),
              (Outcome{1, 7, 0, "arcanum_dlg.unexpected_end arcanum_dlg.expected_bracket_close"}));
}

TEST(CheckerFrame, WithoutCatalogReasonsAreOnlyTheirSeparators) {
    TraChecker tra(nullptr);
    EXPECT_EQ(check_bytes(tra, "@1 ~a~").reason, " ");
    EXPECT_EQ(check_bytes(tra, "@1 = ~<A B>~").reason, "");
    EXPECT_EQ(check_bytes(tra, "@1 = ~a").reason, " ");
    EXPECT_EQ(check_bytes(tra, "@=").reason, "");

    ArcanumDlgChecker dlg(nullptr);
    EXPECT_EQ(check_bytes(dlg, "{1}{a{").reason, "");
    EXPECT_EQ(check_bytes(dlg, "x").reason, " ");
}

TEST(CheckerFrame, DescribeTokenNamesDelimitersAndCallsAnythingElseText) {
    key_catalog::KeyCatalog catalog;
    TraChecker tra(catalog.get());
    ArcanumDlgChecker dlg(catalog.get());
    const DelimiterEntry quote{3, "\"", 1};
    const DelimiterEntry unknown{42, "?", 1};
    const DelimiterEntry comment{3, "//", 2};
    const DelimiterEntry newline{2, "\r\n", 2};
    auto delimiter = [](const DelimiterEntry& entry) {
        return Token{TokenKind::Delimiter, 0, entry.length, &entry, {}};
    };
    const Token blank{TokenKind::Blank, 0, 1, nullptr, " "};

    EXPECT_STREQ(tra.describe_token(delimiter(quote)), "tra.found_quote");
    EXPECT_STREQ(tra.describe_token(delimiter(unknown)), "tra.found_text");
    EXPECT_STREQ(tra.describe_token(blank), "tra.found_text");
    EXPECT_STREQ(dlg.describe_token(delimiter(comment)), "arcanum_dlg.found_text");
    EXPECT_STREQ(dlg.describe_token(delimiter(newline)), "arcanum_dlg.found_newline");
}

TEST(CheckerFrame, LargeFileIsCheckedWhole) {
    key_catalog::KeyCatalog catalog;
    TraChecker checker(catalog.get());
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        const std::string n = std::to_string(i);
        text += "@" + n + " = ~Text <CHARNAME> number " + n + "~ [SND" + n + "]\r\n";
    }
    const int bad_at = static_cast<int>(text.size());
    text += "@20000 = ~a~ x\r\n";
    EXPECT_EQ(check_bytes(checker, text), (Outcome{1, bad_at + 12, 4, "tra.expected_after_line1 tra.found_text"}));
}

// From 512 KiB on a text is scanned by pairs of bytes, and a focus that outlasts a block
// has tables of its own. Fields and texts span blocks and hold bytes that are delimiters
// only outside them; a fault put in the middle of one must be found where walking every
// token finds it.
TEST(CheckerFrame, LargeFilesFindUnderFociWhatWalkingEveryTokenFinds) {
    key_catalog::KeyCatalog catalog;
    ArcanumDlgChecker dlg(catalog.get());
    TraChecker tra(catalog.get());
    const std::string filler = "a/b // c/d * e/f @ = [g] \"h\" ";
    std::string dlg_text;
    std::string tra_text;
    std::vector<std::size_t> dlg_middles;
    std::vector<std::size_t> tra_middles;
    for (int i = 0; dlg_text.size() < 600 * 1024; ++i) {
        std::string field(static_cast<std::size_t>(i % 7), 'x');
        for (int k = 0; k < 3 + i % 11; ++k) field += filler;
        const std::string number = std::to_string(i);
        dlg_middles.push_back(dlg_text.size() + number.size() + 3 + field.size() / 2);
        dlg_text += "{" + number + "}{" + field + "}{}\r\n";
        tra_middles.push_back(tra_text.size() + number.size() + 5 + field.size() / 2);
        tra_text += "@" + number + " = ~" + field + "~\r\n";
    }
    ASSERT_EQ(check_bytes(dlg, dlg_text), clean_outcome);
    ASSERT_EQ(check_bytes(tra, tra_text), clean_outcome);

    const std::size_t half = dlg_middles.size() / 2;
    for (const std::size_t n : {half, half + 1, half + 2, half + 3, dlg_middles.size() - 1}) {
        SCOPED_TRACE("record " + std::to_string(n));
        for (const char* fault : {"{", "\n"}) {
            std::string bad = dlg_text;
            bad.insert(dlg_middles[n], fault);
            const Outcome found = check_bytes(dlg, bad);
            EXPECT_EQ(found.code, 1);
            EXPECT_EQ(found.start, static_cast<int>(dlg_middles[n]));
            EXPECT_EQ(found, walk_bytes(dlg, bad));
        }
        std::string bad = tra_text;
        bad.insert(tra_middles[n], "~ x");
        const Outcome found = check_bytes(tra, bad);
        EXPECT_EQ(found.code, 1);
        EXPECT_EQ(found.start, static_cast<int>(tra_middles[n]) + 1);  // the blank after the tilde
        EXPECT_EQ(found, walk_bytes(tra, bad));
    }
}

}  // namespace
