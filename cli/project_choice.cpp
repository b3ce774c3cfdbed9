#include "project_choice.h"

#include <utility>

#include "rule_selection.h"

namespace fs = std::filesystem;

const ReportSettings* ProjectChoice::settings_for(const std::string& path, ProjectFileError& error) {
    std::optional<fs::path> file;
    if (options_.config) {
        file = fs::path(*options_.config);
    } else if (!options_.no_config) {
        const fs::path folder = fs::path(path).parent_path();
        file = find_project_file(folder.empty() ? fs::path(".") : folder);
    }
    const fs::path key = file.value_or(fs::path());
    if (const auto found = read_.find(key); found != read_.end()) return &found->second;
    if (!file) return &read_.emplace(key, merged(nullptr)).first->second;
    const ProjectFileResult result = read_project_file(*file, &RuleSelection::known);
    if (result.error) {
        error = *result.error;
        return nullptr;
    }
    return &read_.emplace(key, merged(&*result.settings)).first->second;
}

ReportSettings ProjectChoice::merged(const ProjectSettings* project) const {
    const ProjectSettings none;
    const ProjectSettings& p = project != nullptr ? *project : none;
    ReportSettings settings;
    settings.rules = RuleSelection(options_.select ? options_.select : p.select,
                                   options_.extend_select.value_or(p.extend_select),
                                   options_.ignore.value_or(p.ignore));
    settings.max_faults = static_cast<std::size_t>(options_.max_faults.value_or(p.max_faults.value_or(100)));
    settings.warnings_as_errors = options_.warnings_as_errors.value_or(p.warnings_as_errors.value_or(false));
    settings.tra_weidu = options_.tra_grammar.value_or(p.tra_grammar.value_or("strict")) == "weidu";
    return settings;
}
