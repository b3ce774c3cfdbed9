// The packed token codes of a split, one per token, and what each code decodes to.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scan/token.h"

namespace token_scan {

// A delimiter of a small table index is that index, a short run carries its length in the
// code, anything else is an escape code followed by a LEB128 number. Every chunk of codes
// ends with chunk_end.
constexpr std::size_t near_delimiters = 64;    // 0..63: the table index
constexpr std::uint8_t short_blank = 64;       // 64..95: Blank of 1..32 bytes
constexpr std::uint8_t short_text = 96;        // 96..251: Text of 1..156 bytes
constexpr std::uint8_t chunk_end = 252;
constexpr std::uint8_t long_text = 253;        // then the length
constexpr std::uint8_t long_blank = 254;       // then the length
constexpr std::uint8_t far_delimiter = 255;    // then the table index
constexpr std::size_t short_blank_max = short_text - short_blank;
constexpr std::size_t short_text_max = chunk_end - short_text;

// What a code decodes to; a length of 0 marks an escape code.
struct CodeInfo {
    const DelimiterEntry* delimiter;
    std::int32_t id;
    std::uint32_t length;
    TokenKind kind;
};
using CodeTable = std::array<CodeInfo, 256>;

// The codes of the delimiter table `table`, whose entries the codes point to.
void fill_codes(const std::vector<DelimiterEntry>& table, CodeTable& codes);

}  // namespace token_scan
