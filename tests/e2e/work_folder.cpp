#include "work_folder.h"

#include <algorithm>

#include <windows.h>

#include "driver.h"

namespace e2e {

namespace {

// Removes `path` and everything below it.
void remove_tree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree(child);
            } else {
                // A test may have made it read-only.
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

WorkFolder::WorkFolder(const std::string& name) {
    const std::string base = windows_path(BRINDLE_E2E_WORK_DIR);
    CreateDirectoryA(base.c_str(), nullptr);
    path_ = base + "\\" + std::to_string(GetCurrentProcessId()) + "-" + name;
    remove_tree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

WorkFolder::~WorkFolder() { remove_tree(path_); }

std::string WorkFolder::add_folder(const std::string& name) const {
    const std::string folder = file(name);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void WorkFolder::add_languages(std::initializer_list<const char*> names) const {
    const std::string folder = add_folder("languages");
    const std::string english = english_language_file();
    for (const char* name : names) write_file(folder + "\\" + name + ".ini", english);
}

bool file_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string english_language_file() {
    return read_file(windows_path(BRINDLE_LANGUAGES) + "\\English.ini");
}

}  // namespace e2e
