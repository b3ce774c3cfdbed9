// The one place where a diagnostic becomes words: its texts looked up in the user's
// language and joined as its form says.
#pragma once

#include <string>

#include "diagnostic.h"
#include "kpstring.h"

class LanguageCatalog;

// Appends the worded message of `diagnostic` to `out`. Without a catalog every text is
// empty, so only the separating blanks remain.
void word(const Diagnostic& diagnostic, const LanguageCatalog* catalog, kpstring& out);
std::string worded(const Diagnostic& diagnostic, const LanguageCatalog* catalog);
// The message of a note: its one text.
std::string worded(const Note& note, const LanguageCatalog* catalog);
