// What checking one file came to, in the terms every output format and the exit
// status need, and the running totals of a whole run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "checker_list.h"
#include "diagnostic.h"

enum class Verdict { Clean, Conflict, Unreadable };

// The kind's short name ("tra", "dlg"); "clean" / "conflict" / "unreadable".
const char* kind_name(FileKind kind);
const char* verdict_name(Verdict verdict);

// A line (counted from LF to LF) and a column (counted in bytes), both from 1.
struct TextPosition {
    std::int64_t line = 1;
    std::int64_t column = 1;
};

struct ConflictReport {
    std::int32_t start = 0;
    std::int32_t length = 0;
    TextPosition position;
    // The rule's id and severity, and its message worded in the user's language.
    std::string rule;
    Severity severity = Severity::Error;
    std::string reason;
    // The conflict's line without its line end, for showing it.
    std::string line_text;
};

struct FileReport {
    std::string path;
    // None for a path that neither names its kind nor was given one, and cannot be read.
    std::optional<FileKind> kind;
    Verdict verdict = Verdict::Clean;
    ConflictReport conflict;  // when verdict is Conflict
    std::string error;        // when verdict is Unreadable: the system's reason
};

struct Summary {
    int checked = 0;
    int with_conflicts = 0;
    int unreadable = 0;

    void add(const FileReport& report);
    // 2 when a file could not be read, else 1 when one had a conflict, else 0.
    int exit_status() const;
};
