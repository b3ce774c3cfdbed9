#include "scan/token_encoder.h"

#include <algorithm>

namespace token_scan {

Encoder::Encoder(TokenChunks& chunks, std::size_t text_size) : chunks_(chunks) {
    // Packed tokens rarely take more than half the text; a small text gets a small chunk.
    start_chunk(std::min(chunk_size, text_size / 2 + 2 * chunk_slack));
}

void Encoder::start_chunk(std::size_t capacity) {
    if (out_ != nullptr) *out_ = chunk_end;
    out_ = chunks_.add(capacity);
    limit_ = out_ + (capacity - chunk_slack);
}

}  // namespace token_scan
