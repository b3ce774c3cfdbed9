// Masks of the stops in a 64-byte block, the bytes a scan must look at: from eight tables
// of single bytes, or from one table of byte pairs for large texts.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace token_scan {

// stop_bits[k][byte]: bit k set when `byte` is a stop.
using StopBits = std::array<std::array<std::uint8_t, 256>, 8>;

// A set of stops in both forms: by single bytes, and by pairs for large texts.
struct StopTables {
    const StopBits* bits;
    const std::uint8_t* pairs;
};

// stop_bits from which bytes are stops.
void fill_stop_bits(const std::array<bool, 256>& stop, StopBits& stop_bits);
// For two bytes a, b, pairs[a | b << 8] gets bit 0 when a is a stop and bit 1 when b is.
void fill_pair_stops(const StopBits& stop_bits, std::vector<std::uint8_t>& pairs);

inline unsigned lowest_bit(std::uint64_t mask) {
    // A de Bruijn sequence, a form compilers turn into a single instruction where there is one.
    static constexpr std::uint8_t positions[64] = {
        0, 1, 48, 2, 57, 49, 28, 3, 61, 58, 50, 42, 38, 29, 17, 4, 62, 55, 59, 36, 53, 51,
        43, 22, 45, 39, 33, 30, 24, 18, 12, 5, 63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21,
        44, 32, 23, 11, 46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9, 13, 8, 7, 6};
    return positions[((mask & (~mask + 1)) * 0x03f79d71b4cb0a89ull) >> 58];
}

// The bit of each byte of a 64-byte block that is a stop. Eight lookups in tables shifted
// in advance give the bits of eight bytes at once.
inline std::uint64_t stop_mask(const StopBits& stop_bits, const unsigned char* block) {
    std::uint64_t mask = 0;
    for (unsigned group = 0; group < 8; ++group) {
        const unsigned char* b = block + 8 * group;
        const unsigned bits = stop_bits[0][b[0]] | stop_bits[1][b[1]] | stop_bits[2][b[2]] |
                              stop_bits[3][b[3]] | stop_bits[4][b[4]] | stop_bits[5][b[5]] |
                              stop_bits[6][b[6]] | stop_bits[7][b[7]];
        mask |= static_cast<std::uint64_t>(bits) << (8 * group);
    }
    return mask;
}

// The same with half the lookups, in a table of 64 KiB. The eight groups of eight bytes are
// written out rather than looped over: the compiler does not always unroll such a loop,
// and its own steps would then cost a fifth of the mask.
inline std::uint64_t pair_stop_mask(const std::uint8_t* pairs, const unsigned char* block) {
    const auto group = [pairs, block](unsigned first) -> std::uint64_t {
        const unsigned char* b = block + first;
        const unsigned bits = pairs[b[0] | b[1] << 8] | pairs[b[2] | b[3] << 8] << 2 |
                              pairs[b[4] | b[5] << 8] << 4 | pairs[b[6] | b[7] << 8] << 6;
        return static_cast<std::uint64_t>(bits) << first;
    };
    return group(0) | group(8) | group(16) | group(24) | group(32) | group(40) | group(48) | group(56);
}

inline std::uint64_t block_stops(bool pair_scan, const StopTables& tables, const unsigned char* block) {
    return pair_scan ? pair_stop_mask(tables.pairs, block) : stop_mask(*tables.bits, block);
}

}  // namespace token_scan
