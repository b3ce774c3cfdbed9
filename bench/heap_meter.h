// Counts the bytes the program holds through operator new, and the most it held at once,
// so that a benchmark can report the peak memory of one check without asking the system.
#pragma once

#include <cstddef>

namespace heap_meter {

// Bytes held now.
std::size_t live();
// The most bytes held at once since the last restart_peak().
std::size_t peak();
// Starts a new high-water mark from what is held now.
void restart_peak();

}  // namespace heap_meter
