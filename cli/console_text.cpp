#include "console_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "code_page.h"
#include "utf8.h"

namespace {

// The longest UTF-8 sequence: a buffer holds a cut one and at least one byte more.
constexpr std::size_t longest_sequence = 4;

// The code point of the well-formed UTF-8 sequence of `length` bytes at `sequence`.
char32_t decode(std::string_view sequence, std::size_t length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(sequence[k]); };
    static constexpr unsigned char lead_bits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t code_point = byte(0) & lead_bits[length];
    for (std::size_t k = 1; k < length; ++k) code_point = (code_point << 6) | (byte(k) & 0x3F);
    return code_point;
}

void append_utf16(std::u16string& out, char32_t code_point) {
    if (code_point < 0x10000) {
        out += static_cast<char16_t>(code_point);
        return;
    }
    code_point -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (code_point >> 10));
    out += static_cast<char16_t>(0xDC00 | (code_point & 0x3FF));
}

// How many bytes the UTF-8 sequence led by `lead` has; 0 when it leads none.
std::size_t announced_length(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

}  // namespace

std::u16string console_utf16(std::string_view bytes, int fallback_code_page) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8_sequence_length(bytes, i);
        if (length == 0) {
            append_utf16(out, single_byte_character(static_cast<unsigned char>(bytes[i]), fallback_code_page));
            ++i;
        } else {
            append_utf16(out, decode(bytes.substr(i), length));
            i += length;
        }
    }
    return out;
}

std::size_t complete_length(std::string_view bytes) {
    const std::size_t size = bytes.size();
    // A lead byte among the last three, with only continuation bytes after it, that
    // announces more bytes than are there.
    for (std::size_t back = 1; back < longest_sequence && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80) continue;
        return announced_length(byte) > back ? size - back : size;
    }
    return size;
}

Utf16Buffer::Utf16Buffer(Writer write, int fallback_code_page, std::size_t capacity)
    : write_(std::move(write)),
      fallback_code_page_(fallback_code_page),
      buffer_(std::max(capacity, longest_sequence)) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

Utf16Buffer::~Utf16Buffer() { write_pending(false); }

Utf16Buffer::int_type Utf16Buffer::overflow(int_type c) {
    if (!write_pending(true)) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int Utf16Buffer::sync() { return write_pending(false) ? 0 : -1; }

bool Utf16Buffer::write_pending(bool keep_cut_sequence) {
    const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    const std::size_t now = keep_cut_sequence ? complete_length(pending) : pending.size();
    const bool written = now == 0 || write_(console_utf16(pending.substr(0, now), fallback_code_page_));
    const std::size_t kept = pending.size() - now;
    std::memmove(buffer_.data(), pending.data() + now, kept);
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    pbump(static_cast<int>(kept));
    return written;
}
