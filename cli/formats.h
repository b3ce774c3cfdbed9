// The output formats: each takes the report of every file as it is checked and the
// totals at the end, and writes to standard output.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "options.h"
#include "report.h"

class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void file(const FileReport& report) = 0;
    virtual void finish(const Summary& summary) = 0;
};

class LanguageCatalog;

// `context`: text output shows each finding's line and a caret marker under it.
// `first_only`: text, github and sarif show only each file's first syntax fault (JSON has
// it as "conflict" anyway). SARIF describes its rules with the texts of `catalog`, their
// ids alone without one.
std::unique_ptr<Reporter> make_reporter(Format format, std::ostream& out, bool context,
                                        const LanguageCatalog* catalog = nullptr, bool first_only = false);

std::unique_ptr<Reporter> make_text_reporter(std::ostream& out, bool context, bool first_only);
std::unique_ptr<Reporter> make_github_reporter(std::ostream& out, bool first_only);
std::unique_ptr<Reporter> make_json_reporter(std::ostream& out);
std::unique_ptr<Reporter> make_sarif_reporter(std::ostream& out, const LanguageCatalog* catalog, bool first_only);

// GitHub workflow commands: the escapes of a message, and of a property value (file=...).
std::string github_message(std::string_view text);
std::string github_property(std::string_view text);

// A relative URI reference for a relative path ("/" separators, bytes outside the
// unreserved set percent-encoded); a file: URI for an absolute one.
std::string sarif_uri(std::string_view path);
