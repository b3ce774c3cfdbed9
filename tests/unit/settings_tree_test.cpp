#include "settings_tree.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

namespace {

namespace fs = std::filesystem;
using test_files::read_bytes;
using test_files::write_bytes;

const char* const worked_example =
    "; texts\ngeneral\n{\n  title=Report\n  greeting = Hello\n  empty\n}\n"
    "menu~general\n{\n  file=File\n}\n";

std::string with_line_ends(const std::string& text, const std::string& line_end) {
    std::string out;
    for (char c : text) out += c == '\n' ? line_end : std::string(1, c);
    return out;
}

class SettingsTreeTest : public ::testing::Test {
protected:
    test_files::ScratchDir dir;
    const std::string path = dir.file("settings.ini");
};

class SettingsWorkedExample : public SettingsTreeTest,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(SettingsWorkedExample, AnswersKeysAndRewritesExactly) {
    write_bytes(path, with_line_ends(worked_example, GetParam()));
    SettingsTree tree(path);
    ASSERT_TRUE(tree.is_loaded());
    const std::pair<const char*, const char*> answers[] = {
        {"general.title", "Report"}, {"general.greeting", " Hello"}, {"general.empty", ""},
        {"menu.file", "File"},       {"menu.title", "Report"},       {"menu", ""},
        {"general.title.x", ""},     {".general..title.", "Report"}, {"x", ""}};
    for (const auto& [key, expected] : answers) EXPECT_STREQ(tree.get_string(key), expected) << key;

    tree.set("general.language", "English");
    tree.set("view.font.size", "10");
    EXPECT_TRUE(tree.save());
    EXPECT_FALSE(tree.is_modified());
    EXPECT_EQ(read_bytes(path),
              "; texts\ngeneral\n{\n  title=Report\n  greeting= Hello\n  empty=\n"
              "  language=English\n}\nmenu~general\n{\n  file=File\n}\n"
              "view\n{\n  font\n  {\n    size=10\n  }\n}\n");
}

INSTANTIATE_TEST_SUITE_P(LineEnds, SettingsWorkedExample, ::testing::Values("\n", "\r\n", "\r"));

struct RewriteCase {
    const char* label;
    std::string input;
    std::string written;  // after a marker entry is set and the tree saved, marker left off
};

// Named by label also where GoogleTest prints a parameter, as in the CTest names.
std::ostream& operator<<(std::ostream& out, const RewriteCase& c) { return out << c.label; }

class SettingsRewrite : public SettingsTreeTest,
                        public ::testing::WithParamInterface<RewriteCase> {};

TEST_P(SettingsRewrite, ReadsAndWritesBack) {
    write_bytes(path, GetParam().input);
    SettingsTree(path).set("zz", "1");
    EXPECT_EQ(read_bytes(path), GetParam().written + "zz=1\n");
}

const std::string n255(255, 'n');
const std::string v255(255, 'v');

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsRewrite,
    ::testing::Values(
        RewriteCase{"BlankBeforeAssign", "name = value\n", "name= value\n"},
        RewriteCase{"TrailingBlanks", "name=value  \n", "name=value  \n"},
        RewriteCase{"ValueWithSpecials", "a=b=c;{}~\n", "a=b=c;{}~\n"},
        RewriteCase{"NameBytes", "n\tx;\xe9=1\n", "n\tx;\xe9=1\n"},
        RewriteCase{"CommentBlanks", ";  c  \n", ";  c  \n"},
        RewriteCase{"BraceNextLine", "b\n{\nx=1\n}\n", "b\n{\n  x=1\n}\n"},
        RewriteCase{"BraceSameLine", "b {x=1\n}\n", "b\n{\n  x=1\n}\n"},
        RewriteCase{"BraceInName", "b{\nx=1\n}\n", "b{=\nx=1\n"},
        RewriteCase{"BlockValues", "b=v\n{\n}\nc=\n{\n}\n", "b=v\n{\n}\nc=\n{\n}\n"},
        RewriteCase{"OpenAtStart", "{\na=1\n", "a=1\n"},
        RewriteCase{"AssignAtStart", "=a=1\n", "a=1\n"},
        RewriteCase{"BaseAtStart", "~a=1\n", "a=1\n"},
        RewriteCase{"StrayClose", "}\na=1\n}\n", "a=1\n"},
        RewriteCase{"AssignAfterClose", "b\n{\nc=1\n}\n=x\n", "b\n{\n  c=x\n}\n"},
        RewriteCase{"OpenAfterClose", "b\n{\nc\n}\n{\nd=1\n}\n",
                    "b\n{\n  c\n  {\n    d=1\n  }\n}\n"},
        RewriteCase{"Duplicates", "a=1\nb=2\na=3\n", "a=1\nb=2\na=3\n"},
        // A comment keeps its text: braces, values and bases after it are not its own.
        RewriteCase{"CommentOpened", "; c\n{\n}\n", "; c\n"},
        RewriteCase{"CommentGivenAValue", "; c\n=x\n", "; c\nx=\n"},
        RewriteCase{"CommentGivenABase", "a=1\n; c\n~\n", "a=1\n; c\n"},
        RewriteCase{"UnclosedBlock", "a\n{\nb=1\n", "a\n{\n  b=1\n}\n"},
        RewriteCase{"BaseMissing", "x~a.b\n", "x=\n"},
        RewriteCase{"BaseIsValue", "a\n{\nb=1\n}\nx~a.b\n", "a\n{\n  b=1\n}\nx=\n"},
        RewriteCase{"BaseIsEmptyBlock", "a\n{\nb\n{\n}\n}\nx~a.b\n{\n}\n",
                    "a\n{\n  b\n  {\n  }\n}\nx\n{\n}\n"},
        RewriteCase{"BaseWithoutBraces", "a\n{\nb=1\n}\nx~a\n", "a\n{\n  b=1\n}\nx~a\n{\n}\n"},
        RewriteCase{"BaseNested", "a\n{\nb\n{\nc\n}\n}\nx~a.b=v=w\n{\nd\n}\n",
                    "a\n{\n  b\n  {\n    c=\n  }\n}\nx~a.b=v=w\n{\n  d=\n}\n"},
        RewriteCase{"RootBlocks", "root\n{\nroot\n{\nb=1\n}\n}\n",
                    "root\n{\n  root\n  {\n    b=1\n  }\n}\n"},
        RewriteCase{"EndInValue", "k=value", "k=value\n"},
        RewriteCase{"EndAfterAssign", "k=", "k=\n"},
        RewriteCase{"EndInComment", "; c", "; c\n"},
        RewriteCase{"EndInName", "a\nb", "a=\n"},
        RewriteCase{"EndAfterName", "a\nb ", "a=\nb=\n"},
        RewriteCase{"EndAfterOpen", "a\n{", "a\n{\n}\n"},
        RewriteCase{"EndAfterBase", "a\n{\nb\n}\nx~a", "a\n{\n  b=\n}\nx~a\n{\n}\n"},
        RewriteCase{"EndInName255", n255, ""},
        RewriteCase{"EndInName510", n255 + n255, n255 + "=\n"},
        RewriteCase{"EndInName511", n255 + n255 + "n", n255 + "=\n" + n255 + "=\n"},
        RewriteCase{"Name255BeforeLineEnd", n255 + "\n", n255 + "=\n"},
        RewriteCase{"BlankLines", "\n\n  \t a=1 \n\n", "a=1 \n"},
        RewriteCase{"LongName", std::string(300, 'n') + "=v\n",
                    n255 + "=\n" + std::string(45, 'n') + "=v\n"},
        RewriteCase{"LongValue", "a=" + v255 + "x=1\n", "a=" + v255 + "\nx=1\n"},
        RewriteCase{"Value255", "a=" + v255 + "\nb\n", "a=" + v255 + "\nb=\n"},
        RewriteCase{"LongComment", ";" + v255 + "b=2\n", ";" + v255 + "\nb=2\n"}),
    [](const auto& info) { return std::string(info.param.label); });

struct SetCase {
    const char* label;
    std::string input;
    const char* key;
    std::string after;  // the file after the tree is destroyed
};

std::ostream& operator<<(std::ostream& out, const SetCase& c) { return out << c.label; }

class SettingsSet : public SettingsTreeTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(SettingsSet, WritesOnlyWhatChanged) {
    write_bytes(path, GetParam().input);
    {
        SettingsTree tree(path);
        tree.set(GetParam().key, "v");
        EXPECT_EQ(tree.is_modified(), GetParam().after != GetParam().input);
    }
    EXPECT_EQ(read_bytes(path), GetParam().after);
}

// CR LF input shows whether a file was rewritten.
const std::string block = "a\r\n{\r\nt=v\r\n}\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsSet,
    ::testing::Values(
        SetCase{"ThroughValue", block, "a.t.x", block},
        SetCase{"OnBlock", block, "a", block},
        SetCase{"NoParts", block, "..", block},
        SetCase{"NullKey", block, nullptr, block},
        SetCase{"EqualValue", block, "a.t", "a\n{\n  t=v\n}\n"},
        SetCase{"DoubledDots", block, ".a..u.", "a\n{\n  t=v\n  u=v\n}\n"},
        SetCase{"NewBlocks", "", "b.c.d", "b\n{\n  c\n  {\n    d=v\n  }\n}\n"},
        SetCase{"FirstDuplicate", "a=1\na=2\n", "a", "a=v\na=2\n"},
        SetCase{"CommentByName", "; c\n", ";", ";v\n"},
        SetCase{"NeverIntoBase", "a\n{\nt=1\n}\nb~a\n{\nu=2\n}\n", "b.t",
                "a\n{\n  t=1\n}\nb~a\n{\n  u=2\n  t=v\n}\n"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SettingsTreeTest, LookupsFollowFirstMatchBasesAndNesting) {
    std::string deep;
    for (int i = 1; i <= 10; ++i) deep += "b" + std::to_string(i) + "\n{\n";
    write_bytes(path, "a=1\na=2\nv=x\nv\n{\nc=3\n}\n"
                      "p\n{\nx=1\nin\n{\ny=2\n}\n}\nq~p\n{\nz=3\n}\nr~q=own\n{\nx=4\n}\n" +
                          deep + "v=1\n}\nw=2\n");
    SettingsTree tree(path);
    const std::pair<const char*, const char*> answers[] = {
        {"a", "1"}, {"v.c", ""},  // a later block of a value's name is never reached
        {"r", "own"}, {"r.x", "4"}, {"r.z", "3"}, {"q.x", "1"}, {"r.in.y", "2"}, {"p.z", ""},
        {"b1.b2.b3.b4.b5.b6.b7.b8.b9.b10.v", "1"},
        // The "}" of the tenth level returns to the ninth, as braces read.
        {"b1.b2.b3.b4.b5.b6.b7.b8.b9.w", "2"}, {"b1.b2.b3.b4.b5.b6.b7.b8.w", ""}};
    for (const auto& [key, expected] : answers) EXPECT_STREQ(tree.get_string(key), expected) << key;
    EXPECT_EQ(tree.find("r")->base(), tree.find("q"));
    EXPECT_EQ(tree.find(""), tree.find("a")->parent());
    EXPECT_EQ(tree.find(".."), nullptr);
}

TEST_F(SettingsTreeTest, BasePathNamesEveryEnclosingBlock) {
    // Reopening the last node after each "}" nests one level deeper each time.
    std::string input = "b1\n{\n";
    for (int i = 2; i <= 12; ++i) input += "b" + std::to_string(i) + "\n}\n{\n";
    write_bytes(path, input);
    SettingsTree tree(path);
    const char* const eleventh = "b1.b2.b3.b4.b5.b6.b7.b8.b9.b10.b11";
    ASSERT_NE(tree.find(eleventh), nullptr);
    EXPECT_EQ(tree.find(eleventh)->get_path(), eleventh);
    EXPECT_EQ(tree.find("")->get_path(), "");
}

// Blocks nested `levels` deep as the writer lays them out, a value in the innermost and a
// value after each inner block, so every closing brace decides where a value lands.
std::string nested_blocks(int levels) {
    std::string text;
    for (int level = 1; level <= levels; ++level) {
        const std::string indent(static_cast<std::size_t>(2 * (level - 1)), ' ');
        text += indent + "b" + std::to_string(level) + "\n" + indent + "{\n";
    }
    text += std::string(static_cast<std::size_t>(2 * levels), ' ') + "v=1\n";
    for (int level = levels; level >= 1; --level) {
        const std::string indent(static_cast<std::size_t>(2 * (level - 1)), ' ');
        text += indent + "}\n" + indent + "after" + std::to_string(level) + "=" +
                std::to_string(level) + "\n";
    }
    return text;
}

TEST_F(SettingsTreeTest, DeepNestingSurvivesASaveUnchanged) {
    const std::string text = nested_blocks(12);
    write_bytes(path, text);
    SettingsTree(path).set("zz", "1");
    EXPECT_EQ(read_bytes(path), text + "zz=1\n");

    SettingsTree tree(path);
    std::string key;
    for (int level = 1; level <= 12; ++level) {
        EXPECT_STREQ(tree.get_string((key + "after" + std::to_string(level)).c_str()),
                     std::to_string(level).c_str()) << "level " << level;
        key += "b" + std::to_string(level) + ".";
    }
    EXPECT_STREQ(tree.get_string((key + "v").c_str()), "1");
}

TEST_F(SettingsTreeTest, DeepKeysSetAreReadBackAfterASave) {
    const char* const deep = "a.b.c.d.e.f.g.h.i.j.k.l";
    const char* const beside = "a.b.c.d.e.f.g.h.i.z";
    {
        SettingsTree tree(path);
        tree.set(deep, "deep");
        tree.set(beside, "beside");
        tree.set("top", "t");
    }
    SettingsTree tree(path);
    EXPECT_STREQ(tree.get_string(deep), "deep");
    EXPECT_STREQ(tree.get_string(beside), "beside");
    EXPECT_STREQ(tree.get_string("top"), "t");
}

TEST_F(SettingsTreeTest, ThousandsOfLevelsAreReadAndSavedInLinearSpace) {
    constexpr int levels = 20000;
    std::string input;
    for (int i = 0; i < levels; ++i) input += "b\n{\n";
    input += "v=1\n";
    write_bytes(path, input);
    SettingsTree(path).set("zz", "1");
    // Indentation growing with the depth would make this some 800 MB.
    EXPECT_LT(read_bytes(path).size(), 100 * input.size());

    SettingsTree tree(path);
    const SettingsNode* node = tree.find("b");
    int blocks = 0;
    for (; node != nullptr && node->kind() == SettingsNode::Block; node = node->first_child()) {
        ++blocks;
    }
    EXPECT_EQ(blocks, levels);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->name(), "v");
    EXPECT_STREQ(tree.get_string("zz"), "1");
}

TEST_F(SettingsTreeTest, MissingFileIsCreatedBySave) {
    SettingsTree tree(path);
    EXPECT_FALSE(tree.is_loaded());
    EXPECT_STREQ(tree.get_string("general.language"), "");
    tree.set("general.language", "English");
    EXPECT_TRUE(tree.save());
    EXPECT_FALSE(tree.is_modified());
    EXPECT_EQ(read_bytes(path), "general\n{\n  language=English\n}\n");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(SettingsTreeTest, LongValueIsAnsweredWhole) {
    const std::string long_value(5000, 'x');
    SettingsTree tree(path);
    tree.set("long", long_value.c_str());
    tree.set("short", "s");
    EXPECT_EQ(tree.get_string("long"), long_value);
    EXPECT_STREQ(tree.get_string("short"), "s");
    EXPECT_EQ(tree.get_string("long"), long_value);
}

TEST_F(SettingsTreeTest, SaveReplacesALongerFile) {
    write_bytes(path, "general\n{\nlanguage=a much longer language name\n}\n");
    SettingsTree tree(path);
    tree.set("general.language", "English");
    EXPECT_TRUE(tree.save());
    EXPECT_FALSE(tree.is_modified());
    EXPECT_EQ(read_bytes(path), "general\n{\n  language=English\n}\n");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(SettingsTreeTest, SaveIntoMissingFolderFailsAndIsRetried) {
    const std::string target = dir.file("sub") + "/settings.ini";
    {
        SettingsTree tree(target);
        tree.set("k", "v");
        EXPECT_FALSE(tree.save());
        EXPECT_TRUE(tree.is_modified());
        EXPECT_TRUE(fs::is_empty(dir.path()));
        fs::create_directory(dir.file("sub"));
    }
    EXPECT_EQ(read_bytes(target), "k=v\n");
}

TEST_F(SettingsTreeTest, SaveOntoDirectoryLeavesItAlone) {
    fs::create_directory(path);
    write_bytes(path + "/inside", "keep");
    SettingsTree tree(path);
    EXPECT_FALSE(tree.is_loaded());
    tree.set("k", "v");
    EXPECT_FALSE(tree.save());
    EXPECT_TRUE(tree.is_modified());
    EXPECT_EQ(read_bytes(path + "/inside"), "keep");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(SettingsTreeTest, SaveNeverRemovesWhatLiesAtTheTemporaryName) {
    fs::create_directory(path + ".tmp");
    SettingsTree tree(path);
    tree.set("k", "v");
    EXPECT_FALSE(tree.save());
    EXPECT_TRUE(tree.is_modified());
    EXPECT_TRUE(fs::is_directory(path + ".tmp"));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(SettingsTreeTest, MillionLinesNeedNoDeepRecursion) {
    std::string input;
    for (int i = 0; i < 1000000; ++i) input += "k" + std::to_string(i) + "=v\n";
    write_bytes(path, input);
    {
        SettingsTree tree(path);
        EXPECT_STREQ(tree.get_string("k999999"), "v");
        tree.set("k0", "v");
    }
    EXPECT_EQ(read_bytes(path), input);
}

}  // namespace
