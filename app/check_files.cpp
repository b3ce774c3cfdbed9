// The "Check files" command: the road from choosing files to a clean log.
#include <cstdio>
#include <cstring>
#include <memory>

#include "checker.h"
#include "checker_list.h"
#include "conflict_editor.h"
#include "kp_file_chooser.h"
#include "kpstring.h"
#include "language_catalog.h"
#include "main_window.h"

namespace {

// What the conflict editor's result asks of the run.
enum EditorResult { Cancelled = 0, SavedOrClosed = 1 };

// The checkers read a file's text up to its first zero byte, so a clean result says nothing
// of the bytes after one.
bool holds_zero_byte(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    char block[65536];
    bool found = false;
    std::size_t got = 0;
    while (!found && (got = std::fread(block, 1, sizeof block, file)) > 0) found = std::memchr(block, 0, got) != nullptr;
    std::fclose(file);
    return found;
}

}  // namespace

void MainWindow::check_files() {
    KPFileChooser chooser(window()->handle());
    // The filters follow the checker list: filter n chooses its n-th kind.
    for (const CheckerKind& kind : checker_kinds()) chooser.add_filter(kind.filter_name, kind.filter_pattern);
    chooser.add_flags(OFN_ALLOWMULTISELECT);
    chooser.set_too_many_files_warning(
        text_or("general.too_many_files", "Too many files were chosen at once. Please choose fewer files."),
        "Warning");
    if (!chooser.choose()) return;

    log("");
    const int filter = chooser.selected_filter();
    if (filter < 1 || filter > static_cast<int>(checker_kinds().size())) {
        window()->message_box(catalog()->lookup("general.unknown_file_type"), "Error", MB_OK);
        return;
    }
    const CheckerKind& kind = checker_kinds()[static_cast<std::size_t>(filter - 1)];
    const std::unique_ptr<Checker> checker = kind.make(catalog());
    log(catalog()->lookup(kind.run_key));

    const int count = chooser.file_count();
    for (int i = 0; i < count; ++i) {
        kpstring path(32);
        if (count > 1) {
            path += chooser.directory();
            path += "\\";
        }
        path += chooser.file_name(i);

        for (;;) {
            log(chooser.file_name(i));
            const CheckResult result = checker->check(path.c_str());
            if (result.is_unreadable()) {
                log(catalog()->lookup("general.filenotfound"));
                window()->message_box(catalog()->lookup("general.filenotfound"), path.c_str(), MB_OK);
                break;
            }
            if (result.is_clean()) {
                if (holds_zero_byte(path.c_str())) {
                    log(text_or("general.zero_byte_unchecked",
                                "The text ends at a zero byte: the bytes after it were not checked."));
                }
                break;
            }
            const INT_PTR answer = the_conflict_editor->edit(path.c_str(), *result.conflict());
            if (answer == SavedOrClosed) continue;
            if (answer == Cancelled) {
                log(catalog()->lookup("general.canceled"));
                return;
            }
            break;
        }
    }
    log(catalog()->lookup("general.noconflicts"));
}
