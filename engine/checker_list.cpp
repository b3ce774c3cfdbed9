#include "checker_list.h"

#include <cstddef>

#include "dlg_checker.h"
#include "tra_checker.h"

namespace {

template <class SomeChecker>
std::unique_ptr<Checker> make(const LanguageCatalog* catalog) {
    return std::make_unique<SomeChecker>(catalog);
}

const std::array<CheckerKind, 2> kinds = {{
    {FileKind::Tra, "tra", ".tra", "TRA files (*.TRA)", "*.tra", "general.checktra", "tra", make<TraChecker>},
    {FileKind::Dlg, "dlg", ".dlg", "Arcanum dialog files (*.DLG)", "*.dlg", "general.checkarcanumdlg",
     "arcanum_dlg", make<ArcanumDlgChecker>},
}};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_in_any_case(std::string_view a, std::string_view lower_case) {
    if (a.size() != lower_case.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower_case[i]) return false;
    }
    return true;
}

}  // namespace

const std::array<CheckerKind, 2>& checker_kinds() { return kinds; }

const CheckerKind& checker_kind(FileKind kind) { return kinds[static_cast<std::size_t>(kind)]; }

std::optional<FileKind> kind_for_extension(std::string_view extension) {
    for (const CheckerKind& k : kinds) {
        if (same_in_any_case(extension, k.extension)) return k.kind;
    }
    return std::nullopt;
}

std::optional<FileKind> kind_named(std::string_view name) {
    for (const CheckerKind& k : kinds) {
        if (name == k.name) return k.kind;
    }
    return std::nullopt;
}
