#include "check_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <system_error>

#include "checker.h"
#include "code_page.h"
#include "language_catalog.h"
#include "position.h"
#include "position_cursor.h"
#include "tra_weidu_checker.h"
#include "wording.h"

namespace fs = std::filesystem;

namespace {

// The engine counts offsets and sizes in 32 bits.
constexpr std::uintmax_t largest_file = std::numeric_limits<std::int32_t>::max();

// Why `path` must not be opened for reading, or "" when it may. A FIFO would wait for a
// writer and a device such as /dev/zero never ends, so only regular files are read; one
// too large for the engine is refused before it is held in memory.
std::string refusal(const std::string& path, std::uintmax_t& size) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) return error.message();
    if (!fs::is_regular_file(status)) return "not a regular file";
    size = fs::file_size(path, error);
    if (error) return error.message();
    if (size > largest_file) {
        return "too large: " + std::to_string(size) + " bytes, at most " + std::to_string(largest_file);
    }
    return "";
}

// The engine's text ends at a zero byte. A conflict before it stands; otherwise what follows
// the zero byte went unchecked, or the end of the text was placed after it: the file cannot be
// checked, and the reason says where the zero byte is. "" when no such zero byte is there.
std::string zero_byte_error(std::string_view bytes, const std::optional<Diagnostic>& fault) {
    const std::size_t zero = bytes.find('\0');
    if (zero == std::string_view::npos) return "";
    if (fault && static_cast<std::size_t>(fault->start) < zero) return "";
    const TextPosition at = position_of(bytes, zero);
    return "a zero byte at line " + std::to_string(at.line) + ", column " + std::to_string(at.column) +
           " ends the text; what follows it cannot be checked";
}

// Places findings in the text they were found in and words them in UTF-8: language files
// are in their users' code pages, every console format takes UTF-8.
class Placer {
public:
    Placer(std::string_view bytes, const LanguageCatalog* catalog)
        : bytes_(bytes), catalog_(catalog), code_page_(catalog != nullptr ? catalog->code_page() : utf8_code_page) {}

    FindingReport operator()(const Diagnostic& d, PositionCursor& cursor) const {
        FindingReport finding;
        const auto start = static_cast<std::size_t>(d.start);
        finding.start = d.start;
        finding.length = d.length;
        finding.rule = std::string(d.rule);
        finding.severity = d.severity;
        finding.reason = to_utf8(worded(d, catalog_), code_page_);
        finding.position = cursor.at(start);
        finding.line_text = std::string(line_at(bytes_, start));
        for (const Note& note : d.notes) {
            const auto at = static_cast<std::size_t>(note.start);
            finding.notes.push_back(NoteReport{note.start, note.length, cursor.at(at),
                                               to_utf8(worded(note, catalog_), code_page_),
                                               std::string(line_at(bytes_, at))});
        }
        return finding;
    }

private:
    std::string_view bytes_;
    const LanguageCatalog* catalog_;
    int code_page_;
};

}  // namespace

FileBytes read_file(const std::string& path) {
    FileBytes result;
    std::uintmax_t size = 0;
    result.error = refusal(path, size);
    if (!result.error.empty()) return result;
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        result.error = std::strerror(errno);
        return result;
    }
    // One buffer of the file's size, filled in place and not cleared first: the bytes are
    // held once and written once. A file that has grown since its size was taken is read on
    // to its end only to say how far it went.
    std::size_t got = 0;
    try {
        result.data.reset(new char[static_cast<std::size_t>(size)]);
    } catch (const std::bad_alloc&) {
        result.error = "not enough memory to hold it";
        return result;
    }
    std::size_t n;
    while (got < size && (n = std::fread(result.data.get() + got, 1, static_cast<std::size_t>(size) - got,
                                         file.get())) > 0) {
        got += n;
    }
    std::uintmax_t read = got;
    char more[4096];
    while (got == size && (n = std::fread(more, 1, sizeof more, file.get())) > 0) read += n;
    if (std::ferror(file.get())) {
        result.error = errno != 0 ? std::strerror(errno) : "read error";
    } else if (read != size) {
        // Bytes appeared or vanished since the size was taken; files under /proc and /sys
        // tell sizes that their contents do not have.
        result.error = "read " + std::to_string(read) + " bytes of " + std::to_string(size) +
                       ": it changed while being read";
    }
    if (!result.error.empty()) {
        result.data.reset();
        return result;
    }
    result.size = got;
    return result;
}

CheckerSet::CheckerSet(const LanguageCatalog* catalog) {
    for (const CheckerKind& kind : checker_kinds()) checkers_[static_cast<std::size_t>(kind.kind)] = kind.make(catalog);
    tra_weidu_ = std::make_unique<TraWeiduChecker>(catalog);
}

FileReport check_target(const Target& target, const CheckerSet& checkers, const ReportSettings& settings) {
    FileReport report;
    report.path = target.path;
    report.kind = target.kind;
    report.verdict = Verdict::Unreadable;
    report.error = target.error;
    if (!report.error.empty() || !target.kind) return report;

    const FileBytes file = read_file(target.path);
    if (!file.error.empty()) {
        report.error = file.error;
        return report;
    }
    return check_bytes(target.path, *target.kind, file.bytes(), checkers.of(*target.kind, settings.tra_weidu), settings);
}

FileReport check_bytes(const std::string& path, FileKind kind, std::string_view bytes, const Checker& checker,
                       const ReportSettings& settings) {
    FileReport report;
    report.path = path;
    report.kind = kind;
    report.verdict = Verdict::Unreadable;
    const std::vector<Diagnostic> faults = checker.all_faults(bytes);
    // Every fault found so far is a syntax fault; the first is the file's conflict.
    const std::optional<Diagnostic> first = faults.empty() ? std::nullopt : std::optional<Diagnostic>(faults.front());
    report.error = zero_byte_error(bytes, first);
    if (!report.error.empty()) return report;
    report.verdict = first ? Verdict::Conflict : Verdict::Clean;
    const Placer place(bytes, checker.catalog());
    PositionCursor cursor(bytes);
    if (first) report.conflict = place(*first, cursor);
    for (const Diagnostic& fault : faults) {
        if (!settings.rules.enabled(fault.rule)) continue;
        switch (fault.severity) {
            case Severity::Error: ++report.errors; break;
            case Severity::Warning: ++report.warnings; break;
            case Severity::Info: ++report.infos; break;
        }
        if (settings.max_faults != 0 && report.faults.size() >= settings.max_faults) {
            ++report.truncated;
        } else {
            report.faults.push_back(place(fault, cursor));
        }
    }
    report.failing = report.errors + (settings.warnings_as_errors ? report.warnings : 0);
    return report;
}
