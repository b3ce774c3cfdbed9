#include "byte_text.h"

std::size_t utf16_length(std::string_view bytes) {
    if (!is_valid_utf8(bytes)) return bytes.size();
    std::size_t units = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8_sequence_length(bytes, i);
        units += length == 4 ? 2 : 1;
        i += length;
    }
    return units;
}

std::string base64(std::string_view bytes) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        unsigned long group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            group <<= 8;
            if (k < n) group |= static_cast<unsigned char>(bytes[i + k]);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? alphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return out;
}
