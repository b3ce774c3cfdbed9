// TokenSplitter: cuts a whole text into Text, Blank and Delimiter tokens by a table of
// delimiter strings (first match in registration order). It knows no file format.
// Its parts are in scan/: the compiled tables, the stop masks, the scan, the packed codes
// and their reader.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scan/block_scan.h"
#include "scan/scan_tables.h"
#include "scan/token.h"
#include "scan/token_chunks.h"
#include "scan/token_codes.h"
#include "scan/token_reader.h"
#include "scan/visit_answer.h"

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
    static constexpr int stop_visit = token_scan::stop_visit;
    static constexpr int every_token = token_scan::every_token;
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
    class Reader : public token_scan::TokenReader {
    public:
        explicit Reader(const TokenSplitter& splitter) : TokenReader(splitter.packed_) {}
    };

private:
    // Tokens are decoded this many at a time, so that next() is mostly a step in an array.
    static constexpr std::size_t batch_size = 64;

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
    void build_tokens();
    // Decodes the next batch and hands out its first token; also serves next() before
    // first() and past the last token.
    const Token* refill();
    void stop_walk();

    std::vector<DelimiterEntry> table_;
    token_scan::ScanTables tables_;
    bool tables_ready_ = false;

    std::string owned_string_;
    std::unique_ptr<char[]> owned_block_;
    std::size_t text_size_ = 0;
    // The token list, and the text its runs and any visit's tokens lie in.
    token_scan::PackedTokens packed_;
    std::int32_t count_ = 0;

    bool walking_ = false;
    Reader reader_{*this};
    std::array<Token, batch_size> batch_{};
    // The token last handed out and the end of the decoded batch; when no batch is being
    // handed out, cursor_ + 1 == batch_end_, so that next() asks refill().
    const Token* cursor_ = batch_.data();
    const Token* batch_end_ = batch_.data() + 1;
};

// Hands each token on as a Found, building only what the visitor may look at. Each Found
// is a fresh local that the compiler may keep in registers as long as the visitor takes
// no address of it.
template <class Visit>
class TokenSplitter::Visitor {
public:
    Visitor(const TokenSplitter& splitter, Visit& visit)
        : text_(splitter.packed_.text),
          table_(splitter.table_.data()),
          briefs_(splitter.tables_.briefs()),
          visit_(visit) {}
    int run(TokenKind kind, std::size_t start, std::size_t length) {
        Found found;
        found.text_ = text_;
        found.kind_ = kind;
        found.start_ = start;
        found.length_ = length;
        return visit_(static_cast<const Found&>(found));
    }
    int delimiter(std::size_t entry, std::size_t start) {
        const token_scan::EntryBrief brief = briefs_[entry];
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
    const token_scan::EntryBrief* briefs_;
    Visit& visit_;
};

template <class Visit>
bool TokenSplitter::visit_scan(Visit& visit) {
    const bool pair_scan = prepare_scan();
    Visitor<Visit> visitor(*this, visit);
    return token_scan::scan_text(tables_, packed_.text, text_size_, pair_scan, visitor);
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
