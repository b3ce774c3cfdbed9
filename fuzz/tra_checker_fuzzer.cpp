// TraChecker on any bytes; see checker_fuzz.h for what must hold.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "checker_fuzz.h"
#include "tra_checker.h"

namespace {

std::unique_ptr<Checker> make_tra_checker(const LanguageCatalog& catalog) {
    return std::make_unique<TraChecker>(&catalog);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    require_walk_agrees<TraChecker>(bytes, check_bytes_invariants(make_tra_checker, ".tra", bytes));
    return 0;
}
