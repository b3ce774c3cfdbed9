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

// TRA entries as mods ship them: CR LF line ends, tags, quotes, sounds, second texts, line
// and block comments, and about 80 bytes per entry on average. Every entry is valid.
class TraWriter {
public:
    explicit TraWriter(bool with_block_comments = true) : block_comments_(with_block_comments) {}
    // Appends the next entry, with the comments and blank lines that precede it.
    void append_entry(std::string& out);

private:
    Random random_{0x7472614265ull};
    std::uint32_t number_ = 100;
    bool block_comments_;
};

// Arcanum dialogue records of seven fields (one line of the speaker, then the answers),
// with comment lines and blank lines, CR LF line ends. Every record is valid.
class DlgWriter {
public:
    // Appends the next node: a line of the speaker and one to four answers.
    void append_node(std::string& out);

private:
    Random random_{0x646c6742ull};
    std::uint32_t number_ = 1;
};

// Whole entries or nodes up to `size` bytes (never more).
std::string realistic_tra(std::size_t size);
std::string realistic_dlg(std::size_t size);

// Adversarial texts of exactly `size` bytes (`size` at least 64).
std::string tra_no_delimiter(std::size_t size);     // prose and line ends, no delimiter
std::string tra_only_delimiters(std::size_t size);  // one entry whose text is all delimiters
std::string tra_open_comment(std::size_t size);     // "/*" and entries, never closed
std::string tra_long_text(std::size_t size);        // one entry, its text the whole file
std::string dlg_no_delimiter(std::size_t size);     // prose on a single line
std::string dlg_only_delimiters(std::size_t size);  // comment lines of braces only
std::string dlg_long_field(std::size_t size);       // one record, one field the whole file

}  // namespace bench_inputs
