// The scan itself: cuts a text into tokens, 64 bytes at a time, and hands each one, in
// order, to a sink as soon as it is found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "scan/scan_tables.h"
#include "scan/stop_masks.h"
#include "scan/token.h"
#include "scan/visit_answer.h"

namespace token_scan {

// How many stops a focus passes over in one block before its own mask pays: one looked
// at and passed over costs about a tenth of a block's mask.
constexpr unsigned worth_own_mask = 8;

// A run is Text as soon as one byte is not blank; most runs show it in their first byte.
inline TokenKind run_kind(const ScanTables& tables, const unsigned char* text, std::size_t start, std::size_t end) {
    while (start != end && tables.is_blank(text[start])) ++start;
    return start != end ? TokenKind::Text : TokenKind::Blank;
}

// Cuts the `size` bytes at `chars`, up to a zero byte among them, into tokens and hands
// them to sink.run(kind, start, length) and sink.delimiter(table index, start); each
// returns what a visitor returns. False when the sink stopped.
//
// The text is taken in blocks of 64 bytes: a mask of the block's stops first, then its
// stops one by one. Neither the work nor the branches depend on the length of text runs,
// which keeps the branches predictable. No byte past the text is read: the last bytes are
// copied into a zero-padded block, whose first zero after them is the last stop, and a
// delimiter is compared only where it fits before the end.
template <class Sink>
bool scan_text(const ScanTables& tables, const char* chars, std::size_t size, bool pair_scan, Sink& sink) {
    const auto* const text = reinterpret_cast<const unsigned char*>(chars);
    const unsigned char* const end = text + size;
    std::size_t run = 0;     // start of the pending run
    std::size_t resume = 0;  // stops before this lie inside a delimiter already taken
    const Focus* const* const focus_at = tables.focus_at();
    const StopTables* const stop_tables = tables.stop_tables();
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
                const std::size_t entry = tables.entry_at(bytes[offset], text + at, end, length);
                if (entry == ScanTables::no_match) continue;
                if (entry == ScanTables::text_end) {
                    return at == run || sink.run(run_kind(tables, text, run, at), run, at - run) != stop_visit;
                }
                int next = every_token;
                if (at != run) {
                    next = sink.run(run_kind(tables, text, run, at), run, at - run);
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
            const std::size_t entry = tables.entry_at(byte, text + at, end, length);
            if (entry == ScanTables::no_match) continue;
            if (entry == ScanTables::text_end) return true;
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

}  // namespace token_scan
