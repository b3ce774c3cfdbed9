#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "discovery.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

struct KindRow {
    const char* name;
    std::optional<FileKind> kind;
};

TEST(KindFromName, MatchesTheExtensionInAnyCase) {
    const KindRow rows[] = {
        {"a.tra", FileKind::Tra}, {"A.TRA", FileKind::Tra}, {"dir.x/b.Tra", FileKind::Tra},
        {"c.dlg", FileKind::Dlg}, {"C.DLG", FileKind::Dlg}, {"d.DlG", FileKind::Dlg},
        {"e.txt", std::nullopt},  {"tra", std::nullopt},    {"f.tra.bak", std::nullopt},
        {".tra", std::nullopt},   {"g.tr", std::nullopt},
    };
    for (const KindRow& row : rows) EXPECT_EQ(kind_from_name(row.name), row.kind) << row.name;
}

class DiscoveryTest : public testing::Test {
protected:
    // Creates each file (with its folders) below the scratch folder.
    void make(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            fs::create_directories(fs::path(dir.file(name)).parent_path());
            test_files::write_bytes(dir.file(name), "");
        }
    }
    // The targets' paths relative to the scratch folder, with "/" separators.
    std::vector<std::string> relative(const Discovery& found) const {
        std::vector<std::string> paths;
        for (const Target& t : found.targets) {
            paths.push_back(fs::path(t.path).lexically_relative(dir.path()).generic_string());
        }
        return paths;
    }
    test_files::ScratchDir dir;
};

TEST_F(DiscoveryTest, DirectoriesAreSearchedRecursivelyInSortedOrder) {
    make({"z.tra", "b/UPPER.TRA", "b/c/deep.Dlg", "a.tra", "a.dlg", "readme.txt", "b.tra", "c/d.tra"});
    const Discovery found = discover({dir.path().string()}, std::nullopt);
    EXPECT_EQ(relative(found),
              (std::vector<std::string>{"a.dlg", "a.tra", "b/UPPER.TRA", "b/c/deep.Dlg", "b.tra", "c/d.tra", "z.tra"}));
    EXPECT_TRUE(found.unknown_kind.empty());
    for (const Target& t : found.targets) EXPECT_EQ(t.error, "") << t.path;
    EXPECT_EQ(found.targets[0].kind, FileKind::Dlg);
    EXPECT_EQ(found.targets[2].kind, FileKind::Tra);
}

TEST_F(DiscoveryTest, ForcedKindNarrowsTheSearch) {
    make({"a.tra", "b.dlg", "sub/c.DLG", "d.txt"});
    const Discovery found = discover({dir.path().string()}, FileKind::Dlg);
    EXPECT_EQ(relative(found), (std::vector<std::string>{"b.dlg", "sub/c.DLG"}));
}

TEST_F(DiscoveryTest, NamedFilesKeepTheirOrderAndTakeTheForcedKind) {
    make({"z.dlg", "a.txt"});
    const Discovery found = discover({dir.file("z.dlg"), dir.file("a.txt")}, FileKind::Tra);
    ASSERT_EQ(found.targets.size(), 2u);
    EXPECT_EQ(found.targets[0].path, dir.file("z.dlg"));
    EXPECT_EQ(found.targets[0].kind, FileKind::Tra);
    EXPECT_EQ(found.targets[1].kind, FileKind::Tra);
}

TEST_F(DiscoveryTest, NamedFileOfUnknownKindIsReported) {
    make({"a.txt", "b.tra"});
    const Discovery found = discover({dir.file("a.txt"), dir.file("b.tra")}, std::nullopt);
    EXPECT_EQ(found.unknown_kind, std::vector<std::string>{dir.file("a.txt")});
    ASSERT_EQ(found.targets.size(), 1u);
    EXPECT_EQ(found.targets[0].kind, FileKind::Tra);
}

TEST_F(DiscoveryTest, MissingPathIsATargetWithTheSystemsReason) {
    const Discovery found = discover({dir.file("gone.dlg"), dir.file("gone")}, std::nullopt);
    ASSERT_EQ(found.targets.size(), 2u);
    EXPECT_EQ(found.targets[0].kind, FileKind::Dlg);
    EXPECT_NE(found.targets[0].error, "");
    EXPECT_EQ(found.targets[1].kind, std::nullopt);
    EXPECT_NE(found.targets[1].error, "");
    EXPECT_TRUE(found.unknown_kind.empty());
}

TEST_F(DiscoveryTest, EmptyDirectoryGivesNothing) {
    const Discovery found = discover({dir.path().string()}, std::nullopt);
    EXPECT_TRUE(found.targets.empty());
    EXPECT_TRUE(found.unknown_kind.empty());
}

}  // namespace
