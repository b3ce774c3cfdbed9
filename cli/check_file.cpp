#include "check_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "checker.h"
#include "position.h"

FileBytes read_file(const std::string& path) {
    FileBytes result;
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        result.error = std::strerror(errno);
        return result;
    }
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) result.bytes.append(buffer, n);
    if (std::ferror(file.get())) {
        result.error = errno != 0 ? std::strerror(errno) : "read error";
        result.bytes.clear();
    }
    return result;
}

FileReport check_target(const Target& target, Checker& tra, Checker& dlg) {
    FileReport report;
    report.path = target.path;
    report.kind = target.kind;
    report.verdict = Verdict::Unreadable;
    report.error = target.error;
    if (!report.error.empty() || !target.kind) return report;

    // Read here as well as by the engine: for the system's reason when it fails, and for
    // the lines that the conflict's offset is counted in.
    const FileBytes file = read_file(target.path);
    if (!file.error.empty()) {
        report.error = file.error;
        return report;
    }
    Checker& checker = *target.kind == FileKind::Tra ? tra : dlg;
    const CheckResult result = checker.check(target.path.c_str());
    if (result.is_unreadable()) {
        report.error = "the checker could not read it (too large, or changed while being checked)";
        return report;
    }
    if (result.is_clean()) {
        report.verdict = Verdict::Clean;
        return report;
    }
    const Conflict& conflict = *result.conflict();
    const auto start = static_cast<std::size_t>(conflict.start);
    report.verdict = Verdict::Conflict;
    report.conflict.start = conflict.start;
    report.conflict.length = conflict.length;
    report.conflict.reason = conflict.reason.c_str();
    report.conflict.position = position_of(file.bytes, start);
    report.conflict.line_text = std::string(line_at(file.bytes, start));
    return report;
}
