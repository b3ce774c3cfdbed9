#include "checker.h"

#include <memory>
#include <new>
#include <stdexcept>

#include "language_catalog.h"
#include "source_file.h"
#include "wording.h"

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

CheckResult Checker::report(const std::optional<Diagnostic>& fault) {
    if (!fault) return CheckResult::clean();
    kpstring reason(32);
    word(*fault, catalog_, reason);
    conflict_.start = fault->start;
    conflict_.length = fault->length;
    conflict_.reason = reason;
    return CheckResult::found(conflict_);
}
