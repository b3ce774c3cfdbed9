// Whole files for the Windows test programs, written and read through the Win32 calls.
#pragma once

#include <string>

namespace win_test_files {

// True when `bytes` were written to `path` (created or replaced).
bool write_file(const std::string& path, const std::string& bytes);
// The file's bytes, empty when it cannot be read; `found` tells whether it could be opened.
std::string read_file(const std::string& path, bool* found = nullptr);

}  // namespace win_test_files
