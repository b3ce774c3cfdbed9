// TokenSplitter against the plain model on any delimiter table and text (see
// splitter_input.h for how the input is read and splitter_checks.h for what is checked).
#include <cstddef>
#include <cstdint>
#include <utility>

#include "splitter_checks.h"
#include "splitter_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SplitterInput input = decode_splitter_input(data, size);
    check_all_ways(std::move(input.table), input.late_entry, input.text);
    return 0;
}
