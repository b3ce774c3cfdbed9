// TokenSplitter: cuts a whole text into Text, Blank and Delimiter tokens by a table of
// delimiter strings (first match in registration order). It knows no file format.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class TokenKind : std::uint8_t { Text = 0, Blank = 1, Delimiter = 2 };

struct DelimiterEntry {
    std::int32_t id;
    std::string text;
    std::int32_t length;
};

// One token as handed out by first()/next(). `text` views the run's bytes inside the
// splitter's copy of the text (valid until the next split); it is empty for delimiters.
struct Token {
    TokenKind kind;
    std::int32_t start;
    std::int32_t length;
    const DelimiterEntry* delimiter;
    std::string_view text;
};

class TokenSplitter {
public:
    TokenSplitter() = default;
    // Tokens and the walk point into the splitter's own table and text.
    TokenSplitter(const TokenSplitter&) = delete;
    TokenSplitter& operator=(const TokenSplitter&) = delete;

    // An empty `text` is kept in the table but never matches (it would match everywhere).
    void add_delimiter(std::int32_t id, const char* text);
    // Replaces the tokens with those of `text`, which ends at its first zero byte.
    void split(const char* text);
    // The same, taking over the caller's buffer instead of copying it.
    void split(std::string text);
    // The same, taking over a block of at least size + 1 bytes whose first `size` bytes
    // hold the text; the byte after them is set to zero here.
    void split(std::unique_ptr<char[]> block, std::size_t size);

    std::int32_t count() const { return count_; }
    // The first token, or null when there is none; restarts the walk.
    const Token* first();
    // The token after the one last handed out, or null past the last one.
    const Token* next() { return ++cursor_ < batch_end_ ? cursor_ : refill(); }

    // The same tokens for a walk that looks at most of them only by kind and delimiter id:
    // a step decodes one packed code and builds no Token. Valid from a split until the next
    // split or add_delimiter.
    class Reader {
    public:
        explicit Reader(const TokenSplitter& splitter);
        // Steps to the next token, the first one at the first call; false past the last.
        bool next();
        TokenKind kind() const { return kind_; }
        // The id of a Delimiter token's entry.
        std::int32_t id() const { return id_; }
        std::int32_t length() const { return static_cast<std::int32_t>(length_); }
        // The bytes of a Text or Blank token.
        std::string_view text() const { return std::string_view(splitter_->text_ + start_, length_); }
        // The whole token, as next() would give it.
        Token token() const;

    private:
        bool next_long();

        const TokenSplitter* splitter_;
        std::size_t chunk_ = 0;
        const std::uint8_t* in_;
        std::size_t at_ = 0;  // start of the next token
        std::size_t start_ = 0;
        std::size_t length_ = 0;
        TokenKind kind_ = TokenKind::Text;
        std::int32_t id_ = 0;
        const DelimiterEntry* delimiter_ = nullptr;
    };

private:
    // Packed token codes, one per token: a delimiter of a small table index is that index,
    // a short run carries its length in the code, anything else is an escape code followed
    // by a LEB128 number. Every chunk ends with chunk_end.
    static constexpr std::size_t near_delimiters = 64;    // 0..63: the table index
    static constexpr std::uint8_t short_blank = 64;       // 64..95: Blank of 1..32 bytes
    static constexpr std::uint8_t short_text = 96;        // 96..251: Text of 1..156 bytes
    static constexpr std::uint8_t chunk_end = 252;
    static constexpr std::uint8_t long_text = 253;        // then the length
    static constexpr std::uint8_t long_blank = 254;       // then the length
    static constexpr std::uint8_t far_delimiter = 255;    // then the table index
    static constexpr std::size_t short_blank_max = short_text - short_blank;
    static constexpr std::size_t short_text_max = chunk_end - short_text;
    // What a walk reads when there is no token list at all.
    static constexpr std::uint8_t no_tokens[1] = {chunk_end};

    // What a byte does: nothing, end the text, always begin one entry, or begin entries
    // that must be compared.
    enum ByteAction : std::uint8_t { Plain, End, Single, Multi };

    // Tokens are decoded this many at a time, so that next() is mostly a step in an array.
    static constexpr std::size_t batch_size = 64;

    void prepare_tables();
    void build_tokens();
    void start_chunk(std::size_t capacity);
    std::uint64_t stop_mask(const unsigned char* block) const;
    std::uint64_t pair_stop_mask(const unsigned char* block) const;
    std::size_t match_at(const unsigned char* at) const;
    // Decodes the next batch and hands out its first token; also serves next() before
    // first() and past the last token.
    const Token* refill();
    void stop_walk();

    std::vector<DelimiterEntry> table_;
    bool tables_ready_ = false;
    // The action of each byte; every byte but a Plain one is a stop.
    std::array<std::uint8_t, 256> action_{};
    std::array<std::uint8_t, 256> blank_{};
    // stop_bits_[k][byte]: bit k set when `byte` is a stop.
    std::array<std::array<std::uint8_t, 256>, 8> stop_bits_{};
    // For large texts: for two bytes a, b, pair_stops_[a | b << 8] holds bit 0 when a is a
    // stop and bit 1 when b is; empty until a large text needs it.
    std::vector<std::uint8_t> pair_stops_;
    // For a Single byte, the entry it always is; for a Multi byte, where its entries
    // (those that can still match, in registration order) begin in multi_tries_.
    std::array<std::uint32_t, 256> single_entry_{};
    struct MultiTry {
        std::uint32_t entry;
        std::uint32_t length;
        unsigned char second;  // the entry's second byte, when it has one
    };
    std::array<std::uint32_t, 257> multi_begin_{};
    std::vector<MultiTry> multi_tries_;

    // What each packed code decodes to; a length of 0 marks an escape code.
    struct CodeInfo {
        const DelimiterEntry* delimiter;
        std::int32_t id;
        std::uint32_t length;
        TokenKind kind;
    };
    std::array<CodeInfo, 256> codes_{};

    std::string owned_string_;
    std::unique_ptr<char[]> owned_block_;
    const char* text_ = "";
    std::size_t text_size_ = 0;

    // The packed token list is kept in chunks, so that growing it never copies it. No
    // token's codes straddle two chunks.
    std::vector<std::unique_ptr<std::uint8_t[]>> chunks_;
    std::uint8_t* put_at_ = nullptr;
    std::uint8_t* put_limit_ = nullptr;
    std::int32_t count_ = 0;

    bool walking_ = false;
    Reader reader_{*this};
    std::array<Token, batch_size> batch_{};
    // The token last handed out and the end of the decoded batch; when no batch is being
    // handed out, cursor_ + 1 == batch_end_, so that next() asks refill().
    const Token* cursor_ = batch_.data();
    const Token* batch_end_ = batch_.data() + 1;
};

inline TokenSplitter::Reader::Reader(const TokenSplitter& splitter)
    : splitter_(&splitter), in_(splitter.chunks_.empty() ? no_tokens : splitter.chunks_[0].get()) {}

inline bool TokenSplitter::Reader::next() {
    const CodeInfo* info = &splitter_->codes_[*in_];
    // Escape codes and chunk ends have no length of their own.
    while (info->length == 0) {
        if (*in_ != chunk_end) return next_long();
        if (chunk_ + 1 >= splitter_->chunks_.size()) return false;
        in_ = splitter_->chunks_[++chunk_].get();
        info = &splitter_->codes_[*in_];
    }
    ++in_;
    kind_ = info->kind;
    id_ = info->id;
    delimiter_ = info->delimiter;
    length_ = info->length;
    start_ = at_;
    at_ += length_;
    return true;
}

// An escape code: a long run or a delimiter of a large table index. Inline like next(), so
// that a Reader that lives in a local variable can stay in registers.
inline bool TokenSplitter::Reader::next_long() {
    const std::uint8_t code = *in_++;
    std::size_t number = 0;
    unsigned shift = 0;
    std::uint8_t byte;
    do {
        byte = *in_++;
        number |= static_cast<std::size_t>(byte & 0x7F) << shift;
        shift += 7;
    } while ((byte & 0x80) != 0);
    kind_ = splitter_->codes_[code].kind;
    delimiter_ = nullptr;
    length_ = number;
    if (code == far_delimiter) {
        delimiter_ = &splitter_->table_[number];
        id_ = delimiter_->id;
        length_ = static_cast<std::size_t>(delimiter_->length);
    }
    start_ = at_;
    at_ += length_;
    return true;
}

inline Token TokenSplitter::Reader::token() const {
    return Token{kind_, static_cast<std::int32_t>(start_), static_cast<std::int32_t>(length_), delimiter_,
                 std::string_view(splitter_->text_ + start_, delimiter_ == nullptr ? length_ : 0)};
}
