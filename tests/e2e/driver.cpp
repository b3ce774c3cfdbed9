#include "driver.h"

#include "resource_ids.h"

namespace e2e {

namespace {

constexpr DWORD poll_ms = 50;
constexpr const char main_caption[] = "Brindle v1.0";
constexpr const char dialog_class[] = "#32770";

// The Open dialog's file-type combo box, "Look in" combo box and file-name field.
constexpr int file_type_combo = 0x470;
constexpr int look_in_combo = 0x471;
constexpr int file_name_field = 0x47C;
// It shows within a second or two; one that takes longer has hung (see CheckRuns::choose).
constexpr DWORD open_dialog_wait_ms = 30000;

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_window(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> visible_windows(DWORD pid) {
    WindowSearch search{pid, {}};
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND find_window(DWORD pid, const char* class_name, const std::string& caption) {
    for (HWND window : visible_windows(pid)) {
        if (class_of(window) == class_name && text_of(window) == caption) return window;
    }
    return nullptr;
}

BOOL CALLBACK find_child_of_class(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<std::pair<const char*, HWND>*>(context);
    if (lstrcmpiA(class_of(child).c_str(), search->first) == 0) {
        search->second = child;
        return FALSE;
    }
    return TRUE;
}

HWND child_of_class(HWND parent, const char* class_name) {
    std::pair<const char*, HWND> search{class_name, nullptr};
    EnumChildWindows(parent, find_child_of_class, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

BOOL CALLBACK find_box_text(HWND child, LPARAM context) {
    if (class_of(child) != "Static") return TRUE;
    const std::string text = text_of(child);
    if (text.empty()) return TRUE;
    *reinterpret_cast<std::string*>(context) = text;
    return FALSE;
}

std::string narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

std::string quoted_names(const std::vector<std::string>& names) {
    if (names.size() == 1) return names.front();
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty()) text += ' ';
        text += '"' + name + '"';
    }
    return text;
}

}  // namespace

std::string windows_path(const std::string& path) {
    if (path.empty() || path.front() != '/') return path;
    std::string result = "Z:" + path;
    for (char& c : result) {
        if (c == '/') c = '\\';
    }
    return result;
}

bool wait_until(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(poll_ms);
    }
}

std::string class_of(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string text_of(HWND window) {
    LRESULT length = 0;
    if (!send(window, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    LRESULT copied = 0;
    if (!send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied)) return std::string();
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    DWORD_PTR answer = 0;
    const bool answered =
        SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, wait_ms, &answer) != 0;
    if (result) *result = static_cast<LRESULT>(answer);
    return answered;
}

void press(HWND dialog, int button_id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_id)));
}

std::string box_text(HWND box) {
    std::string text;
    EnumChildWindows(box, find_box_text, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::vector<std::string> list_items(HWND control, bool combo) {
    // Across processes Wine hands the A form of these back as UTF-16; the W form is right.
    const UINT get_count = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT get_length = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT get_text = combo ? CB_GETLBTEXT : LB_GETTEXT;
    std::vector<std::string> items;
    LRESULT count = 0;
    if (!send(control, get_count, 0, 0, &count)) return items;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = 0;
        if (!send(control, get_length, static_cast<WPARAM>(i), 0, &length) || length < 0) break;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(control, get_text, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()),
                                 SMTO_ABORTIFHUNG, wait_ms, &copied)) {
            break;
        }
        items.push_back(narrow(text));
    }
    return items;
}

::testing::AssertionResult read_editor(HWND dialog, EditorView* view) {
    const HWND editor = GetDlgItem(dialog, IDC_CONFLICT_TEXT);
    if (!editor) return ::testing::AssertionFailure() << "the editor has no RichEdit control " << IDC_CONFLICT_TEXT;
    view->caption = text_of(dialog);
    view->reason = text_of(GetDlgItem(dialog, IDC_CONFLICT_REASON));
    if (!send(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&view->selection_start),
              reinterpret_cast<LPARAM>(&view->selection_end)) ||
        !send(editor, WM_GETTEXTLENGTH, 0, 0, &view->text_length)) {
        return ::testing::AssertionFailure() << "the RichEdit control did not answer";
    }
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui)) view->focus_owner = gui.hwndFocus;
    return ::testing::AssertionSuccess();
}

std::string editor_text(HWND dialog) { return text_of(GetDlgItem(dialog, IDC_CONFLICT_TEXT)); }

::testing::AssertionResult replace_selection(HWND dialog, const std::string& text) {
    if (!send(GetDlgItem(dialog, IDC_CONFLICT_TEXT), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()))) {
        return ::testing::AssertionFailure() << "the RichEdit control did not take the replacement";
    }
    return ::testing::AssertionSuccess();
}

Brindle::Brindle(const std::string& folder) {
    const std::string exe = windows_path(BRINDLE_EXE);
    std::string command_line = '"' + exe + '"';
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process_)) {
        process_ = PROCESS_INFORMATION{};
        return;
    }
    wait_until(
        [this] {
            main_ = find_window(process_.dwProcessId, "KPWindow", main_caption);
            return main_ != nullptr || !running();
        },
        start_wait_ms);
}

Brindle::~Brindle() {
    if (!process_.hProcess) return;
    if (running()) kill();
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool Brindle::running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND Brindle::wait_for_dialog(const std::string& caption, DWORD ms) const {
    HWND found = nullptr;
    wait_until(
        [&] {
            found = find_window(process_.dwProcessId, dialog_class, caption);
            return found != nullptr || !running();
        },
        ms);
    return found;
}

std::vector<HWND> Brindle::other_windows() const {
    std::vector<HWND> others;
    for (HWND window : visible_windows(process_.dwProcessId)) {
        if (window != main_) others.push_back(window);
    }
    return others;
}

bool Brindle::wait_idle(DWORD ms) const {
    return wait_until([this] { return other_windows().empty() && IsWindowEnabled(main_); }, ms);
}

bool Brindle::dismiss_dialogs() const {
    // A dismissed dialog may lead to the next one (a recheck, the next file): a few rounds.
    for (int round = 0; round < 10; ++round) {
        const std::vector<HWND> others = other_windows();
        if (others.empty()) return wait_idle();
        for (HWND window : others) {
            const int button = GetDlgItem(window, IDCANCEL) ? IDCANCEL : GetDlgItem(window, IDNO) ? IDNO : IDOK;
            press(window, button);
            if (!wait_until([window] { return !IsWindow(window) || !IsWindowVisible(window); })) return false;
        }
    }
    return false;
}

void Brindle::menu(int command_id) const { PostMessageA(main_, WM_COMMAND, MAKEWPARAM(command_id, 0), 0); }

HWND Brindle::log_pane() const { return child_of_class(main_, "ListBox"); }

std::vector<std::string> Brindle::log() const {
    const HWND pane = log_pane();
    return pane ? list_items(pane, false) : std::vector<std::string>();
}

::testing::AssertionResult Brindle::wait_for_log_end(std::size_t from, const std::string& last) const {
    std::vector<std::string> lines;
    const bool ended = wait_until([&] {
        lines = log();
        return lines.size() > from && lines.back() == last;
    });
    if (ended) return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "the log did not end with \"" << last << "\"; it holds:";
    for (const std::string& line : lines) failure << "\n  " << line;
    return failure;
}

::testing::AssertionResult Brindle::choose_files(int filter_index, const std::string& folder,
                                                 const std::vector<std::string>& names) const {
    menu(IDM_CHECK_FILES);
    const HWND dialog = wait_for_dialog("Open", open_dialog_wait_ms);
    if (!dialog) return ::testing::AssertionFailure() << "the Open dialog did not appear";
    const HWND combo = GetDlgItem(dialog, file_type_combo);
    const HWND name_field = GetDlgItem(dialog, file_name_field);
    // WM_NULL returns once the dialog has finished filling its view. Wine changes the file type
    // on CBN_SELENDOK.
    if (!send(dialog, WM_NULL, 0, 0) || !send(combo, CB_SETCURSEL, static_cast<WPARAM>(filter_index), 0) ||
        !send(dialog, WM_COMMAND, MAKEWPARAM(file_type_combo, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo))) {
        return ::testing::AssertionFailure() << "the Open dialog stopped answering";
    }
    // A folder typed into the name field and confirmed is entered; skipped when the dialog
    // shows it already, since each move risks the hang that CheckRuns::choose describes.
    if (text_of(GetDlgItem(dialog, look_in_combo)) != folder.substr(folder.find_last_of('\\') + 1) &&
        !(send(name_field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str())) &&
          send(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK))))) {
        return ::testing::AssertionFailure() << "the Open dialog stopped answering when sent to " << folder;
    }
    if (!send(name_field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(quoted_names(names).c_str()))) {
        return ::testing::AssertionFailure() << "the Open dialog stopped answering";
    }
    press(dialog, IDOK);
    if (!wait_until([dialog] { return !IsWindow(dialog); })) {
        return ::testing::AssertionFailure() << "the Open dialog did not close after the files were chosen";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Brindle::quit() {
    menu(IDM_FILE_EXIT);
    const HWND confirm = wait_for_dialog("Confirm");
    if (!confirm) return ::testing::AssertionFailure() << "no \"Confirm\" box after Exit";
    press(confirm, IDYES);
    DWORD status = 0;
    if (!wait_for_exit(wait_ms, &status)) return ::testing::AssertionFailure() << "Brindle did not end after Yes";
    if (status != 0) return ::testing::AssertionFailure() << "Brindle ended with status " << status;
    return ::testing::AssertionSuccess();
}

bool Brindle::wait_for_exit(DWORD ms, DWORD* exit_code) const {
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_.hProcess, exit_code) != 0;
}

void Brindle::kill() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, wait_ms);
}

}  // namespace e2e
