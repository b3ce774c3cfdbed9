#include "inputs.h"

#include <iterator>

namespace bench_inputs {

namespace {

// No word holds a byte that either format treats as a delimiter.
const char* const words[] = {
    "the", "a", "you", "I", "we", "they", "it", "is", "are", "was", "have", "not", "and",
    "but", "for", "with", "this", "that", "what", "there", "here", "know", "think", "want",
    "need", "go", "come", "take", "give", "see", "tell", "help", "find", "gold", "sword",
    "city", "temple", "road", "night", "friend", "stranger", "lord", "lady", "magic",
    "spell", "guard", "gate", "north", "river", "mountain", "tavern", "ale", "coin",
    "quest", "dragon", "shadow", "blood", "honour", "promise", "truth", "time", "way",
    "long", "old", "strange", "dark", "good", "right", "again", "never", "always",
    "perhaps", "indeed", "don't", "can't", "I'm", "you're", "merchant", "steam", "engine"};

const char* const tags[] = {"CHARNAME", "PRO_HESHE", "PRO_HIMHER", "PRO_HISHER", "GABBER",
                            "DAYNIGHTALL", "PRO_LADYLORD", "PRO_SIRMAAM"};

const char* const sentence_ends[] = {". ", ". ", ". ", "! ", "? ", "... "};

template <typename T, std::size_t N>
const T& pick(Random& random, const T (&items)[N]) {
    return items[random.below(static_cast<std::uint32_t>(N))];
}

void append_word(Random& random, std::string& out, bool capital) {
    const std::size_t at = out.size();
    out += pick(random, words);
    if (capital && out[at] >= 'a' && out[at] <= 'z') out[at] = static_cast<char>(out[at] - 'a' + 'A');
}

// A sentence of plain words with commas, ending in a blank.
void append_sentence(Random& random, std::string& out, std::uint32_t min_words, std::uint32_t spread) {
    const std::uint32_t count = min_words + random.below(spread);
    for (std::uint32_t i = 0; i < count; ++i) {
        append_word(random, out, i == 0);
        if (i + 1 < count) out += random.percent(12) ? ", " : " ";
    }
    out += pick(random, sentence_ends);
}

// A number from `fewest` to `most`; no draw when there is no choice, so that a fixed count
// leaves the sequence as it is.
std::uint32_t between(Random& random, std::uint32_t fewest, std::uint32_t most) {
    return most > fewest ? fewest + random.below(most - fewest + 1) : fewest;
}

void append_sound(Random& random, std::string& out) {
    static const char* const prefixes[] = {"B", "N", "SND", "X", "AR"};
    out += " [";
    out += pick(random, prefixes);
    for (std::uint32_t i = 0, n = 3 + random.below(4); i < n; ++i) {
        out += static_cast<char>(i < 2 ? 'A' + random.below(26) : '0' + random.below(10));
    }
    out += ']';
}

// Plain prose of exactly `size` bytes; `line_end` is put after about every fourth sentence.
std::string prose(std::size_t size, const char* line_end, std::uint64_t seed) {
    Random random(seed);
    std::string out;
    out.reserve(size + 256);
    while (out.size() < size) {
        append_sentence(random, out, 3, 12);
        if (line_end != nullptr && random.percent(25)) {
            out.pop_back();
            out += line_end;
        }
    }
    out.resize(size);
    return out;
}

// `pattern` repeated within `body` bytes, then space bytes up to `body`.
void append_repeated(std::string& out, const std::string& pattern, std::size_t body) {
    const std::size_t end = out.size() + body;
    while (out.size() + pattern.size() <= end) out += pattern;
    out.append(end - out.size(), ' ');
}

template <typename Writer, typename Append>
std::string fill(Writer writer, Append append, std::size_t size) {
    std::string out;
    out.reserve(size);
    std::string piece;
    for (;;) {
        piece.clear();
        append(writer, piece);
        if (out.size() + piece.size() > size) return out;
        out += piece;
    }
}

}  // namespace

std::uint32_t Random::below(std::uint32_t bound) {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<std::uint32_t>((z >> 32) % bound);
}

// The inside of a TRA text: sentences, sometimes a tag, a quotation or a line break.
void TraWriter::append_text(std::string& out) {
    const std::uint32_t sentences = 1 + random_.below(shape_.most_sentences);
    for (std::uint32_t i = 0; i < sentences; ++i) {
        if (random_.percent(shape_.tag)) {
            out += '<';
            out += pick(random_, tags);
            out += ">, ";
        }
        if (random_.percent(shape_.quote)) {
            out += "He said \"";
            append_sentence(random_, out, 2, 4);
            out.back() = '"';
            out += ' ';
        }
        append_sentence(random_, out, 3, 8);
        if (i + 1 < sentences && random_.percent(shape_.line_break)) {
            out.pop_back();
            out += "\r\n";
        }
    }
    out.pop_back();
}

void TraWriter::append_entry(std::string& out) {
    if (random_.percent(shape_.comment_line)) {
        out += "// ";
        append_sentence(random_, out, 2, 6);
        out += "\r\n";
    }
    if (block_comments_ && random_.percent(1)) {
        out += "/* ";
        append_sentence(random_, out, 4, 6);
        out += "\r\n   ";
        append_sentence(random_, out, 4, 6);
        out += "*/\r\n";
    }
    if (random_.percent(shape_.blank_line)) out += "\r\n";
    out += '@';
    out += std::to_string(number_++);
    out += " = ~";
    append_text(out);
    out += '~';
    if (random_.percent(shape_.sound)) append_sound(random_, out);
    if (random_.percent(shape_.second_text)) {
        out += " ~";
        append_text(out);
        out += '~';
        if (random_.percent(50)) append_sound(random_, out);
    }
    if (random_.percent(shape_.end_comment)) {
        out += " // ";
        append_sentence(random_, out, 1, 4);
    }
    out += "\r\n";
}

void DlgWriter::append_node(std::string& out) {
    static const char* const tests[] = {"", "", "", "ma 2", "in 5", "gv 12 1", "ch -3"};
    static const char* const results[] = {"", "", "", "", "gv 3 1", "et 40", "qu 12 2", "ru 1"};
    if (random_.percent(shape_.comment_line)) {
        out += "// ";
        append_sentence(random_, out, 2, 5);
        out += "\r\n";
    }
    if (shape_.last_number != 0 && number_ > shape_.last_number) number_ = 1;
    const std::uint32_t speaker = number_;
    const std::uint32_t answers = 1 + random_.below(4);
    number_ += 10;
    out += '{' + std::to_string(speaker) + "}{";
    const std::size_t text_at = out.size();
    for (std::uint32_t i = between(random_, shape_.fewest_sentences, shape_.most_sentences); i > 0; --i) {
        append_sentence(random_, out, 3, 10);
    }
    out.pop_back();
    const std::size_t text_size = out.size() - text_at;
    out += "}{";
    if (random_.percent(shape_.female_text)) {
        if (shape_.female_copies) {
            out += out.substr(text_at, text_size);
        } else {
            append_sentence(random_, out, 3, 10);
            out.pop_back();
        }
    }
    out += "}{}{}{}{";
    out += pick(random_, results);
    out += "}\r\n";
    for (std::uint32_t i = 1; i <= answers; ++i) {
        out += '{' + std::to_string(speaker + i) + "}{";
        append_sentence(random_, out, shape_.answer_words, shape_.answer_most_words - shape_.answer_words + 1);
        out.pop_back();
        out += "}{}{" + std::to_string(random_.below(9) + 1) + "}{";
        out += pick(random_, tests);
        out += "}{" + std::to_string(random_.percent(20) ? 0 : number_ + 10 * random_.below(5)) + "}{";
        out += pick(random_, results);
        out += "}\r\n";
    }
    if (random_.percent(shape_.blank_line)) out += "\r\n";
}

std::string realistic_tra(std::size_t size) {
    return fill(TraWriter(), [](TraWriter& w, std::string& out) { w.append_entry(out); }, size);
}

std::string realistic_dlg(std::size_t size) {
    return fill(DlgWriter(), [](DlgWriter& w, std::string& out) { w.append_node(out); }, size);
}

std::string dense_tra(std::size_t size) {
    return fill(TraWriter(dense_tra_shape), [](TraWriter& w, std::string& out) { w.append_entry(out); }, size);
}

std::string dense_dlg(std::size_t size) {
    return fill(DlgWriter(dense_dlg_shape), [](DlgWriter& w, std::string& out) { w.append_node(out); }, size);
}

std::string tra_no_delimiter(std::size_t size) { return prose(size, "\r\n", 11); }

std::string tra_only_delimiters(std::size_t size) {
    std::string out = "@1=~";
    // Every delimiter but the tilde and the tag brackets is plain text inside a text.
    append_repeated(out, "@=[]\"/*//*/", size - out.size() - 3);
    out += "~\r\n";
    return out;
}

std::string tra_open_comment(std::size_t size) {
    std::string out = "/*\r\n";
    out += fill(TraWriter(real_tra_shape, false), [](TraWriter& w, std::string& piece) { w.append_entry(piece); },
                size - out.size());
    out.append(size - out.size(), ' ');
    return out;
}

std::string tra_long_text(std::size_t size) {
    std::string out = "@1 = ~";
    out += prose(size - out.size() - 3, "\r\n", 12);
    out += "~\r\n";
    return out;
}

std::string dlg_no_delimiter(std::size_t size) { return prose(size, nullptr, 13); }

std::string dlg_only_delimiters(std::size_t size) {
    std::string out;
    append_repeated(out, "//{}{}{}{}{}{}{}\r\n", size);
    return out;
}

std::string dlg_long_field(std::size_t size) {
    std::string out = "{1}{";
    out += prose(size - out.size() - 3, nullptr, 14);
    out += "}\r\n";
    return out;
}

// Entries of one line each: no comments, blank lines or line breaks inside texts.
constexpr TraShape one_line_tra_shape = {6, 2, 1, 0, 10, 2, 0, 0, 0};

std::string tra_fault_every_line(std::size_t size) {
    std::string out = fill(TraWriter(one_line_tra_shape, false),
                           [](TraWriter& w, std::string& entry) {
                               w.append_entry(entry);
                               // A text holds no tilde, so the first two are those of its first text.
                               const std::size_t open = entry.find('~');
                               entry[open] = '"';
                               entry[entry.find('~', open + 1)] = '"';
                           },
                           size);
    out.append(size - out.size(), ' ');
    return out;
}

// Records of one line each: no comment lines, no blank lines.
constexpr DlgShape one_line_dlg_shape = {2, 5, 95, true, 2, 9, 0, 0, 990};

std::string dlg_fault_every_line(std::size_t size) {
    std::string out = fill(DlgWriter(one_line_dlg_shape),
                           [](DlgWriter& w, std::string& node) {
                               w.append_node(node);
                               // The first "}{" of each line ends its number.
                               for (std::size_t at = node.find("}{"); at != std::string::npos;
                                    at = node.find("}{", node.find('\n', at))) {
                                   node.insert(at + 1, "  ");
                               }
                           },
                           size);
    out.append(size - out.size(), ' ');
    return out;
}

}  // namespace bench_inputs
