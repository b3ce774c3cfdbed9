// Compiler-style lines ("path:line:column: error: reason [rule]") with the line and a caret under it.
#include "formats.h"
#include "position.h"

namespace {

class TextReporter : public Reporter {
public:
    TextReporter(std::ostream& out, bool context) : out_(out), context_(context) {}

    void file(const FileReport& report) override {
        if (report.verdict != Verdict::Conflict) return;
        const ConflictReport& c = report.conflict;
        out_ << report.path << ':' << c.position.line << ':' << c.position.column << ": "
             << severity_name(c.severity) << ": " << c.reason << " [" << c.rule << "]\n";
        if (context_) {
            out_ << c.line_text << '\n'
                 << caret_marker(c.line_text, static_cast<std::size_t>(c.position.column),
                                 static_cast<std::size_t>(c.length))
                 << '\n';
        }
    }

    void finish(const Summary&) override { out_.flush(); }

private:
    std::ostream& out_;
    bool context_;
};

}  // namespace

std::unique_ptr<Reporter> make_text_reporter(std::ostream& out, bool context) {
    return std::make_unique<TextReporter>(out, context);
}
