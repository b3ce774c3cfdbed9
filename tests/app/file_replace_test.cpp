// replace_file, the conflict editor's save: the original stays whole whenever the new
// content cannot be written in full, and the failure is reported.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "file_replace.h"
#include "win_test_files.h"

namespace {

class Folder {
public:
    Folder() {
        char base[MAX_PATH] = "";
        GetTempPathA(sizeof base, base);
        path_ = std::string(base) + "brindle_replace_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(GetTickCount());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~Folder() {
        for (const std::string& name : names()) {
            const std::string path = file(name);
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    std::string file(const std::string& name) const { return path_ + "\\" + name; }

    std::vector<std::string> names() const {
        std::vector<std::string> found;
        WIN32_FIND_DATAA entry;
        const HANDLE search = FindFirstFileA(file("*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) return found;
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") found.push_back(name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
        return found;
    }

private:
    std::string path_;
};

using win_test_files::read_file;
using win_test_files::write_file;

bool replace(const std::string& path, const std::string& bytes, std::string& error) {
    return replace_file(path.c_str(), bytes.data(), static_cast<std::int32_t>(bytes.size()), error);
}

const std::string original = "@1 = ~Bells.~ [BELL 02]\r\n";
const std::string mended = "@1 = ~Bells.~ [BELL02]\r\n";

TEST(FileReplacement, WritesTheWholeContentAndKeepsTheAttributes) {
    Folder folder;
    const std::string path = folder.file("a.tra");
    ASSERT_TRUE(write_file(path, original));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    std::string error;
    ASSERT_TRUE(replace(path, mended, error)) << error;
    EXPECT_EQ(read_file(path), mended);
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.tra"}) << "a temporary file was left behind";
}

// Each row makes the target unreplaceable in its own way; the original must stay as it was.
struct Refusal {
    const char* what;
    void (*prepare)(const std::string& path);
    bool target_is_a_file;
};

const Refusal refusals[] = {
    {"a read-only file", [](const std::string& path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); },
     true},
    {"a folder", [](const std::string& path) {
         DeleteFileA(path.c_str());
         CreateDirectoryA(path.c_str(), nullptr);
     }, false},
};

TEST(FileReplacement, RefusesTargetsItMustNotReplace) {
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        Folder folder;
        const std::string path = folder.file("a.tra");
        ASSERT_TRUE(write_file(path, original));
        refusal.prepare(path);
        std::string error;
        EXPECT_FALSE(replace(path, mended, error));
        EXPECT_FALSE(error.empty());
        if (refusal.target_is_a_file) {
            EXPECT_EQ(read_file(path), original);
        }
        EXPECT_EQ(folder.names(), std::vector<std::string>{"a.tra"}) << "a temporary file was left behind";
    }
}

TEST(FileReplacement, AMissingFolderIsReported) {
    Folder folder;
    std::string error;
    EXPECT_FALSE(replace(folder.file("gone\\a.tra"), mended, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(folder.names().empty());
}

// Run only with BRINDLE_SMALL_DISK naming a folder on a 64 KiB file system (see
// run_on_small_disk): the temporary file fills the disk part way through the write.
TEST(FileReplacement, AWriteThatStopsHalfWayLeavesTheOriginalOnAFullDisk) {
    char disk[MAX_PATH] = "";
    ASSERT_NE(GetEnvironmentVariableA("BRINDLE_SMALL_DISK", disk, sizeof disk), 0u) << "no small disk given";
    const std::string path = std::string(disk) + "\\a.tra";
    ASSERT_TRUE(write_file(path, original));
    std::string large;
    while (large.size() < 1024 * 1024) large += mended;
    std::string error;
    EXPECT_FALSE(replace(path, large, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(read_file(path), original);
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((std::string(disk) + "\\*.*").c_str(), &entry);
    std::vector<std::string> names;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (entry.cFileName[0] != '.') names.push_back(entry.cFileName);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    EXPECT_EQ(names, std::vector<std::string>{"a.tra"}) << "a temporary file was left behind";
    DeleteFileA(path.c_str());
}

}  // namespace
