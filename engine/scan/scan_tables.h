// The delimiter table compiled for the scan: what begins at each byte, the entries of more
// than one byte to compare, the blanks, and the stops of every token and of each focus.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scan/stop_masks.h"
#include "scan/token.h"

namespace token_scan {

// A walk's focus: the delimiter ids that alone matter to it in some state.
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

// Each entry's id and length, eight bytes apiece: what the scan hands on for a delimiter
// without reaching into the larger entries.
struct EntryBrief {
    std::int32_t id;
    std::uint32_t length;
};

class ScanTables {
public:
    static constexpr std::size_t no_match = static_cast<std::size_t>(-1);
    static constexpr std::size_t text_end = no_match - 1;

    // Returns the focus's number, 1 for the first one added, and so on.
    int add_focus(std::vector<std::int32_t> ids);
    // Compiles `table` and the foci; the tables point into `table` until the next compile.
    void compile(const std::vector<DelimiterEntry>& table);
    // Readies the stop tables of a scan, with those by pairs of bytes when `pair_scan`.
    void prepare_scan(bool pair_scan);

    // By what a visitor returns: null for every_token, else the focus it names.
    const Focus* const* focus_at() const { return focus_at_.data(); }
    // By what a visitor returns: all stops for every_token, else those of the focus it names.
    const StopTables* stop_tables() const { return stop_tables_.data(); }
    const EntryBrief* briefs() const { return briefs_.data(); }
    bool is_blank(unsigned char byte) const { return blank_[byte] != 0; }

    // What begins at a stop, `byte` at `at` in a text that ends at `end`: the table index
    // of its entry (with `length` set), or no_match where the byte begins no entry there,
    // or text_end at a zero byte or the end.
    std::size_t entry_at(unsigned char byte, const unsigned char* at, const unsigned char* end,
                         std::size_t& length) const {
        const std::uint32_t code = byte_entry_[byte];
        if (code < multi_byte) return code;
        if (code != multi_byte) return text_end;
        const std::size_t entry = match_at(at, end);
        if (entry != no_match) length = briefs_[entry].length;
        return entry;
    }

private:
    // What begins at a byte: the table index of the one-byte entry it always begins, or
    // one of these codes.
    static constexpr std::uint32_t plain_byte = 0xFFFFFFFF;  // no entry
    static constexpr std::uint32_t end_byte = 0xFFFFFFFE;    // a zero byte, the end of the text
    static constexpr std::uint32_t multi_byte = 0xFFFFFFFD;  // entries that must be compared

    struct MultiTry {
        std::uint32_t entry;
        std::uint32_t length;
        unsigned char second;  // the entry's second byte, when it has one
    };

    void compile_focus(const std::vector<DelimiterEntry>& table, Focus& focus) const;
    std::size_t match_at(const unsigned char* at, const unsigned char* end) const;

    const DelimiterEntry* table_ = nullptr;
    std::vector<EntryBrief> briefs_;
    // What begins at each byte; every byte but a plain one is a stop.
    std::array<std::uint32_t, 256> byte_entry_{};
    std::array<std::uint8_t, 256> blank_{};
    StopBits stop_bits_{};
    std::vector<Focus> foci_;
    // Made with the tables, as adding a focus may move the others.
    std::vector<const Focus*> focus_at_;
    // All stops by pairs of bytes, for large texts; empty until a large text needs it.
    std::vector<std::uint8_t> pair_stops_;
    // Apart from focus_at_, which the scan reads at other times: one table of both made the
    // scan about 1% slower.
    std::vector<StopTables> stop_tables_;
    // For a byte that begins entries to compare, where they (those that can still match, in
    // registration order) begin in multi_tries_.
    std::array<std::uint32_t, 257> multi_begin_{};
    std::vector<MultiTry> multi_tries_;
};

// The first entry matching at `at`, whose byte begins entries to compare. An entry that
// would run past `end` is not compared: the text need not end in a zero byte.
inline std::size_t ScanTables::match_at(const unsigned char* at, const unsigned char* end) const {
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

}  // namespace token_scan
