#include "kp_file_chooser.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const char default_too_many_files_text[] =
    "Too many files were selected at once. Please choose fewer files.";
const char default_too_many_files_caption[] = "Warning";

// Copies as much of `text` as fits, always terminated; null counts as "".
void copy_cut(char* target, std::size_t size, const char* text) {
    const std::size_t length = text ? std::min(std::strlen(text), size - 1) : 0;
    if (length > 0) std::memcpy(target, text, length);
    target[length] = '\0';
}

const char* next_string(const char* text) { return text + std::strlen(text) + 1; }

}  // namespace

KPFileChooser::KPFileChooser(HWND owner, DWORD buffer_size)
    : owner_(owner),
      buffer_(std::max<DWORD>(buffer_size, 2)),
      too_many_files_text_(default_too_many_files_text),
      too_many_files_caption_(default_too_many_files_caption) {}

void KPFileChooser::add_filter(const char* description, const char* pattern) {
    if (filter_count_ == max_filters) {
        MessageBoxA(nullptr, "Warning: Too many dialog filters used!", "Warning", MB_OK);
        return;
    }
    Filter& filter = filters_[filter_count_++];
    copy_cut(filter.description, sizeof(filter.description), description);
    copy_cut(filter.pattern, sizeof(filter.pattern), pattern);
}

void KPFileChooser::add_flags(DWORD flags) { flags_ |= flags; }

void KPFileChooser::set_too_many_files_warning(const char* text, const char* caption) {
    too_many_files_text_ = text ? text : default_too_many_files_text;
    too_many_files_caption_ = caption ? caption : default_too_many_files_caption;
}

bool KPFileChooser::choose() {
    std::string filter_list;
    for (int i = 0; i < filter_count_; ++i) {
        filter_list += filters_[i].description;
        filter_list += '\0';
        filter_list += filters_[i].pattern;
        filter_list += '\0';
    }
    filter_list += '\0';

    std::fill(buffer_.begin(), buffer_.end(), '\0');

    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.lpstrFilter = filter_list.c_str();
    dialog.lpstrFile = buffer_.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer_.size());
    dialog.lpstrDefExt = "";
    dialog.Flags = flags_;
    if (!GetOpenFileNameA(&dialog)) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
            // The buffer now starts with the size that was needed; it holds no file names.
            std::fill(buffer_.begin(), buffer_.end(), '\0');
            MessageBoxA(owner_, too_many_files_text_.c_str(), too_many_files_caption_.c_str(),
                        MB_OK | MB_ICONWARNING);
        }
        return false;
    }
    selected_filter_ = static_cast<int>(dialog.nFilterIndex);
    return true;
}

int KPFileChooser::count_files(const char* result) {
    if (result[0] == '\0') return 0;
    int count = 1;
    for (const char* text = next_string(result); *text != '\0'; text = next_string(text)) ++count;
    // With several files the first string is their directory.
    return count > 1 ? count - 1 : count;
}

const char* KPFileChooser::name_at(const char* result, int index) {
    if (index == -1) return result;
    const int count = count_files(result);
    if (count == 1) return result;
    if (index >= count || index < 0) return nullptr;
    const char* text = result;
    for (int i = 0; i <= index; ++i) text = next_string(text);
    return text;
}

KPFileFinder::~KPFileFinder() { close(); }

KPFileFinder& KPFileFinder::find_first(const char* pattern) {
    close();
    const HANDLE search = FindFirstFileA(pattern, &find_data_);
    if (search != INVALID_HANDLE_VALUE) search_ = search;
    return *this;
}

bool KPFileFinder::find_next() {
    if (!search_) return false;
    if (FindNextFileA(search_, &find_data_)) return true;
    close();
    return false;
}

const char* KPFileFinder::name() const { return search_ ? find_data_.cFileName : nullptr; }

void KPFileFinder::close() {
    if (search_) FindClose(search_);
    search_ = nullptr;
}
