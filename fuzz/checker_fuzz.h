// The checks both checker targets make: any bytes as a file, checked by a checker that
// lives across inputs and by a fresh one, with English texts.
#pragma once

#include <memory>
#include <string_view>

#include "checker.h"

class LanguageCatalog;

// The shipped English texts, loaded once; aborts when they cannot be read.
const LanguageCatalog& english_catalog();

// A checker kind as the targets need it: one long-lived instance and a way to make fresh ones.
using MakeChecker = std::unique_ptr<Checker> (*)(const LanguageCatalog& catalog);

// Writes `bytes` to a scratch file ending in `file_suffix` and checks it three times (the long-lived
// checker, a fresh one, the long-lived one again); aborts unless every outcome is the same
// and its conflict, if any, lies where a conflict may lie. A process fuzzes one checker
// kind: the first call's `make` and `file_suffix` are kept.
void check_bytes_invariants(MakeChecker make, const char* file_suffix, std::string_view bytes);
