#include "kpstring.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

namespace {

constexpr int slack = 32;

std::size_t wide_length(const char16_t* text) {
    std::size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

// True when `p` points into the `size` bytes at `buffer`; compared as addresses in one total order.
bool lies_inside(const char* p, const char* buffer, std::size_t size) {
    if (buffer == nullptr) return false;
    std::less_equal<const char*> le;
    std::less<const char*> lt;
    return le(buffer, p) && lt(p, buffer + size);
}

}  // namespace

kpstring::kpstring(int capacity) {
    reserve(capacity < 1 ? 1 : capacity);
}

kpstring::kpstring(const char* text) {
    if (text == nullptr) {
        reserve(slack);
        return;
    }
    assign_narrow(text);
}

kpstring::kpstring(const kpstring& other) {
    if (other.is_wide()) {
        std::fputs("kpstring:kpstring(const kpstring& x) NYI for UC", stdout);
        reserve(slack);
        return;
    }
    assign_narrow(other.text_);
}

kpstring::kpstring(kpstring&& other) noexcept
    : flags_(std::exchange(other.flags_, 0)),
      text_(std::exchange(other.text_, nullptr)),
      wide_text_(std::exchange(other.wide_text_, nullptr)),
      capacity_(std::exchange(other.capacity_, 0)) {
    other.reserve(1);
}

kpstring::~kpstring() { release_buffers(); }

void kpstring::release_buffers() {
    std::free(text_);
    std::free(wide_text_);
    text_ = nullptr;
    wide_text_ = nullptr;
    capacity_ = 0;
}

void kpstring::reserve(int n) {
    if (capacity_ >= n) return;
    if (is_wide()) {
        void* grown = std::realloc(wide_text_, static_cast<std::size_t>(n) * sizeof(char16_t));
        if (grown == nullptr) return;
        const bool fresh = wide_text_ == nullptr;
        wide_text_ = static_cast<char16_t*>(grown);
        if (fresh) wide_text_[0] = 0;
    } else {
        void* grown = std::realloc(text_, static_cast<std::size_t>(n));
        if (grown == nullptr) return;
        const bool fresh = text_ == nullptr;
        text_ = static_cast<char*>(grown);
        if (fresh) text_[0] = '\0';
    }
    capacity_ = n;
}

void kpstring::assign_narrow(const char* text) {
    const std::size_t n = std::strlen(text);
    // The text may lie inside our own buffer, which reserve() may move: remember where.
    const bool own = lies_inside(text, text_, static_cast<std::size_t>(capacity_));
    const std::size_t offset = own ? static_cast<std::size_t>(text - text_) : 0;
    reserve(static_cast<int>(n) + slack);
    if (capacity_ < static_cast<int>(n) + 1) return;  // no memory: keep what we had
    const char* source = own ? text_ + offset : text;
    std::memmove(text_, source, n + 1);
}

kpstring& kpstring::operator=(const char* text) {
    if (text == nullptr) {
        clear();
        return *this;
    }
    if (is_wide()) {
        release_buffers();
        flags_ &= static_cast<std::uint16_t>(~wide_flag);
    }
    assign_narrow(text);
    return *this;
}

kpstring& kpstring::operator=(const kpstring& other) {
    if (this == &other) return *this;
    if (other.is_wide()) return *this = other.wide_text_;
    return *this = other.text_;
}

kpstring& kpstring::operator=(kpstring&& other) noexcept {
    if (this == &other) return *this;
    release_buffers();
    flags_ = std::exchange(other.flags_, 0);
    text_ = std::exchange(other.text_, nullptr);
    wide_text_ = std::exchange(other.wide_text_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
    other.reserve(1);
    return *this;
}

kpstring& kpstring::operator=(const char16_t* wide_text) {
    if (wide_text == nullptr) {
        clear();
        return *this;
    }
    const std::size_t n = wide_length(wide_text);
    // Copy first: the source may be our own wide buffer, which is freed below.
    char16_t* copy = static_cast<char16_t*>(std::malloc((n + 1) * sizeof(char16_t)));
    if (copy == nullptr) return *this;
    std::memcpy(copy, wide_text, (n + 1) * sizeof(char16_t));
    release_buffers();
    flags_ |= wide_flag;
    wide_text_ = copy;
    capacity_ = static_cast<std::int32_t>(n + 1);
    return *this;
}

kpstring& kpstring::operator+=(const char* text) {
    if (text == nullptr || text[0] == '\0' || is_wide()) return *this;
    const std::size_t add = std::strlen(text);
    const std::size_t have = std::strlen(text_);
    const bool own = lies_inside(text, text_, static_cast<std::size_t>(capacity_));
    const std::size_t offset = own ? static_cast<std::size_t>(text - text_) : 0;
    const int needed = static_cast<int>(have + add + 1);
    reserve(needed);
    if (capacity_ < needed) return *this;  // no memory: keep what we had
    const char* source = own ? text_ + offset : text;
    std::memmove(text_ + have, source, add);
    text_[have + add] = '\0';
    return *this;
}

const char* kpstring::c_str() const {
    return is_wide() ? "<unicodestr-nyi>" : text_;
}

int kpstring::length() const {
    if (is_wide()) return static_cast<int>(wide_length(wide_text_));
    return static_cast<int>(std::strlen(text_));
}

void kpstring::clear() {
    if (is_wide()) {
        wide_text_[0] = 0;
    } else {
        text_[0] = '\0';
    }
}

kpstring kpstring::substring(int first, int last) const {
    if (is_wide()) return kpstring("");
    const int size = length();
    if (first < 0) first = 0;
    if (last > size - 1) last = size - 1;
    // Compared before subtracting: far-apart bounds would overflow the difference.
    if (last < first) return kpstring("");
    const int n = last - first + 1;
    char* block = static_cast<char*>(std::malloc(static_cast<std::size_t>(n) + 1));
    if (block == nullptr) return kpstring("");
    std::memcpy(block, text_ + first, static_cast<std::size_t>(n));
    block[n] = '\0';
    kpstring result(block);
    std::free(block);
    return result;
}
