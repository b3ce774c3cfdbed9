#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "formats.h"
#include "json_text.h"
#include "rules/rule_registry.h"

namespace {

using nlohmann::json;

FileReport report_of(const std::string& path, FileKind kind, Verdict verdict) {
    FileReport report;
    report.path = path;
    report.kind = kind;
    report.verdict = verdict;
    return report;
}

FileReport clean(const std::string& path) { return report_of(path, FileKind::Dlg, Verdict::Clean); }

FileReport unreadable(const std::string& path) {
    FileReport report = report_of(path, FileKind::Tra, Verdict::Unreadable);
    report.error = "No such file or directory";
    return report;
}

// A file whose one finding is its conflict, as a check reports it.
FileReport conflict(const std::string& path, std::int32_t start, std::int32_t length, std::int64_t line,
                    std::int64_t column, const std::string& line_text, const std::string& rule,
                    const std::string& reason) {
    FileReport report = report_of(path, FileKind::Tra, Verdict::Conflict);
    report.conflict.start = start;
    report.conflict.length = length;
    report.conflict.position = {line, column};
    report.conflict.rule = rule;
    report.conflict.reason = reason;
    report.conflict.line_text = line_text;
    report.faults = {report.conflict};
    report.errors = report.failing = 1;
    return report;
}

// What `format` writes for these reports.
std::string render(Format format, const std::vector<FileReport>& reports, bool context = true) {
    std::ostringstream out;
    const std::unique_ptr<Reporter> reporter = make_reporter(format, out, context);
    Summary summary;
    for (const FileReport& r : reports) {
        reporter->file(r);
        summary.add(r);
    }
    reporter->finish(summary);
    return out.str();
}

const FileReport quoted =
    conflict("m/a.tra", 14, 1, 2, 6, "@2 = \"b\"", "tra.expected_tilde", "Expected a tilde (~)");
const FileReport tabbed = conflict("t.tra", 21, 3, 2, 13, "\t\t@2 = ~b~ [S 2]", "tra.sound_spaces",
                                   "Sound names must not contain spaces");

TEST(TextFormat, CompilerLineThenTheLineAndACaret) {
    EXPECT_EQ(render(Format::Text, {clean("c.dlg"), quoted, unreadable("u.tra"), tabbed}),
              "m/a.tra:2:6: error: Expected a tilde (~) [tra.expected_tilde]\n"
              "@2 = \"b\"\n"
              "     ^\n"
              "t.tra:2:13: error: Sound names must not contain spaces [tra.sound_spaces]\n"
              "\t\t@2 = ~b~ [S 2]\n"
              "\t\t          ^~~\n");
}

TEST(TextFormat, WithoutContextOnlyTheCompilerLine) {
    EXPECT_EQ(render(Format::Text, {quoted, tabbed}, false),
              "m/a.tra:2:6: error: Expected a tilde (~) [tra.expected_tilde]\n"
              "t.tra:2:13: error: Sound names must not contain spaces [tra.sound_spaces]\n");
}

TEST(GithubFormat, OneAnnotationPerConflictOrUnreadableFile) {
    EXPECT_EQ(render(Format::Github, {clean("c.dlg"), quoted, unreadable("u.tra")}),
              "::error file=m/a.tra,line=2,col=6,title=brindle-check [tra.expected_tilde]::"
              "Expected a tilde (~) [tra.expected_tilde]\n"
              "::error file=u.tra,title=brindle-check::cannot be read: No such file or directory\n");
}

TEST(GithubFormat, EscapesAsTheRunnerReadsThem) {
    EXPECT_EQ(github_message("50% a:b,c\r\nd"), "50%25 a:b,c%0D%0Ad");
    EXPECT_EQ(github_property("C:\\x,y%.tra"), "C%3A\\x%2Cy%25.tra");
}

TEST(JsonFormat, EveryFileWithItsVerdictAndTheTotals) {
    const json document = json::parse(render(Format::Json, {clean("c.dlg"), quoted, unreadable("u.tra")}));
    EXPECT_EQ(document["tool"], "brindle-check");
    ASSERT_EQ(document["files"].size(), 3u);
    EXPECT_EQ(document["files"][0], json::parse(R"j({"path":"c.dlg","kind":"dlg","verdict":"clean",
        "faults":[],"errors":0,"warnings":0,"infos":0,"truncated":0})j"));
    EXPECT_EQ(document["files"][1], json::parse(R"j({"path":"m/a.tra","kind":"tra","verdict":"conflict",
        "conflict":{"start":14,"length":1,"line":2,"column":6,"reason":"Expected a tilde (~)",
        "rule":"tra.expected_tilde","severity":"error"},
        "faults":[{"start":14,"length":1,"line":2,"column":6,"reason":"Expected a tilde (~)",
        "rule":"tra.expected_tilde","severity":"error","notes":[]}],
        "errors":1,"warnings":0,"infos":0,"truncated":0})j"));
    EXPECT_EQ(document["files"][2], json::parse(R"j({"path":"u.tra","kind":"tra","verdict":"unreadable",
        "error":"No such file or directory"})j"));
    EXPECT_EQ(document["summary"],
              json::parse(R"j({"checked":3,"with_conflicts":1,"unreadable":1,"errors":1,"warnings":0})j"));
}

TEST(JsonFormat, FileWithoutKnownKindHasNullKind) {
    FileReport report = unreadable("gone");
    report.kind = std::nullopt;
    EXPECT_TRUE(json::parse(render(Format::Json, {report}))["files"][0]["kind"].is_null());
}

TEST(JsonFormat, InvalidUtf8StaysValidJsonAndLosesNoByte) {
    const std::string path = "caf\xE9/\xFF.tra";
    const std::string reason = "Erwartet: ein \xC4";
    const std::string out = render(Format::Json, {conflict(path, 0, 1, 1, 1, "x", "tra.expected_at", reason)});
    const json document = json::parse(out);  // throws on invalid UTF-8 or bad escapes
    const json& file = document["files"][0];
    EXPECT_EQ(file["path"], "caf\xEF\xBF\xBD/\xEF\xBF\xBD.tra");
    EXPECT_EQ(file["path_base64"], "Y2Fm6S//LnRyYQ==");
    EXPECT_EQ(file["conflict"]["reason_base64"], "RXJ3YXJ0ZXQ6IGVpbiDE");
    EXPECT_FALSE(file["conflict"].contains("path_base64"));
}

TEST(JsonText, Base64FieldOnlyForInvalidUtf8) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    put_bytes(object, "good", "\xC3\xA9t\xC3\xA9");
    put_bytes(object, "bad", "\xE9t\xE9");
    EXPECT_EQ(dump_json(object),
              "{\n  \"good\": \"\xC3\xA9t\xC3\xA9\",\n  \"bad\": \"\xEF\xBF\xBDt\xEF\xBF\xBD\",\n"
              "  \"bad_base64\": \"6XTp\"\n}");
}

TEST(SarifFormat, ResultsWithRegionsAndUnreadableFilesAsNotifications) {
    const FileReport wide = conflict("d/\xC3\xA9 x.tra", 9, 2, 3, 8, "\xC3\xA9\xF0\x9F\x98\x80 ~~", "tra.expected_after_line1", "R");
    const json document = json::parse(render(Format::Sarif, {clean("c.dlg"), wide, unreadable("u.tra")}));
    EXPECT_EQ(document["version"], "2.1.0");
    const json& run = document["runs"][0];
    EXPECT_EQ(run["tool"]["driver"]["name"], "brindle-check");
    ASSERT_EQ(run["results"].size(), 1u);
    const json& result = run["results"][0];
    EXPECT_EQ(result["ruleId"], "tra.expected_after_line1");
    EXPECT_EQ(result["level"], "error");
    const json& rules = run["tool"]["driver"]["rules"];
    EXPECT_EQ(rules[result["ruleIndex"].get<int>()]["id"], "tra.expected_after_line1");
    // Every rule of the registry is listed; without a catalog each is described by its id.
    EXPECT_EQ(rules.size(), all_rules().size());
    for (const json& rule : rules) EXPECT_EQ(rule["shortDescription"]["text"], rule["id"]);
    EXPECT_EQ(result["message"]["text"], "R");
    const json& location = result["locations"][0]["physicalLocation"];
    EXPECT_EQ(location["artifactLocation"]["uri"], "d/%C3%A9%20x.tra");
    // Column 8 in bytes follows a two-byte and a four-byte character and a blank: 4 UTF-16 units.
    EXPECT_EQ(location["region"], json::parse(R"j({"startLine":3,"startColumn":5,"byteOffset":9,"byteLength":2})j"));
    const json& invocation = run["invocations"][0];
    EXPECT_EQ(invocation["executionSuccessful"], false);
    ASSERT_EQ(invocation["toolExecutionNotifications"].size(), 1u);
    EXPECT_EQ(invocation["toolExecutionNotifications"][0]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
              "u.tra");
}

// A text left open at the end, with the note on where it began, and one finding the limit left out.
FileReport open_text() {
    FileReport report = conflict("o.tra", 9, 1, 2, 1, "@2 = ~b~", "tra.expected_at", "Expected an entry");
    FindingReport end;
    end.start = 20;
    end.position = {3, 7};
    end.rule = "tra.unexpected_end";
    end.reason = "Unexpected end";
    end.line_text = "@3 = ~c";
    end.notes = {NoteReport{18, 1, {3, 6}, "The text was opened here.", "@3 = ~c"}};
    report.faults.push_back(end);
    report.errors = report.failing = 3;
    report.truncated = 1;
    return report;
}

TEST(EveryFormat, NotesAndWhatTheLimitLeftOut) {
    EXPECT_EQ(render(Format::Text, {open_text()}),
              "o.tra:2:1: error: Expected an entry [tra.expected_at]\n@2 = ~b~\n^\n"
              "o.tra:3:7: error: Unexpected end [tra.unexpected_end]\n@3 = ~c\n      ^\n"
              "o.tra:3:6: note: The text was opened here.\n@3 = ~c\n     ^\n"
              "o.tra: note: 1 more finding not shown (--max-faults 0 shows all)\n");
    EXPECT_EQ(render(Format::Github, {open_text()}),
              "::error file=o.tra,line=2,col=1,title=brindle-check [tra.expected_at]::Expected an entry [tra.expected_at]\n"
              "::error file=o.tra,line=3,col=7,title=brindle-check [tra.unexpected_end]::Unexpected end "
              "[tra.unexpected_end]%0Anote: The text was opened here. (line 3, column 6)\n"
              "::notice file=o.tra,title=brindle-check::1 more findings not shown\n");

    const json file = json::parse(render(Format::Json, {open_text()}))["files"][0];
    ASSERT_EQ(file["faults"].size(), 2u);
    EXPECT_EQ(file["faults"][1]["notes"], json::parse(R"j([{"message":"The text was opened here.","start":18,
        "length":1,"line":3,"column":6}])j"));
    EXPECT_EQ(file["errors"], 3);
    EXPECT_EQ(file["truncated"], 1);

    const json results = json::parse(render(Format::Sarif, {open_text()}))["runs"][0]["results"];
    ASSERT_EQ(results.size(), 2u);
    EXPECT_FALSE(results[0].contains("relatedLocations"));
    const json& related = results[1]["relatedLocations"];
    ASSERT_EQ(related.size(), 1u);
    EXPECT_EQ(related[0]["message"]["text"], "The text was opened here.");
    EXPECT_EQ(related[0]["physicalLocation"]["region"],
              json::parse(R"j({"startLine":3,"startColumn":6,"byteOffset":18,"byteLength":1})j"));
}

TEST(EveryFormat, FirstOnlyShowsTheConflictAlone) {
    std::ostringstream out;
    const std::unique_ptr<Reporter> reporter = make_reporter(Format::Text, out, false, nullptr, true);
    reporter->file(open_text());
    EXPECT_EQ(out.str(), "o.tra:2:1: error: Expected an entry [tra.expected_at]\n");
}

TEST(SarifUri, RelativeReferencesAndFileUris) {
    const std::pair<const char*, const char*> rows[] = {
        {"examples/a.tra", "examples/a.tra"},
        {"sub\\b c.tra", "sub/b%20c.tra"},
        {"/work/m#1/x.dlg", "file:///work/m%231/x.dlg"},
        {"C:\\mods\\y.tra", "file:///C:/mods/y.tra"},
        {"100%.tra", "100%25.tra"},
    };
    for (const auto& [path, uri] : rows) EXPECT_EQ(sarif_uri(path), uri) << path;
}

}  // namespace
