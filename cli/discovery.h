// Turns the paths named on the command line into the files to check, in a stable order:
// files as named, directories searched recursively for *.tra and *.dlg.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "report.h"

// One file to check. A non-empty `error` means it cannot be read (or, for a directory,
// not listed) and holds the system's reason.
struct Target {
    std::string path;
    std::optional<FileKind> kind;
    std::string error;
};

struct Discovery {
    std::vector<Target> targets;
    // Files named on the command line whose kind cannot be told; a usage error.
    std::vector<std::string> unknown_kind;
};

// The kind that the extension names: .tra or .dlg in any case.
std::optional<FileKind> kind_from_name(const std::filesystem::path& path);

// A file named on the command line gets the `forced` kind when there is one, else its
// extension's. A directory's contents are visited in sorted order, depth first, and
// only files with the extension of the `forced` kind (any of the two without one) are
// taken; links to directories are not followed.
Discovery discover(const std::vector<std::string>& paths, std::optional<FileKind> forced);
