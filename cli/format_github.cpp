// GitHub Actions workflow commands ("::error file=...,line=...,col=...::reason"), which the
// runner turns into annotations on the files.
#include "formats.h"

#include <string>

namespace {

std::string escape(std::string_view text, bool property) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '%': out += "%25"; break;
            case '\r': out += "%0D"; break;
            case '\n': out += "%0A"; break;
            case ':': out += property ? "%3A" : ":"; break;
            case ',': out += property ? "%2C" : ","; break;
            default: out += c;
        }
    }
    return out;
}

// The workflow command of a severity: GitHub has error, warning and notice.
const char* severity_command(Severity severity) {
    switch (severity) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Info: return "notice";
    }
    return "error";
}

class GithubReporter : public Reporter {
public:
    GithubReporter(std::ostream& out, bool first_only) : out_(out), first_only_(first_only) {}

    void file(const FileReport& report) override {
        if (report.verdict == Verdict::Unreadable) {
            out_ << "::error file=" << github_property(report.path) << ",title=brindle-check::"
                 << github_message("cannot be read: " + report.error) << '\n';
            return;
        }
        if (first_only_) {
            if (report.verdict == Verdict::Conflict) annotate(report.path, report.conflict, false);
            return;
        }
        for (const FindingReport& f : report.faults) annotate(report.path, f, true);
        if (report.truncated > 0) {
            out_ << "::notice file=" << github_property(report.path) << ",title=brindle-check::"
                 << github_message(std::to_string(report.truncated) + " more findings not shown") << '\n';
        }
    }

    void finish(const Summary&) override { out_.flush(); }

private:
    // An annotation has one place: a note's place is named in its message.
    void annotate(const std::string& path, const FindingReport& f, bool with_notes) {
        std::string message = f.reason + " [" + f.rule + "]";
        if (with_notes) {
            for (const NoteReport& note : f.notes) {
                message += "\nnote: " + note.message + " (line " + std::to_string(note.position.line) + ", column " +
                           std::to_string(note.position.column) + ")";
            }
        }
        out_ << "::" << severity_command(f.severity) << " file=" << github_property(path)
             << ",line=" << f.position.line << ",col=" << f.position.column
             << ",title=" << github_property("brindle-check [" + f.rule + "]") << "::" << github_message(message)
             << '\n';
    }

    std::ostream& out_;
    bool first_only_;
};

}  // namespace

std::string github_message(std::string_view text) { return escape(text, false); }
std::string github_property(std::string_view text) { return escape(text, true); }

std::unique_ptr<Reporter> make_github_reporter(std::ostream& out, bool first_only) {
    return std::make_unique<GithubReporter>(out, first_only);
}
