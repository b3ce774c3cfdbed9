#include "checker_fuzz.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>
#include <string>
#include <string_view>

#include "fail.h"
#include "language_catalog.h"
#include "scratch_file.h"

namespace {

Outcome run(Checker& checker, const std::string& path) {
    const CheckResult result = checker.check(path.c_str());
    const Conflict* conflict = result.conflict();
    require((conflict != nullptr) == (result.code() == 1), "a result has a conflict without code 1, or code 1 without one");
    if (conflict == nullptr) return Outcome{result.code(), 0, 0, {}};
    require(conflict == &checker.conflict(), "the result's conflict is not the checker's own");
    return outcome_of(result);
}

// The text the checker walks ends at the first zero byte; an end conflict is reported at the
// file size.
void require_placement(const Outcome& outcome, std::string_view bytes) {
    require(outcome.code == 0 || outcome.code == 1, "a readable file was reported unreadable");
    if (outcome.code == 0) return;
    const auto size = static_cast<std::int64_t>(bytes.size());
    const auto text_end = static_cast<std::int64_t>(bytes.substr(0, bytes.find('\0')).size());
    const std::int64_t start = outcome.start;
    const std::int64_t length = outcome.length;
    require(start >= 0 && length >= 0, "a conflict has a negative start or length");
    require(start + length <= size, "a conflict reaches past the end of the file");
    if (length == 0) {
        require(start == size, "a conflict of length 0 lies before the end of the text");
    } else {
        require(start + length <= text_end, "a conflict reaches past the first zero byte");
    }
    require(!outcome.reason.empty(), "a conflict has no reason text");
}

}  // namespace

const LanguageCatalog& english_catalog() {
    static const std::unique_ptr<LanguageCatalog> catalog = [] {
        auto loaded = std::make_unique<LanguageCatalog>(BRINDLE_LANGUAGES_DIR);
        require(loaded->load("English"), "cannot load " BRINDLE_LANGUAGES_DIR "/English.ini");
        return loaded;
    }();
    return *catalog;
}

Outcome outcome_of(const CheckResult& result) {
    const Conflict* conflict = result.conflict();
    if (conflict == nullptr) return Outcome{result.code(), 0, 0, {}};
    return Outcome{result.code(), conflict->start, conflict->length, conflict->reason.c_str()};
}

Outcome check_bytes_invariants(MakeChecker make, const char* file_suffix, std::string_view bytes) {
    static const ScratchFile file(file_suffix);
    static const std::unique_ptr<Checker> kept = make(english_catalog());
    file.write(bytes);
    const Outcome first = run(*kept, file.path());
    require_placement(first, bytes);
    const std::unique_ptr<Checker> fresh = make(english_catalog());
    require(run(*fresh, file.path()) == first, "a fresh checker reports differently");
    require(run(*kept, file.path()) == first, "checking the same bytes again reports differently");
    require_every_fault_invariants(*kept, bytes);
    return first;
}

void require_every_fault_invariants(const Checker& checker, std::string_view bytes) {
    const std::vector<Diagnostic> faults = checker.all_faults(bytes);
    const std::optional<Diagnostic> first = checker.first_fault(bytes);
    require(faults.empty() == !first.has_value(), "every fault and the first fault disagree on a fault");
    if (!first) return;
    // The first fault carries no note; the same fault among every fault may.
    Diagnostic front = faults.front();
    front.notes.clear();
    require(front == *first, "the first of every fault is not the first fault");
    const auto size = static_cast<std::int64_t>(bytes.size());
    const auto text_end = static_cast<std::int64_t>(bytes.substr(0, bytes.find('\0')).size());
    std::int64_t last_start = -1;
    for (const Diagnostic& fault : faults) {
        require(fault.start > last_start, "two faults start at one byte, or out of file order");
        last_start = fault.start;
        if (fault.form == MessageForm::End) {
            require(fault.start == size && fault.length == 0, "an end fault lies before the end of the file");
            require(&fault == &faults.back(), "a fault follows the end fault");
            for (const Note& note : fault.notes) {
                require(note.start >= 0 && note.start + note.length <= text_end, "a note lies outside the text");
            }
        } else {
            require(fault.start >= 0 && fault.length > 0 && fault.start + fault.length <= text_end,
                    "a fault lies outside the text");
        }
    }
}
