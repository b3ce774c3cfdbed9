#include "wording.h"

#include "language_catalog.h"

namespace {

const char* text(const LanguageCatalog* catalog, const char* key) {
    return catalog == nullptr || key == nullptr ? "" : catalog->lookup(key);
}

}  // namespace

// Each looked-up text is appended at once: the next lookup overwrites it.
void word(const Diagnostic& diagnostic, const LanguageCatalog* catalog, kpstring& out) {
    out += text(catalog, diagnostic.key);
    switch (diagnostic.form) {
        case MessageForm::ExpectedFound:
        case MessageForm::End:
            out += " ";
            out += text(catalog, diagnostic.argument);
            break;
        case MessageForm::Number:
            if (diagnostic.argument != nullptr) out += text(catalog, diagnostic.argument);
            break;
        case MessageForm::Single: break;
    }
}

std::string worded(const Diagnostic& diagnostic, const LanguageCatalog* catalog) {
    kpstring reason(32);
    word(diagnostic, catalog, reason);
    return std::string(reason.c_str(), static_cast<std::size_t>(reason.length()));
}

std::string worded(const Note& note, const LanguageCatalog* catalog) { return text(catalog, note.key); }
