// Tallies a `brindle-check --format json` report of the corpus: the verdicts per folder
// (the first two levels of each path, e.g. "tra/<mod>") and how often each reason is a
// file's first conflict (quoted: a reason may end in a blank). The lines are sorted, so
// a change shows up as a plain diff.
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

namespace {

struct Counts {
    int files = 0;
    int clean = 0;
    int conflict = 0;
    int unreadable = 0;
};

std::string folder_of(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    const std::size_t first = path.find('/');
    const std::size_t second = first == std::string::npos ? first : path.find('/', first + 1);
    return second == std::string::npos ? path : path.substr(0, second);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: corpus_tally REPORT.json\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const nlohmann::json report = nlohmann::json::parse(in, nullptr, false);
    if (report.is_discarded() || !report.contains("files")) {
        std::cerr << "corpus_tally: " << argv[1] << " is not a brindle-check JSON report\n";
        return 2;
    }
    std::map<std::string, Counts> folders;
    std::map<std::string, int> reasons;
    for (const nlohmann::json& file : report["files"]) {
        Counts& counts = folders[folder_of(file["path"].get<std::string>())];
        ++counts.files;
        const std::string verdict = file["verdict"].get<std::string>();
        if (verdict == "clean") ++counts.clean;
        if (verdict == "conflict") {
            ++counts.conflict;
            ++reasons[file["conflict"]["reason"].get<std::string>()];
        }
        if (verdict == "unreadable") ++counts.unreadable;
    }
    std::cout << "folder files clean conflict unreadable\n";
    for (const auto& [folder, c] : folders) {
        std::cout << folder << ' ' << c.files << ' ' << c.clean << ' ' << c.conflict << ' ' << c.unreadable << '\n';
    }
    std::cout << "\nfiles \"reason\"\n";
    for (const auto& [reason, n] : reasons) std::cout << n << " \"" << reason << "\"\n";
    return 0;
}
