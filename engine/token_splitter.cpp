#include "token_splitter.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Big enough that a large text needs few chunks, small enough that the last one wastes
// little and that no single allocation needs a large contiguous block.
constexpr std::size_t chunk_size = 256 * 1024;
// Kept free at the end of a chunk: room for a run and a delimiter, each with a number,
// and the chunk_end code.
constexpr std::size_t chunk_slack = 32;
constexpr std::size_t no_match = static_cast<std::size_t>(-1);
// From this size on a text is scanned two bytes per lookup; the table that takes costs
// about as much to build as the scan of this many bytes saves.
constexpr std::size_t pair_scan_size = 512 * 1024;

bool is_blank(unsigned char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

// The index of the lowest set bit of a non-zero mask, by a de Bruijn sequence (a form
// compilers turn into a single instruction where there is one).
unsigned lowest_bit(std::uint64_t mask) {
    static const std::uint8_t positions[64] = {
        0, 1, 48, 2, 57, 49, 28, 3, 61, 58, 50, 42, 38, 29, 17, 4, 62, 55, 59, 36, 53, 51,
        43, 22, 45, 39, 33, 30, 24, 18, 12, 5, 63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21,
        44, 32, 23, 11, 46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9, 13, 8, 7, 6};
    return positions[((mask & (~mask + 1)) * 0x03f79d71b4cb0a89ull) >> 58];
}

std::uint8_t* put_number(std::uint8_t* out, std::size_t value) {
    while (value >= 0x80) {
        *out++ = static_cast<std::uint8_t>(value | 0x80);
        value >>= 7;
    }
    *out++ = static_cast<std::uint8_t>(value);
    return out;
}

}  // namespace

void TokenSplitter::add_delimiter(std::int32_t id, const char* text) {
    const std::string bytes = text == nullptr ? std::string() : std::string(text);
    table_.push_back(DelimiterEntry{id, bytes, static_cast<std::int32_t>(bytes.size())});
    tables_ready_ = false;
}

void TokenSplitter::split(const char* text) {
    const char* source = text == nullptr ? "" : text;
    const std::size_t size = std::strlen(source);
    std::unique_ptr<char[]> block(new char[size + 1]);
    std::memcpy(block.get(), source, size);
    split(std::move(block), size);
}

void TokenSplitter::split(std::string text) {
    owned_block_.reset();
    owned_string_ = std::move(text);
    text_ = owned_string_.c_str();
    text_size_ = owned_string_.size();
    build_tokens();
}

void TokenSplitter::split(std::unique_ptr<char[]> block, std::size_t size) {
    block[size] = '\0';
    std::string().swap(owned_string_);
    owned_block_ = std::move(block);
    text_ = owned_block_.get();
    text_size_ = size;
    build_tokens();
}

// At any position only the entries that begin with the byte there can match, tried in
// registration order; the first one-byte entry among them always matches, so the entries
// after it never do.
void TokenSplitter::prepare_tables() {
    std::array<std::vector<std::uint32_t>, 256> by_first;
    for (std::size_t index = 0; index < table_.size(); ++index) {
        const std::string& text = table_[index].text;
        if (text.empty()) continue;
        std::vector<std::uint32_t>& tries = by_first[static_cast<unsigned char>(text[0])];
        if (!tries.empty() && table_[tries.back()].length == 1) continue;
        tries.push_back(static_cast<std::uint32_t>(index));
    }
    multi_tries_.clear();
    for (std::size_t byte = 0; byte < 256; ++byte) {
        const std::vector<std::uint32_t>& tries = by_first[byte];
        multi_begin_[byte] = static_cast<std::uint32_t>(multi_tries_.size());
        blank_[byte] = is_blank(static_cast<unsigned char>(byte)) ? 1 : 0;
        if (tries.empty()) {
            action_[byte] = Plain;
        } else if (table_[tries[0]].length == 1) {
            action_[byte] = Single;
            single_entry_[byte] = tries[0];
        } else {
            action_[byte] = Multi;
            for (const std::uint32_t entry : tries) {
                const std::string& text = table_[entry].text;
                multi_tries_.push_back(MultiTry{entry, static_cast<std::uint32_t>(text.size()),
                                                static_cast<unsigned char>(text.size() > 1 ? text[1] : 0)});
            }
        }
    }
    multi_begin_[256] = static_cast<std::uint32_t>(multi_tries_.size());
    // No entry begins with a zero byte; one ends the text.
    action_[0] = End;
    for (std::size_t byte = 0; byte < 256; ++byte) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            stop_bits_[bit][byte] = static_cast<std::uint8_t>((action_[byte] != Plain ? 1u : 0u) << bit);
        }
    }
    pair_stops_.clear();

    for (std::size_t code = 0; code < 256; ++code) {
        CodeInfo& info = codes_[code];
        info = CodeInfo{nullptr, 0, 0, TokenKind::Text};
        if (code < near_delimiters) {
            info.kind = TokenKind::Delimiter;
            if (code < table_.size()) {
                info.delimiter = &table_[code];
                info.id = table_[code].id;
                info.length = static_cast<std::uint32_t>(table_[code].length);
            }
        } else if (code < short_text) {
            info.kind = TokenKind::Blank;
            info.length = static_cast<std::uint32_t>(code - short_blank + 1);
        } else if (code < chunk_end) {
            info.length = static_cast<std::uint32_t>(code - short_text + 1);
        }
    }
    codes_[long_blank].kind = TokenKind::Blank;
    codes_[far_delimiter].kind = TokenKind::Delimiter;
    tables_ready_ = true;
}

// The first entry matching at `at`, whose byte is a Multi byte. Bytes are compared one by
// one, so the zero after the text stops a comparison before it can read past it.
inline std::size_t TokenSplitter::match_at(const unsigned char* at) const {
    const unsigned char first = *at;
    for (std::uint32_t k = multi_begin_[first]; k < multi_begin_[first + 1u]; ++k) {
        const MultiTry& option = multi_tries_[k];
        if (option.length == 1) return option.entry;
        if (at[1] != option.second) continue;
        const std::string& text = table_[option.entry].text;
        std::size_t i = 2;
        while (i < option.length && at[i] == static_cast<unsigned char>(text[i])) ++i;
        if (i == option.length) return option.entry;
    }
    return no_match;
}

void TokenSplitter::start_chunk(std::size_t capacity) {
    if (!chunks_.empty()) *put_at_ = chunk_end;
    chunks_.emplace_back(new std::uint8_t[capacity]);
    put_at_ = chunks_.back().get();
    put_limit_ = put_at_ + (capacity - chunk_slack);
}

// The bit of each byte of a 64-byte block that is a stop: the first byte of a delimiter or
// a zero. Eight lookups in tables shifted in advance give the bits of eight bytes at once.
std::uint64_t TokenSplitter::stop_mask(const unsigned char* block) const {
    std::uint64_t mask = 0;
    for (unsigned group = 0; group < 8; ++group) {
        const unsigned char* b = block + 8 * group;
        const unsigned bits = stop_bits_[0][b[0]] | stop_bits_[1][b[1]] | stop_bits_[2][b[2]] |
                              stop_bits_[3][b[3]] | stop_bits_[4][b[4]] | stop_bits_[5][b[5]] |
                              stop_bits_[6][b[6]] | stop_bits_[7][b[7]];
        mask |= static_cast<std::uint64_t>(bits) << (8 * group);
    }
    return mask;
}

// The same with half the lookups, in a table of 64 KiB.
std::uint64_t TokenSplitter::pair_stop_mask(const unsigned char* block) const {
    const std::uint8_t* pairs = pair_stops_.data();
    std::uint64_t mask = 0;
    for (unsigned group = 0; group < 8; ++group) {
        const unsigned char* b = block + 8 * group;
        const unsigned bits = pairs[b[0] | b[1] << 8] | pairs[b[2] | b[3] << 8] << 2 |
                              pairs[b[4] | b[5] << 8] << 4 | pairs[b[6] | b[7] << 8] << 6;
        mask |= static_cast<std::uint64_t>(bits) << (8 * group);
    }
    return mask;
}

// The text is taken in blocks of 64 bytes: a mask of the block's stops first, then its
// stops one by one. Neither the work nor the branches depend on the length of text runs,
// which keeps the branches predictable. The zero byte after the text is the last stop;
// the block that holds it is copied into a zero-padded buffer first.
void TokenSplitter::build_tokens() {
    if (!tables_ready_) prepare_tables();
    chunks_.clear();
    walking_ = false;
    stop_walk();
    // Packed tokens rarely take more than half the text; a small text gets a small chunk.
    start_chunk(std::min(chunk_size, text_size_ / 2 + 2 * chunk_slack));

    const bool pair_scan = text_size_ >= pair_scan_size;
    if (pair_scan && pair_stops_.empty()) {
        pair_stops_.resize(256 * 256);
        for (std::size_t second = 0; second < 256; ++second) {
            const auto second_bit = static_cast<std::uint8_t>(stop_bits_[1][second]);
            std::uint8_t* row = pair_stops_.data() + (second << 8);
            for (std::size_t first = 0; first < 256; ++first) row[first] = stop_bits_[0][first] | second_bit;
        }
    }

    const auto* const text = reinterpret_cast<const unsigned char*>(text_);
    const std::size_t readable = text_size_ + 1;
    std::size_t run = 0;     // start of the pending run
    std::size_t resume = 0;  // stops before this lie inside a delimiter already taken
    std::size_t count = 0;
    std::uint8_t* out = put_at_;
    std::uint8_t* limit = put_limit_;
    unsigned char last_block[64];

    auto make_room = [&] {
        if (out > limit) {
            put_at_ = out;
            start_chunk(chunk_size);
            out = put_at_;
            limit = put_limit_;
        }
    };
    // A run is Text as soon as one byte is not blank; most runs show it in their first byte.
    auto put_run = [&](std::size_t end) {
        const std::size_t length = end - run;
        std::size_t i = run;
        while (i != end && blank_[text[i]] != 0) ++i;
        if (i != end) {
            if (length <= short_text_max) {
                *out++ = static_cast<std::uint8_t>(short_text + length - 1);
            } else {
                *out++ = long_text;
                out = put_number(out, length);
            }
        } else if (length <= short_blank_max) {
            *out++ = static_cast<std::uint8_t>(short_blank + length - 1);
        } else {
            *out++ = long_blank;
            out = put_number(out, length);
        }
        ++count;
    };

    for (std::size_t block = 0;; block += 64) {
        const unsigned char* bytes = text + block;
        if (readable - block < 64) {
            std::memset(last_block, 0, sizeof last_block);
            std::memcpy(last_block, bytes, readable - block);
            bytes = last_block;
        }
        std::uint64_t stops = pair_scan ? pair_stop_mask(bytes) : stop_mask(bytes);
        while (stops != 0) {
            const std::size_t at = block + lowest_bit(stops);
            stops &= stops - 1;
            if (at < resume) continue;
            const unsigned char byte = bytes[at - block];
            std::size_t entry;
            std::size_t length = 1;
            if (action_[byte] == Single) {
                entry = single_entry_[byte];
            } else if (action_[byte] == Multi) {
                entry = match_at(text + at);
                if (entry == no_match) continue;
                length = static_cast<std::size_t>(table_[entry].length);
            } else {
                make_room();
                if (at != run) put_run(at);
                *out++ = chunk_end;
                put_at_ = out;
                count_ = static_cast<std::int32_t>(count);
                return;
            }
            make_room();
            if (at != run) put_run(at);
            if (entry < near_delimiters) {
                *out++ = static_cast<std::uint8_t>(entry);
            } else {
                *out++ = far_delimiter;
                out = put_number(out, entry);
            }
            ++count;
            run = at + length;
            resume = run;
        }
    }
}

const Token* TokenSplitter::first() {
    if (!tables_ready_) prepare_tables();
    walking_ = true;
    reader_ = Reader(*this);
    return refill();
}

void TokenSplitter::stop_walk() {
    cursor_ = batch_.data();
    batch_end_ = cursor_ + 1;
}

const Token* TokenSplitter::refill() {
    if (!walking_) return first();
    Token* out = batch_.data();
    Token* const out_end = out + batch_size;
    // A local copy keeps the decoding state in registers.
    Reader reader = reader_;
    while (out != out_end && reader.next()) *out++ = reader.token();
    reader_ = reader;
    if (out == batch_.data()) {
        stop_walk();
        return nullptr;
    }
    cursor_ = batch_.data();
    batch_end_ = out;
    return cursor_;
}
