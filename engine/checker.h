// Checker: the common frame of every file checker (read the file whole, cut it into
// tokens, walk each as it is found) and the Conflict through which it reports a file's
// first fault. A check's finding is a Diagnostic; the Conflict is its worded view.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "diagnostic.h"
#include "kpstring.h"
#include "token_splitter.h"
#include "walk.h"

class LanguageCatalog;

// The first fault of the file checked last. For a fault at the end of the text, `start`
// is the file size and `length` 0.
struct Conflict {
    std::int32_t start = 0;
    std::int32_t length = 0;
    kpstring reason{32};
};

// What one check found: the file could not be read, no conflict, or the checker's Conflict.
class CheckResult {
public:
    static CheckResult unreadable() { return CheckResult(-1, nullptr); }
    static CheckResult clean() { return CheckResult(0, nullptr); }
    static CheckResult found(const Conflict& conflict) { return CheckResult(1, &conflict); }

    // -1 (cannot be read), 0 (no conflict) or 1 (conflict()).
    int code() const { return code_; }
    bool is_unreadable() const { return code_ < 0; }
    bool is_clean() const { return code_ == 0; }
    const Conflict* conflict() const { return conflict_; }

private:
    CheckResult(int code, const Conflict* conflict) : code_(code), conflict_(conflict) {}
    int code_;
    const Conflict* conflict_;
};

class Checker {
public:
    virtual ~Checker() = default;
    Checker(const Checker&) = delete;
    Checker& operator=(const Checker&) = delete;

    // Reads `path` anew and reports its first conflict. The Conflict lives in this
    // checker and is overwritten only by a later check that finds one.
    virtual CheckResult check(const char* path) = 0;
    // The first fault of a text held in memory, as data; none when it is clean. The text
    // ends at its first zero byte, and a fault at its end lies at `bytes.size()`.
    virtual std::optional<Diagnostic> first_fault(std::string_view bytes) const = 0;
    // Every syntax fault of a text held in memory, in file order: after each fault the walk
    // goes on from the next place where the grammar can start again (docs/rules.md,
    // "Recovery"). The first is first_fault()'s; a fault at the end of the text carries a
    // note on where what was left open began.
    virtual std::vector<Diagnostic> all_faults(std::string_view bytes) const = 0;
    const Conflict& conflict() const { return conflict_; }
    const LanguageCatalog* catalog() const { return catalog_; }

protected:
    // Texts come from `catalog`; without one every text is empty.
    explicit Checker(const LanguageCatalog* catalog) : catalog_(catalog) {}

    // The catalog's text for `key`, valid until the next lookup.
    const char* text(const char* key) const;

    // Reads the whole file into `block` (its bytes and one more) and sets `file_size`.
    // False when the file cannot be opened, its size taken, its bytes read or held in memory.
    static bool read_text(const char* path, std::unique_ptr<char[]>& block, std::int32_t& file_size);

    // The Conflict worded from `fault`, or clean when there is none.
    CheckResult report(const std::optional<Diagnostic>& fault);

    // The frame of a check in grammar G: the file's tokens go to a fresh walk one by one as
    // they are found; what it finds is worded into the Conflict.
    template <class G>
    CheckResult check_file(const char* path);
    // The same over bytes in memory, unworded.
    template <class G>
    static std::optional<Diagnostic> fault_in(std::string_view bytes);
    // The same over tokens already split, all of them: a focus only spares a walk tokens it
    // would ignore.
    template <class G>
    CheckResult walk_kept(const TokenSplitter& splitter, std::int32_t file_size);
    // Every fault of bytes in memory: the walk starts again after each fault where the
    // grammar's resume_at says.
    template <class G>
    static std::vector<Diagnostic> faults_in(std::string_view bytes);
    // Where what is open at the end of `text` was opened, by a walk that keeps track of it:
    // walked again only for a fault at the end, so the check itself does not pay for it.
    template <class G>
    static std::optional<Note> opened_where(TokenSplitter& splitter, std::string_view text);

private:
    const LanguageCatalog* catalog_;
    Conflict conflict_;
};

template <class G>
std::vector<Diagnostic> Checker::faults_in(std::string_view bytes) {
    const auto size = static_cast<std::int32_t>(bytes.size());
    TokenSplitter splitter;
    register_grammar<G>(splitter);
    std::vector<Diagnostic> faults;
    // Each stretch is walked as a text of its own, by the same walk as the first fault; after
    // a fault the next stretch begins where the grammar can start again. A walk stops at a
    // zero byte, which ends the text, so only the bytes passed over are searched for one.
    for (std::size_t from = 0;;) {
        const std::string_view rest = bytes.substr(from);
        GrammarWalk<G> walk;
        splitter.visit_text(rest, [&walk](const TokenSplitter::Found& token) { return walk.step(token); });
        std::optional<Diagnostic> fault = walk.result(size);
        if (!fault) break;
        if (fault->form == MessageForm::End) {
            if (std::optional<Note> opened = opened_where<G>(splitter, rest)) {
                opened->start += static_cast<std::int32_t>(from);
                fault->notes.push_back(*opened);
            }
            faults.push_back(std::move(*fault));
            break;
        }
        const auto at = static_cast<std::size_t>(fault->start += static_cast<std::int32_t>(from));
        from = G::resume_at(bytes, at);
        faults.push_back(std::move(*fault));
        if (from == std::string_view::npos || bytes.substr(at, from - at).find('\0') != std::string_view::npos) break;
    }
    return faults;
}

template <class G>
std::optional<Note> Checker::opened_where(TokenSplitter& splitter, std::string_view text) {
    GrammarWalk<G, true> tracker;
    splitter.visit_text(text, [&tracker](const TokenSplitter::Found& token) { return tracker.step(token); });
    return tracker.opened();
}

template <class G>
CheckResult Checker::check_file(const char* path) {
    std::unique_ptr<char[]> block;
    std::int32_t file_size = 0;
    if (!read_text(path, block, file_size)) return CheckResult::unreadable();
    try {
        return report(fault_in<G>(std::string_view(block.get(), static_cast<std::size_t>(file_size))));
    } catch (const std::bad_alloc&) {
        return CheckResult::unreadable();
    }
}

template <class G>
std::optional<Diagnostic> Checker::fault_in(std::string_view bytes) {
    TokenSplitter splitter;
    register_grammar<G>(splitter);
    GrammarWalk<G> walk;
    splitter.visit_text(bytes, [&walk](const TokenSplitter::Found& token) { return walk.step(token); });
    return walk.result(static_cast<std::int32_t>(bytes.size()));
}

template <class G>
CheckResult Checker::walk_kept(const TokenSplitter& splitter, std::int32_t file_size) {
    GrammarWalk<G> walk;
    for (TokenSplitter::Reader token(splitter); token.next();) {
        if (walk.step(token) == TokenSplitter::stop_visit) break;
    }
    return report(walk.result(file_size));
}
