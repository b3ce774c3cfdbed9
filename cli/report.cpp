#include "report.h"

const char* kind_name(FileKind kind) { return checker_kind(kind).name; }

const char* verdict_name(Verdict verdict) {
    switch (verdict) {
        case Verdict::Clean: return "clean";
        case Verdict::Conflict: return "conflict";
        case Verdict::Unreadable: return "unreadable";
    }
    return "";
}

void Summary::add(const FileReport& report) {
    ++checked;
    if (report.verdict == Verdict::Conflict) ++with_conflicts;
    if (report.verdict == Verdict::Unreadable) ++unreadable;
    errors += report.errors;
    warnings += report.warnings;
    failing += report.failing;
}

int Summary::exit_status() const {
    if (unreadable > 0) return 2;
    return failing > 0 ? 1 : 0;
}
