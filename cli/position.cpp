#include "position.h"

#include <algorithm>

#include "byte_text.h"
#include "position_cursor.h"

TextPosition position_of(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::string_view before = text.substr(0, offset);
    TextPosition position;
    position.line = 1 + std::count(before.begin(), before.end(), '\n');
    const std::size_t last_lf = before.rfind('\n');
    const std::size_t line_start = last_lf == std::string_view::npos ? 0 : last_lf + 1;
    position.column = static_cast<std::int64_t>(offset - line_start) + 1;
    return position;
}

std::string_view line_at(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::size_t last_lf = text.substr(0, offset).rfind('\n');
    const std::size_t start = last_lf == std::string_view::npos ? 0 : last_lf + 1;
    std::size_t end = text.find('\n', offset);
    if (end == std::string_view::npos) return text.substr(start);
    if (end > start && text[end - 1] == '\r') --end;
    return text.substr(start, end - start);
}

std::string caret_marker(std::string_view line, std::size_t column, std::size_t length) {
    const std::size_t at = std::min(column == 0 ? 0 : column - 1, line.size());
    const bool by_character = is_valid_utf8(line);
    const auto takes_place = [&](char byte) {
        return !(by_character && is_utf8_continuation(static_cast<unsigned char>(byte)));
    };
    std::string marker;
    for (char byte : line.substr(0, at)) {
        if (byte == '\t') {
            marker += '\t';
        } else if (takes_place(byte)) {
            marker += ' ';
        }
    }
    marker += '^';
    const std::size_t end = at + std::min(length, line.size() - at);
    for (std::size_t i = at + 1; i < end; ++i) {
        if (takes_place(line[i])) marker += '~';
    }
    return marker;
}

TextPosition PositionCursor::at(std::size_t offset) {
    offset = std::min(offset, text_.size());
    if (offset < offset_) *this = PositionCursor(text_);
    for (std::size_t lf = text_.find('\n', offset_); lf != std::string_view::npos && lf < offset;
         lf = text_.find('\n', lf + 1)) {
        ++line_;
        line_start_ = lf + 1;
    }
    offset_ = offset;
    return TextPosition{line_, static_cast<std::int64_t>(offset - line_start_) + 1};
}
