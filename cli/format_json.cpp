// One JSON document: every file checked with its verdict, and the totals.
#include "formats.h"
#include "json_text.h"

namespace {

nlohmann::ordered_json finding_json(const FindingReport& f) {
    nlohmann::ordered_json finding = {{"start", f.start}, {"length", f.length},
                                      {"line", f.position.line}, {"column", f.position.column}};
    put_bytes(finding, "reason", f.reason);
    finding["rule"] = f.rule;
    finding["severity"] = severity_name(f.severity);
    return finding;
}

class JsonReporter : public Reporter {
public:
    explicit JsonReporter(std::ostream& out) : out_(out) {}

    void file(const FileReport& report) override {
        nlohmann::ordered_json entry = nlohmann::ordered_json::object();
        put_bytes(entry, "path", report.path);
        entry["kind"] = report.kind ? nlohmann::ordered_json(kind_name(*report.kind)) : nlohmann::ordered_json();
        entry["verdict"] = verdict_name(report.verdict);
        if (report.verdict == Verdict::Unreadable) {
            put_bytes(entry, "error", report.error);
            files_.push_back(entry);
            return;
        }
        if (report.verdict == Verdict::Conflict) entry["conflict"] = finding_json(report.conflict);
        nlohmann::ordered_json faults = nlohmann::ordered_json::array();
        for (const FindingReport& f : report.faults) {
            nlohmann::ordered_json finding = finding_json(f);
            nlohmann::ordered_json notes = nlohmann::ordered_json::array();
            for (const NoteReport& n : f.notes) {
                nlohmann::ordered_json note = nlohmann::ordered_json::object();
                put_bytes(note, "message", n.message);
                note["start"] = n.start;
                note["length"] = n.length;
                note["line"] = n.position.line;
                note["column"] = n.position.column;
                notes.push_back(note);
            }
            finding["notes"] = notes;
            faults.push_back(finding);
        }
        entry["faults"] = faults;
        entry["errors"] = report.errors;
        entry["warnings"] = report.warnings;
        entry["infos"] = report.infos;
        entry["truncated"] = report.truncated;
        files_.push_back(entry);
    }

    void finish(const Summary& summary) override {
        const nlohmann::ordered_json document = {
            {"tool", "brindle-check"},
            {"version", BRINDLE_VERSION},
            {"files", files_},
            {"summary", {{"checked", summary.checked},
                         {"with_conflicts", summary.with_conflicts},
                         {"unreadable", summary.unreadable},
                         {"errors", summary.errors},
                         {"warnings", summary.warnings}}}};
        out_ << dump_json(document) << '\n';
        out_.flush();
    }

private:
    std::ostream& out_;
    nlohmann::ordered_json files_ = nlohmann::ordered_json::array();
};

}  // namespace

std::unique_ptr<Reporter> make_json_reporter(std::ostream& out) { return std::make_unique<JsonReporter>(out); }
