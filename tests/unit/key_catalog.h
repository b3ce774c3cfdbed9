// Test catalogs: every message key the program looks up, and a language file in which
// each key's text is the key itself, so composed reasons can be asserted as keys.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "language_catalog.h"
#include "test_files.h"

namespace key_catalog {

// Every message key ("general.initialized", ..., "arcanum_dlg.note_field_opened").
const std::vector<std::string>& all_message_keys();

// A catalog loaded from a scratch language file where text(key) == key.
class KeyCatalog {
public:
    KeyCatalog();
    const LanguageCatalog* get() const { return &catalog_; }

private:
    test_files::ScratchDir dir_;
    LanguageCatalog catalog_;
};

}  // namespace key_catalog
