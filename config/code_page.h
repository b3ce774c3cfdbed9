// Text in the Windows code pages that language files are written in, converted to UTF-8
// for outputs that must be Unicode text (consoles, JSON, SARIF).
#pragma once

#include <string>
#include <string_view>

// Code pages by their Windows numbers.
constexpr int central_european_code_page = 1250;
constexpr int cyrillic_code_page = 1251;
constexpr int western_code_page = 1252;
constexpr int utf8_code_page = 65001;

// Whether to_utf8 knows `code_page`: one of the four above.
bool is_known_code_page(int code_page);

// The character that the single byte `byte` stands for in `code_page`. ASCII stands for
// itself everywhere; any other byte the page does not define, or in a page that is not a
// known single-byte one, is U+FFFD.
char32_t single_byte_character(unsigned char byte, int code_page);

// `bytes` in `code_page` as UTF-8, always well formed. In UTF-8 the well-formed sequences
// pass unchanged and each other byte becomes U+FFFD; in a single-byte page each byte becomes
// single_byte_character.
std::string to_utf8(std::string_view bytes, int code_page);
