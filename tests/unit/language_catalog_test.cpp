#include "language_catalog.h"

#include "settings_tree.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using test_files::read_bytes;
using test_files::write_bytes;

class LanguageCatalogTest : public ::testing::Test {
protected:
    void write_language(const std::string& language, const std::string& text) {
        write_bytes(dir.file(language + ".ini"), text);
    }

    test_files::ScratchDir dir;
    LanguageCatalog catalog{dir.path().string()};
};

TEST_F(LanguageCatalogTest, EmptyBeforeLoadAndNotTheSharedArea) {
    EXPECT_FALSE(catalog.load("Klingon"));
    SettingsTree tree(dir.file("none.ini"));
    const char* area = tree.get_string("menu.file");
    EXPECT_STREQ(catalog.lookup("menu.file"), "");
    EXPECT_NE(catalog.lookup("menu.file"), area);
}

TEST_F(LanguageCatalogTest, AnswersKeysIncludingBases) {
    write_language("English",
                   "general\n{\n  usage= Choose files.\n}\ntra~general\n{\n  found_at=@\n}\n");
    ASSERT_TRUE(catalog.load("English"));
    EXPECT_STREQ(catalog.lookup("general.usage"), " Choose files.");
    EXPECT_STREQ(catalog.lookup("tra.found_at"), "@");
    EXPECT_STREQ(catalog.lookup("tra.usage"), " Choose files.");
    EXPECT_STREQ(catalog.lookup("menu.file"), "");
}

TEST_F(LanguageCatalogTest, FailedLoadKeepsLanguageAndNewLoadReplacesIt) {
    write_language("English", "menu\n{\n  file=File\n  exit=Exit\n}\n");
    write_language("Deutsch", "menu\n{\n  file=Datei\n}\n");
    ASSERT_TRUE(catalog.load("English"));
    EXPECT_FALSE(catalog.load("Klingon"));
    EXPECT_STREQ(catalog.lookup("menu.file"), "File");
    ASSERT_TRUE(catalog.load("Deutsch"));
    EXPECT_STREQ(catalog.lookup("menu.file"), "Datei");
    EXPECT_STREQ(catalog.lookup("menu.exit"), "");  // no fallback to the previous language
}

TEST_F(LanguageCatalogTest, EmptyFileLoadsWithEmptyTexts) {
    write_language("Empty", "");
    EXPECT_TRUE(catalog.load("Empty"));
    EXPECT_STREQ(catalog.lookup("menu.file"), "");
}

TEST_F(LanguageCatalogTest, EmptyOrNullNameIsNotChecked) {
    write_language("", "menu\n{\n  file=Nameless\n}\n");
    ASSERT_TRUE(catalog.load(""));
    EXPECT_STREQ(catalog.lookup("menu.file"), "Nameless");
    write_language("", "");
    ASSERT_TRUE(catalog.load(nullptr));
    EXPECT_STREQ(catalog.lookup("menu.file"), "");
}

TEST_F(LanguageCatalogTest, TwoLookupsShareTheArea) {
    write_language("English", "menu\n{\n  file=File\n  exit=Exit\n}\n");
    ASSERT_TRUE(catalog.load("English"));
    const char* first = catalog.lookup("menu.file");
    const char* second = catalog.lookup("menu.exit");
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "Exit");
}

TEST_F(LanguageCatalogTest, LanguageFileIsNeverRewritten) {
    const std::string text = "menu\r\n{\r\nfile = File\r\n}";
    write_language("English", text);
    {
        LanguageCatalog own(dir.path().string());
        ASSERT_TRUE(own.load("English"));
        EXPECT_STREQ(own.lookup("menu.file"), " File");
    }
    EXPECT_EQ(read_bytes(dir.file("English.ini")), text);
}

TEST(LanguageCatalogDefault, ReadsFromLanguagesBelowTheWorkingFolder) {
    const std::filesystem::path languages = std::filesystem::current_path() / "languages";
    ASSERT_TRUE(std::filesystem::is_directory(languages));
    // A file of its own in the working folder's "languages", removed again afterwards.
    const std::filesystem::path file = languages / "DefaultFolderTest.ini";
    write_bytes(file.string(), "general\n{\n  canceled=Canceled\n}\n");
    LanguageCatalog catalog;
    const bool loaded = catalog.load("DefaultFolderTest");
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    ASSERT_TRUE(loaded);
    EXPECT_STREQ(catalog.lookup("general.canceled"), "Canceled");
}

}  // namespace
