// The tables and keys a project file may hold, each key with how its value is checked
// and where in ProjectSettings it goes: adding a key is one line in project_keys.cpp.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <toml++/toml.h>

#include "project_file.h"

// Where a value stands, and what checking it needs besides the value itself.
struct KeyPlace {
    std::string_view table;
    std::string_view key;
    const std::filesystem::path& file;
    const std::function<bool(std::string_view)>& known_rule;
};

// Checks one value and stores it in `settings`; its first fault, if any.
using ValueReader = std::function<std::optional<ProjectFileError>(
    const toml::node& value, const KeyPlace& place, ProjectSettings& settings)>;

struct KnownKey {
    std::string_view name;
    ValueReader read;
};

struct KnownTable {
    std::string_view name;
    std::vector<KnownKey> keys;
};

// Every table a project file may hold, in the order the documentation lists them.
const std::vector<KnownTable>& known_tables();

// A fault at the start of `where` in `file`.
ProjectFileError fault_at(const std::filesystem::path& file, const toml::source_region& where, std::string message);

// How a value is named in a message: "a string", "an integer", ...
std::string kind_of(const toml::node& value);
