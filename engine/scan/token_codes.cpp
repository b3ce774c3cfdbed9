#include "scan/token_codes.h"

namespace token_scan {

void fill_codes(const std::vector<DelimiterEntry>& table, CodeTable& codes) {
    for (std::size_t code = 0; code < 256; ++code) {
        CodeInfo& info = codes[code];
        info = CodeInfo{nullptr, 0, 0, TokenKind::Text};
        if (code < near_delimiters) {
            info.kind = TokenKind::Delimiter;
            if (code < table.size()) {
                info.delimiter = &table[code];
                info.id = table[code].id;
                info.length = static_cast<std::uint32_t>(table[code].length);
            }
        } else if (code < short_text) {
            info.kind = TokenKind::Blank;
            info.length = static_cast<std::uint32_t>(code - short_blank + 1);
        } else if (code < chunk_end) {
            info.length = static_cast<std::uint32_t>(code - short_text + 1);
        }
    }
    codes[long_blank].kind = TokenKind::Blank;
    codes[far_delimiter].kind = TokenKind::Delimiter;
}

}  // namespace token_scan
