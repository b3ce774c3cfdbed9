// Checker: the common frame of every file checker (read the file whole, cut it into
// tokens and walk each as it is found) and the Conflict through which it reports a
// file's first fault.
#pragma once

#include <cstdint>
#include <memory>
#include <new>

#include "kpstring.h"
#include "token_splitter.h"

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
    const Conflict& conflict() const { return conflict_; }

protected:
    // Texts come from `catalog`; without one every text is empty.
    explicit Checker(const LanguageCatalog* catalog) : catalog_(catalog) {}

    // The catalog's text for `key`, valid until the next lookup.
    const char* text(const char* key) const;

    // Reads the whole file into `block` (its bytes and one more) and sets `file_size`.
    // False when the file cannot be opened, its size taken, its bytes read or held in memory.
    static bool read_text(const char* path, std::unique_ptr<char[]>& block, std::int32_t& file_size);

    // What every checker's walk shares: the checker that words its conflict, and the
    // conflict once one is found. A walk has step(token), which returns what a visitor of
    // TokenSplitter::visit_tokens returns (so it may stop the walk or ask for a focus), and
    // result(file_size).
    class WalkBase {
    protected:
        using FoundKey = const char* (*)(const Token& token);
        // `found_key` names a token found where something else was expected.
        WalkBase(Checker& checker, FoundKey found_key) : checker_(checker), found_key_(found_key) {}

        // Each stores a conflict at `token`, worded as the Checker functions of the same
        // name word it, and stops the walk.
        int expected_found(const Token& token, const char* expected_key) {
            return stop(checker_.expected_found(token, expected_key, found_key_(token)));
        }
        int single(const Token& token, const char* key) { return stop(checker_.single(token, key)); }
        // The found text is named unless `named` is false.
        int number_form(const Token& token, const char* number_key, bool named) {
            return stop(checker_.number_form(token, number_key, named ? found_key_(token) : nullptr));
        }
        // The conflict found; else, when `expected_key` is not null, the end-of-text conflict.
        CheckResult result(std::int32_t file_size, const char* end_key, const char* expected_key) {
            if (!result_.is_clean()) return result_;
            if (expected_key == nullptr) return CheckResult::clean();
            return checker_.conflict_at_end(file_size, end_key, expected_key);
        }

    private:
        int stop(CheckResult result) {
            result_ = result;
            return TokenSplitter::stop_visit;
        }

        Checker& checker_;
        FoundKey found_key_;
        CheckResult result_ = CheckResult::clean();
    };

    // The frame of a check: the file's tokens, split with the table `Owner` registers, go
    // to a fresh Walk of `owner` one by one as they are found; its result is the outcome.
    template <class Walk, class Owner>
    static CheckResult walk_file(Owner& owner, const char* path);
    // The same over tokens already split, all of them: a focus only spares a walk tokens
    // it would ignore.
    template <class Walk, class Owner>
    static CheckResult walk_tokens(Owner& owner, const TokenSplitter& splitter, std::int32_t file_size);

    // Each stores a conflict at `token` with its reason composed from catalog texts.
    // "<expected> <found>":
    CheckResult expected_found(const Token& token, const char* expected_key, const char* found_key);
    // "<key>":
    CheckResult single(const Token& token, const char* key);
    // "<number><found>", the found text joined without a blank; none when `found_key` is null:
    CheckResult number_form(const Token& token, const char* number_key, const char* found_key);
    // The end-of-text conflict: "<end> <expected>" at the file size, length 0.
    CheckResult conflict_at_end(std::int32_t file_size, const char* end_key, const char* expected_key);

private:
    CheckResult store(std::int32_t start, std::int32_t length, const kpstring& reason);

    const LanguageCatalog* catalog_;
    Conflict conflict_;
};

template <class Walk, class Owner>
CheckResult Checker::walk_file(Owner& owner, const char* path) {
    std::unique_ptr<char[]> block;
    std::int32_t file_size = 0;
    if (!read_text(path, block, file_size)) return CheckResult::unreadable();
    TokenSplitter splitter;
    Owner::add_delimiters(splitter);
    Walk walk(owner);
    try {
        splitter.visit_tokens(std::move(block), static_cast<std::size_t>(file_size),
                              [&walk](const TokenSplitter::Found& token) { return walk.step(token); });
    } catch (const std::bad_alloc&) {
        return CheckResult::unreadable();
    }
    return walk.result(file_size);
}

template <class Walk, class Owner>
CheckResult Checker::walk_tokens(Owner& owner, const TokenSplitter& splitter, std::int32_t file_size) {
    Walk walk(owner);
    for (TokenSplitter::Reader token(splitter); token.next();) {
        if (walk.step(token) == TokenSplitter::stop_visit) break;
    }
    return walk.result(file_size);
}
