// TraChecker: checks TRA files ("@12 = ~text~ [SOUND] ~second text~ [SOUND]" entries,
// with tags in texts and "//" and "/* */" comments between the parts of entries).
#pragma once

#include "checker.h"

class TraChecker : public Checker {
public:
    explicit TraChecker(const LanguageCatalog* catalog) : Checker(catalog) {}

    CheckResult check(const char* path) override;
    // Registers the TRA delimiter table in `splitter`, in the order the walk relies on.
    static void add_delimiters(TokenSplitter& splitter);
    // The catalog's name for the delimiter of `token` ("tra.found_text" for anything else).
    const char* describe_token(const Token& token) const;

private:
    // The key naming `token` as found where something else was expected.
    static const char* found_key(const Token& token);
};
