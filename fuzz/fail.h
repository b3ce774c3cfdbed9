// What every fuzz target does when an invariant breaks: say which, then abort, so that
// libFuzzer keeps the input as a crash.
#pragma once

[[noreturn]] void fail(const char* what);

// Aborts with `what` unless `holds`.
inline void require(bool holds, const char* what) {
    if (!holds) fail(what);
}
