#include "file_replace.h"

#include <cerrno>
#include <cstring>

#include <windows.h>

#include "source_file.h"

namespace {

std::string system_reason(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) {
        reason.pop_back();
    }
    return reason;
}

// The folder part of `path` ("." when it has none), for a temporary file beside it.
std::string folder_of(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return path.substr(0, 1);
    return path.substr(0, slash);
}

}  // namespace

bool replace_file(const char* path, const char* bytes, std::int32_t size, std::string& error) {
    const DWORD attributes = GetFileAttributesA(path);
    char temporary[MAX_PATH];
    if (GetTempFileNameA(folder_of(path).c_str(), "brd", 0, temporary) == 0) {
        error = system_reason(GetLastError());
        return false;
    }

    errno = 0;
    SourceFile file;
    bool written = file.open(temporary, SourceFile::WriteMode);
    if (written && size > 0) written = file.write(bytes, size) == 1;
    const int write_errno = errno;
    if (!file.close()) written = false;
    if (!written) {
        error = std::strerror(write_errno != 0 ? write_errno : EIO);
        DeleteFileA(temporary);
        return false;
    }

    if (!MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = system_reason(GetLastError());
        DeleteFileA(temporary);
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path, attributes);
    return true;
}
