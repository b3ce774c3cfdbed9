#include "checker.h"

#include <memory>
#include <new>
#include <stdexcept>

#include "language_catalog.h"
#include "source_file.h"

const char* Checker::text(const char* key) const {
    return catalog_ == nullptr ? "" : catalog_->lookup(key);
}

bool Checker::read_text(const char* path, std::unique_ptr<char[]>& block, std::int32_t& file_size) {
    SourceFile file;
    if (!file.open(path, SourceFile::ReadMode)) return false;
    const std::int32_t size = file.size();
    if (size < 0) return false;
    try {
        // A short read (the file shrank) ends the text, and the file, after the bytes that
        // arrived; a failing read is no text at all.
        block.reset(new char[static_cast<std::size_t>(size) + 1]);
        const std::int32_t arrived = file.read_some(block.get(), size);
        if (file.has_error()) return false;
        file_size = arrived;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

CheckResult Checker::store(std::int32_t start, std::int32_t length, const kpstring& reason) {
    conflict_.start = start;
    conflict_.length = length;
    conflict_.reason = reason;
    return CheckResult::found(conflict_);
}

// Each looked-up text is appended at once: the next lookup overwrites it.
CheckResult Checker::expected_found(const Token& token, const char* expected_key, const char* found_key) {
    kpstring reason(32);
    reason += text(expected_key);
    reason += " ";
    reason += text(found_key);
    return store(token.start, token.length, reason);
}

CheckResult Checker::single(const Token& token, const char* key) {
    kpstring reason(32);
    reason += text(key);
    return store(token.start, token.length, reason);
}

CheckResult Checker::number_form(const Token& token, const char* number_key, const char* found_key) {
    kpstring reason(32);
    reason += text(number_key);
    if (found_key != nullptr) reason += text(found_key);
    return store(token.start, token.length, reason);
}

CheckResult Checker::conflict_at_end(std::int32_t file_size, const char* end_key, const char* expected_key) {
    kpstring reason(32);
    reason += text(end_key);
    reason += " ";
    reason += text(expected_key);
    return store(file_size, 0, reason);
}
