#include "formats.h"

std::unique_ptr<Reporter> make_reporter(Format format, std::ostream& out, bool context,
                                        const LanguageCatalog* catalog, bool first_only) {
    switch (format) {
        case Format::Json: return make_json_reporter(out);
        case Format::Github: return make_github_reporter(out, first_only);
        case Format::Sarif: return make_sarif_reporter(out, catalog, first_only);
        case Format::Text: break;
    }
    return make_text_reporter(out, context, first_only);
}
