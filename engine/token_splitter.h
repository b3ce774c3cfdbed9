// TokenSplitter: cuts a whole text into Text, Blank and Delimiter tokens by a table of
// delimiter strings (first match in registration order). It knows no file format.
#pragma once

#include <array>
#include <cstring>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
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

    // What a visitor of visit_tokens() returns: stop, go on with every token, or go on
    // with a focus.
    static constexpr int stop_visit = -1;
    static constexpr int every_token = 0;
    // A focus: while a visitor asks for it, it is handed only Delimiter tokens whose id is
    // among `ids`, found where a split would find them; the text between them is skipped
    // unseen. For a walk that ignores everything else in some state. Returns the focus's
    // number, 1 for the first one added, and so on.
    int add_focus(std::vector<std::int32_t> ids);
    // Replaces the tokens with those of `text`, which ends at its first zero byte.
    void split(const char* text);
    // The same, taking over the caller's buffer instead of copying it.
    void split(std::string text);
    // The same, taking over a block of at least size + 1 bytes whose first `size` bytes
    // hold the text; the byte after them is set to zero here.
    void split(std::unique_ptr<char[]> block, std::size_t size);

    // A token as visit_tokens() finds it; it answers what a Reader answers.
    class Found {
    public:
        TokenKind kind() const { return kind_; }
        std::int32_t id() const { return id_; }
        std::int32_t length() const { return static_cast<std::int32_t>(length_); }
        std::string_view text() const { return std::string_view(text_ + start_, length_); }
        Token token() const {
            return Token{kind_, static_cast<std::int32_t>(start_), static_cast<std::int32_t>(length_), delimiter_,
                         std::string_view(text_ + start_, delimiter_ == nullptr ? length_ : 0)};
        }

    private:
        friend class TokenSplitter;
        const char* text_ = "";
        std::size_t start_ = 0;
        std::size_t length_ = 0;
        TokenKind kind_ = TokenKind::Text;
        std::int32_t id_ = 0;
        const DelimiterEntry* delimiter_ = nullptr;
    };

    // Takes over the block as split() does, but hands each token to `visit` as soon as it
    // is found, and keeps no token list: a walk that needs each token once pays neither for
    // storing nor for decoding it. `visit` is called with a const Found& and returns
    // stop_visit, every_token or a focus. Afterwards count() is 0 and first() finds none.
    // False when `visit` stopped.
    template <class Visit>
    bool visit_tokens(std::unique_ptr<char[]> block, std::size_t size, Visit&& visit);
    // Visits the tokens of `text` as visit_tokens() visits those of a block holding the
    // same bytes, but reads them in place: no copy, no zero byte needed after them, and no
    // byte read past them (a zero byte among them still ends the text). Each Found views
    // the caller's bytes. Afterwards count() is 0, first() finds none, and the splitter
    // keeps no pointer into `text`. False when `visit` stopped.
    template <class Visit>
    bool visit_text(std::string_view text, Visit&& visit);

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

    static constexpr std::size_t no_match = static_cast<std::size_t>(-1);
    static constexpr std::size_t text_end = no_match - 1;
    // How many stops a focus passes over in one block before its own mask pays: one looked
    // at and passed over costs about a tenth of a block's mask.
    static constexpr unsigned worth_own_mask = 8;

    // What begins at a byte: the table index of the one-byte entry it always begins, or
    // one of these codes.
    static constexpr std::uint32_t plain_byte = 0xFFFFFFFF;  // no entry
    static constexpr std::uint32_t end_byte = 0xFFFFFFFE;    // the zero byte after the text
    static constexpr std::uint32_t multi_byte = 0xFFFFFFFD;  // entries that must be compared

    // Tokens are decoded this many at a time, so that next() is mostly a step in an array.
    static constexpr std::size_t batch_size = 64;

    class Encoder;
    template <class Visit>
    class Visitor;

    void prepare_tables();
    void take_block(std::unique_ptr<char[]> block, std::size_t size);
    // Reads the caller's bytes in place, owning nothing.
    void view_text(std::string_view text);
    template <class Visit>
    bool visit_scan(Visit& visit);
    // Forgets the tokens and readies the tables; true when the text is scanned in pairs.
    bool prepare_scan();
    // Cuts the text into tokens and hands them, in order, to sink.run(kind, start, length)
    // and sink.delimiter(table index, start); each returns what a visitor returns.
    template <class Sink>
    bool scan(Sink& sink, bool pair_scan);
    TokenKind run_kind(std::size_t start, std::size_t end) const;
    void build_tokens();
    void start_chunk(std::size_t capacity);
    // stop_bits[k][byte]: bit k set when `byte` is a stop.
    using StopBits = std::array<std::array<std::uint8_t, 256>, 8>;
    struct Focus {
        std::vector<std::int32_t> ids;
        // Its stops: the first bytes of the entries it keeps, and of any entry that holds
        // one of those bytes further on (so that no byte inside such an entry is taken for
        // the start of a kept one), and the zero byte.
        StopBits stop_bits;
        // By table index: whether the entry is kept.
        std::vector<std::uint8_t> kept;
        // Its stops by pairs of bytes, for large texts.
        std::vector<std::uint8_t> pair_stops;
    };

    void prepare_focus(Focus& focus) const;
    static unsigned lowest_bit(std::uint64_t mask);
    static std::uint64_t stop_mask(const StopBits& stop_bits, const unsigned char* block);
    // A set of stops in both forms: by single bytes, and by pairs for large texts.
    struct StopTables {
        const StopBits* bits;
        const std::uint8_t* pairs;
    };
    static std::uint64_t block_stops(bool pair_scan, const StopTables& tables, const unsigned char* block) {
        return pair_scan ? pair_stop_mask(tables.pairs, block) : stop_mask(*tables.bits, block);
    }
    static std::uint64_t pair_stop_mask(const std::uint8_t* pairs, const unsigned char* block);
    // For two bytes a, b, pairs[a | b << 8] gets bit 0 when a is a stop and bit 1 when b is.
    static void fill_pair_stops(const StopBits& stop_bits, std::vector<std::uint8_t>& pairs);
    std::size_t match_at(const unsigned char* at, const unsigned char* end) const;
    // What begins at a stop, `byte` at `at` in a text that ends at `end`: the table index
    // of its entry (with `length` set), or no_match where the byte begins no entry there,
    // or text_end at a zero byte or the end.
    std::size_t entry_at(unsigned char byte, const unsigned char* at, const unsigned char* end,
                         std::size_t& length) const;
    // Decodes the next batch and hands out its first token; also serves next() before
    // first() and past the last token.
    const Token* refill();
    void stop_walk();

    std::vector<DelimiterEntry> table_;
    // Each entry's id and length, eight bytes apiece: what the scan hands on for a delimiter
    // without reaching into the larger entries.
    struct EntryBrief {
        std::int32_t id;
        std::uint32_t length;
    };
    std::vector<EntryBrief> briefs_;
    bool tables_ready_ = false;
    // What begins at each byte; every byte but a plain one is a stop.
    std::array<std::uint32_t, 256> byte_entry_{};
    std::array<std::uint8_t, 256> blank_{};
    StopBits stop_bits_{};
    std::vector<Focus> foci_;
    // By what a visitor returns: null for every_token, else the focus it names. Made with the
    // tables, as adding a focus may move the others.
    std::vector<const Focus*> focus_at_;
    // All stops by pairs of bytes, for large texts; empty until a large text needs it.
    std::vector<std::uint8_t> pair_stops_;
    // By what a visitor returns: all stops for every_token, else those of the focus it names.
    // Apart from focus_at_, which the scan reads at other times: one table of both made the
    // scan about 1% slower.
    std::vector<StopTables> stop_tables_;
    struct MultiTry {
        std::uint32_t entry;
        std::uint32_t length;
        unsigned char second;  // the entry's second byte, when it has one
    };
    // For a byte that begins entries to compare, where they (those that can still match, in
    // registration order) begin in multi_tries_.
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

// Hands each token on as a Found, building only what the visitor may look at. Each Found
// is a fresh local that the compiler may keep in registers as long as the visitor takes
// no address of it.
template <class Visit>
class TokenSplitter::Visitor {
public:
    Visitor(const TokenSplitter& splitter, Visit& visit)
        : text_(splitter.text_), table_(splitter.table_.data()), briefs_(splitter.briefs_.data()), visit_(visit) {}
    int run(TokenKind kind, std::size_t start, std::size_t length) {
        Found found;
        found.text_ = text_;
        found.kind_ = kind;
        found.start_ = start;
        found.length_ = length;
        return visit_(static_cast<const Found&>(found));
    }
    int delimiter(std::size_t entry, std::size_t start) {
        const EntryBrief brief = briefs_[entry];
        Found found;
        found.text_ = text_;
        found.kind_ = TokenKind::Delimiter;
        found.id_ = brief.id;
        found.delimiter_ = table_ + entry;
        found.start_ = start;
        found.length_ = brief.length;
        return visit_(static_cast<const Found&>(found));
    }

private:
    const char* text_;
    const DelimiterEntry* table_;
    const EntryBrief* briefs_;
    Visit& visit_;
};

template <class Visit>
bool TokenSplitter::visit_scan(Visit& visit) {
    const bool pair_scan = prepare_scan();
    Visitor<Visit> visitor(*this, visit);
    return scan(visitor, pair_scan);
}

template <class Visit>
bool TokenSplitter::visit_tokens(std::unique_ptr<char[]> block, std::size_t size, Visit&& visit) {
    take_block(std::move(block), size);
    return visit_scan(visit);
}

template <class Visit>
bool TokenSplitter::visit_text(std::string_view text, Visit&& visit) {
    view_text(text);
    // Even when `visit` throws, no pointer into the caller's bytes is kept.
    struct Forget {
        TokenSplitter& splitter;
        ~Forget() { splitter.view_text({}); }
    } forget{*this};
    return visit_scan(visit);
}

inline unsigned TokenSplitter::lowest_bit(std::uint64_t mask) {
    // A de Bruijn sequence, a form compilers turn into a single instruction where there is one.
    static constexpr std::uint8_t positions[64] = {
        0, 1, 48, 2, 57, 49, 28, 3, 61, 58, 50, 42, 38, 29, 17, 4, 62, 55, 59, 36, 53, 51,
        43, 22, 45, 39, 33, 30, 24, 18, 12, 5, 63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21,
        44, 32, 23, 11, 46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9, 13, 8, 7, 6};
    return positions[((mask & (~mask + 1)) * 0x03f79d71b4cb0a89ull) >> 58];
}

// The first entry matching at `at`, whose byte begins entries to compare. An entry that
// would run past `end` is not compared: the text need not end in a zero byte.
inline std::size_t TokenSplitter::match_at(const unsigned char* at, const unsigned char* end) const {
    const auto remaining = static_cast<std::size_t>(end - at);
    const unsigned char first = *at;
    for (std::uint32_t k = multi_begin_[first]; k < multi_begin_[first + 1u]; ++k) {
        const MultiTry& option = multi_tries_[k];
        if (option.length == 1) return option.entry;
        if (option.length > remaining || at[1] != option.second) continue;
        const std::string& text = table_[option.entry].text;
        std::size_t i = 2;
        while (i < option.length && at[i] == static_cast<unsigned char>(text[i])) ++i;
        if (i == option.length) return option.entry;
    }
    return no_match;
}

// The bit of each byte of a 64-byte block that is a stop: the first byte of a delimiter or
// a zero. Eight lookups in tables shifted in advance give the bits of eight bytes at once.
inline std::uint64_t TokenSplitter::stop_mask(const StopBits& stop_bits, const unsigned char* block) {
    std::uint64_t mask = 0;
    for (unsigned group = 0; group < 8; ++group) {
        const unsigned char* b = block + 8 * group;
        const unsigned bits = stop_bits[0][b[0]] | stop_bits[1][b[1]] | stop_bits[2][b[2]] |
                              stop_bits[3][b[3]] | stop_bits[4][b[4]] | stop_bits[5][b[5]] |
                              stop_bits[6][b[6]] | stop_bits[7][b[7]];
        mask |= static_cast<std::uint64_t>(bits) << (8 * group);
    }
    return mask;
}

// The same with half the lookups, in a table of 64 KiB. The eight groups of eight bytes are
// written out rather than looped over: the compiler does not always unroll such a loop,
// and its own steps would then cost a fifth of the mask.
inline std::uint64_t TokenSplitter::pair_stop_mask(const std::uint8_t* pairs, const unsigned char* block) {
    const auto group = [pairs, block](unsigned first) -> std::uint64_t {
        const unsigned char* b = block + first;
        const unsigned bits = pairs[b[0] | b[1] << 8] | pairs[b[2] | b[3] << 8] << 2 |
                              pairs[b[4] | b[5] << 8] << 4 | pairs[b[6] | b[7] << 8] << 6;
        return static_cast<std::uint64_t>(bits) << first;
    };
    return group(0) | group(8) | group(16) | group(24) | group(32) | group(40) | group(48) | group(56);
}

inline std::size_t TokenSplitter::entry_at(unsigned char byte, const unsigned char* at, const unsigned char* end,
                                           std::size_t& length) const {
    const std::uint32_t code = byte_entry_[byte];
    if (code < multi_byte) return code;
    if (code != multi_byte) return text_end;
    const std::size_t entry = match_at(at, end);
    if (entry != no_match) length = briefs_[entry].length;
    return entry;
}

// A run is Text as soon as one byte is not blank; most runs show it in their first byte.
inline TokenKind TokenSplitter::run_kind(std::size_t start, std::size_t end) const {
    const auto* const text = reinterpret_cast<const unsigned char*>(text_);
    while (start != end && blank_[text[start]] != 0) ++start;
    return start != end ? TokenKind::Text : TokenKind::Blank;
}

// The text is taken in blocks of 64 bytes: a mask of the block's stops first, then its
// stops one by one. Neither the work nor the branches depend on the length of text runs,
// which keeps the branches predictable. No byte past the text is read: the last bytes are
// copied into a zero-padded block, whose first zero after them is the last stop, and a
// delimiter is compared only where it fits before the end.
template <class Sink>
bool TokenSplitter::scan(Sink& sink, bool pair_scan) {
    const auto* const text = reinterpret_cast<const unsigned char*>(text_);
    const std::size_t size = text_size_;
    const unsigned char* const end = text + size;
    std::size_t run = 0;     // start of the pending run
    std::size_t resume = 0;  // stops before this lie inside a delimiter already taken
    const Focus* const* const focus_at = focus_at_.data();
    const StopTables* const stop_tables = stop_tables_.data();
    const Focus* focused = nullptr;
    int focus_number = every_token;
    // Stops the focus in force has passed over in blocks looked at with all stops.
    unsigned passed = 0;
    unsigned char last_block[64];

    for (std::size_t block = 0;; block += 64) {
        const unsigned char* bytes = text + block;
        if (size - block < 64) {
            std::memset(last_block, 0, sizeof last_block);
            std::memcpy(last_block, bytes, size - block);
            bytes = last_block;
        }
        // A block has all stops, and under a focus passes over those the focus has not,
        // unless the focus has passed over enough of them to pay for a mask of its own: then
        // it has only the focus's, until the focus ends and the rest of the block is looked
        // at again. A focus over plain text thus costs no second look. The choice is a
        // number, not a branch: whether a focus runs past a block is chance.
        const int masked = passed >= worth_own_mask ? focus_number : every_token;
        bool has_all = masked == every_token;
        std::uint64_t stops = block_stops(pair_scan, stop_tables[masked], bytes);
        while (stops != 0) {
            const unsigned offset = lowest_bit(stops);
            const std::size_t at = block + offset;
            stops &= stops - 1;
            if (at < resume) continue;
            std::size_t length = 1;
            if (focused == nullptr) {
                const std::size_t entry = entry_at(bytes[offset], text + at, end, length);
                if (entry == no_match) continue;
                if (entry == text_end) return at == run || sink.run(run_kind(run, at), run, at - run) != stop_visit;
                int next = every_token;
                if (at != run) {
                    next = sink.run(run_kind(run, at), run, at - run);
                    if (next == stop_visit) return false;
                }
                run = at + length;
                resume = run;
                if (next != every_token) {
                    // A focus begun by a run: the delimiter after it may be one it passes over.
                    focused = focus_at[next];
                    focus_number = next;
                    passed = 0;
                    if (focused->kept[entry] == 0) continue;
                }
                next = sink.delimiter(entry, at);
                if (next == stop_visit) return false;
                focused = nullptr;
                focus_number = next;
                if (next != every_token) {
                    focused = focus_at[next];
                    passed = 0;
                }
                continue;
            }
            // Under a focus: only the delimiters it keeps are handed on; runs are not seen.
            const unsigned char byte = bytes[offset];
            if (focused->stop_bits[0][byte] == 0) {
                ++passed;
                continue;
            }
            const std::size_t entry = entry_at(byte, text + at, end, length);
            if (entry == no_match) continue;
            if (entry == text_end) return true;
            resume = at + length;
            if (focused->kept[entry] == 0) continue;
            const int next = sink.delimiter(entry, at);
            if (next == stop_visit) return false;
            run = resume;
            const Focus* const now = focus_at[next];
            if (now != focused && !has_all) {
                stops = block_stops(pair_scan, stop_tables[every_token], bytes) & (~std::uint64_t{1} << offset);
                has_all = true;
            }
            passed = now == focused ? passed : 0;
            focused = now;
            focus_number = next;
        }
    }
}
