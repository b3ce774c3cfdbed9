// What the token splitter targets check: TokenSplitter against the plain model.
#pragma once

#include <string>
#include <vector>

#include "reference_splitter.h"

// Every way of splitting (C string, std::string, block) and of walking (first()/next(),
// next() alone, Reader) gives the model's tokens, on one reused splitter; then `late_entry`
// is added and a further split uses it.
void check_all_ways(std::vector<ReferenceDelimiter> table, const ReferenceDelimiter& late_entry,
                    const std::string& text);
// One way in, both walks: for large texts, which are slow to check.
void check_large(const std::vector<ReferenceDelimiter>& table, const std::string& text);
