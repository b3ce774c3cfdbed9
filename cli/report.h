// What checking one file came to, in the terms every output format and the exit
// status need, and the running totals of a whole run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// A related place of a finding ("opened here"), with its message in the user's language.
struct NoteReport {
    std::int32_t start = 0;
    std::int32_t length = 0;
    TextPosition position;
    std::string message;
    std::string line_text;
};

// One finding placed in the text: the first syntax fault (a file's conflict) or any other.
struct FindingReport {
    std::int32_t start = 0;
    std::int32_t length = 0;
    TextPosition position;
    // The rule's id and severity, and its message worded in the user's language.
    std::string rule;
    Severity severity = Severity::Error;
    std::string reason;
    // The finding's line without its line end, for showing it.
    std::string line_text;
    std::vector<NoteReport> notes;
};
using ConflictReport = FindingReport;

struct FileReport {
    std::string path;
    // None for a path that neither names its kind nor was given one, and cannot be read.
    std::optional<FileKind> kind;
    Verdict verdict = Verdict::Clean;
    ConflictReport conflict;  // when verdict is Conflict: the first syntax fault
    std::string error;        // when verdict is Unreadable: the system's reason
    // The findings of the rules in force, in file order, as many as may be shown; the
    // counts are of all of them, shown or not.
    std::vector<FindingReport> faults;
    int errors = 0;
    int warnings = 0;
    int infos = 0;
    // Findings left out of `faults` by the limit.
    std::size_t truncated = 0;
    // Findings that fail the run: the errors, and the warnings where they count as errors.
    int failing = 0;
};

struct Summary {
    int checked = 0;
    int with_conflicts = 0;
    int unreadable = 0;
    int errors = 0;
    int warnings = 0;
    int failing = 0;

    void add(const FileReport& report);
    // 2 when a file could not be read, else 1 when a finding failed the run (an error, or a
    // warning counted as one), printed or not, else 0.
    int exit_status() const;
};
