// SourceFile: one whole file read or written in binary mode ("rb"/"wb") through a buffered
// C stream, which it owns. Every operation on a closed SourceFile does nothing.
#pragma once

#include <cstdint>
#include <cstdio>

class SourceFile {
public:
    enum Mode { ReadMode = 0, WriteMode = 1 };

    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Closes any stream held first; WriteMode creates or truncates. True when open afterwards.
    bool open(const char* path, int mode);
    bool is_open() const { return stream_ != nullptr; }
    // The size in bytes, the position kept; 0 when closed, -1 when the size cannot be
    // taken or does not fit in 32 bits.
    std::int32_t size();
    std::int32_t tell();
    // origin: 0 from the start, 1 from the current position, 2 from the end.
    bool seek(std::int32_t offset, int origin);
    // One block of n bytes: 1 when all of it was transferred, else 0 (also for n = 0).
    int read(void* buffer, std::int32_t n);
    int write(const void* buffer, std::int32_t n);
    // Up to n bytes: how many were read, fewer at the end of the file or on an error.
    std::int32_t read_some(void* buffer, std::int32_t n);
    // True when a read or write on the open stream failed (as opposed to meeting the end).
    bool has_error() const;
    // Flushes and closes; false when buffered bytes could not be written.
    bool close();

private:
    std::FILE* stream_ = nullptr;
};
