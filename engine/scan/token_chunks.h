// The packed token list of a split, kept in chunks so that growing it never copies it. No
// token's codes straddle two chunks; each chunk ends with chunk_end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace token_scan {

class TokenChunks {
public:
    void clear() { chunks_.clear(); }
    bool empty() const { return chunks_.empty(); }
    std::size_t size() const { return chunks_.size(); }
    const std::uint8_t* chunk(std::size_t index) const { return chunks_[index].get(); }
    // A new last chunk of `capacity` bytes, to be written from its start.
    std::uint8_t* add(std::size_t capacity) {
        chunks_.emplace_back(new std::uint8_t[capacity]);
        return chunks_.back().get();
    }

private:
    std::vector<std::unique_ptr<std::uint8_t[]>> chunks_;
};

}  // namespace token_scan
