// Scratch files for tests: a fresh folder per test, removed afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace test_files {

// A new empty folder below the system's temporary folder; removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of `name` inside the folder, as a narrow string for the code under test.
    std::string file(std::string_view name) const;

private:
    std::filesystem::path path_;
};

// Writes `bytes` exactly (binary) to `path`, creating or replacing the file.
void write_bytes(const std::string& path, std::string_view bytes);
// The whole content of `path`; empty when it cannot be read.
std::string read_bytes(const std::string& path);

}  // namespace test_files
