// The command line of brindle-check, parsed.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "report.h"

enum class Format { Text, Json, Github, Sarif };

struct Options {
    std::vector<std::string> paths;
    std::optional<FileKind> type;
    Format format = Format::Text;
    std::string language = "English";
    std::optional<std::string> languages_folder;
    bool context = true;
    bool quiet = false;
    // Only each file's first syntax fault, as earlier versions printed.
    bool first_only = false;
    // What the project file also holds: given here, each replaces the file's value.
    std::optional<std::int64_t> max_faults;
    std::optional<std::vector<std::string>> select;
    std::optional<std::vector<std::string>> extend_select;
    std::optional<std::vector<std::string>> ignore;
    std::optional<bool> warnings_as_errors;
    // "strict" or "weidu": the grammar of TRA files.
    std::optional<std::string> tra_grammar;
    // The project file to use for every file, or none at all; else each file's nearest.
    std::optional<std::string> config;
    bool no_config = false;
};

// Either the options to run with, or the exit status to end with at once (after --help,
// --version or a usage error, whose text has gone to `out` or `err`).
struct ParsedCommandLine {
    std::optional<Options> options;
    int exit_status = 0;
};

ParsedCommandLine parse_command_line(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
