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
#include "position.h"

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

// The engine reads the file anew. Its result belongs to the bytes read here only while the
// file keeps their size, and a conflict never lies beyond them.
bool engine_saw_other_bytes(const std::string& path, const std::string& bytes, const Conflict* conflict) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size != bytes.size()) return true;
    return conflict != nullptr && static_cast<std::size_t>(conflict->start) +
                                          static_cast<std::size_t>(conflict->length) > bytes.size();
}

// The engine's text ends at a zero byte. A conflict before it stands; otherwise what follows
// the zero byte went unchecked, or the end of the text was placed after it: the file cannot be
// checked, and the reason says where the zero byte is. "" when no such zero byte is there.
std::string zero_byte_error(const std::string& bytes, const Conflict* conflict) {
    const std::size_t zero = bytes.find('\0');
    if (zero == std::string::npos) return "";
    if (conflict != nullptr && static_cast<std::size_t>(conflict->start) < zero) return "";
    const TextPosition at = position_of(bytes, zero);
    return "a zero byte at line " + std::to_string(at.line) + ", column " + std::to_string(at.column) +
           " ends the text; what follows it cannot be checked";
}

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
    char buffer[65536];
    std::size_t n;
    try {
        while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) result.bytes.append(buffer, n);
    } catch (const std::bad_alloc&) {
        result.bytes.clear();
        result.error = "not enough memory to hold it";
        return result;
    }
    if (std::ferror(file.get())) {
        result.error = errno != 0 ? std::strerror(errno) : "read error";
        result.bytes.clear();
    } else if (result.bytes.size() != size) {
        // Bytes appeared or vanished since the size was taken; files under /proc and /sys
        // tell sizes that their contents do not have.
        result.error = "read " + std::to_string(result.bytes.size()) + " bytes of " + std::to_string(size) +
                       ": it changed while being read";
        result.bytes.clear();
    }
    return result;
}

FileReport check_target(const Target& target, Checker& tra, Checker& dlg, int reason_code_page) {
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
    const Conflict* const conflict_found = result.conflict();
    if (engine_saw_other_bytes(target.path, file.bytes, conflict_found)) {
        report.error = "it changed while being checked";
        return report;
    }
    report.error = zero_byte_error(file.bytes, conflict_found);
    if (!report.error.empty()) return report;
    if (result.is_clean()) {
        report.verdict = Verdict::Clean;
        return report;
    }
    const Conflict& conflict = *conflict_found;
    const auto start = static_cast<std::size_t>(conflict.start);
    report.verdict = Verdict::Conflict;
    report.conflict.start = conflict.start;
    report.conflict.length = conflict.length;
    report.conflict.reason = to_utf8(conflict.reason.c_str(), reason_code_page);
    report.conflict.position = position_of(file.bytes, start);
    report.conflict.line_text = std::string(line_at(file.bytes, start));
    return report;
}
