// KPFileChooser shows the common Open dialog with a list of file-type filters and hands out
// the chosen files; KPFileFinder walks the names that match a wildcard pattern.
#pragma once

#include <vector>

#include <windows.h>
#include <commdlg.h>

#include "kpstring.h"

class KPFileChooser {
public:
    static constexpr int max_filters = 20;
    static constexpr int description_size = 128;
    static constexpr int pattern_size = 64;
    static constexpr DWORD default_buffer_size = 1024000;
    static constexpr DWORD default_flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                                           OFN_FILEMUSTEXIST | OFN_CREATEPROMPT | OFN_EXPLORER |
                                           OFN_LONGNAMES;

    // `owner` (may be null) owns the warning shown when a selection does not fit the result buffer.
    explicit KPFileChooser(HWND owner = nullptr, DWORD buffer_size = default_buffer_size);
    KPFileChooser(const KPFileChooser&) = delete;
    KPFileChooser& operator=(const KPFileChooser&) = delete;

    // A 21st filter is refused with a warning box; texts longer than the fields are cut.
    void add_filter(const char* description, const char* pattern);
    void add_flags(DWORD flags);
    // Replaces the English warning for a selection too large for the result buffer.
    void set_too_many_files_warning(const char* text, const char* caption);
    // True when the user confirmed a choice; false on cancel or failure.
    bool choose();

    int file_count() const { return count_files(buffer_.data()); }
    // The directory when several files were chosen, the full path when one was.
    const char* directory() const { return buffer_.data(); }
    // See name_at; null past the last file.
    const char* file_name(int index) const { return name_at(buffer_.data(), index); }
    // 1-based number of the filter active at the last successful choose.
    int selected_filter() const { return selected_filter_; }
    int filter_count() const { return filter_count_; }
    DWORD flags() const { return flags_; }

    // The number of files in a result block of the Open dialog: a full path, or a directory
    // followed by names, each NUL-terminated, then an empty string.
    static int count_files(const char* result);
    // Index -1 gives the first string; with one file, its full path whatever the index;
    // otherwise the index-th name after the directory, or null past the last one.
    static const char* name_at(const char* result, int index);

private:
    struct Filter {
        char description[description_size];
        char pattern[pattern_size];
    };

    HWND owner_;
    std::vector<char> buffer_;
    Filter filters_[max_filters] = {};
    int filter_count_ = 0;
    int selected_filter_ = 0;
    DWORD flags_ = default_flags;
    kpstring too_many_files_text_;
    kpstring too_many_files_caption_;
};

// Walks the matches of a pattern, directories included, in the order Windows returns them:
// find_first(pattern); while (!at_end()) { use name(); find_next(); }
class KPFileFinder {
public:
    KPFileFinder() = default;
    ~KPFileFinder();
    KPFileFinder(const KPFileFinder&) = delete;
    KPFileFinder& operator=(const KPFileFinder&) = delete;

    // Closes any open search and starts a new one; nothing matching leaves none open.
    KPFileFinder& find_first(const char* pattern);
    // Moves to the next match; at the end closes the search and returns false.
    bool find_next();
    bool at_end() const { return search_ == nullptr; }
    // The current match's name without directory, or null when no search is open.
    const char* name() const;

private:
    void close();

    WIN32_FIND_DATAA find_data_{};
    HANDLE search_ = nullptr;
};
