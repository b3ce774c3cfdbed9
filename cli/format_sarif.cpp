// SARIF 2.1.0, for code scanning: one run listing every rule, one result per conflict, and
// the files that cannot be read as tool execution notifications.
#include <cctype>
#include <cstddef>

#include "byte_text.h"
#include "formats.h"
#include "json_text.h"
#include "language_catalog.h"
#include "rules/rule_registry.h"

namespace {

using nlohmann::ordered_json;

// SARIF's levels for the severities.
const char* severity_level(Severity severity) {
    switch (severity) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Info: return "note";
    }
    return "error";
}

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

std::size_t rule_index(std::string_view id) {
    const std::vector<Rule>& rules = all_rules();
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (rules[i].id == id) return i;
    }
    return rules.size();
}

// The registry's rules, each described by its message in the user's language.
ordered_json rule_list(const LanguageCatalog* catalog) {
    ordered_json rules = ordered_json::array();
    for (const Rule& rule : all_rules()) {
        const std::string id(rule.id);
        std::string text = catalog != nullptr ? catalog->lookup_utf8(rule.message_key) : "";
        if (text.empty()) text = id;
        ordered_json description = ordered_json::object();
        put_bytes(description, "text", text);
        rules.push_back({{"id", id},
                         {"shortDescription", description},
                         {"help", {{"text", "See " + rule_doc_anchor(rule.id) + " in Brindle's documentation."}}},
                         {"defaultConfiguration", {{"level", severity_level(rule.severity)}}}});
    }
    return rules;
}

ordered_json location(const std::string& path) {
    return {{"physicalLocation", {{"artifactLocation", {{"uri", sarif_uri(path)}}}}}};
}

// A place in a file with its region: columns in UTF-16 units, SARIF's default; the byte
// range is exact whatever the encoding.
ordered_json region_location(const std::string& path, const TextPosition& position, const std::string& line_text,
                             std::int32_t start, std::int32_t length) {
    const std::string_view before =
        std::string_view(line_text).substr(0, static_cast<std::size_t>(position.column - 1));
    ordered_json where = location(path);
    where["physicalLocation"]["region"] = {{"startLine", position.line},
                                           {"startColumn", utf16_length(before) + 1},
                                           {"byteOffset", start},
                                           {"byteLength", length}};
    return where;
}

ordered_json result(const std::string& path, const FindingReport& f, bool with_notes) {
    ordered_json message = ordered_json::object();
    put_bytes(message, "text", f.reason);
    ordered_json found = {{"ruleId", f.rule},
                          {"ruleIndex", rule_index(f.rule)},
                          {"level", severity_level(f.severity)},
                          {"message", message},
                          {"locations", ordered_json::array(
                                            {region_location(path, f.position, f.line_text, f.start, f.length)})}};
    if (with_notes && !f.notes.empty()) {
        ordered_json related = ordered_json::array();
        for (const NoteReport& note : f.notes) {
            ordered_json place = region_location(path, note.position, note.line_text, note.start, note.length);
            place["id"] = related.size();
            ordered_json text = ordered_json::object();
            put_bytes(text, "text", note.message);
            place["message"] = text;
            related.push_back(place);
        }
        found["relatedLocations"] = related;
    }
    return found;
}

class SarifReporter : public Reporter {
public:
    SarifReporter(std::ostream& out, const LanguageCatalog* catalog, bool first_only)
        : out_(out), catalog_(catalog), first_only_(first_only) {}

    void file(const FileReport& report) override {
        if (report.verdict == Verdict::Unreadable) {
            ordered_json message = ordered_json::object();
            put_bytes(message, "text", "cannot be read: " + report.error);
            notifications_.push_back({{"level", "error"},
                                      {"message", message},
                                      {"locations", ordered_json::array({location(report.path)})}});
            return;
        }
        if (first_only_) {
            if (report.verdict == Verdict::Conflict) results_.push_back(result(report.path, report.conflict, false));
            return;
        }
        for (const FindingReport& f : report.faults) results_.push_back(result(report.path, f, true));
    }

    void finish(const Summary& summary) override {
        const ordered_json rules = rule_list(catalog_);
        const ordered_json run = {
            {"tool", {{"driver", {{"name", "brindle-check"}, {"version", BRINDLE_VERSION}, {"rules", rules}}}}},
            {"invocations", ordered_json::array({{{"executionSuccessful", summary.unreadable == 0},
                                                  {"toolExecutionNotifications", notifications_}}})},
            {"results", results_}};
        const ordered_json document = {{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                                       {"version", "2.1.0"},
                                       {"runs", ordered_json::array({run})}};
        out_ << dump_json(document) << '\n';
        out_.flush();
    }

private:
    std::ostream& out_;
    const LanguageCatalog* catalog_;
    bool first_only_;
    ordered_json results_ = ordered_json::array();
    ordered_json notifications_ = ordered_json::array();
};

}  // namespace

std::string sarif_uri(std::string_view path) {
    std::string generic(path);
    for (char& c : generic) {
        if (c == '\\') c = '/';
    }
    std::string prefix;
    std::string_view rest = generic;
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        prefix = "file:///" + std::string(rest.substr(0, 2));
        rest.remove_prefix(2);
    } else if (!rest.empty() && rest[0] == '/') {
        prefix = "file://";
    }
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = prefix;
    for (char c : rest) {
        const auto byte = static_cast<unsigned char>(c);
        if (unreserved(byte)) {
            uri += c;
        } else {
            uri += '%';
            uri += hex[byte >> 4];
            uri += hex[byte & 0x0F];
        }
    }
    return uri;
}

std::unique_ptr<Reporter> make_sarif_reporter(std::ostream& out, const LanguageCatalog* catalog, bool first_only) {
    return std::make_unique<SarifReporter>(out, catalog, first_only);
}
