#include "token_splitter.h"

#include <cstring>

namespace {

// Packed kind bytes. Delimiters with a small table index carry it in the byte itself.
constexpr std::uint8_t packed_text = 0;
constexpr std::uint8_t packed_blank = 1;
constexpr std::uint8_t packed_far_delimiter = 2;
constexpr std::uint8_t packed_near_delimiter = 3;
constexpr std::size_t near_delimiters = 256 - packed_near_delimiter;

bool is_blank(unsigned char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

}  // namespace

void TokenSplitter::add_delimiter(std::int32_t id, const char* text) {
    const std::string bytes = text == nullptr ? std::string() : std::string(text);
    const auto index = static_cast<std::uint32_t>(table_.size());
    table_.push_back(DelimiterEntry{id, bytes, static_cast<std::int32_t>(bytes.size())});
    if (!bytes.empty()) candidates_[static_cast<unsigned char>(bytes[0])].push_back(index);
}

void TokenSplitter::split(const char* text) {
    split(std::string(text == nullptr ? "" : text));
}

void TokenSplitter::split(std::string text) {
    const void* zero = std::memchr(text.data(), '\0', text.size());
    if (zero != nullptr) text.resize(static_cast<std::size_t>(static_cast<const char*>(zero) - text.data()));
    text_ = std::move(text);
    build_tokens();
}

void TokenSplitter::build_tokens() {
    packed_.clear();
    packed_.shrink_to_fit();
    packed_.reserve(text_.size() / 2 + 16);
    count_ = 0;
    walking_ = false;

    const char* bytes = text_.data();
    const std::size_t size = text_.size();
    std::size_t i = 0;
    std::size_t run_start = 0;
    bool run_pending = false;
    bool run_is_text = false;

    while (i < size) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const std::vector<std::uint32_t>& tries = candidates_[byte];
        const DelimiterEntry* matched = nullptr;
        std::uint32_t matched_index = 0;
        for (std::uint32_t index : tries) {
            const DelimiterEntry& entry = table_[index];
            const auto length = static_cast<std::size_t>(entry.length);
            if (size - i >= length && std::memcmp(bytes + i, entry.text.data(), length) == 0) {
                matched = &entry;
                matched_index = index;
                break;
            }
        }
        if (matched != nullptr) {
            if (run_pending) {
                append_run(run_is_text ? TokenKind::Text : TokenKind::Blank, i - run_start);
                run_pending = false;
            }
            append_delimiter(matched_index);
            i += static_cast<std::size_t>(matched->length);
            continue;
        }
        if (!run_pending) {
            run_pending = true;
            run_start = i;
            run_is_text = false;
        }
        if (!is_blank(byte)) run_is_text = true;
        ++i;
    }
    if (run_pending) append_run(run_is_text ? TokenKind::Text : TokenKind::Blank, size - run_start);
}

void TokenSplitter::append_number(std::size_t value) {
    while (value >= 0x80) {
        packed_.push_back(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    packed_.push_back(static_cast<std::uint8_t>(value));
}

std::size_t TokenSplitter::read_number() {
    std::size_t value = 0;
    unsigned shift = 0;
    for (;;) {
        const std::uint8_t byte = packed_[read_at_++];
        value |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return value;
        shift += 7;
    }
}

void TokenSplitter::append_run(TokenKind kind, std::size_t length) {
    packed_.push_back(kind == TokenKind::Text ? packed_text : packed_blank);
    append_number(length);
    ++count_;
}

void TokenSplitter::append_delimiter(std::size_t entry) {
    if (entry < near_delimiters) {
        packed_.push_back(static_cast<std::uint8_t>(packed_near_delimiter + entry));
    } else {
        packed_.push_back(packed_far_delimiter);
        append_number(entry);
    }
    ++count_;
}

const Token* TokenSplitter::first() {
    read_at_ = 0;
    text_at_ = 0;
    walking_ = true;
    return decode();
}

const Token* TokenSplitter::next() {
    if (!walking_) return first();
    return decode();
}

const Token* TokenSplitter::decode() {
    if (read_at_ >= packed_.size()) return nullptr;
    const std::uint8_t kind = packed_[read_at_++];
    if (kind == packed_text || kind == packed_blank) {
        const std::size_t length = read_number();
        current_ = Token{kind == packed_text ? TokenKind::Text : TokenKind::Blank,
                         static_cast<std::int32_t>(text_at_), static_cast<std::int32_t>(length),
                         nullptr, std::string_view(text_.data() + text_at_, length)};
        text_at_ += length;
        return &current_;
    }
    const std::size_t entry = kind == packed_far_delimiter ? read_number()
                                                           : static_cast<std::size_t>(kind - packed_near_delimiter);
    const DelimiterEntry& delimiter = table_[entry];
    current_ = Token{TokenKind::Delimiter, static_cast<std::int32_t>(text_at_), delimiter.length, &delimiter, {}};
    text_at_ += static_cast<std::size_t>(delimiter.length);
    return &current_;
}
