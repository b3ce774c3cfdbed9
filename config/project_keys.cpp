#include "project_keys.h"

#include <algorithm>

#include <cstdint>
#include <utility>

namespace {

// "[check] max-faults": how messages name a key.
std::string name_of(const KeyPlace& place) {
    return "[" + std::string(place.table) + "] " + std::string(place.key);
}

ValueReader whole_number(std::optional<std::int64_t> ProjectSettings::*field) {
    return [field](const toml::node& value, const KeyPlace& place,
                   ProjectSettings& settings) -> std::optional<ProjectFileError> {
        const std::string expected = name_of(place) + " must be a whole number, 0 or more";
        const auto* number = value.as_integer();
        if (number == nullptr) return fault_at(place.file, value.source(), expected + ", not " + kind_of(value));
        if (number->get() < 0) {
            return fault_at(place.file, value.source(), expected + ", not " + std::to_string(number->get()));
        }
        settings.*field = number->get();
        return std::nullopt;
    };
}

ValueReader flag(std::optional<bool> ProjectSettings::*field) {
    return [field](const toml::node& value, const KeyPlace& place,
                   ProjectSettings& settings) -> std::optional<ProjectFileError> {
        const auto* boolean = value.as_boolean();
        if (boolean == nullptr) {
            return fault_at(place.file, value.source(), name_of(place) + " must be true or false, not " + kind_of(value));
        }
        settings.*field = boolean->get();
        return std::nullopt;
    };
}

// A list of rule ids ("tra.tag_spaces") and families ("tra"), each one that exists.
// `Field` is a list, or an optional list where an empty list differs from none.
template <typename Field>
ValueReader rule_ids(Field ProjectSettings::*field) {
    return [field](const toml::node& value, const KeyPlace& place,
                   ProjectSettings& settings) -> std::optional<ProjectFileError> {
        const std::string expected = name_of(place) + " must be an array of strings (rule ids or families)";
        const auto* items = value.as_array();
        if (items == nullptr) return fault_at(place.file, value.source(), expected + ", not " + kind_of(value));
        std::vector<std::string> ids;
        for (const toml::node& item : *items) {
            const auto* id = item.as_string();
            if (id == nullptr) {
                return fault_at(place.file, item.source(), expected + ", but this item is " + kind_of(item));
            }
            if (!place.known_rule(id->get())) {
                const bool is_family = id->get().find('.') == std::string::npos;
                return fault_at(place.file, item.source(),
                                std::string(is_family ? "unknown rule family '" : "unknown rule '") + id->get() +
                                    "' in " + name_of(place));
            }
            ids.push_back(id->get());
        }
        settings.*field = std::move(ids);
        return std::nullopt;
    };
}

// One of a fixed set of words.
ValueReader choice(std::optional<std::string> ProjectSettings::*field, std::vector<std::string> words) {
    return [field, words](const toml::node& value, const KeyPlace& place,
                          ProjectSettings& settings) -> std::optional<ProjectFileError> {
        std::string known;
        for (const std::string& word : words) known += (known.empty() ? "\"" : ", \"") + word + "\"";
        const auto* text = value.as_string();
        if (text == nullptr || std::find(words.begin(), words.end(), text->get()) == words.end()) {
            const std::string given = text != nullptr ? "\"" + text->get() + "\"" : kind_of(value);
            return fault_at(place.file, value.source(), name_of(place) + " must be one of " + known + ", not " + given);
        }
        settings.*field = text->get();
        return std::nullopt;
    };
}

}  // namespace

const std::vector<KnownTable>& known_tables() {
    static const std::vector<KnownTable> tables = {
        {"check", {{"max-faults", whole_number(&ProjectSettings::max_faults)}}},
        {"rules",
         {{"select", rule_ids(&ProjectSettings::select)},
          {"extend-select", rule_ids(&ProjectSettings::extend_select)},
          {"ignore", rule_ids(&ProjectSettings::ignore)},
          {"warnings-as-errors", flag(&ProjectSettings::warnings_as_errors)}}},
        {"tra", {{"grammar", choice(&ProjectSettings::tra_grammar, {"strict", "weidu"})}}},
    };
    return tables;
}

ProjectFileError fault_at(const std::filesystem::path& file, const toml::source_region& where, std::string message) {
    return ProjectFileError{file, static_cast<std::int64_t>(where.begin.line),
                            static_cast<std::int64_t>(where.begin.column), std::move(message)};
}

std::string kind_of(const toml::node& value) {
    switch (value.type()) {
        case toml::node_type::table: return "a table";
        case toml::node_type::array: return "an array";
        case toml::node_type::string: return "a string";
        case toml::node_type::integer: return "an integer";
        case toml::node_type::floating_point: return "a decimal number";
        case toml::node_type::boolean: return "a true/false value";
        case toml::node_type::date: return "a date";
        case toml::node_type::time: return "a time";
        case toml::node_type::date_time: return "a date and time";
        case toml::node_type::none: break;
    }
    return "nothing";
}
