#include "options.h"

#include <map>

#include <CLI/CLI.hpp>

namespace {

std::vector<std::string> kind_names() {
    std::vector<std::string> names;
    for (const CheckerKind& kind : checker_kinds()) names.emplace_back(kind.name);
    return names;
}

}  // namespace

ParsedCommandLine parse_command_line(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Checks TRA files (*.tra) and Arcanum dialogue files (*.dlg) for syntax faults.\n"
                 "Directories are searched recursively for both kinds.",
                 "brindle-check"};
    app.set_version_flag("--version", "brindle-check " BRINDLE_VERSION);
    app.footer("Exit status: 0 every file clean, 1 a file has a conflict, "
               "2 usage error or a file cannot be read.");

    Options options;
    std::string type;
    std::string format = "text";
    std::string languages_folder;
    bool no_context = false;

    app.add_option("PATH", options.paths, "Files and directories to check")->required();
    app.add_option("--type", type, "Check files named on the command line as this kind, "
                                   "and search directories for it only")
        ->check(CLI::IsMember(kind_names()));
    app.add_option("--format", format, "Output: text (compiler style), json, github "
                                       "(workflow annotations) or sarif (2.1.0)")
        ->check(CLI::IsMember({"text", "json", "github", "sarif"}))
        ->capture_default_str();
    app.add_option("--lang", options.language, "Language of the reasons")->capture_default_str();
    app.add_option("--languages", languages_folder,
                   "Folder of language files (default: 'languages' beside the program, "
                   "then in the current folder)");
    app.add_flag("--no-context", no_context, "Text output: leave out the line and caret under each conflict");
    app.add_flag("-q,--quiet", options.quiet, "No summary on stderr");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e, out, err);
        return ParsedCommandLine{std::nullopt, status == 0 ? 0 : 2};
    }

    static const std::map<std::string, Format> formats = {
        {"text", Format::Text}, {"json", Format::Json}, {"github", Format::Github}, {"sarif", Format::Sarif}};
    options.format = formats.at(format);
    if (!type.empty()) options.type = kind_named(type);
    if (!languages_folder.empty()) options.languages_folder = languages_folder;
    options.context = !no_context;
    return ParsedCommandLine{options, 0};
}
