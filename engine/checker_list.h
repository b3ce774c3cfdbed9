// The checkers Brindle has, in one list: the GUI, the console checker and any other front
// end find a file's checker, its names and its rules here. A new file format is a new
// entry here and a grammar beside the others.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "checker.h"

class LanguageCatalog;

enum class FileKind { Tra, Dlg };

struct CheckerKind {
    FileKind kind;
    // The kind's short name: the console checker's --type value and JSON's "kind".
    const char* name;
    // The file name extension, with its dot, matched in any case.
    const char* extension;
    // The Open dialog's filter for the kind, and the pattern it shows.
    const char* filter_name;
    const char* filter_pattern;
    // The key of the log line that starts a run of this kind.
    const char* run_key;
    // The rule family of the kind's grammar: the part of its rule ids before the dot.
    std::string_view family;
    std::unique_ptr<Checker> (*make)(const LanguageCatalog* catalog);
};

// In the order of the Open dialog's filters.
const std::array<CheckerKind, 2>& checker_kinds();
const CheckerKind& checker_kind(FileKind kind);
// The kind of a file name extension such as ".tra", in any case.
std::optional<FileKind> kind_for_extension(std::string_view extension);
// The kind of the short name `name` ("tra", "dlg").
std::optional<FileKind> kind_named(std::string_view name);
