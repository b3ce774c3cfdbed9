// Helpers for byte strings (file texts, paths) that must pass through outputs made for
// Unicode text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "utf8.h"  // is_valid_utf8

inline bool is_utf8_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// How many UTF-16 code units `bytes` takes: per character for valid UTF-8, else one per
// byte (a single-byte code page, where every byte is one character).
std::size_t utf16_length(std::string_view bytes);

// Standard base64 (RFC 4648) with padding.
std::string base64(std::string_view bytes);
