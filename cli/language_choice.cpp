#include "language_choice.h"

#include <iterator>
#include <system_error>

#include "language_catalog.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#elif defined(__APPLE__)
#include <cstdint>
#include <mach-o/dyld.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path running_executable() {
#if defined(_WIN32)
    wchar_t buffer[32768];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    if (n == 0 || n >= std::size(buffer)) return {};
    return fs::path(std::wstring(buffer, n));
#elif defined(__APPLE__)
    char buffer[4096];
    std::uint32_t size = sizeof buffer;
    if (_NSGetExecutablePath(buffer, &size) != 0) return {};
    return fs::path(buffer);
#else
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error);
#endif
}

}  // namespace

fs::path executable_folder(const char* argv0) {
    const fs::path executable = running_executable();
    if (!executable.empty()) return executable.parent_path();
    return argv0 != nullptr ? fs::path(argv0).parent_path() : fs::path();
}

std::vector<fs::path> language_folders(const std::optional<std::string>& chosen, const fs::path& executable_folder) {
    if (chosen) return {fs::path(*chosen)};
    std::vector<fs::path> folders;
    if (!executable_folder.empty()) folders.push_back(executable_folder / "languages");
    folders.push_back(fs::path("languages"));
    return folders;
}

LanguageChoice load_language(const std::string& language, const std::vector<fs::path>& folders) {
    LanguageChoice choice;
    const std::string file_name = language + ".ini";
    for (const fs::path& folder : folders) {
        std::error_code error;
        const fs::path file = folder / file_name;
        if (!fs::is_regular_file(file, error)) continue;
        auto catalog = std::make_unique<LanguageCatalog>(folder.string());
        if (!catalog->load(language.c_str())) {
            choice.error = "cannot read the language file " + file.string();
            return choice;
        }
        // One text of each checker: a file without them is not a language file for this program.
        for (const char* key : {"tra.unexpected_end", "arcanum_dlg.unexpected_end"}) {
            if (*catalog->lookup(key) == '\0') {
                choice.error = "the language file " + file.string() + " has no text for " + key;
                return choice;
            }
        }
        choice.catalog = std::move(catalog);
        return choice;
    }
    choice.error = "language '" + language + "' not found; looked for " + file_name + " in";
    for (const fs::path& folder : folders) choice.error += " " + folder.string();
    return choice;
}
