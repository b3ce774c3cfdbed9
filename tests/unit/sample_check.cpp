#include "sample_check.h"

#include "test_files.h"

Outcome check_path(Checker& checker, const std::string& path) { return outcome_of(checker.check(path.c_str())); }

Outcome outcome_of(const CheckResult& result) {
    if (result.conflict() == nullptr) return Outcome{result.code(), 0, 0, ""};
    const Conflict& c = *result.conflict();
    return Outcome{result.code(), c.start, c.length, c.reason.c_str()};
}

Outcome check_bytes(Checker& checker, std::string_view bytes) {
    test_files::ScratchDir dir;
    const std::string path = dir.file("sample");
    test_files::write_bytes(path, bytes);
    return check_path(checker, path);
}
