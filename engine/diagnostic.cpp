#include "diagnostic.h"

const char* severity_name(Severity severity) {
    switch (severity) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Info: return "info";
    }
    return "error";
}

namespace {

bool same_key(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return std::string_view(a) == std::string_view(b);
}

}  // namespace

bool Note::operator==(const Note& other) const {
    return same_key(key, other.key) && start == other.start && length == other.length;
}

bool Diagnostic::operator==(const Diagnostic& other) const {
    return rule == other.rule && severity == other.severity && start == other.start && length == other.length &&
           form == other.form && same_key(key, other.key) && same_key(argument, other.argument) &&
           notes == other.notes;
}
