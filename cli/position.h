// Where a byte offset stands in a text (line and column as compilers count them) and
// the caret marker that points at it below its line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "report.h"

// A line ends at LF; a CR before it belongs to the line. An offset past the text is
// taken as its end, which lies after the last byte.
TextPosition position_of(std::string_view text, std::size_t offset);

// The line holding `offset`, without its LF and without a CR directly before that LF.
std::string_view line_at(std::string_view text, std::size_t offset);

// The marker for `length` bytes from `column` (1-based) of `line`: "^" then "~" for the
// rest of the range that lies on the line. A tab before the caret stays a tab so the
// caret aligns however the tab is shown; in a line of valid UTF-8 each character takes
// one place, else each byte does.
std::string caret_marker(std::string_view line, std::size_t column, std::size_t length);
