#include <gtest/gtest.h>

#include <string>

#include "source_file.h"
#include "test_files.h"

namespace {

TEST(SourceFile, ClosedFileDoesNothing) {
    SourceFile file;
    char byte = 'x';
    EXPECT_FALSE(file.is_open());
    EXPECT_EQ(file.size(), 0);
    EXPECT_EQ(file.tell(), 0);
    EXPECT_FALSE(file.seek(0, 0));
    EXPECT_EQ(file.read(&byte, 1), 0);
    EXPECT_EQ(file.write(&byte, 1), 0);
    EXPECT_TRUE(file.close());
}

TEST(SourceFile, OpenFailsForMissingFilesAndUnknownModes) {
    test_files::ScratchDir dir;
    SourceFile file;
    EXPECT_FALSE(file.open(dir.file("missing").c_str(), SourceFile::ReadMode));
    test_files::write_bytes(dir.file("there"), "abc");
    EXPECT_FALSE(file.open(dir.file("there").c_str(), 2));
    EXPECT_FALSE(file.is_open());
}

TEST(SourceFile, WritesAndReadsExactBytes) {
    test_files::ScratchDir dir;
    const std::string path = dir.file("data");
    test_files::write_bytes(path, "old content that is longer");
    const std::string bytes("line\r\nnext\n\0end\r", 16);
    {
        SourceFile out;
        ASSERT_TRUE(out.open(path.c_str(), SourceFile::WriteMode));
        EXPECT_EQ(out.write(bytes.data(), 0), 0);
        EXPECT_EQ(out.write(bytes.data(), static_cast<int>(bytes.size())), 1);
    }
    EXPECT_EQ(test_files::read_bytes(path), bytes) << "binary mode, truncated before writing";

    SourceFile in;
    ASSERT_TRUE(in.open(path.c_str(), SourceFile::ReadMode));
    ASSERT_TRUE(in.seek(4, 0));
    EXPECT_EQ(in.size(), 16);
    EXPECT_EQ(in.tell(), 4) << "size() keeps the position";
    std::string got(12, 'x');
    EXPECT_EQ(in.read(got.data(), 12), 1);
    EXPECT_EQ(got, bytes.substr(4));
    EXPECT_EQ(in.read(got.data(), 1), 0) << "no whole block left";
    EXPECT_FALSE(in.has_error()) << "the end of the file is no error";
    EXPECT_TRUE(in.seek(-3, 2));
    EXPECT_EQ(in.tell(), 13);
    EXPECT_TRUE(in.seek(1, 1));
    EXPECT_EQ(in.tell(), 14);
}

}  // namespace
