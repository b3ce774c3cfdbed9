#include "project_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <tuple>
#include <variant>

#include "project_keys.h"

namespace fs = std::filesystem;

namespace {

ProjectFileError unreadable(const fs::path& file, std::string reason) {
    return ProjectFileError{file, 0, 0, "cannot read the project file: " + std::move(reason)};
}

// The whole file as bytes, or why it cannot be had.
std::variant<std::string, ProjectFileError> read_text(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) return unreadable(file, "it does not exist");
    // A folder opens and reads as empty on some systems, which would pass for an empty file.
    if (fs::is_directory(status)) return unreadable(file, "it is a folder");
    std::ifstream in(file, std::ios::binary);
    if (!in) return unreadable(file, "it cannot be opened");
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return unreadable(file, "reading it failed");
    return text;
}

std::string known_table_list() {
    std::string list;
    for (const KnownTable& table : known_tables()) {
        list += (list.empty() ? "[" : ", [") + std::string(table.name) + "]";
    }
    return list;
}

std::string known_key_list(const KnownTable& table) {
    std::string list;
    for (const KnownKey& key : table.keys) list += (list.empty() ? "" : ", ") + std::string(key.name);
    return list;
}

const KnownTable* find_table(std::string_view name) {
    const auto& tables = known_tables();
    const auto found = std::find_if(tables.begin(), tables.end(), [&](const KnownTable& t) { return t.name == name; });
    return found == tables.end() ? nullptr : &*found;
}

const KnownKey* find_key(const KnownTable& table, std::string_view name) {
    const auto found =
        std::find_if(table.keys.begin(), table.keys.end(), [&](const KnownKey& k) { return k.name == name; });
    return found == table.keys.end() ? nullptr : &*found;
}

// Checks one top-level entry of the file against the known tables; adds its faults.
void read_table(const toml::key& name, const toml::node& value, const fs::path& file,
                const std::function<bool(std::string_view)>& known_rule, ProjectSettings& settings,
                std::vector<ProjectFileError>& faults) {
    const KnownTable* known = find_table(name.str());
    if (known == nullptr) {
        const bool is_table = value.is_table() || value.is_array_of_tables();
        faults.push_back(fault_at(file, name.source(),
                                  is_table ? "unknown table [" + std::string(name.str()) + "] (known: " +
                                                 known_table_list() + ")"
                                           : "unknown key '" + std::string(name.str()) +
                                                 "' outside any table (known tables: " + known_table_list() + ")"));
        return;
    }
    const toml::table* entries = value.as_table();
    if (entries == nullptr) {
        faults.push_back(fault_at(file, value.source(),
                                  "'" + std::string(name.str()) + "' must be a table, written [" +
                                      std::string(name.str()) + "], not " + kind_of(value)));
        return;
    }
    for (const auto& [key, entry] : *entries) {
        const KnownKey* known_key = find_key(*known, key.str());
        if (known_key == nullptr) {
            faults.push_back(fault_at(file, key.source(),
                                      "unknown key '" + std::string(key.str()) + "' in [" + std::string(known->name) +
                                          "] (known: " + known_key_list(*known) + ")"));
            continue;
        }
        const KeyPlace place{known->name, known_key->name, file, known_rule};
        if (auto fault = known_key->read(entry, place, settings)) faults.push_back(std::move(*fault));
    }
}

}  // namespace

std::string ProjectFileError::text() const {
    if (line == 0) return file.string() + ": " + message;
    return file.string() + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

std::optional<fs::path> find_project_file(const fs::path& folder) {
    std::error_code error;
    fs::path current = fs::absolute(folder, error).lexically_normal();
    if (error) return std::nullopt;
    while (true) {
        fs::path candidate = current / project_file_name;
        if (fs::is_regular_file(candidate, error)) return candidate;
        if (current == current.parent_path()) return std::nullopt;
        current = current.parent_path();
    }
}

ProjectFileResult read_project_file(const fs::path& file, const std::function<bool(std::string_view)>& known_rule) {
    auto text = read_text(file);
    if (auto* fault = std::get_if<ProjectFileError>(&text)) return ProjectFileResult{std::nullopt, std::move(*fault)};

    toml::table root;
    try {
        root = toml::parse(std::get<std::string>(text));
    } catch (const toml::parse_error& fault) {
        return ProjectFileResult{std::nullopt, fault_at(file, fault.source(), std::string(fault.description()))};
    }

    ProjectSettings settings;
    settings.file = file;
    std::vector<ProjectFileError> faults;
    for (const auto& [name, value] : root) read_table(name, value, file, known_rule, settings, faults);
    // The file's tables come sorted by name, not in the order written: report the first in the file.
    const auto first = std::min_element(faults.begin(), faults.end(), [](const auto& a, const auto& b) {
        return std::tie(a.line, a.column) < std::tie(b.line, b.column);
    });
    if (first != faults.end()) return ProjectFileResult{std::nullopt, std::move(*first)};
    return ProjectFileResult{std::move(settings), std::nullopt};
}
