// Saving a settings tree where it cannot be saved: the call says so, the tree stays
// modified, and nothing on disk changes, not even a temporary file left behind.
#include "settings_tree.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

namespace fs = std::filesystem;
using test_files::read_bytes;
using test_files::write_bytes;

const char* const original = "general\n{\n  language=English\n}\n";

// Every entry below `root` by relative path: a file's bytes, a link's target, "<folder>".
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = entry.path().lexically_relative(root).generic_string();
        if (entry.is_symlink()) {
            entries[name] = "-> " + fs::read_symlink(entry.path()).generic_string();
        } else if (entry.is_directory()) {
            entries[name] = "<folder>";
        } else {
            entries[name] = read_bytes(entry.path().string());
        }
    }
    return entries;
}

class SettingsSaveFault : public ::testing::Test {
protected:
    // Write permission back on everything, so that the folder can be removed on Windows,
    // where a read-only file cannot be deleted.
    void TearDown() override {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir.path())) {
            std::error_code ignored;
            if (!entry.is_symlink()) fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        }
    }

    // Sets a value in a tree of `target` and saves it: the save must fail and leave every
    // byte in the scratch folder as it was.
    void expect_failed_save_changes_nothing(const std::string& target) {
        const auto before = snapshot(dir.path());
        SettingsTree tree(target);
        tree.set("general.language", "German");
        EXPECT_FALSE(tree.save());
        EXPECT_TRUE(tree.is_modified());
        EXPECT_EQ(snapshot(dir.path()), before);
    }

    test_files::ScratchDir dir;
    const std::string path = dir.file("settings.ini");
};

TEST_F(SettingsSaveFault, NothingToSaveIsSuccessAndTouchesNothing) {
    write_bytes(path, "k = v\n");
    SettingsTree tree(path);
    EXPECT_TRUE(tree.save());
    EXPECT_EQ(read_bytes(path), "k = v\n");
}

struct FaultCase {
    const char* label;
    // Prepares the scratch folder and names the file to save to.
    std::function<std::string(const test_files::ScratchDir&)> prepare;
};

std::ostream& operator<<(std::ostream& out, const FaultCase& c) { return out << c.label; }

class SettingsSaveFaultTable : public SettingsSaveFault, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SettingsSaveFaultTable, SaveFailsAndLeavesEverythingAsItWas) {
    expect_failed_save_changes_nothing(GetParam().prepare(dir));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsSaveFaultTable,
    ::testing::Values(
        FaultCase{"ReadOnlyFile",
                  [](const test_files::ScratchDir& d) {
                      const std::string target = d.file("settings.ini");
                      write_bytes(target, original);
                      fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                                      fs::perm_options::remove);
                      return target;
                  }},
        FaultCase{"MissingFolder", [](const test_files::ScratchDir& d) { return d.file("missing") + "/settings.ini"; }},
        FaultCase{"FolderIsAFile",
                  [](const test_files::ScratchDir& d) {
                      write_bytes(d.file("plain"), original);
                      return d.file("plain") + "/settings.ini";
                  }},
        FaultCase{"TargetIsAFolder",
                  [](const test_files::ScratchDir& d) {
                      fs::create_directory(d.file("settings.ini"));
                      write_bytes(d.file("settings.ini") + "/inside", original);
                      return d.file("settings.ini");
                  }},
        FaultCase{"TemporaryNameIsAFolder",
                  [](const test_files::ScratchDir& d) {
                      write_bytes(d.file("settings.ini"), original);
                      fs::create_directory(d.file("settings.ini") + ".tmp");
                      return d.file("settings.ini");
                  }}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.label); });

TEST_F(SettingsSaveFault, ReadOnlyFileIsSavedOnceWritableAgain) {
    write_bytes(path, original);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    SettingsTree tree(path);
    tree.set("general.language", "German");
    EXPECT_FALSE(tree.save());
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(tree.save());
    EXPECT_FALSE(tree.is_modified());
    EXPECT_EQ(read_bytes(path), "general\n{\n  language=German\n}\n");
}

#ifndef _WIN32

// Lowers the largest file size this process may write (the soft limit only, so it can be
// raised back) and ignores SIGXFSZ, so a write beyond it fails with EFBIG instead of ending
// the process. Both are restored on destruction.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        set_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
        saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, saved_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool is_set() const { return set_; }

private:
    rlimit saved_{};
    bool set_ = false;
    void (*saved_handler_)(int) = SIG_DFL;
};

struct WriteBreakCase {
    const char* label;
    std::size_t value_size;  // the text saved is "k=" + value + "\n"
    std::size_t short_by;    // how many bytes of it do not fit any more
};

std::ostream& operator<<(std::ostream& out, const WriteBreakCase& c) { return out << c.label; }

class SettingsSaveWriteBreaks : public SettingsSaveFault, public ::testing::WithParamInterface<WriteBreakCase> {};

// The disk fills before the end of the text: a few bytes short, a small text fails only when
// the stream's buffer is flushed at the close; half way, a large one fails among the writes.
TEST_P(SettingsSaveWriteBreaks, SaveFailsAndLeavesEverythingAsItWas) {
    write_bytes(path, "k=old\n");
    const std::string value(GetParam().value_size, 'v');
    const std::size_t text_size = value.size() + 3;
    const auto before = snapshot(dir.path());
    SettingsTree tree(path);
    tree.set("k", value.c_str());
    bool limited = false;
    bool saved = true;
    {
        const FileSizeLimit limit(text_size - GetParam().short_by);
        limited = limit.is_set();
        saved = tree.save();
    }
    ASSERT_TRUE(limited);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(tree.is_modified());
    EXPECT_EQ(snapshot(dir.path()), before);

    EXPECT_TRUE(tree.save()) << "without the limit the same text is written";
    EXPECT_EQ(read_bytes(path), "k=" + value + "\n");
}

INSTANTIATE_TEST_SUITE_P(Sizes, SettingsSaveWriteBreaks,
                         ::testing::Values(WriteBreakCase{"SmallTextShortByThree", 20, 3},
                                           WriteBreakCase{"LargeTextShortByHalf", 300000, 150000}),
                         [](const ::testing::TestParamInfo<WriteBreakCase>& info) {
                             return std::string(info.param.label);
                         });

// /dev/full takes every write into the stream's buffer and fails the flush at the close.
TEST_F(SettingsSaveFault, FullDeviceFailsTheCloseAndTheTargetStays) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    write_bytes(path, original);
    const auto expected = snapshot(dir.path());
    fs::create_symlink("/dev/full", path + ".tmp");
    SettingsTree tree(path);
    tree.set("general.language", "German");
    EXPECT_FALSE(tree.save());
    EXPECT_TRUE(tree.is_modified());
    // Compared without reading through links: a target replaced by the link would read
    // /dev/full's endless zeros.
    EXPECT_EQ(snapshot(dir.path()), expected);
}

#endif

}  // namespace
