// Runs a checker over bytes in memory, or over a file, and captures what it reported.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "checker.h"
#include "token_splitter.h"

struct Outcome {
    int code;  // -1, 0 or 1
    int start;
    int length;
    std::string reason;

    bool operator==(const Outcome& other) const {
        return code == other.code && start == other.start && length == other.length &&
               reason == other.reason;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return out << "{code " << o.code << ", start " << o.start << ", length " << o.length
               << ", reason \"" << o.reason << "\"}";
}

inline const Outcome clean_outcome{0, 0, 0, ""};

inline Outcome conflict(int start, int length, const char* reason) { return Outcome{1, start, length, reason}; }

// One row of a checker's sample table: a whole file and what checking it must give.
struct Sample {
    const char* name;
    std::string text;
    Outcome expected;
};

inline std::ostream& operator<<(std::ostream& out, const Sample& s) { return out << s.name; }

// What the check of `bytes` in memory finds, worded; start/length/reason only for a conflict.
Outcome check_bytes(Checker& checker, std::string_view bytes);
// The same for an existing path.
Outcome check_path(Checker& checker, const std::string& path);
// What a result reports, as an Outcome.
Outcome outcome_of(const CheckResult& result);

// What the checker's walk over kept tokens gives for the same bytes, split with its table.
template <class SomeChecker>
Outcome walk_bytes(SomeChecker& checker, std::string_view bytes) {
    TokenSplitter splitter;
    SomeChecker::add_delimiters(splitter);
    splitter.split(std::string(bytes));
    return outcome_of(checker.walk(splitter, static_cast<std::int32_t>(bytes.size())));
}
