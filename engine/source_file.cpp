#include "source_file.h"

#include <limits>

SourceFile::~SourceFile() { close(); }

bool SourceFile::open(const char* path, int mode) {
    close();
    if (path == nullptr) return false;
    if (mode == ReadMode) {
        stream_ = std::fopen(path, "rb");
    } else if (mode == WriteMode) {
        stream_ = std::fopen(path, "wb");
    }
    return stream_ != nullptr;
}

std::int32_t SourceFile::size() {
    if (stream_ == nullptr) return 0;
    const long remembered = std::ftell(stream_);
    if (remembered < 0 || std::fseek(stream_, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(stream_);
    std::fseek(stream_, remembered, SEEK_SET);
    if (end < 0 || end > std::numeric_limits<std::int32_t>::max()) return -1;
    return static_cast<std::int32_t>(end);
}

std::int32_t SourceFile::tell() {
    if (stream_ == nullptr) return 0;
    const long position = std::ftell(stream_);
    if (position < 0 || position > std::numeric_limits<std::int32_t>::max()) return -1;
    return static_cast<std::int32_t>(position);
}

bool SourceFile::seek(std::int32_t offset, int origin) {
    if (stream_ == nullptr) return false;
    static const int origins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2) return false;
    return std::fseek(stream_, offset, origins[origin]) == 0;
}

int SourceFile::read(void* buffer, std::int32_t n) {
    if (stream_ == nullptr || n <= 0) return 0;
    return std::fread(buffer, static_cast<std::size_t>(n), 1, stream_) == 1 ? 1 : 0;
}

std::int32_t SourceFile::read_some(void* buffer, std::int32_t n) {
    if (stream_ == nullptr || n <= 0) return 0;
    return static_cast<std::int32_t>(std::fread(buffer, 1, static_cast<std::size_t>(n), stream_));
}

int SourceFile::write(const void* buffer, std::int32_t n) {
    if (stream_ == nullptr || n <= 0) return 0;
    return std::fwrite(buffer, static_cast<std::size_t>(n), 1, stream_) == 1 ? 1 : 0;
}

bool SourceFile::has_error() const {
    return stream_ != nullptr && std::ferror(stream_) != 0;
}

bool SourceFile::close() {
    if (stream_ == nullptr) return true;
    const bool ok = std::fclose(stream_) == 0;
    stream_ = nullptr;
    return ok;
}
