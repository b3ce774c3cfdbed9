// check_target with input that is no proper text file: zero bytes, binary bytes, an empty
// file, no regular file, a file that vanishes or changes while it is checked.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "check_file.h"
#include "checker.h"
#include "dlg_checker.h"
#include "discovery.h"
#include "language_catalog.h"
#include "position.h"
#include "test_files.h"
#include "tra_checker.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class BadInput : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(english.load("English")) << "run from a folder holding languages/"; }

    FileReport check(const std::string& path, FileKind kind) {
        return check_target(Target{path, kind, ""}, tra, dlg, english.code_page());
    }
    FileReport check_bytes(const std::string& bytes, FileKind kind) {
        const std::string path = dir.file("sample");
        test_files::write_bytes(path, bytes);
        return check(path, kind);
    }

    LanguageCatalog english;
    TraChecker tra{&english};
    ArcanumDlgChecker dlg{&english};
    test_files::ScratchDir dir;
};

struct ZeroRow {
    const char* name;
    FileKind kind;
    std::string bytes;
    Verdict verdict;
    std::string error;          // when unreadable
    std::int32_t start = 0;     // when a conflict
};

std::ostream& operator<<(std::ostream& out, const ZeroRow& row) { return out << row.name; }

class ZeroBytes : public BadInput, public testing::WithParamInterface<ZeroRow> {};

// The engine's text ends at the first zero byte: a conflict before it is the file's first
// fault; otherwise the file cannot be checked, and the reason says where the zero byte is.
TEST_P(ZeroBytes, ConflictBeforeTheZeroByteElseUnreadableSayingWhere) {
    const ZeroRow& row = GetParam();
    const FileReport report = check_bytes(row.bytes, row.kind);
    ASSERT_EQ(report.verdict, row.verdict) << report.error;
    EXPECT_EQ(report.error, row.error);
    if (row.verdict == Verdict::Conflict) {
        EXPECT_EQ(report.conflict.start, row.start);
    }
}

std::string zero_at(int line, int column) {
    return "a zero byte at line " + std::to_string(line) + ", column " + std::to_string(column) +
           " ends the text; what follows it cannot be checked";
}

INSTANTIATE_TEST_SUITE_P(All, ZeroBytes, testing::Values(
    ZeroRow{"OnlyZeroBytes", FileKind::Tra, std::string(1000, '\0'), Verdict::Unreadable, zero_at(1, 1)},
    ZeroRow{"OnlyZeroBytesDlg", FileKind::Dlg, std::string(3, '\0'), Verdict::Unreadable, zero_at(1, 1)},
    ZeroRow{"AfterCleanTextHidesAFault", FileKind::Tra, "@1 = ~a~\n\0@2 = \"b\"\n"s, Verdict::Unreadable,
            zero_at(2, 1)},
    ZeroRow{"InsideAnOpenText", FileKind::Tra, "@1 = ~a\0~ x"s, Verdict::Unreadable, zero_at(1, 8)},
    ZeroRow{"InsideAnOpenField", FileKind::Dlg, "{1}{a\0}"s, Verdict::Unreadable, zero_at(1, 6)},
    ZeroRow{"AfterAFault", FileKind::Tra, "@1 = \"a\"\0"s, Verdict::Conflict, "", 5},
    ZeroRow{"PngHeader", FileKind::Dlg, "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s, Verdict::Conflict, "", 0},
    ZeroRow{"EmptyTraIsClean", FileKind::Tra, "", Verdict::Clean, ""},
    ZeroRow{"EmptyDlgIsClean", FileKind::Dlg, "", Verdict::Clean, ""}),
    [](const testing::TestParamInfo<ZeroRow>& info) { return std::string(info.param.name); });

// Random bytes of many seeds: every file gets a verdict, and a conflict lies in the file
// with its line and column counted in the file's own bytes.
TEST_F(BadInput, RandomBytesGetAConflictInsideTheFileOrAZeroByteReason) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 generator(seed);
        std::string bytes(1 + generator() % 3000, '\0');
        for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
        for (const FileKind kind : {FileKind::Tra, FileKind::Dlg}) {
            const FileReport report = check_bytes(bytes, kind);
            if (report.verdict == Verdict::Unreadable) {
                EXPECT_EQ(report.error.rfind("a zero byte at line ", 0), 0u) << "seed " << seed << ": " << report.error;
                continue;
            }
            ASSERT_EQ(report.verdict, Verdict::Conflict) << "seed " << seed;
            const auto start = static_cast<std::size_t>(report.conflict.start);
            EXPECT_LT(start, bytes.find('\0')) << "seed " << seed;
            EXPECT_LE(start + static_cast<std::size_t>(report.conflict.length), bytes.size()) << "seed " << seed;
            const TextPosition at = position_of(bytes, start);
            EXPECT_EQ(report.conflict.position.line, at.line) << "seed " << seed;
            EXPECT_EQ(report.conflict.position.column, at.column) << "seed " << seed;
        }
    }
}

TEST_F(BadInput, FolderIsNoRegularFile) {
    const FileReport report = check(dir.path().string(), FileKind::Tra);
    EXPECT_EQ(report.verdict, Verdict::Unreadable);
    EXPECT_EQ(report.error, "not a regular file");
}

TEST_F(BadInput, FileThatVanishesAfterDiscoveryIsUnreadableWithTheSystemsReason) {
    test_files::write_bytes(dir.file("a.tra"), "@1 = ~a~\n");
    const Discovery found = discover({dir.path().string()}, std::nullopt);
    ASSERT_EQ(found.targets.size(), 1u);
    fs::remove(dir.file("a.tra"));
    const FileReport report = check_target(found.targets[0], tra, dlg, english.code_page());
    EXPECT_EQ(report.verdict, Verdict::Unreadable);
    EXPECT_EQ(report.error, std::make_error_code(std::errc::no_such_file_or_directory).message());
}

// Changes the file while the engine is about to read it: the hook another program's write
// would be, at the worst moment for the console checker, between its own read and the engine's.
class ChangingChecker : public Checker {
public:
    ChangingChecker(Checker& engine, std::string bytes) : Checker(nullptr), engine_(engine), bytes_(std::move(bytes)) {}

    CheckResult check(const char* path) override {
        test_files::write_bytes(path, bytes_);
        return engine_.check(path);
    }

private:
    Checker& engine_;
    std::string bytes_;
};

struct ChangeRow {
    const char* name;
    std::string before;
    std::string after;
};

std::ostream& operator<<(std::ostream& out, const ChangeRow& row) { return out << row.name; }

class ChangedWhileChecked : public BadInput, public testing::WithParamInterface<ChangeRow> {};

TEST_P(ChangedWhileChecked, IsUnreadableRatherThanPlacedInOtherBytes) {
    const std::string path = dir.file("sample.tra");
    test_files::write_bytes(path, GetParam().before);
    ChangingChecker changing(tra, GetParam().after);
    const FileReport report = check_target(Target{path, FileKind::Tra, ""}, changing, dlg, english.code_page());
    EXPECT_EQ(report.verdict, Verdict::Unreadable);
    EXPECT_EQ(report.error, "it changed while being checked");
}

INSTANTIATE_TEST_SUITE_P(All, ChangedWhileChecked, testing::Values(
    ChangeRow{"GrowsAFaultBeyondTheBytesRead", "@1 = ~a~\n", "@1 = ~a~\n@2 = \"b\"\n"},
    ChangeRow{"ShrinksToCleanText", "@1 = ~a~\n@2 = \"b\"\n", "@1 = ~a~\n"},
    ChangeRow{"ShrinksBeforeTheEndOfAText", "@1 = ~abcdef~\n", "@1 = ~ab"}),
    [](const testing::TestParamInfo<ChangeRow>& info) { return std::string(info.param.name); });

TEST_F(BadInput, UnchangedFileThroughTheSameHookIsChecked) {
    const std::string path = dir.file("sample.tra");
    test_files::write_bytes(path, "@1 = ~a~\n@2 = \"b\"\n");
    ChangingChecker unchanged(tra, "@1 = ~a~\n@2 = \"b\"\n");
    const FileReport report = check_target(Target{path, FileKind::Tra, ""}, unchanged, dlg, english.code_page());
    ASSERT_EQ(report.verdict, Verdict::Conflict) << report.error;
    EXPECT_EQ(report.conflict.start, 14);
}

#ifndef _WIN32
TEST_F(BadInput, FifoIsNotOpenedSoNothingWaitsForAWriter) {
    const std::string path = dir.file("pipe.tra");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const FileReport report = check(path, FileKind::Tra);
    EXPECT_EQ(report.verdict, Verdict::Unreadable);
    EXPECT_EQ(report.error, "not a regular file");
}

TEST_F(BadInput, EndlessDeviceIsNotRead) {
    const FileReport report = check("/dev/zero", FileKind::Tra);
    EXPECT_EQ(report.verdict, Verdict::Unreadable);
    EXPECT_EQ(report.error, "not a regular file");
}

// A sparse file: no disk space, and the refusal comes before anything is held in memory.
TEST_F(BadInput, FileTooLargeForTheEngineIsRefusedUnread) {
    const std::string path = dir.file("huge.tra");
    test_files::write_bytes(path, "@1 = ~a~");
    std::error_code error;
    fs::resize_file(path, 3'000'000'000ull, error);
    if (error) GTEST_SKIP() << "cannot make a 3 GB sparse file here: " << error.message();
    const FileReport report = check(path, FileKind::Tra);
    EXPECT_EQ(report.verdict, Verdict::Unreadable);
    EXPECT_EQ(report.error, "too large: 3000000000 bytes, at most 2147483647");
}

TEST_F(BadInput, SystemFileWhoseSizeIsNotItsContentIsUnreadable) {
    if (!fs::exists("/proc/self/status")) GTEST_SKIP() << "no /proc here";
    const FileReport report = check("/proc/self/status", FileKind::Tra);
    EXPECT_EQ(report.verdict, Verdict::Unreadable);
    EXPECT_EQ(report.error.rfind("read ", 0), 0u) << report.error;
    EXPECT_NE(report.error.find(" bytes of 0: it changed while being read"), std::string::npos) << report.error;
}

TEST_F(BadInput, NamesWithSpacesAndNonAsciiBytesAreChecked) {
    for (const char* name : {"with space.tra", "caf\xC3\xA9.tra", "lat\xE9.tra"}) {
        const std::string path = dir.file(name);
        test_files::write_bytes(path, "@1 = \"a\"\n");
        const FileReport report = check(path, FileKind::Tra);
        ASSERT_EQ(report.verdict, Verdict::Conflict) << name << ": " << report.error;
        EXPECT_EQ(report.path, path);
        EXPECT_EQ(report.conflict.start, 5) << name;
    }
}
#endif

}  // namespace
