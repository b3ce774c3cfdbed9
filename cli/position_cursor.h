// Positions of many offsets in one text, found in one pass when they come in order (as a
// file's findings do): each step counts only the lines since the last offset.
#pragma once

#include <cstddef>
#include <string_view>

#include "report.h"

class PositionCursor {
public:
    explicit PositionCursor(std::string_view text) : text_(text) {}

    // As position_of(text, offset); an offset before the last one starts the count again.
    TextPosition at(std::size_t offset);

private:
    std::string_view text_;
    std::size_t offset_ = 0;
    std::int64_t line_ = 1;
    std::size_t line_start_ = 0;
};
