// The token splitter targets' input, front to back: a table size byte, then per entry an
// id byte, a length byte and that many bytes, one more entry (added after the first splits),
// then the text. Data that ends early gives fewer and shorter entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "reference_splitter.h"

struct SplitterInput {
    std::vector<ReferenceDelimiter> table;
    ReferenceDelimiter late_entry;
    std::string text;
};

SplitterInput decode_splitter_input(const std::uint8_t* data, std::size_t size);
