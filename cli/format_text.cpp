// Compiler-style lines ("path:line:column: error: reason [rule]") with the line and a caret
// under each, "note:" lines for related places, and what the limit left out.
#include "formats.h"
#include "position.h"

namespace {

class TextReporter : public Reporter {
public:
    TextReporter(std::ostream& out, bool context, bool first_only)
        : out_(out), context_(context), first_only_(first_only) {}

    void file(const FileReport& report) override {
        if (first_only_) {
            if (report.verdict == Verdict::Conflict) finding(report.path, report.conflict, false);
            return;
        }
        for (const FindingReport& f : report.faults) finding(report.path, f, true);
        if (report.truncated > 0) {
            out_ << report.path << ": note: " << report.truncated << " more "
                 << (report.truncated == 1 ? "finding" : "findings") << " not shown (--max-faults 0 shows all)\n";
        }
    }

    void finish(const Summary&) override { out_.flush(); }

private:
    void finding(const std::string& path, const FindingReport& f, bool with_notes) {
        out_ << path << ':' << f.position.line << ':' << f.position.column << ": " << severity_name(f.severity)
             << ": " << f.reason << " [" << f.rule << "]\n";
        show(f.line_text, f.position, f.length);
        if (!with_notes) return;
        for (const NoteReport& note : f.notes) {
            out_ << path << ':' << note.position.line << ':' << note.position.column << ": note: " << note.message
                 << '\n';
            show(note.line_text, note.position, note.length);
        }
    }

    void show(const std::string& line, const TextPosition& at, std::int32_t length) {
        if (!context_) return;
        out_ << line << '\n'
             << caret_marker(line, static_cast<std::size_t>(at.column), static_cast<std::size_t>(length)) << '\n';
    }

    std::ostream& out_;
    bool context_;
    bool first_only_;
};

}  // namespace

std::unique_ptr<Reporter> make_text_reporter(std::ostream& out, bool context, bool first_only) {
    return std::make_unique<TextReporter>(out, context, first_only);
}
