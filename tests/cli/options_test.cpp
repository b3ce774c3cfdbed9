#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "options.h"

namespace {

struct Parse {
    ParsedCommandLine parsed;
    std::string out;
    std::string err;
};

Parse parse(std::vector<const char*> args) {
    args.insert(args.begin(), "brindle-check");
    std::ostringstream out;
    std::ostringstream err;
    Parse run{parse_command_line(static_cast<int>(args.size()), args.data(), out, err), "", ""};
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(Options, Defaults) {
    const Parse run = parse({"a.tra", "dir"});
    ASSERT_TRUE(run.parsed.options);
    const Options& o = *run.parsed.options;
    EXPECT_EQ(o.paths, (std::vector<std::string>{"a.tra", "dir"}));
    EXPECT_EQ(o.type, std::nullopt);
    EXPECT_EQ(o.format, Format::Text);
    EXPECT_EQ(o.language, "English");
    EXPECT_EQ(o.languages_folder, std::nullopt);
    EXPECT_TRUE(o.context);
    EXPECT_FALSE(o.quiet);
}

TEST(Options, EveryOptionIsTaken) {
    const Parse run = parse({"--type", "dlg", "--format", "sarif", "--lang", "German", "--languages", "texts",
                           "--no-context", "--quiet", "x"});
    ASSERT_TRUE(run.parsed.options) << run.err;
    const Options& o = *run.parsed.options;
    EXPECT_EQ(o.type, FileKind::Dlg);
    EXPECT_EQ(o.format, Format::Sarif);
    EXPECT_EQ(o.language, "German");
    EXPECT_EQ(o.languages_folder, std::string("texts"));
    EXPECT_FALSE(o.context);
    EXPECT_TRUE(o.quiet);
}

TEST(Options, EachFormatAndType) {
    const std::pair<const char*, Format> formats[] = {
        {"text", Format::Text}, {"json", Format::Json}, {"github", Format::Github}, {"sarif", Format::Sarif}};
    for (const auto& [name, format] : formats) {
        const Parse run = parse({"--format", name, "x"});
        ASSERT_TRUE(run.parsed.options) << name;
        EXPECT_EQ(run.parsed.options->format, format) << name;
    }
    EXPECT_EQ(parse({"--type", "tra", "x"}).parsed.options->type, FileKind::Tra);
    EXPECT_EQ(parse({"-q", "x"}).parsed.options->quiet, true);
}

TEST(Options, PathsMayFollowADoubleDash) {
    const Parse run = parse({"--", "-odd.tra"});
    ASSERT_TRUE(run.parsed.options);
    EXPECT_EQ(run.parsed.options->paths, std::vector<std::string>{"-odd.tra"});
}

TEST(Options, UsageErrorsEndWithStatus2AndAMessage) {
    const std::vector<std::vector<const char*>> cases = {
        {}, {"--format", "xml", "x"}, {"--type", "txt", "x"}, {"--bogus", "x"}, {"--lang"}};
    for (const auto& args : cases) {
        const Parse run = parse(args);
        EXPECT_FALSE(run.parsed.options);
        EXPECT_EQ(run.parsed.exit_status, 2);
        EXPECT_NE(run.err, "");
    }
}

TEST(Options, HelpAndVersionEndWithStatus0) {
    const Parse help = parse({"--help"});
    EXPECT_FALSE(help.parsed.options);
    EXPECT_EQ(help.parsed.exit_status, 0);
    EXPECT_NE(help.out.find("--no-context"), std::string::npos);
    const Parse version = parse({"--version"});
    EXPECT_FALSE(version.parsed.options);
    EXPECT_EQ(version.parsed.exit_status, 0);
    EXPECT_EQ(version.out, "brindle-check " BRINDLE_VERSION "\n");
}

}  // namespace
