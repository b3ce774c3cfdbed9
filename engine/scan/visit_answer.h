// What a visitor of the scan answers after each token: stop, go on with every token, or go
// on with a focus, named by its number (1 for the first one added).
#pragma once

namespace token_scan {

constexpr int stop_visit = -1;
constexpr int every_token = 0;

}  // namespace token_scan
