// The project file brindle.toml: finding the one that applies to a folder, and reading
// what it says into settings that the checkers' options take, or the first fault in it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The name of the project file, looked for in a folder and the folders above it.
inline constexpr std::string_view project_file_name = "brindle.toml";

// What a project file says; a field not given is empty / nullopt.
struct ProjectSettings {
    std::filesystem::path file;                      // the brindle.toml read
    std::optional<std::int64_t> max_faults;          // [check] max-faults (>= 0; 0 = no limit)
    std::optional<std::vector<std::string>> select;  // [rules] select
    std::vector<std::string> extend_select;          // [rules] extend-select
    std::vector<std::string> ignore;                 // [rules] ignore
    std::optional<bool> warnings_as_errors;          // [rules] warnings-as-errors
    std::optional<std::string> tra_grammar;          // [tra] grammar: "strict" or "weidu"
};

// A fault in a project file: the file, the line and column (both from 1; 0 when not
// known) and what is wrong, as a sentence.
struct ProjectFileError {
    std::filesystem::path file;
    std::int64_t line = 0;
    std::int64_t column = 0;
    std::string message;

    // "path:line:column: message", or "path: message" when the position is not known.
    std::string text() const;
};

// The nearest brindle.toml in `folder` or a folder above it, up to the filesystem root;
// none when there is none. A relative `folder` is taken from the current folder. Only a
// regular file (or a link to one) counts: a folder named brindle.toml does not.
std::optional<std::filesystem::path> find_project_file(const std::filesystem::path& folder);

// Either the settings a file holds or its first fault (the one nearest its start).
struct ProjectFileResult {
    std::optional<ProjectSettings> settings;
    std::optional<ProjectFileError> error;
};

// Reads `file`. `known_rule(id)` says whether a rule id or a family (the part before the
// dot, e.g. "tra") exists. Every fault is an error: a file that cannot be read or is not
// valid TOML, an unknown table or key, a value of the wrong type, an unknown rule or family.
ProjectFileResult read_project_file(const std::filesystem::path& file,
                                    const std::function<bool(std::string_view)>& known_rule);
