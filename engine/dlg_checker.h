// ArcanumDlgChecker: checks Arcanum dialogue files (one "{number}{field}{field}..." record,
// "//" comment or empty line per line) by the DLG grammar.
#pragma once

#include "checker.h"

class ArcanumDlgChecker : public Checker {
public:
    explicit ArcanumDlgChecker(const LanguageCatalog* catalog) : Checker(catalog) {}

    CheckResult check(const char* path) override;
    std::optional<Diagnostic> first_fault(std::string_view bytes) const override;
    std::vector<Diagnostic> all_faults(std::string_view bytes) const override;
    // The check of a text already split with this checker's delimiter table, `file_size`
    // being the text's length: what check() reports for a file holding that text. It walks
    // the kept tokens, where check() walks each token as it is found.
    CheckResult walk(const TokenSplitter& splitter, std::int32_t file_size);
    // Registers the DLG delimiter table and the foci of the walk in a splitter that has
    // none yet, in the order the walk relies on.
    static void add_delimiters(TokenSplitter& splitter);
    // The catalog's name for the delimiter of `token`; the comment marker and anything
    // else are named as text.
    const char* describe_token(const Token& token) const;
};
