#include "scan/stop_masks.h"

#include <cstddef>
#include <cstring>

namespace token_scan {

void fill_stop_bits(const std::array<bool, 256>& stop, StopBits& stop_bits) {
    for (std::size_t byte = 0; byte < 256; ++byte) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            stop_bits[bit][byte] = static_cast<std::uint8_t>((stop[byte] ? 1u : 0u) << bit);
        }
    }
}

void fill_pair_stops(const StopBits& stop_bits, std::vector<std::uint8_t>& pairs) {
    // Every row is one of two: the first byte's bits, with or without the second's.
    std::array<std::uint8_t, 256> second_not_stop;
    std::array<std::uint8_t, 256> second_stop;
    for (std::size_t first = 0; first < 256; ++first) {
        second_not_stop[first] = stop_bits[0][first];
        second_stop[first] = static_cast<std::uint8_t>(stop_bits[0][first] | 2u);
    }
    pairs.resize(256 * 256);
    for (std::size_t second = 0; second < 256; ++second) {
        const auto& row = stop_bits[1][second] != 0 ? second_stop : second_not_stop;
        std::memcpy(pairs.data() + (second << 8), row.data(), row.size());
    }
}

}  // namespace token_scan
