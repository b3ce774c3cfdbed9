// TokenSplitter against the plain model on texts over 512 KiB: the text of the input
// (see splitter_input.h) repeated. Texts that large are scanned by pairs of bytes and give
// more than one chunk of token codes. A target of its own: each input takes a good part of a
// second, and its many repeated branches would crowd out small inputs in a shared corpus.
#include <cstddef>
#include <cstdint>
#include <string>

#include "splitter_checks.h"
#include "splitter_input.h"

namespace {

// Ends inside a 64-byte block, so the last block is a partial one.
constexpr std::size_t large_text = 512 * 1024 + 100;

// The text, up to its first zero byte (where a split ends it), repeated to exactly
// large_text bytes; empty stays empty.
std::string enlarged(const std::string& bytes) {
    const std::string text(bytes.c_str());
    if (text.empty()) return text;
    std::string large;
    large.reserve(large_text + text.size());
    while (large.size() < large_text) large += text;
    large.resize(large_text);
    return large;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SplitterInput input = decode_splitter_input(data, size);
    check_large(input.table, enlarged(input.text));
    return 0;
}
