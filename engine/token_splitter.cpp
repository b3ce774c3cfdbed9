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
// From this size on a text is scanned two bytes per lookup; the table that takes costs
// about as much to build as the scan of this many bytes saves.
constexpr std::size_t pair_scan_size = 512 * 1024;

bool is_blank(unsigned char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
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

int TokenSplitter::add_focus(std::vector<std::int32_t> ids) {
    foci_.push_back(Focus{std::move(ids), {}, {}, {}});
    tables_ready_ = false;
    return static_cast<int>(foci_.size());
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
    take_block(std::move(block), size);
    build_tokens();
}

void TokenSplitter::take_block(std::unique_ptr<char[]> block, std::size_t size) {
    block[size] = '\0';
    std::string().swap(owned_string_);
    owned_block_ = std::move(block);
    text_ = owned_block_.get();
    text_size_ = size;
}

void TokenSplitter::view_text(std::string_view text) {
    std::string().swap(owned_string_);
    owned_block_.reset();
    // A view of no bytes may hold no pointer; the scan still copies from it.
    text_ = text.data() != nullptr ? text.data() : "";
    text_size_ = text.size();
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
            byte_entry_[byte] = plain_byte;
        } else if (table_[tries[0]].length == 1) {
            byte_entry_[byte] = tries[0];
        } else {
            byte_entry_[byte] = multi_byte;
            for (const std::uint32_t entry : tries) {
                const std::string& text = table_[entry].text;
                multi_tries_.push_back(MultiTry{entry, static_cast<std::uint32_t>(text.size()),
                                                static_cast<unsigned char>(text.size() > 1 ? text[1] : 0)});
            }
        }
    }
    multi_begin_[256] = static_cast<std::uint32_t>(multi_tries_.size());
    // No entry begins with a zero byte; one ends the text.
    byte_entry_[0] = end_byte;
    for (std::size_t byte = 0; byte < 256; ++byte) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            stop_bits_[bit][byte] = static_cast<std::uint8_t>((byte_entry_[byte] != plain_byte ? 1u : 0u) << bit);
        }
    }
    pair_stops_.clear();
    briefs_.clear();
    for (const DelimiterEntry& entry : table_) {
        briefs_.push_back(EntryBrief{entry.id, static_cast<std::uint32_t>(entry.length)});
    }
    focus_at_.assign(1, nullptr);
    for (Focus& focus : foci_) {
        focus.pair_stops.clear();
        prepare_focus(focus);
        focus_at_.push_back(&focus);
    }

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

void TokenSplitter::start_chunk(std::size_t capacity) {
    if (!chunks_.empty()) *put_at_ = chunk_end;
    chunks_.emplace_back(new std::uint8_t[capacity]);
    put_at_ = chunks_.back().get();
    put_limit_ = put_at_ + (capacity - chunk_slack);
}

void TokenSplitter::prepare_focus(Focus& focus) const {
    std::array<bool, 256> stop{};
    stop[0] = true;
    focus.kept.assign(table_.size(), 0);
    for (std::size_t index = 0; index < table_.size(); ++index) {
        const DelimiterEntry& entry = table_[index];
        if (entry.text.empty()) continue;
        if (std::find(focus.ids.begin(), focus.ids.end(), entry.id) == focus.ids.end()) continue;
        focus.kept[index] = 1;
        stop[static_cast<unsigned char>(entry.text[0])] = true;
    }
    // Until no entry that begins with a byte that is no stop holds a stop further on.
    for (bool grown = true; grown;) {
        grown = false;
        for (const DelimiterEntry& entry : table_) {
            if (entry.text.empty() || stop[static_cast<unsigned char>(entry.text[0])]) continue;
            const bool holds_stop = std::any_of(entry.text.begin() + 1, entry.text.end(),
                                                [&stop](char byte) { return stop[static_cast<unsigned char>(byte)]; });
            if (holds_stop) {
                stop[static_cast<unsigned char>(entry.text[0])] = true;
                grown = true;
            }
        }
    }
    for (std::size_t byte = 0; byte < 256; ++byte) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            focus.stop_bits[bit][byte] = static_cast<std::uint8_t>((stop[byte] ? 1u : 0u) << bit);
        }
    }
}

void TokenSplitter::fill_pair_stops(const StopBits& stop_bits, std::vector<std::uint8_t>& pairs) {
    // Every row is one of two: the first byte's bits, with or without the second's.
    std::array<std::uint8_t, 256> second_not_stop;
    std::array<std::uint8_t, 256> second_stop;
    for (std::size_t first = 0; first < 256; ++first) {
        second_not_stop[first] = stop_bits[0][first];
        second_stop[first] = static_cast<std::uint8_t>(stop_bits[0][first] | 2u);
    }
    pairs.resize(256 * 256);
    for (std::size_t second = 0; second < 256; ++second) {
        const auto& row = stop_bits[1][second] != 0 ? second_stop : second_not_stop;
        std::memcpy(pairs.data() + (second << 8), row.data(), row.size());
    }
}

bool TokenSplitter::prepare_scan() {
    if (!tables_ready_) prepare_tables();
    chunks_.clear();
    count_ = 0;
    walking_ = false;
    stop_walk();
    const bool pair_scan = text_size_ >= pair_scan_size;
    if (pair_scan && pair_stops_.empty()) {
        fill_pair_stops(stop_bits_, pair_stops_);
        for (Focus& focus : foci_) fill_pair_stops(focus.stop_bits, focus.pair_stops);
    }
    stop_tables_.assign(1, StopTables{&stop_bits_, pair_stops_.data()});
    for (const Focus& focus : foci_) stop_tables_.push_back(StopTables{&focus.stop_bits, focus.pair_stops.data()});
    return pair_scan;
}

// Writes each token's packed code into the chunks.
class TokenSplitter::Encoder {
public:
    explicit Encoder(TokenSplitter& splitter) : splitter_(splitter) {
        // Packed tokens rarely take more than half the text; a small text gets a small chunk.
        splitter.start_chunk(std::min(chunk_size, splitter.text_size_ / 2 + 2 * chunk_slack));
        out_ = splitter.put_at_;
        limit_ = splitter.put_limit_;
    }
    int run(TokenKind kind, std::size_t, std::size_t length) {
        make_room();
        if (kind == TokenKind::Text) {
            if (length <= short_text_max) {
                *out_++ = static_cast<std::uint8_t>(short_text + length - 1);
            } else {
                *out_++ = long_text;
                out_ = put_number(out_, length);
            }
        } else if (length <= short_blank_max) {
            *out_++ = static_cast<std::uint8_t>(short_blank + length - 1);
        } else {
            *out_++ = long_blank;
            out_ = put_number(out_, length);
        }
        ++count_;
        return every_token;
    }
    int delimiter(std::size_t entry, std::size_t) {
        make_room();
        if (entry < near_delimiters) {
            *out_++ = static_cast<std::uint8_t>(entry);
        } else {
            *out_++ = far_delimiter;
            out_ = put_number(out_, entry);
        }
        ++count_;
        return every_token;
    }
    void finish() {
        *out_++ = chunk_end;
        splitter_.put_at_ = out_;
        splitter_.count_ = static_cast<std::int32_t>(count_);
    }

private:
    void make_room() {
        if (out_ > limit_) {
            splitter_.put_at_ = out_;
            splitter_.start_chunk(chunk_size);
            out_ = splitter_.put_at_;
            limit_ = splitter_.put_limit_;
        }
    }

    TokenSplitter& splitter_;
    std::uint8_t* out_;
    std::uint8_t* limit_;
    std::size_t count_ = 0;
};

void TokenSplitter::build_tokens() {
    const bool pair_scan = prepare_scan();
    Encoder encoder(*this);
    scan(encoder, pair_scan);
    encoder.finish();
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
