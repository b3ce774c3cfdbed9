// UTF-8 output turned into UTF-16 for a console that takes Unicode text, where UTF-8 bytes
// would be read in the console's own code page.
#pragma once

#include <cstddef>
#include <functional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

// `bytes` as UTF-16. A byte that begins no well-formed UTF-8 sequence is read as a single
// byte of `fallback_code_page` (a path given in the system's ANSI code page), or is U+FFFD
// when that page is not a known single-byte one.
std::u16string console_utf16(std::string_view bytes, int fallback_code_page);

// How much of `bytes` to convert now: all but a trailing UTF-8 sequence whose rest has not
// been written yet.
std::size_t complete_length(std::string_view bytes);

// A stream buffer that hands what is written to `write` as UTF-16 (see console_utf16), when
// full and when flushed. A UTF-8 sequence cut by a full buffer waits for its rest.
class Utf16Buffer : public std::streambuf {
public:
    // `write` takes each piece whole and tells whether it went out.
    using Writer = std::function<bool(std::u16string_view)>;
    Utf16Buffer(Writer write, int fallback_code_page, std::size_t capacity = 4096);
    // Writes what is left.
    ~Utf16Buffer() override;
    Utf16Buffer(const Utf16Buffer&) = delete;
    Utf16Buffer& operator=(const Utf16Buffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    // Converts and writes the buffer; with `keep_cut_sequence` a trailing partial UTF-8
    // sequence stays at its start.
    bool write_pending(bool keep_cut_sequence);

    Writer write_;
    int fallback_code_page_;
    std::vector<char> buffer_;
};
