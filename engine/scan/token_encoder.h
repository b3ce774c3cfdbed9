// Writes the packed code of each token the scan finds into the chunks of a token list: the
// sink of a split.
#pragma once

#include <cstddef>
#include <cstdint>

#include "scan/token.h"
#include "scan/token_chunks.h"
#include "scan/token_codes.h"
#include "scan/visit_answer.h"

namespace token_scan {

class Encoder {
public:
    // Starts the list in `chunks`, which must be empty, for a text of `text_size` bytes.
    Encoder(TokenChunks& chunks, std::size_t text_size);
    int run(TokenKind kind, std::size_t, std::size_t length) {
        make_room();
        if (kind == TokenKind::Text) {
            if (length <= short_text_max) {
                *out_++ = static_cast<std::uint8_t>(short_text + length - 1);
            } else {
                *out_++ = long_text;
                out_ = put_number(out_, length);
            }
        } else if (length <= short_blank_max) {
            *out_++ = static_cast<std::uint8_t>(short_blank + length - 1);
        } else {
            *out_++ = long_blank;
            out_ = put_number(out_, length);
        }
        ++count_;
        return every_token;
    }
    int delimiter(std::size_t entry, std::size_t) {
        make_room();
        if (entry < near_delimiters) {
            *out_++ = static_cast<std::uint8_t>(entry);
        } else {
            *out_++ = far_delimiter;
            out_ = put_number(out_, entry);
        }
        ++count_;
        return every_token;
    }
    // Ends the list; returns how many tokens it holds.
    std::size_t finish() {
        *out_++ = chunk_end;
        return count_;
    }

private:
    static std::uint8_t* put_number(std::uint8_t* out, std::size_t value) {
        while (value >= 0x80) {
            *out++ = static_cast<std::uint8_t>(value | 0x80);
            value >>= 7;
        }
        *out++ = static_cast<std::uint8_t>(value);
        return out;
    }
    void make_room() {
        if (out_ > limit_) start_chunk(chunk_size);
    }
    void start_chunk(std::size_t capacity);

    // Big enough that a large text needs few chunks, small enough that the last one wastes
    // little and that no single allocation needs a large contiguous block.
    static constexpr std::size_t chunk_size = 256 * 1024;
    // Kept free at the end of a chunk: room for a run and a delimiter, each with a number,
    // and the chunk_end code.
    static constexpr std::size_t chunk_slack = 32;

    TokenChunks& chunks_;
    std::uint8_t* out_ = nullptr;
    std::uint8_t* limit_ = nullptr;
    std::size_t count_ = 0;
};

}  // namespace token_scan
