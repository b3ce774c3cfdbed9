// TraWeiduChecker: checks TRA files as the mod compiler WeiDU reads them, a grammar looser
// than the TRA grammar (any string form, female texts, value references, nested comments)
// with faults at the places WeiDU finds them.
#pragma once

#include "checker.h"

class TraWeiduChecker : public Checker {
public:
    explicit TraWeiduChecker(const LanguageCatalog* catalog) : Checker(catalog) {}

    CheckResult check(const char* path) override;
    std::optional<Diagnostic> first_fault(std::string_view bytes) const override;
    std::vector<Diagnostic> all_faults(std::string_view bytes) const override;
};
