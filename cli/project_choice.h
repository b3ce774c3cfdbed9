// The settings each file is checked with: those of its project file (the nearest
// brindle.toml above it, the one --config names, or none with --no-config), each key that
// the command line also gives replaced by the command line's value.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "check_file.h"
#include "options.h"
#include "project_file.h"

class ProjectChoice {
public:
    explicit ProjectChoice(const Options& options) : options_(options) {}

    // The settings for the file at `path`; null with `error` set when its project file
    // cannot be used. Each project file is read once.
    const ReportSettings* settings_for(const std::string& path, ProjectFileError& error);

private:
    ReportSettings merged(const ProjectSettings* project) const;

    const Options& options_;
    // By project file; the empty path stands for none.
    std::map<std::filesystem::path, ReportSettings> read_;
};
