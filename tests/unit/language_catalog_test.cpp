#include "language_catalog.h"

#include "settings_tree.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
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

struct CodePageRow {
    const char* name;
    std::string file;
    int code_page;
};

std::ostream& operator<<(std::ostream& out, const CodePageRow& row) { return out << row.name; }

class LanguageCodePage : public LanguageCatalogTest, public testing::WithParamInterface<CodePageRow> {};

TEST_P(LanguageCodePage, IsNamedOrTakenFromTheTexts) {
    write_language("Any", GetParam().file);
    ASSERT_TRUE(catalog.load("Any"));
    EXPECT_EQ(catalog.code_page(), GetParam().code_page);
}

// "\xE9" alone is Windows-1252 (or another single-byte page); "\xC3\xA9" is UTF-8.
INSTANTIATE_TEST_SUITE_P(All, LanguageCodePage, testing::Values(
    CodePageRow{"Named", "language\n{\n  codepage=1251\n}\nmenu\n{\n  file=\xD4\xE0\xE9\xEB\n}\n", 1251},
    CodePageRow{"NamedWithBlanks", "language\n{\n  codepage = 1250 \n}\n", 1250},
    CodePageRow{"NamedUtf8", "language\n{\n  codepage=65001\n}\nmenu\n{\n  file=Fichier\n}\n", 65001},
    CodePageRow{"NamedAfterTheTexts", "menu\n{\n  file=caf\xC3\xA9\n}\nlanguage\n{\n  codepage=1252\n}\n", 1252},
    CodePageRow{"AbsentWithUtf8Texts", "menu\n{\n  file=caf\xC3\xA9\n  exit=\xD0\x92\xD1\x8B\n}\n", 65001},
    CodePageRow{"AbsentWithAsciiTexts", "menu\n{\n  file=File\n}\n", 65001},
    CodePageRow{"AbsentWithEightBitTexts", "menu\n{\n  file=caf\xC3\xA9\n  exit=d\xE9j\xE0\n}\n", 1252},
    CodePageRow{"EightBitTextDeepInBlocks", "a\n{\n  b\n  {\n    c\n    {\n      d=\xE9\n    }\n  }\n}\ne\n{\n  f=g\n}\n", 1252},
    CodePageRow{"EightBitInACommentOnly", "; caf\xE9\nmenu\n{\n  file=File\n}\n", 65001},
    CodePageRow{"UnknownPageFallsBack", "language\n{\n  codepage=437\n}\nmenu\n{\n  file=\xE9\n}\n", 1252},
    CodePageRow{"NoNumberFallsBack", "language\n{\n  codepage=cp1251\n}\nmenu\n{\n  file=\xC3\xA9\n}\n", 65001},
    CodePageRow{"EmptyFile", "", 65001}),
    [](const testing::TestParamInfo<CodePageRow>& info) { return std::string(info.param.name); });

TEST_F(LanguageCatalogTest, Utf8BeforeLoadAndKeptByAFailedLoad) {
    EXPECT_EQ(catalog.code_page(), 65001);
    write_language("Russian", "language\n{\n  codepage=1251\n}\n");
    ASSERT_TRUE(catalog.load("Russian"));
    EXPECT_FALSE(catalog.load("Klingon"));
    EXPECT_EQ(catalog.code_page(), 1251);
}

TEST_F(LanguageCatalogTest, LookupUtf8ConvertsWhileLookupGivesTheBytes) {
    write_language("Russian", "language\n{\n  codepage=1251\n}\nmenu\n{\n  file=\xD4\xE0\xE9\xEB\n}\n");
    ASSERT_TRUE(catalog.load("Russian"));
    EXPECT_EQ(catalog.lookup_utf8("menu.file"), "Файл");
    EXPECT_STREQ(catalog.lookup("menu.file"), "\xD4\xE0\xE9\xEB");
    EXPECT_EQ(catalog.lookup_utf8("menu.exit"), "");
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
