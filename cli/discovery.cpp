#include "discovery.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool wanted(const fs::path& path, std::optional<FileKind> forced) {
    const std::optional<FileKind> kind = kind_from_name(path);
    return kind && (!forced || *kind == *forced);
}

void walk(const fs::path& directory, std::optional<FileKind> forced, std::vector<Target>& targets) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        targets.push_back(Target{directory.string(), std::nullopt, error.message()});
        return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) {
                  return a.path().filename() < b.path().filename();
              });
    for (const fs::directory_entry& entry : entries) {
        std::error_code ignored;
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
            walk(entry.path(), forced, targets);
        } else if (!entry.is_directory(ignored) && wanted(entry.path(), forced)) {
            targets.push_back(Target{entry.path().lexically_normal().string(), kind_from_name(entry.path()), ""});
        }
    }
}

}  // namespace

std::optional<FileKind> kind_from_name(const fs::path& path) {
    return kind_for_extension(path.extension().string());
}

Discovery discover(const std::vector<std::string>& paths, std::optional<FileKind> forced) {
    Discovery found;
    for (const std::string& name : paths) {
        const fs::path path(name);
        const std::optional<FileKind> kind = forced ? forced : kind_from_name(path);
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (error) {
            found.targets.push_back(Target{name, kind, error.message()});
        } else if (fs::is_directory(status)) {
            walk(path, forced, found.targets);
        } else if (!kind) {
            found.unknown_kind.push_back(name);
        } else {
            found.targets.push_back(Target{name, kind, ""});
        }
    }
    return found;
}
