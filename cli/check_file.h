// Checks one discovered file with the engine and places its first fault in the text.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "checker.h"
#include "discovery.h"
#include "report.h"
#include "rule_selection.h"

class LanguageCatalog;

// The file's bytes, read once into a buffer of their size, or the system's reason why
// they cannot be read.
struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string error;

    std::string_view bytes() const { return std::string_view(data.get(), size); }
};
FileBytes read_file(const std::string& path);

// One checker for each kind of the checker list, and TRA's second grammar, wording in one
// catalog.
class CheckerSet {
public:
    explicit CheckerSet(const LanguageCatalog* catalog);
    // With `tra_weidu`, TRA files are checked as the mod compiler WeiDU reads them.
    const Checker& of(FileKind kind, bool tra_weidu = false) const {
        if (tra_weidu && kind == FileKind::Tra) return *tra_weidu_;
        return *checkers_[static_cast<std::size_t>(kind)];
    }

private:
    std::array<std::unique_ptr<Checker>, 2> checkers_;
    std::unique_ptr<Checker> tra_weidu_;
};

// What a check reports beyond a file's first fault: the rules in force, how many findings
// a file shows at most (0: all of them), whether warnings fail the run, and the grammar
// of TRA files (strict, or as WeiDU reads them).
struct ReportSettings {
    RuleSelection rules;
    std::size_t max_faults = 100;
    bool warnings_as_errors = false;
    bool tra_weidu = false;
};

// Reads the file once and checks its bytes with the checker of its kind.
FileReport check_target(const Target& target, const CheckerSet& checkers,
                        const ReportSettings& settings = ReportSettings{});
// The report for bytes already read from `path`, checked by `checker`.
FileReport check_bytes(const std::string& path, FileKind kind, std::string_view bytes, const Checker& checker,
                       const ReportSettings& settings = ReportSettings{});
