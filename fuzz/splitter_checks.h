// What the token splitter targets check: TokenSplitter against the plain model.
#pragma once

#include <string>
#include <vector>

#include "reference_splitter.h"

// Every way of splitting (C string, std::string, block) and of walking (first()/next(),
// next() alone, Reader) gives the model's tokens, on one reused splitter; then `late_entry`
// is added and a further split uses it. Visiting the tokens as they are found, with foci
// changing token by token and with an early stop, gives the model's tokens too.
void check_all_ways(std::vector<ReferenceDelimiter> table, const ReferenceDelimiter& late_entry,
                    const std::string& text);
// One way in, both walks and a visit: for large texts, which are slow to check.
void check_large(const std::vector<ReferenceDelimiter>& table, const std::string& text);
