#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "language_catalog.h"
#include "language_choice.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

TEST(LanguageFolders, ChosenFolderAloneElseBesideTheProgramThenCurrentFolder) {
    EXPECT_EQ(language_folders(std::string("texts"), "/opt/brindle"), std::vector<fs::path>{"texts"});
    EXPECT_EQ(language_folders(std::nullopt, "/opt/brindle"),
              (std::vector<fs::path>{fs::path("/opt/brindle") / "languages", "languages"}));
    EXPECT_EQ(language_folders(std::nullopt, ""), std::vector<fs::path>{"languages"});
}

TEST(ExecutableFolder, IsWhereTheRunningProgramLies) {
    const fs::path folder = executable_folder(nullptr);
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::is_directory(folder));
}

class LoadLanguage : public testing::Test {
protected:
    void write(const std::string& folder, const std::string& name, const std::string& text) {
        fs::create_directories(dir.path() / folder);
        test_files::write_bytes((dir.path() / folder / name).string(), text);
    }
    fs::path folder(const std::string& name) const { return dir.path() / name; }
    test_files::ScratchDir dir;
    const std::string texts = "tra\n{\n  unexpected_end=end one\n}\narcanum_dlg\n{\n  unexpected_end=end two\n}\n";
};

TEST_F(LoadLanguage, TakesTheFirstFolderHoldingTheLanguage) {
    write("second", "Pirate.ini", texts);
    write("third", "Pirate.ini", "tra\n{\n  unexpected_end=other\n}\narcanum_dlg\n{\n  unexpected_end=x\n}\n");
    const LanguageChoice choice = load_language("Pirate", {folder("first"), folder("second"), folder("third")});
    ASSERT_TRUE(choice.catalog) << choice.error;
    EXPECT_STREQ(choice.catalog->lookup("tra.unexpected_end"), "end one");
}

TEST_F(LoadLanguage, MissingLanguageNamesEveryFolderLookedIn) {
    const LanguageChoice choice = load_language("Klingon", {folder("a"), folder("b")});
    EXPECT_FALSE(choice.catalog);
    EXPECT_NE(choice.error.find("Klingon"), std::string::npos);
    EXPECT_NE(choice.error.find(folder("a").string()), std::string::npos);
    EXPECT_NE(choice.error.find(folder("b").string()), std::string::npos);
}

TEST_F(LoadLanguage, FileWithoutTheCheckersTextsIsRefused) {
    write("l", "Menus.ini", "menu\n{\n  file=File\n}\n");
    write("l", "Half.ini", "tra\n{\n  unexpected_end=end\n}\n");
    EXPECT_FALSE(load_language("Menus", {folder("l")}).catalog);
    const LanguageChoice half = load_language("Half", {folder("l")});
    EXPECT_FALSE(half.catalog);
    EXPECT_NE(half.error.find("arcanum_dlg.unexpected_end"), std::string::npos);
}

TEST(LoadShippedLanguage, EnglishLoadsFromTheLanguagesFolder) {
    const LanguageChoice choice = load_language("English", {"languages"});
    ASSERT_TRUE(choice.catalog) << choice.error;
    EXPECT_STREQ(choice.catalog->lookup("tra.found_quote"), "but found a double quote (\")");
}

}  // namespace
