#include "file_replace.h"

#include <cerrno>
#include <cstdio>
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

// Creates an empty file of a new name in `folder`. The name is five characters ("~" and four
// hex digits): a file at the longest path Windows allows has a name of at least that length, so
// its temporary file fits where GetTempFileNameA, which wants fourteen characters of room, fails.
bool create_temporary(const std::string& folder, std::string& name, std::string& error) {
    const DWORD seed = GetTickCount() ^ GetCurrentProcessId();
    for (DWORD attempt = 0; attempt < 0x10000; ++attempt) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04lx", static_cast<unsigned long>((seed + attempt) & 0xFFFF));
        name = folder + "\\~" + digits;
        const HANDLE file =
            CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            error = system_reason(code);
            return false;
        }
    }
    error = system_reason(ERROR_FILE_EXISTS);
    return false;
}

}  // namespace

bool replace_file(const char* path, const char* bytes, std::int32_t size, std::string& error) {
    const DWORD attributes = GetFileAttributesA(path);
    // Windows refuses to move a file over a read-only one, Wine does not: ask the same of both.
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        error = system_reason(ERROR_ACCESS_DENIED);
        return false;
    }
    std::string temporary_name;
    if (!create_temporary(folder_of(path), temporary_name, error)) return false;
    const char* const temporary = temporary_name.c_str();

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
