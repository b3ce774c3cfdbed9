// ArcanumDlgChecker on any bytes; see checker_fuzz.h for what must hold.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "checker_fuzz.h"
#include "dlg_checker.h"

namespace {

std::unique_ptr<Checker> make_dlg_checker(const LanguageCatalog& catalog) {
    return std::make_unique<ArcanumDlgChecker>(&catalog);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    require_walk_agrees<ArcanumDlgChecker>(bytes, check_bytes_invariants(make_dlg_checker, ".dlg", bytes));
    return 0;
}
