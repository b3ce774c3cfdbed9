// ScratchFile: one file of this process below the temporary folder, rewritten for each input
// of a target whose code under test reads a path; removed when the process ends normally.
#pragma once

#include <string>
#include <string_view>

class ScratchFile {
public:
    // `suffix` ends the file name (".tra", ".ini").
    explicit ScratchFile(std::string_view suffix);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }
    // Replaces the file's content with exactly `bytes`; aborts when that fails.
    void write(std::string_view bytes) const;
    // The whole content of the file; aborts when it cannot be read.
    std::string read() const;

private:
    std::string path_;
};
