// Checks one discovered file with the engine and places its conflict in the text.
#pragma once

#include <string>

#include "discovery.h"
#include "report.h"

class Checker;

// The file's bytes, or the system's reason why they cannot be read.
struct FileBytes {
    std::string bytes;
    std::string error;
};
FileBytes read_file(const std::string& path);

// `tra` and `dlg` check the files of their kind; their reasons, written in
// `reason_code_page`, come out as UTF-8.
FileReport check_target(const Target& target, Checker& tra, Checker& dlg, int reason_code_page);
