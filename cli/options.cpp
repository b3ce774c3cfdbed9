#include "options.h"

#include <map>

#include <CLI/CLI.hpp>

#include "rule_selection.h"

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
    app.footer("Exit status: 0 no error found (warnings and infos may be), 1 an error found, "
               "2 usage error, a bad project file or a file that cannot be read.");

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
    app.add_flag("--first", options.first_only, "Show only the first syntax fault of each file");
    std::int64_t max_faults = 0;
    CLI::Option* max_option = app.add_option("--max-faults", max_faults,
                                             "Show at most N findings per file (default 100, 0: all); "
                                             "the rest are counted")
                                  ->check(CLI::NonNegativeNumber);
    std::vector<std::string> select, extend_select, ignore;
    const auto rule_check = CLI::Validator(
        [](std::string& id) { return RuleSelection::known(id) ? std::string() : "unknown rule or family: " + id; },
        "RULE");
    CLI::Option* select_option =
        app.add_option("--select", select, "Check only these rules (ids, or families such as tra); repeatable")
            ->check(rule_check);
    CLI::Option* extend_option =
        app.add_option("--extend-select", extend_select, "Check these rules too; repeatable")->check(rule_check);
    CLI::Option* ignore_option =
        app.add_option("--ignore", ignore, "Do not check these rules; repeatable")->check(rule_check);
    bool warnings_as_errors = false;
    CLI::Option* warnings_option =
        app.add_flag("--warnings-as-errors", warnings_as_errors, "Warnings count for the exit status");
    std::string grammar;
    CLI::Option* grammar_option =
        app.add_option("--grammar", grammar,
                       "TRA files: strict (default) or weidu (as the mod compiler WeiDU reads them)")
            ->check(CLI::IsMember({"strict", "weidu"}));
    std::string config;
    CLI::Option* config_option = app.add_option("--config", config, "Use this project file for every file");
    CLI::Option* no_config_option =
        app.add_flag("--no-config", options.no_config, "Use no project file (brindle.toml)");
    config_option->excludes(no_config_option);

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
    if (max_option->count() > 0) options.max_faults = max_faults;
    if (select_option->count() > 0) options.select = select;
    if (extend_option->count() > 0) options.extend_select = extend_select;
    if (ignore_option->count() > 0) options.ignore = ignore;
    if (warnings_option->count() > 0) options.warnings_as_errors = warnings_as_errors;
    if (config_option->count() > 0) options.config = config;
    if (grammar_option->count() > 0) options.tra_grammar = grammar;
    return ParsedCommandLine{options, 0};
}
