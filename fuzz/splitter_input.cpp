#include "splitter_input.h"

#include <algorithm>

namespace {

// More entries than the splitter packs into one code byte, so far delimiters are reached.
constexpr std::size_t max_entries = 80;
constexpr std::size_t max_entry_length = 6;

// Reads the input front to back; past its end every byte is 0.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    std::size_t entry_count() { return byte() % (max_entries + 1); }

    ReferenceDelimiter entry() {
        // Negative ids too: the splitter must not read meaning into them.
        const auto id = static_cast<std::int32_t>(static_cast<std::int8_t>(byte()));
        const std::size_t length = std::min<std::size_t>(byte() % (max_entry_length + 1), size_ - at_);
        const std::string bytes(reinterpret_cast<const char*>(data_) + at_, length);
        at_ += length;
        return ReferenceDelimiter{id, std::string(bytes.c_str())};
    }

    std::string rest() {
        std::string text(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
        at_ = size_;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

SplitterInput decode_splitter_input(const std::uint8_t* data, std::size_t size) {
    InputReader in(data, size);
    SplitterInput input;
    const std::size_t entries = in.entry_count();
    for (std::size_t i = 0; i < entries; ++i) input.table.push_back(in.entry());
    input.late_entry = in.entry();
    input.text = in.rest();
    return input;
}
