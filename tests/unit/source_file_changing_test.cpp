// A file that changes between taking its size and reading its bytes, as the checkers do:
// the read gives what is there, never more than asked and never bytes that are not in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "source_file.h"
#include "test_files.h"
#include "tra_checker.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

TEST(SourceFileChanging, GrownFileGivesNoMoreThanTheSizeTaken) {
    test_files::ScratchDir dir;
    const std::string path = dir.file("data");
    test_files::write_bytes(path, "0123456789");
    SourceFile file;
    ASSERT_TRUE(file.open(path.c_str(), SourceFile::ReadMode));
    const std::int32_t size = file.size();
    ASSERT_EQ(size, 10);
    std::ofstream(path, std::ios::binary | std::ios::app) << "abcdef";
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '#');
    EXPECT_EQ(file.read_some(buffer.data(), size), size);
    EXPECT_FALSE(file.has_error());
    EXPECT_EQ(std::string(buffer.data(), buffer.size()), "0123456789#");
}

#ifndef _WIN32
TEST(SourceFileChanging, ShrunkFileGivesAShortReadWithoutError) {
    test_files::ScratchDir dir;
    const std::string path = dir.file("data");
    test_files::write_bytes(path, std::string(100000, 'x'));
    SourceFile file;
    ASSERT_TRUE(file.open(path.c_str(), SourceFile::ReadMode));
    const std::int32_t size = file.size();
    ASSERT_EQ(size, 100000);
    fs::resize_file(path, 40000);
    std::vector<char> buffer(static_cast<std::size_t>(size), '#');
    EXPECT_EQ(file.read_some(buffer.data(), size), 40000);
    EXPECT_FALSE(file.has_error()) << "meeting the end early is no read error";
    EXPECT_EQ(std::string(buffer.data(), 40000), std::string(40000, 'x'));
    EXPECT_EQ(buffer[40000], '#') << "nothing is written past the bytes read";
}

// A FIFO has no size to take; a writer is held open so that opening it does not wait.
TEST(SourceFileChanging, FifoHasNoSizeAndIsUnreadableForTheChecker) {
    test_files::ScratchDir dir;
    const std::string path = dir.file("pipe.tra");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const int writer = open(path.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(write(writer, "@1 = ~a~\n", 9), 9);

    SourceFile file;
    ASSERT_TRUE(file.open(path.c_str(), SourceFile::ReadMode));
    EXPECT_EQ(file.size(), -1);
    file.close();
    TraChecker checker(nullptr);
    EXPECT_EQ(checker.check(path.c_str()).code(), -1);
    close(writer);
}
#endif

}  // namespace
