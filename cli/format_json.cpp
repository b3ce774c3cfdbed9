// One JSON document: every file checked with its verdict, and the totals.
#include "formats.h"
#include "json_text.h"

namespace {

class JsonReporter : public Reporter {
public:
    explicit JsonReporter(std::ostream& out) : out_(out) {}

    void file(const FileReport& report) override {
        nlohmann::ordered_json entry = nlohmann::ordered_json::object();
        put_bytes(entry, "path", report.path);
        entry["kind"] = report.kind ? nlohmann::ordered_json(kind_name(*report.kind)) : nlohmann::ordered_json();
        entry["verdict"] = verdict_name(report.verdict);
        if (report.verdict == Verdict::Conflict) {
            const ConflictReport& c = report.conflict;
            nlohmann::ordered_json conflict = {{"start", c.start}, {"length", c.length},
                                       {"line", c.position.line}, {"column", c.position.column}};
            put_bytes(conflict, "reason", c.reason);
            conflict["rule"] = c.rule;
            conflict["severity"] = severity_name(c.severity);
            entry["conflict"] = conflict;
        } else if (report.verdict == Verdict::Unreadable) {
            put_bytes(entry, "error", report.error);
        }
        files_.push_back(entry);
    }

    void finish(const Summary& summary) override {
        const nlohmann::ordered_json document = {
            {"tool", "brindle-check"},
            {"version", BRINDLE_VERSION},
            {"files", files_},
            {"summary", {{"checked", summary.checked},
                         {"with_conflicts", summary.with_conflicts},
                         {"unreadable", summary.unreadable}}}};
        out_ << dump_json(document) << '\n';
        out_.flush();
    }

private:
    std::ostream& out_;
    nlohmann::ordered_json files_ = nlohmann::ordered_json::array();
};

}  // namespace

std::unique_ptr<Reporter> make_json_reporter(std::ostream& out) { return std::make_unique<JsonReporter>(out); }
