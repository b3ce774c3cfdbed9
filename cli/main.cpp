// brindle-check: checks TRA and Arcanum dialogue files from the command line, for CI,
// editors and pre-commit hooks.
#include <exception>
#include <iostream>
#include <memory>

#include "check_file.h"
#include "console_output.h"
#include "discovery.h"
#include "formats.h"
#include "language_catalog.h"
#include "language_choice.h"
#include "options.h"
#include "project_choice.h"

namespace {

int run(int argc, const char* const* argv) {
    const ParsedCommandLine parsed = parse_command_line(argc, argv, std::cout, std::cerr);
    if (!parsed.options) return parsed.exit_status;
    const Options& options = *parsed.options;

    const LanguageChoice language = load_language(
        options.language, language_folders(options.languages_folder, executable_folder(argv[0])));
    if (!language.catalog) {
        std::cerr << "brindle-check: " << language.error << '\n';
        return 2;
    }

    const Discovery discovery = discover(options.paths, options.type);
    if (!discovery.unknown_kind.empty()) {
        for (const std::string& path : discovery.unknown_kind) {
            std::cerr << "brindle-check: " << path << ": not a .tra or .dlg file; name its kind with --type\n";
        }
        return 2;
    }

    const CheckerSet checkers(language.catalog.get());
    const std::unique_ptr<Reporter> reporter =
        make_reporter(options.format, std::cout, options.context, language.catalog.get(), options.first_only);
    // Every file's project file is read before any file is checked: a bad one stops the run.
    ProjectChoice projects(options);
    std::vector<const ReportSettings*> settings;
    for (const Target& target : discovery.targets) {
        ProjectFileError error;
        settings.push_back(projects.settings_for(target.path, error));
        if (settings.back() == nullptr) {
            std::cerr << "brindle-check: " << error.text() << '\n';
            return 2;
        }
    }
    Summary summary;
    for (std::size_t i = 0; i < discovery.targets.size(); ++i) {
        const Target& target = discovery.targets[i];
        const FileReport report = check_target(target, checkers, *settings[i]);
        if (report.verdict == Verdict::Unreadable) {
            std::cerr << "brindle-check: cannot read " << report.path << ": " << report.error << '\n';
        }
        reporter->file(report);
        summary.add(report);
    }
    reporter->finish(summary);

    if (!options.quiet) {
        std::cerr << "brindle-check: " << summary.checked << (summary.checked == 1 ? " file" : " files")
                  << " checked, " << summary.with_conflicts << " with conflicts, " << summary.unreadable
                  << " unreadable\n";
    }
    return summary.exit_status();
}

}  // namespace

int main(int argc, char** argv) {
    const ConsoleOutput console_output;
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "brindle-check: " << e.what() << '\n';
        return 2;
    }
}
