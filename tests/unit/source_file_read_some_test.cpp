#include <gtest/gtest.h>

#include <string>

#include "source_file.h"
#include "test_files.h"

namespace {

TEST(SourceFileReadSome, GivesWhatThereIsUpToN) {
    test_files::ScratchDir dir;
    const std::string path = dir.file("data");
    test_files::write_bytes(path, "abcdef");
    SourceFile file;
    char buffer[16] = {};
    EXPECT_EQ(file.read_some(buffer, 4), 0) << "closed";
    ASSERT_TRUE(file.open(path.c_str(), SourceFile::ReadMode));
    EXPECT_EQ(file.read_some(buffer, 0), 0);
    EXPECT_EQ(file.read_some(buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(file.read_some(buffer, 16), 2) << "the end of the file comes first";
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(file.read_some(buffer, 16), 0);
    EXPECT_FALSE(file.has_error());
}

}  // namespace
