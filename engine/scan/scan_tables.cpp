#include "scan/scan_tables.h"

#include <algorithm>
#include <string>
#include <utility>

namespace token_scan {

namespace {

bool is_blank_byte(unsigned char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

}  // namespace

int ScanTables::add_focus(std::vector<std::int32_t> ids) {
    foci_.push_back(Focus{std::move(ids), {}, {}, {}});
    return static_cast<int>(foci_.size());
}

// At any position only the entries that begin with the byte there can match, tried in
// registration order; the first one-byte entry among them always matches, so the entries
// after it never do.
void ScanTables::compile(const std::vector<DelimiterEntry>& table) {
    table_ = table.data();
    std::array<std::vector<std::uint32_t>, 256> by_first;
    for (std::size_t index = 0; index < table.size(); ++index) {
        const std::string& text = table[index].text;
        if (text.empty()) continue;
        std::vector<std::uint32_t>& tries = by_first[static_cast<unsigned char>(text[0])];
        if (!tries.empty() && table[tries.back()].length == 1) continue;
        tries.push_back(static_cast<std::uint32_t>(index));
    }
    multi_tries_.clear();
    for (std::size_t byte = 0; byte < 256; ++byte) {
        const std::vector<std::uint32_t>& tries = by_first[byte];
        multi_begin_[byte] = static_cast<std::uint32_t>(multi_tries_.size());
        blank_[byte] = is_blank_byte(static_cast<unsigned char>(byte)) ? 1 : 0;
        if (tries.empty()) {
            byte_entry_[byte] = plain_byte;
        } else if (table[tries[0]].length == 1) {
            byte_entry_[byte] = tries[0];
        } else {
            byte_entry_[byte] = multi_byte;
            for (const std::uint32_t entry : tries) {
                const std::string& text = table[entry].text;
                multi_tries_.push_back(MultiTry{entry, static_cast<std::uint32_t>(text.size()),
                                                static_cast<unsigned char>(text.size() > 1 ? text[1] : 0)});
            }
        }
    }
    multi_begin_[256] = static_cast<std::uint32_t>(multi_tries_.size());
    // No entry begins with a zero byte; one ends the text.
    byte_entry_[0] = end_byte;
    std::array<bool, 256> stop{};
    for (std::size_t byte = 0; byte < 256; ++byte) stop[byte] = byte_entry_[byte] != plain_byte;
    fill_stop_bits(stop, stop_bits_);
    pair_stops_.clear();
    briefs_.clear();
    for (const DelimiterEntry& entry : table) {
        briefs_.push_back(EntryBrief{entry.id, static_cast<std::uint32_t>(entry.length)});
    }
    focus_at_.assign(1, nullptr);
    for (Focus& focus : foci_) {
        focus.pair_stops.clear();
        compile_focus(table, focus);
        focus_at_.push_back(&focus);
    }
}

void ScanTables::compile_focus(const std::vector<DelimiterEntry>& table, Focus& focus) const {
    std::array<bool, 256> stop{};
    stop[0] = true;
    focus.kept.assign(table.size(), 0);
    for (std::size_t index = 0; index < table.size(); ++index) {
        const DelimiterEntry& entry = table[index];
        if (entry.text.empty()) continue;
        if (std::find(focus.ids.begin(), focus.ids.end(), entry.id) == focus.ids.end()) continue;
        focus.kept[index] = 1;
        stop[static_cast<unsigned char>(entry.text[0])] = true;
    }
    // Until no entry that begins with a byte that is no stop holds a stop further on.
    for (bool grown = true; grown;) {
        grown = false;
        for (const DelimiterEntry& entry : table) {
            if (entry.text.empty() || stop[static_cast<unsigned char>(entry.text[0])]) continue;
            const bool holds_stop = std::any_of(entry.text.begin() + 1, entry.text.end(),
                                                [&stop](char byte) { return stop[static_cast<unsigned char>(byte)]; });
            if (holds_stop) {
                stop[static_cast<unsigned char>(entry.text[0])] = true;
                grown = true;
            }
        }
    }
    fill_stop_bits(stop, focus.stop_bits);
}

void ScanTables::prepare_scan(bool pair_scan) {
    if (pair_scan && pair_stops_.empty()) {
        fill_pair_stops(stop_bits_, pair_stops_);
        for (Focus& focus : foci_) fill_pair_stops(focus.stop_bits, focus.pair_stops);
    }
    stop_tables_.assign(1, StopTables{&stop_bits_, pair_stops_.data()});
    for (const Focus& focus : foci_) stop_tables_.push_back(StopTables{&focus.stop_bits, focus.pair_stops.data()});
}

}  // namespace token_scan
