// Replacing a file's content without ever leaving it truncated or half-written.
#pragma once

#include <cstdint>
#include <string>

// Writes `size` bytes to a temporary file beside `path`, then moves it over `path`,
// keeping the original's attributes. A read-only file or a folder at `path` is never
// replaced. On failure the original is untouched and `error` holds the system's reason.
bool replace_file(const char* path, const char* bytes, std::int32_t size, std::string& error);
