// UTF-8 as the outputs for Unicode text need it: checking that bytes are well formed, and
// writing code points.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The length of the well-formed UTF-8 sequence that starts at bytes[at], or 0 when none does:
// no stray or missing continuation bytes, no overlong forms, no surrogates, nothing above
// U+10FFFF.
std::size_t utf8_sequence_length(std::string_view bytes, std::size_t at);

// Whether `bytes` are well-formed UTF-8 throughout.
bool is_valid_utf8(std::string_view bytes);

// Appends the UTF-8 form of `code_point`, which must be a Unicode scalar value.
void append_utf8(std::string& out, char32_t code_point);
