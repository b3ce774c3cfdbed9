// GitHub Actions workflow commands ("::error file=...,line=...,col=...::reason"), which the
// runner turns into annotations on the files.
#include "formats.h"

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
    explicit GithubReporter(std::ostream& out) : out_(out) {}

    void file(const FileReport& report) override {
        if (report.verdict == Verdict::Conflict) {
            const ConflictReport& c = report.conflict;
            out_ << "::" << severity_command(c.severity) << " file=" << github_property(report.path)
                 << ",line=" << c.position.line << ",col=" << c.position.column
                 << ",title=" << github_property("brindle-check [" + c.rule + "]") << "::"
                 << github_message(c.reason + " [" + c.rule + "]") << '\n';
        } else if (report.verdict == Verdict::Unreadable) {
            out_ << "::error file=" << github_property(report.path) << ",title=brindle-check::"
                 << github_message("cannot be read: " + report.error) << '\n';
        }
    }

    void finish(const Summary&) override { out_.flush(); }

private:
    std::ostream& out_;
};

}  // namespace

std::string github_message(std::string_view text) { return escape(text, false); }
std::string github_property(std::string_view text) { return escape(text, true); }

std::unique_ptr<Reporter> make_github_reporter(std::ostream& out) { return std::make_unique<GithubReporter>(out); }
