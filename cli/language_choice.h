// Finds the folder of language files and loads the chosen language for the checkers' texts.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class LanguageCatalog;

// The folder this program's executable lies in; `argv0`'s folder where the platform
// cannot tell.
std::filesystem::path executable_folder(const char* argv0);

// Where to look for "<language>.ini", in order: `chosen` alone when given, else the
// "languages" folder beside the executable, then the one in the current folder.
std::vector<std::filesystem::path> language_folders(const std::optional<std::string>& chosen,
                                                    const std::filesystem::path& executable_folder);

struct LanguageChoice {
    std::unique_ptr<LanguageCatalog> catalog;  // null when `error` says why
    std::string error;
};

// Loads `language` from the first of `folders` that holds it. A file that lacks the
// checkers' texts is refused, so that reasons never come out empty.
LanguageChoice load_language(const std::string& language, const std::vector<std::filesystem::path>& folders);
