// Benchmark inputs made from fixed seeds, so that every run measures the same bytes:
// realistic TRA and DLG text, and texts that push the splitter and the walk to extremes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench_inputs {

enum class Format { Tra, Dlg };

// A small, fast generator of pseudo-random numbers (SplitMix64); the same seed always
// gives the same sequence, on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint32_t below(std::uint32_t bound);
    bool percent(std::uint32_t chance) { return below(100) < chance; }

private:
    std::uint64_t state_;
};

// How TRA entries are made up. Chances are in percent.
struct TraShape {
    std::uint32_t most_sentences;  // a text holds 1 to this many sentences of 3 to 10 words
    std::uint32_t tag;             // a sentence begins with a tag
    std::uint32_t quote;           // a sentence holds a quotation
    std::uint32_t line_break;      // sentences are parted by a line break
    std::uint32_t sound;           // a sound follows the text
    std::uint32_t second_text;     // a second text follows
    std::uint32_t comment_line;    // a comment line precedes the entry
    std::uint32_t blank_line;      // a blank line precedes it
    std::uint32_t end_comment;     // a comment ends its line
};

// As in the TRA files of real mods: texts of about 130 bytes, about 150 bytes an entry.
constexpr TraShape real_tra_shape = {6, 2, 1, 3, 10, 2, 8, 23, 3};
// Texts of about 60 bytes, with more tags, sounds and second texts: about twice the tokens
// per byte, which keeps the cost of each token in view.
constexpr TraShape dense_tra_shape = {2, 10, 6, 5, 30, 10, 2, 4, 3};

// TRA entries with CR LF line ends, tags, quotes, sounds, second texts, line and block
// comments. Every entry is valid.
class TraWriter {
public:
    explicit TraWriter(const TraShape& shape = real_tra_shape, bool with_block_comments = true)
        : shape_(shape), block_comments_(with_block_comments) {}
    // Appends the next entry, with the comments and blank lines that precede it.
    void append_entry(std::string& out);

private:
    void append_text(std::string& out);

    Random random_{0x7472614265ull};
    std::uint32_t number_ = 100;
    TraShape shape_;
    bool block_comments_;
};

// How Arcanum dialogue nodes are made up. Chances are in percent.
struct DlgShape {
    std::uint32_t fewest_sentences;  // the speaker's line holds this many sentences of 3 to
    std::uint32_t most_sentences;    // 12 words, or more up to this many
    std::uint32_t female_text;       // the speaker's line has a text for a female hero
    bool female_copies;              // that text is the line's own text again
    std::uint32_t answer_words;      // an answer holds this many words, or more up to
    std::uint32_t answer_most_words; // this many
    std::uint32_t comment_line;      // a comment line precedes the node
    std::uint32_t blank_line;        // a blank line follows it
    std::uint32_t last_number;       // numbers start again at 1 past this one; 0 for never
};

// As in Arcanum's own dialogue files: the speaker's lines of about 150 bytes, given again
// for a female hero, answers of about 30, about 130 bytes a record, numbers below 1000 as
// each file starts its own.
constexpr DlgShape real_dlg_shape = {2, 5, 95, true, 2, 9, 2, 5, 990};
// Lines of about 40 bytes and answers of about 20, numbers that keep growing: about twice
// the tokens per byte of real files.
constexpr DlgShape dense_dlg_shape = {1, 1, 20, false, 1, 6, 8, 30, 0};

// Arcanum dialogue records of seven fields (one line of the speaker, then the answers),
// with comment lines and blank lines, CR LF line ends. Every record is valid.
class DlgWriter {
public:
    explicit DlgWriter(const DlgShape& shape = real_dlg_shape) : shape_(shape) {}
    // Appends the next node: a line of the speaker and one to four answers.
    void append_node(std::string& out);

private:
    Random random_{0x646c6742ull};
    std::uint32_t number_ = 1;
    DlgShape shape_;
};

// Whole entries or nodes up to `size` bytes (never more), shaped as in real files or dense.
std::string realistic_tra(std::size_t size);
std::string realistic_dlg(std::size_t size);
std::string dense_tra(std::size_t size);
std::string dense_dlg(std::size_t size);

// Adversarial texts of exactly `size` bytes (`size` at least 64).
std::string tra_no_delimiter(std::size_t size);     // prose and line ends, no delimiter
std::string tra_only_delimiters(std::size_t size);  // one entry whose text is all delimiters
std::string tra_open_comment(std::size_t size);     // "/*" and entries, never closed
std::string tra_long_text(std::size_t size);        // one entry, its text the whole file
std::string dlg_no_delimiter(std::size_t size);     // prose on a single line
std::string dlg_only_delimiters(std::size_t size);  // comment lines of braces only
std::string dlg_long_field(std::size_t size);       // one record, one field the whole file

// Texts of exactly `size` bytes (space bytes at the end) with a fault on every line, for the
// walk that goes on after each fault: TRA entries of one line each, shaped as in real files
// but with the first text in double quotes ("@12 = \"text\""); DLG records of one line each
// with two blanks between the number and the first field ("{12}  {text}...").
std::string tra_fault_every_line(std::size_t size);
std::string dlg_fault_every_line(std::size_t size);

}  // namespace bench_inputs
