// LanguageCatalog: the texts of the user's language, looked up by message key
// ("general.noconflicts", "tra.expected_at") in a language file read as a settings tree.
#pragma once

#include <memory>
#include <string>

class SettingsTree;

class LanguageCatalog {
public:
    // Language files are "<directory>/<language>.ini"; the program uses "languages",
    // relative to the working folder.
    explicit LanguageCatalog(std::string directory = "languages");
    ~LanguageCatalog();
    LanguageCatalog(const LanguageCatalog&) = delete;
    LanguageCatalog& operator=(const LanguageCatalog&) = delete;

    // Reads the file of `language`; true when it could be opened. On failure the
    // language loaded before stays.
    bool load(const char* language);
    // The text for `key`, or "" when the key is missing or nothing is loaded. The text
    // lies in the result area shared by every settings-tree lookup: use or copy it
    // before the next lookup.
    const char* lookup(const char* key) const;

    // The code page the texts are written in: "language.codepage" when it names one that
    // to_utf8 knows; without it UTF-8 (65001) when every text is valid UTF-8, else 1252.
    // UTF-8 while nothing is loaded.
    int code_page() const { return code_page_; }
    // The text for `key` as UTF-8, for front ends whose output is Unicode text.
    std::string lookup_utf8(const char* key) const;

private:
    std::string directory_;
    std::unique_ptr<SettingsTree> tree_;
    int code_page_;
};
