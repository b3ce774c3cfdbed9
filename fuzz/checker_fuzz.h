// The checks both checker targets make: any bytes as a file, checked by a checker that
// lives across inputs and by a fresh one, with English texts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "checker.h"
#include "fail.h"
#include "token_splitter.h"

class LanguageCatalog;

// The shipped English texts, loaded once; aborts when they cannot be read.
const LanguageCatalog& english_catalog();

// A checker kind as the targets need it: one long-lived instance and a way to make fresh ones.
using MakeChecker = std::unique_ptr<Checker> (*)(const LanguageCatalog& catalog);

// What one check reported.
struct Outcome {
    int code;
    std::int32_t start;
    std::int32_t length;
    std::string reason;

    bool operator==(const Outcome& other) const {
        return code == other.code && start == other.start && length == other.length && reason == other.reason;
    }
};

Outcome outcome_of(const CheckResult& result);

// Writes `bytes` to a scratch file ending in `file_suffix` and checks it three times (the long-lived
// checker, a fresh one, the long-lived one again); aborts unless every outcome is the same
// and its conflict, if any, lies where a conflict may lie, and every fault of `bytes` holds
// what require_every_fault_invariants asks. A process fuzzes one checker kind: the first
// call's `make` and `file_suffix` are kept. Returns the outcome.
Outcome check_bytes_invariants(MakeChecker make, const char* file_suffix, std::string_view bytes);

// Aborts unless every fault of `bytes` lies inside the text (an end fault at its end), in
// file order with no two at one byte, the first being the first fault (notes aside).
void require_every_fault_invariants(const Checker& checker, std::string_view bytes);

// Aborts unless the checker's walk over the kept tokens of `bytes` reports `checked`.
template <class SomeChecker>
void require_walk_agrees(std::string_view bytes, const Outcome& checked) {
    static SomeChecker walker(&english_catalog());
    TokenSplitter splitter;
    SomeChecker::add_delimiters(splitter);
    splitter.split(std::string(bytes));
    const Outcome walked = outcome_of(walker.walk(splitter, static_cast<std::int32_t>(bytes.size())));
    require(walked == checked, "walking the kept tokens reports differently from the check");
}
