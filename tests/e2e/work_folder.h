// A fresh working folder for one Brindle start, and the bytes of the files in it.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "win_test_files.h"

namespace e2e {

// A new folder in the build tree's work folder; removed with everything in it at the end.
// Not under the Windows temporary folder: under Wine on qemu-user, the Open dialog showing
// a folder below C:\users hangs now and then while it fills its "Look in" list.
class WorkFolder {
public:
    explicit WorkFolder(const std::string& name);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::string& path() const { return path_; }
    // The full path of `name` inside the folder.
    std::string file(const std::string& name) const { return path_ + "\\" + name; }
    // Creates a subfolder and returns its full path.
    std::string add_folder(const std::string& name) const;
    // Copies the shipped English language file into languages\ under each of `names`.
    void add_languages(std::initializer_list<const char*> names) const;

private:
    std::string path_;
};

using win_test_files::read_file;
using win_test_files::write_file;
bool file_exists(const std::string& path);
// The names of the files in `folder`, sorted.
std::vector<std::string> files_in(const std::string& folder);
// The shipped English language file's bytes.
std::string english_language_file();

}  // namespace e2e
