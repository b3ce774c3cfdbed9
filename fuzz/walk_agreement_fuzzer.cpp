// Any bytes as a TRA text and as a DLG text: the check (the walk's fast steps, under foci)
// must find exactly what a walk by the full rules alone, handed every token, finds, and
// its fault must lie inside the text or at its end.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "diagnostic.h"
#include "dlg_checker.h"
#include "fail.h"
#include "grammars/dlg_grammar.h"
#include "grammars/tra_grammar.h"
#include "token_splitter.h"
#include "tra_checker.h"
#include "walk.h"
#include "walk_by_rules.h"

namespace {

// A splitter with a checker's table, kept across inputs: building its tables anew for each
// input halved the runs per second.
template <class SomeChecker>
struct RulesSplitter {
    RulesSplitter() { SomeChecker::add_delimiters(splitter); }
    TokenSplitter splitter;
};

// The walk by the full rules alone: every token, no focus.
template <class G, class SomeChecker>
std::optional<Diagnostic> fault_by_rules_kept(std::string_view bytes) {
    static RulesSplitter<SomeChecker> rules;
    return fault_by_rules<G>(rules.splitter, bytes);
}

// The text a walk sees ends at the first zero byte; a fault at the end lies at the size of
// the bytes, with length 0.
void require_inside(const std::optional<Diagnostic>& fault, std::string_view bytes) {
    if (!fault) return;
    const auto size = static_cast<std::int64_t>(bytes.size());
    const auto text_end = static_cast<std::int64_t>(bytes.substr(0, bytes.find('\0')).size());
    const std::int64_t start = fault->start;
    const std::int64_t length = fault->length;
    require(start >= 0 && length >= 0, "a fault has a negative start or length");
    if (length == 0) {
        require(start == size, "a fault of length 0 lies before the end of the text");
    } else {
        require(start + length <= text_end, "a fault reaches past the end of the text");
    }
}

template <class G, class SomeChecker>
void require_agreement(std::string_view bytes) {
    static const SomeChecker checker(nullptr);
    const std::optional<Diagnostic> checked = checker.first_fault(bytes);
    require(checked == fault_by_rules_kept<G, SomeChecker>(bytes), "the check and the full rules find different faults");
    require_inside(checked, bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    require_agreement<TraGrammar, TraChecker>(bytes);
    require_agreement<DlgGrammar, ArcanumDlgChecker>(bytes);
    return 0;
}
